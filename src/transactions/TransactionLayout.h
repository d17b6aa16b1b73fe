// What the rent and return windows share: the heading, the two code boxes
// with the Check button, the Status frame with its display-only result boxes,
// and the row of buttons at the foot, all placed in twips.
#pragma once

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace transactions_ui {

// The heading, centred at the top in Arial Black.
QLabel* addHeading(QWidget* form, const QString& text);

// A caption at the left and its box at the right of the row at topTwips;
// the caption's access key moves the focus to the box.
QLabel* addEntryCaption(QWidget* form, const char* name, const QString& caption, int topTwips);
QLineEdit* addEntryBox(QWidget* form, const char* name, int topTwips);

// The Check button, under the code boxes, at the right.
QPushButton* addCheckButton(QWidget* form, int topTwips);

// The Status frame, holding `rows` result rows.
QGroupBox* addStatusFrame(QWidget* form, int topTwips, int rows);
// One result row of the frame (0 first): a caption and a display-only box,
// which the window alone fills.
QLabel* addResultCaption(QGroupBox* frame, const char* name, const QString& caption, int row);
QLineEdit* addResultBox(QGroupBox* frame, const char* name, int row);

// A button of the foot row, the column-th (0 to 2) from the left, just under
// the frame.
QPushButton* addFootButton(QWidget* form, QGroupBox* frame, const char* name, const QString& caption, int column);

// Top of the rows of the window, in twips.
constexpr int kVcodeTop = 900;
constexpr int kMemcodeTop = 1380;
constexpr int kCheckTop = 1860;
constexpr int kFrameTop = 2400;

}  // namespace transactions_ui
