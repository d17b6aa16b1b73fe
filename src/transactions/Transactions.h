// Renting a tape and taking it back: the checks the counter runs before
// either, the stock moves, and the two whole operations.
//
// Every lookup goes straight to its row through the file's indexes and gives
// the answer a walk from the first row would: the first matching row in the
// table's order, compared exactly (letter case and blanks count; an empty
// field never matches).
#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

namespace modValidate {

// May this member rent a tape of this title? Refuses, with an information
// message, when a table is empty, the member or the title is not on file, or
// the title's Tapes In is exactly 0. On success rsVideo and rsMembers stand
// on the title and the member. A store error is reported ("Error : ...") and
// answers false.
bool CheckRent(const QString& code, const QString& member);

// Moves one tape of the title from in to out. False when no title has the
// code, or on a store error, which is reported.
bool StockOut(const QString& code);

// Is there an open rental of this title by this member that can be taken
// back? Finds the first open rental of the pair (rsRentals stands on it),
// then runs CheckReturnStock. Writes nothing: the rental is closed when the
// return itself is recorded. Refusals and errors are reported.
bool CheckReturn(const QString& code, const QString& member);

// The return side of CheckRent: the same tests and messages, except that the
// title is refused when its Tapes Out is exactly 0.
bool CheckReturnStock(const QString& code, const QString& member);

// Moves one tape of the title from out to in. False when no title has the
// code, or on a store error, which is reported.
bool StockIn(const QString& code);

}  // namespace modValidate

namespace transactions {

// What became of a rent or a return.
enum class Outcome {
    Done,     // recorded whole
    Refused,  // what the check verified no longer holds; its message is shown
    Failed,   // a store error, reported; nothing was written
};

// Records the rental and moves the tape out of stock, as one transaction.
// Inside it, before anything is written, verifies again what CheckRent
// verified, since another counter may have taken the last tape or removed
// the title or the member meanwhile.
Outcome RentTape(const QString& code, const QString& member);

// Takes back the rental that CheckReturn found (its rowid): closes it,
// records the return with the days since its rent date, and moves the tape
// back into stock, as one transaction. Verifies first, inside it, that the
// rental is still open and is this member's rental of this title, and that
// CheckReturnStock still passes.
Outcome ReturnTape(const QString& code, const QString& member, std::int64_t rentalRow);

// Whole calendar days from the rent date to today, as the 16-bit number the
// file stores ("Overflow" beyond its range; "Invalid use of Null" for a
// rental without a date).
short DaysRented(const std::optional<QDate>& rentDate, const QDate& today);

// The rent date of the current row of rsRentals, or nothing when it has none.
std::optional<QDate> CurrentRentDate();

}  // namespace transactions
