#include "data/CodeRegistry.h"

#include "data/modQuorvane.h"
#include "platform/Dialogs.h"
#include "platform/Store.h"

#include <memory>

namespace modValidate {

bool RegisterCode(const QString& code, const QString& name, const QString& tableName)
{
    std::int64_t appended = 0;
    return RegisterCode(code, name, tableName, appended);
}

bool RegisterCode(const QString& code, const QString& name, const QString& tableName,
                  std::int64_t& appendedRow)
{
    const Registration r = RegisterCodeInTransaction(code, name, tableName);
    appendedRow = r.appendedRow;
    dialogs::reportError(r.failure);
    return r.known;
}

Registration RegisterCodeInTransaction(const QString& code, const QString& name, const QString& tableName)
{
    Registration r;
    std::shared_ptr<store::Recordset> rs;
    try {
        // A record set of its own: the shared registry record sets keep their rows.
        rs = modQuorvane::MainDatabase().OpenRecordset(tableName);
        // The registry's lookup index makes this a point query; the answer is
        // the one a scan from the first row would give.
        if (rs->FindFirst(rs->Field(0).name, code)) {
            r.known = true;
            return r;
        }
        rs->AddNew();
        rs->SetValue(0, code);
        rs->SetValue(1, name);
        rs->Update();
        r.appendedRow = rs->LastModified();
    } catch (const store::StoreError& e) {
        r.refused = e.kind() == store::ErrorKind::Validation;
        r.failure = std::current_exception();
    } catch (const std::exception&) {
        r.failure = std::current_exception();
    }
    if (r.failure && rs) {
        try {
            rs->CancelUpdate();
        } catch (...) {
        }
    }
    return r;
}

bool WithdrawCode(const QString& tableName, std::int64_t appendedRow, const QString& code)
{
    if (appendedRow == 0)
        return true;
    try {
        auto rs = modQuorvane::MainDatabase().OpenRecordset(tableName);
        // Already gone (deleted from the code history meanwhile): nothing to do.
        if (!rs->SetBookmark(appendedRow) || rs->Text(0) != code)
            return true;
        rs->Delete();
        return true;
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        return false;
    }
}

}  // namespace modValidate
