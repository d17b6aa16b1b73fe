// Process-wide state of the counter program: the database, its seven shared
// record sets, the login, the command settings and the search settings.
// Every window reads and writes the tables through these variables.
#pragma once

#include "platform/Store.h"

#include <QString>

#include <memory>

namespace modQuorvane {

// The database file and its shared record sets.
extern QString DbPath;
extern std::shared_ptr<store::Database> dbMain;
extern std::shared_ptr<store::Recordset> rsVideo;
extern std::shared_ptr<store::Recordset> rsMembers;
extern std::shared_ptr<store::Recordset> rsRentals;
extern std::shared_ptr<store::Recordset> rsReturnee;
extern std::shared_ptr<store::Recordset> rsVideoCode;
extern std::shared_ptr<store::Recordset> rsMemberCode;
extern std::shared_ptr<store::Recordset> rsUsers;

// The login.
extern bool IsStartupLogin;
extern QString CurrentUser;
extern QString CurrentPassword;

// Settings made by the main window's commands.
extern bool EditMode;
extern QString GridTableName;
extern bool GridViewOnly;

// Settings shared by the search windows and the editors.
extern std::shared_ptr<store::Recordset> rsSearch;
extern bool SearchIsVideo;
extern QString SearchField;
extern short SearchFieldIndex;
extern short SearchStyle;
extern QString SearchQuery;
extern QString SearchValue;

// A shared record set, or the database, that a routine needs: an error, not
// a crash, when it is not open ("Object invalid or no longer set.").
store::Recordset& Shared(const std::shared_ptr<store::Recordset>& recordset);
store::Database& MainDatabase();

// The database folder (platform::databaseFolder(): the program's own folder
// where it may write there) followed by "/Quorvane.mdb".
QString ComputeDbPath();

// Builds a new, empty database at DbPath. A file already there is never
// deleted: it is moved aside first. Reports its own errors ("Error : ...")
// and answers whether the new file stands.
bool CreateNewDatabase();

// (Re)opens DbPath into dbMain and the seven record sets. Errors go to the
// caller. When it fails part-way, the next Shared or MainDatabase call tries
// it again (and opens the search's record set again too).
void OpenMainDatabase();

// Moves a database file (with any journal of it) aside, under a name that
// says it is damaged and when. Returns the new name; throws on failure.
QString MoveDamagedFileAside(const QString& path);

// Forgets every process-wide value, as at process start (for tests).
void ResetProcessState();

}  // namespace modQuorvane

namespace modValidate {

enum class CheckOutcome {
    Sound,    // the file has the shop's structure
    Rebuilt,  // it was damaged: moved aside and replaced by an empty database
    Failed,   // it could not be checked or replaced; the error has been reported
};

// Checks the file at DbPath against the seven tables, field by field.
CheckOutcome CheckDatabaseStructure();

}  // namespace modValidate
