// Bad input for every box: very long texts, control characters, right-to-
// left and Chinese text, emoji, a lone surrogate, and texts that look like
// SQL. With them, a window over a fresh database with the main window up,
// and the checks made after every input: the file is sound, its seven tables
// stand, and they hold the rows they should.
#pragma once

#include "shell/ShellFixture.h"

#include <QString>

#include <map>
#include <string>
#include <vector>

namespace bad_input {

struct BadInput {
    const char* name;
    QString text;
};

// Every bad input, each told apart from the others by its first characters.
const std::vector<BadInput>& badInputs();

// The text as a field `width` characters wide keeps it: its first `width`
// characters, a character outside the basic plane counting once, and a lone
// surrogate (which is no character at all) kept as "?".
QString storedForm(const QString& typed, int width);

// True for a text that a field of that width keeps exactly as typed.
bool keptWhole(const QString& typed, int width);

// True for a text the file refuses to keep in any text field.
bool refusedByTheFile(const QString& typed);

// How each input of a window ended.
struct Tally {
    int tried = 0;
    int keptWhole = 0;
    int cut = 0;
    int refused = 0;  // a message said why, and nothing changed
    std::string summary(const char* window) const;
};

class BadInputTest : public shell_tests::ShellTest {
protected:
    // The rows in each of the seven tables, read through a connection of the
    // test's own after the file has passed SQLite's integrity check; a test
    // failure when the check fails or a table is gone.
    static std::map<QString, long long> tableCounts();

    // The file is sound and holds these rows, table by table.
    static void expectFileHolds(const std::map<QString, long long>& counts);

    // A title on file with this code, title and tapes in (none out).
    static void addTitleNamed(const QString& code, const QString& title, int tapesIn);

    // The last row of a table, field by field, as the clerk reads it.
    static std::vector<QString> lastRow(const QString& table);

    // Messages that tell the clerk why, at least one: a field check's warning
    // or notice, or "Error : " with a description (the code registry reports
    // its own failure before the editor's save reports the same refusal).
    void expectClearMessages();
};

}  // namespace bad_input
