#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/Dialogs.h"

namespace modValidate {

using modQuorvane::dbMain;

namespace {

[[noreturn]] void mismatch(const QString& table, int pos, const QString& what)
{
    throw store::StoreError(store::ErrorKind::NotADatabase,
                            QStringLiteral("Table '%1', field %2: %3.").arg(table).arg(pos).arg(what));
}

void checkTables()
{
    dbMain = store::Database::OpenDatabase(modQuorvane::DbPath, false, false);
    std::shared_ptr<store::Recordset> rs;
    for (const store::TableDef& def : schema::Tables()) {
        rs.reset();
        rs = dbMain->OpenRecordset(def.name);
        for (int pos = 0; pos < static_cast<int>(def.fields.size()); ++pos) {
            const store::FieldDef& want = def.fields[static_cast<size_t>(pos)];
            const store::FieldInfo& have = rs->Field(pos);
            if (have.name != want.name)
                mismatch(def.name, pos, QStringLiteral("named '%1' instead of '%2'").arg(have.name, want.name));
            if (have.type != want.type)
                mismatch(def.name, pos, QStringLiteral("type %1 instead of %2").arg(have.type).arg(want.type));
            if (want.type == store::dbText) {
                if (have.size < want.size)
                    mismatch(def.name, pos, QStringLiteral("%1 characters, fewer than %2").arg(have.size).arg(want.size));
            } else if (have.attributes != schema::kNumericMask) {
                mismatch(def.name, pos, QStringLiteral("attributes %1 instead of %2")
                                            .arg(have.attributes)
                                            .arg(schema::kNumericMask));
            }
        }
    }
}

}  // namespace

CheckOutcome CheckDatabaseStructure()
{
    modQuorvane::DbPath = modQuorvane::ComputeDbPath();
    try {
        checkTables();
        return CheckOutcome::Sound;
    } catch (const store::StoreError& e) {
        if (e.isEnvironmental()) {
            // Locked, busy or unreadable is not damage: leave the file alone.
            if (dbMain)
                dbMain->Close();
            dbMain.reset();
            dialogs::reportError(e);
            return CheckOutcome::Failed;
        }
    } catch (const std::exception&) {
    }
    dialogs::message(QStringLiteral("Quorvane database is corrupted. Creating new database..."),
                     dialogs::Icon::Critical);
    if (dbMain)
        dbMain->Close();
    dbMain.reset();
    try {
        modQuorvane::MoveDamagedFileAside(modQuorvane::DbPath);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        return CheckOutcome::Failed;
    }
    return modQuorvane::CreateNewDatabase() ? CheckOutcome::Rebuilt : CheckOutcome::Failed;
}

}  // namespace modValidate
