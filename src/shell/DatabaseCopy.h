// The copy of the shop's database under a name the clerk chooses ("Save As"),
// for example as a backup on another disk.
//
// The copy is taken with SQLite's online backup from a connection of its
// own, so it is one consistent picture of the file even while another
// connection (the grid window's) has it open. It is written beside the chosen
// name under a temporary name, checked, and only then put in place, so a
// failed copy never leaves a partial file under the chosen name.
#pragma once

#include <QString>

namespace dbcopy {

// What the clerk is told when the chosen name is the database itself.
inline const QString kOntoItself =
    QStringLiteral("The database cannot be copied onto itself. Pls. choose another file name...");

// True when target names the database file itself, by the same path or by
// another path, link or hard link to it, or one of the journal files that
// belong to it. Writing a copy there would destroy the database.
bool IsDatabaseFile(const QString& target, const QString& database);

// Writes a checked copy of the database file at source under target,
// replacing a file of that name. Throws store::StoreError on failure, after
// removing whatever it had written.
void WriteCheckedCopy(const QString& source, const QString& target);

// The Save As command after the dialog: closes the shared database (its
// record sets close with it), copies the file at DbPath to target and opens
// DbPath again with fresh record sets standing on their first rows. The
// database is opened again whether or not the copy succeeded; a failure is
// then passed on to the caller, the copy's before the opening's. When the
// opening fails, the next use of the database tries it again.
void SaveDatabaseAs(const QString& target);

}  // namespace dbcopy
