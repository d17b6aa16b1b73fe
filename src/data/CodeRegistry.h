// The code registry: every video code and member ID ever saved, kept in
// "Video Code Database" and "Member Code Database", so that no code is
// issued twice, not even after its title or member has been deleted.
#pragma once

#include <QString>

#include <cstdint>
#include <exception>

namespace modValidate {

// Looks the code up in the registry table and records it when it is new.
// True: a row whose first field equals the code exactly (letter case and
// blanks count) is already there; nothing is written. False: there was none
// and a row with the code and the name has now been appended; or the lookup
// or the append failed, which has already been reported ("Error : ...").
bool RegisterCode(const QString& code, const QString& name, const QString& tableName);

// The same, and appendedRow tells which registry row this call appended
// (0 when it appended none), so that a save that then fails can take back
// a code it never stored.
bool RegisterCode(const QString& code, const QString& name, const QString& tableName,
                  std::int64_t& appendedRow);

// Removes the registry row that a RegisterCode call appended for this code,
// when the save that asked for it wrote nothing. A row that no longer holds
// the code is left alone. Reports its own errors; false when the row could
// not be removed.
bool WithdrawCode(const QString& tableName, std::int64_t appendedRow, const QString& code);

// The registry step of a save that makes one transaction of the step and of
// its own write: as RegisterCode, but a failure is handed back instead of
// reported, so that the caller can report it once the transaction is over
// and no message box waits while the file is locked.
struct Registration {
    bool known = false;           // the code was on file already; nothing written
    std::int64_t appendedRow = 0; // the registry row appended, 0 for none
    std::exception_ptr failure;   // the lookup or the append failed
    bool refused = false;         // ...because the registry's rules refused the row
};
Registration RegisterCodeInTransaction(const QString& code, const QString& name, const QString& tableName);

}  // namespace modValidate
