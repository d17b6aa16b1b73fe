// What the query dialog and the results window share: their controls,
// placed in twips, and the filling of their three pick lists.
#pragma once

#include <QString>

class QAbstractItemModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QWidget;

namespace search_layout {

// A place in twips: left, top, width, height.
struct Place {
    int left, top, width, height;
};

QLabel* addLabel(QWidget* form, const char* name, const QString& caption, Place at);
QLineEdit* addBox(QWidget* form, const char* name, Place at);
// A pick-only list; the screen reader calls it by `spoken`.
QComboBox* addPickList(QWidget* form, const char* name, const QString& spoken, Place at);
QPushButton* addButton(QWidget* form, const char* name, const QString& caption, Place at);
// A list of one selectable line at a time over the model, reading only the
// lines on screen.
QListView* addList(QWidget* form, const char* name, QAbstractItemModel* model, Place at);
void place(QWidget* control, Place at);

// The table list ("Members Database", "Video Database"), the field list of
// the table at a position, and the style list; each emptied first.
void fillTables(QComboBox* tables);
void fillFields(QComboBox* fields, int tablePosition);
void fillStyles(QComboBox* styles);

}  // namespace search_layout
