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

// What a save writes beside its record: the code with the name it is
// registered under, and where the editor's records carry the code.
struct CodeEntry {
    QString code;
    QString name;
    QString registryTable;
    QString table;
    QString codeField;
};

enum class SaveOutcome {
    Saved,      // the registry step and the record are both on file
    CodeInUse,  // add mode, and the code was issued before: nothing written
    Failed,     // reported ("Error : ..."); nothing of the save is on file
};

// An editor's save as one transaction: the registry step for the code, then
// write(), which begins the record, fills it and updates it. A failure on
// the way takes back all of it, so the file never holds a registry row
// without its record or a record without its registry row. A registry row
// that the registry's own rules refuse is reported and the save goes on as
// for a new code; when then only the record is refused, a code that a record
// on file already carries keeps the registry row this save gave it. Every
// error is reported once the file is free again.
SaveOutcome saveWithCode(const CodeEntry& entry, bool editMode, store::Recordset& rs,
                         const std::function<void()>& write);

// Begins the write of a save: the row shown, made current again and opened
// for editing in edit mode; a new row in add mode.
void beginRecord(store::Recordset& rs, bool editMode, std::int64_t shownRow);

// Makes the row an editor shows current again before it is written, so that
// a save never lands on a row another window has moved the shared record set
// to. Row 0 (nothing shown) leaves the record set where it is.
void returnToShownRow(store::Recordset& rs, std::int64_t shownRow);

}  // namespace catalogue
