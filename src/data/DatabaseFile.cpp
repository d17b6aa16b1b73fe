#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace modQuorvane {

QString DbPath;
std::shared_ptr<store::Database> dbMain;
std::shared_ptr<store::Recordset> rsVideo;
std::shared_ptr<store::Recordset> rsMembers;
std::shared_ptr<store::Recordset> rsRentals;
std::shared_ptr<store::Recordset> rsReturnee;
std::shared_ptr<store::Recordset> rsVideoCode;
std::shared_ptr<store::Recordset> rsMemberCode;
std::shared_ptr<store::Recordset> rsUsers;

bool IsStartupLogin = false;
QString CurrentUser;
QString CurrentPassword;

bool EditMode = false;
QString GridTableName;
bool GridViewOnly = false;

std::shared_ptr<store::Recordset> rsSearch;
bool SearchIsVideo = false;
QString SearchField;
short SearchFieldIndex = 0;
short SearchStyle = 0;
QString SearchQuery;
QString SearchValue;

namespace {
[[noreturn]] void notSet()
{
    throw store::StoreError(store::ErrorKind::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
}

// Set while an opening of the shared database has not gone through to its
// end (the disk failed while the file was closed for a copy): the next use
// of the database opens it again, so that the program goes on once the disk
// is sound.
bool reopenDue = false;

void reopenIfDue()
{
    if (!reopenDue || DbPath.isEmpty())
        return;
    OpenMainDatabase();
    if (rsSearch && !rsSearch->isOpen())
        rsSearch = dbMain->OpenRecordset(rsSearch->Name());
}
}  // namespace

store::Recordset& Shared(const std::shared_ptr<store::Recordset>& recordset)
{
    reopenIfDue();
    if (!recordset)
        notSet();
    return *recordset;
}

store::Database& MainDatabase()
{
    reopenIfDue();
    if (!dbMain)
        notSet();
    return *dbMain;
}

QString ComputeDbPath() { return platform::databaseFolder() + QStringLiteral("/Quorvane.mdb"); }

namespace {

// Gives the file the lookup indexes it lacks.
void ensureLookupIndexes(store::Database& db)
{
    const QStringList existing = db.IndexNames();
    for (const schema::LookupIndex& ix : schema::LookupIndexes())
        db.EnsureIndex(ix.name, ix.table, ix.fields, &existing);
}

void closeMain()
{
    if (dbMain)
        dbMain->Close();
    dbMain.reset();
}

}  // namespace

QString MoveDamagedFileAside(const QString& path)
{
    const QString stamp = clock_service::now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = path + QStringLiteral(".damaged-") + stamp + QStringLiteral("-%1").arg(n);
    if (!QDir().rename(path, target)) {
        QFile f(path);
        const QString why = f.rename(target) ? QString() : f.errorString();
        if (!why.isEmpty() || QFileInfo::exists(path))
            throw store::StoreError(store::ErrorKind::Io,
                                    QStringLiteral("The damaged database '%1' could not be moved aside to '%2' "
                                                   "(%3); it has been left as it was.")
                                        .arg(path, target, why.isEmpty() ? QStringLiteral("rename refused") : why));
    }
    // A journal left beside the old file belongs to it, not to the new one.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString side = path + QLatin1String(suffix);
        if (QFileInfo::exists(side))
            QDir().rename(side, target + QLatin1String(suffix));
    }
    return target;
}

bool CreateNewDatabase()
{
    try {
        DbPath = ComputeDbPath();
        const QFileInfo fi(DbPath);
        if (fi.exists() || fi.isSymLink()) {
            closeMain();
            MoveDamagedFileAside(DbPath);
        } else {
            for (const char* suffix : {"-journal", "-wal", "-shm"})
                if (QFileInfo::exists(DbPath + QLatin1String(suffix)))
                    MoveDamagedFileAside(DbPath + QLatin1String(suffix));
        }
        dbMain = store::Database::CreateDatabase(DbPath);
        for (const store::TableDef& def : schema::Tables())
            dbMain->AppendTableDef(def);
        ensureLookupIndexes(*dbMain);
        closeMain();
        return true;
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        return false;
    }
}

void OpenMainDatabase()
{
    reopenDue = true;
    dbMain = store::Database::OpenDatabase(DbPath, false, false);
    // Files made before the lookup indexes existed get them now; a file that
    // cannot take them (read-only) still works, only its lookups are slower.
    try {
        ensureLookupIndexes(*dbMain);
    } catch (const store::StoreError&) {
    }
    rsVideo = dbMain->OpenRecordset(schema::kVideo);
    rsMembers = dbMain->OpenRecordset(schema::kMembers);
    rsRentals = dbMain->OpenRecordset(schema::kRentals);
    rsReturnee = dbMain->OpenRecordset(schema::kReturnee);
    rsVideoCode = dbMain->OpenRecordset(schema::kVideoCode);
    rsMemberCode = dbMain->OpenRecordset(schema::kMemberCode);
    rsUsers = dbMain->OpenRecordset(schema::kUsers);
    reopenDue = false;
}

void ResetProcessState()
{
    store::CancelAllPendingEdits();
    reopenDue = false;
    rsSearch.reset();
    rsVideo.reset();
    rsMembers.reset();
    rsRentals.reset();
    rsReturnee.reset();
    rsVideoCode.reset();
    rsMemberCode.reset();
    rsUsers.reset();
    closeMain();
    DbPath.clear();
    IsStartupLogin = false;
    CurrentUser.clear();
    CurrentPassword.clear();
    EditMode = false;
    GridTableName.clear();
    GridViewOnly = false;
    SearchIsVideo = false;
    SearchField.clear();
    SearchFieldIndex = 0;
    SearchStyle = 0;
    SearchQuery.clear();
    SearchValue.clear();
}

}  // namespace modQuorvane
