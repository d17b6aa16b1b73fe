// What the video and member editors share: their controls, placed in twips,
// and the steps of a command whose failures are skipped.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace store {
class Recordset;
}

namespace catalogue {

// The heading, centred at the top in bold 12-point Arial.
QLabel* addHeading(QWidget* form);
// A caption at the left of the box at topTwips, in 9.75-point Arial; its
// access key moves the focus to the box.
QLabel* addCaption(QWidget* form, const char* name, const QString& caption, int topTwips);
// A text box, 4095 by 285 twips, without a length limit.
QLineEdit* addBox(QWidget* form, const char* name, int topTwips);
// A button, 1215 by 375 twips, the column-th (0 to 3) of the row at topTwips.
QPushButton* addButton(QWidget* form, const char* name, const QString& caption, int column, int topTwips);

// Runs one step of a command that never reports: a failure is skipped so
// that the next step still runs.
void attempt(const std::function<void()>& step);

// True when the record set stands on its last row. Looks one row ahead and
// comes back, so the current row is unchanged.
bool onLastRow(store::Recordset& rs);

// Stands on the first row, in the table's order, whose field holds the value,
// or on the last row when none does: where stepping with Next from the
// current row would stop, reached without the walk. True when the record set
// left the row it stood on.
bool locateRow(store::Recordset& rs, const QString& field, const QString& value);

// Previous: both buttons enabled, one row back, Previous disabled when the
// row reached is the first.
void stepBack(store::Recordset& rs, QPushButton* previous, QPushButton* next);

// The moves of Next: one row forward, Next disabled when the row reached is
// the last. Every move is attempted even when one before it failed.
void stepForward(const std::function<store::Recordset&()>& rs, QPushButton* next);

// After a save in edit mode: Next enabled when a row follows the current one.
void enableNextIfRowFollows(store::Recordset& rs, QPushButton* next);

// A new record that could not be written must not keep the code this save
// took from the registry (registryRow), or the clerk could never save it
// again. A code that a record of the table already carries stays registered.
void withdrawUnusedCode(const QString& table, const QString& codeField, const QString& registryTable,
                        const QString& code, std::int64_t registryRow);

// Makes the row an editor shows current again before it is written, so that
// a save never lands on a row another window has moved the shared record set
// to. Row 0 (nothing shown) leaves the record set where it is.
void returnToShownRow(store::Recordset& rs, std::int64_t shownRow);

}  // namespace catalogue
