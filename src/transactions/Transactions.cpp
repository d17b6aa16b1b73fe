#include "transactions/Transactions.h"

#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Store.h"

#include <functional>
#include <memory>

using namespace schema::field;

namespace {

const QString kOpen = QStringLiteral("No");
const QString kClosed = QStringLiteral("Yes");

constexpr int kCodeWidth = 30;

using modQuorvane::Shared;

void inform(const QString& text) { dialogs::message(text, dialogs::Icon::Information); }

bool isExactlyZero(const QVariant& v) { return v.isValid() && !v.isNull() && v.toLongLong() == 0; }

// Why a rent (Tapes In) or a return (Tapes Out) of this title by this member
// cannot go ahead, in the check's own words; an empty text when it can. On
// the way rsVideo and rsMembers are put on the title and the member. Store
// errors go to the caller.
QString stockRefusal(const QString& code, const QString& member, bool renting)
{
    store::Recordset& video = Shared(modQuorvane::rsVideo);
    store::Recordset& members = Shared(modQuorvane::rsMembers);
    if (video.RecordCount() == 0)
        return QStringLiteral("No records in ") + video.Name() + QStringLiteral(". Please add one...");
    if (members.RecordCount() == 0)
        return QStringLiteral("No records in ") + members.Name() + QStringLiteral(". Please add one...");
    // Both lookups always run.
    const bool titleFound = video.FindFirst(kVideoCode, code);
    const bool memberFound = members.FindFirst(kMemberId, member);
    if (titleFound && memberFound) {
        if (!isExactlyZero(video.Value(renting ? kTapesIn : kTapesOut)))
            return QString();
        const QString title = video.Text(kTitle);
        return renting ? QStringLiteral("Sorry, the movie ") + title + QStringLiteral(" do not have any more tapes")
                       : QStringLiteral("Sorry, the movie ") + title + QStringLiteral(" didn't have any tape out");
    }
    if (!memberFound)
        return QStringLiteral("Member ID: ") + member +
               QStringLiteral(" doesn't exist. Please enter an existing member...");
    return QStringLiteral("Video Tape code : ") + code +
           QStringLiteral(" doesn't exist. Please enter an existing video tape...");
}

QString noRentals(const store::Recordset& rentals)
{
    return QStringLiteral("No record in the ") + rentals.Name() + QStringLiteral(". No one yet rented a tape.");
}

QString notRentedBy(const QString& code, const QString& member)
{
    return QStringLiteral("Sorry, the Member ID ") + member + QStringLiteral(" didn't rent the video of code ") +
           code;
}

// Why no open rental of this title by this member can be taken back; empty
// when rsRentals now stands on the first one.
QString openRentalRefusal(const QString& code, const QString& member)
{
    store::Recordset& rentals = Shared(modQuorvane::rsRentals);
    if (rentals.RecordCount() == 0)
        return noRentals(rentals);
    if (!rentals.FindFirst({{kVideoCode, code}, {kMemberId, member}, {kReturned, kOpen}}))
        return notRentedBy(code, member);
    return QString();
}

// Moves one tape of the title between in and out: direction -1 takes one
// out, +1 brings one back. False when no title has the code; store errors
// go to the caller. An empty count stays empty.
bool moveStock(const QString& code, int direction)
{
    store::Recordset& video = Shared(modQuorvane::rsVideo);
    if (video.RecordCount() == 0)
        throw store::StoreError(store::ErrorKind::NoCurrentRecord, QStringLiteral("No current record."));
    if (!video.FindFirst(kVideoCode, code))
        return false;
    video.Edit();
    const QVariant in = video.Value(kTapesIn);
    const QVariant out = video.Value(kTapesOut);
    if (!in.isNull())
        video.SetValue(kTapesIn, in.toLongLong() + direction);
    if (!out.isNull())
        video.SetValue(kTapesOut, out.toLongLong() - direction);
    video.Update();
    return true;
}

// A check of the stock under an error trap: a refusal is shown and answers
// false, and so does a store error, which is reported.
bool checkStock(const QString& code, const QString& member, bool renting)
{
    try {
        const QString refusal = stockRefusal(code, member, renting);
        if (refusal.isEmpty())
            return true;
        inform(refusal);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
    return false;
}

bool trappedStockMove(const QString& code, int direction)
{
    try {
        return moveStock(code, direction);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        return false;
    }
}

[[noreturn]] void titleGone()
{
    throw store::StoreError(store::ErrorKind::NoCurrentRecord, QStringLiteral("No current record."));
}

// Appends the open rental of the title to the member.
void writeRental(const QString& code, const QString& member)
{
    store::Recordset& rentals = Shared(modQuorvane::rsRentals);
    rentals.AddNew();
    rentals.SetValue(kMemberId, convert::Left(member, kCodeWidth));
    rentals.SetValue(kVideoCode, convert::Left(code, kCodeWidth));
    rentals.SetValue(kRentDate, clock_service::today());
    rentals.SetValue(kReturned, kOpen);
    rentals.Update();
}

// Closes the rental rsRentals stands on and records its return.
void writeReturn(const QString& code, const QString& member)
{
    store::Recordset& rentals = Shared(modQuorvane::rsRentals);
    const short days = transactions::DaysRented(transactions::CurrentRentDate(), clock_service::today());

    rentals.Edit();
    rentals.SetValue(kReturned, kClosed);
    rentals.Update();
    store::Recordset& returns = Shared(modQuorvane::rsReturnee);
    returns.AddNew();
    returns.SetValue(kMemberId, convert::Left(member, kCodeWidth));
    returns.SetValue(kVideoCode, convert::Left(code, kCodeWidth));
    returns.SetValue(kReturnDate, clock_service::today());
    returns.SetValue(kDays, static_cast<int>(days));
    returns.Update();
}

// One rent or return as one transaction: verify() answers, now that no one
// else can write, with the refusal in the check's words or with nothing;
// write() records the rent or return and the title's stock moves by one
// tape in `direction`. A refusal is told once the transaction has been
// rolled back: a message box stays up as long as the clerk likes, and the
// file must not stay locked against the other counters meanwhile. A store
// error undoes everything and is reported.
transactions::Outcome recordInTransaction(const QString& code, const std::function<QString()>& verify,
                                          const std::function<void()>& write, int direction)
{
    try {
        QString refusal;
        {
            store::Transaction tx(modQuorvane::MainDatabase());
            refusal = verify();
            if (refusal.isEmpty()) {
                write();
                if (!moveStock(code, direction))
                    titleGone();
                tx.Commit();
                return transactions::Outcome::Done;
            }
        }
        inform(refusal);
        return transactions::Outcome::Refused;
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        return transactions::Outcome::Failed;
    }
}

}  // namespace

namespace modValidate {

bool CheckRent(const QString& code, const QString& member) { return checkStock(code, member, true); }

bool StockOut(const QString& code) { return trappedStockMove(code, -1); }

bool CheckReturn(const QString& code, const QString& member)
{
    try {
        const QString refusal = openRentalRefusal(code, member);
        if (!refusal.isEmpty()) {
            inform(refusal);
            return false;
        }
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        return false;
    }
    return CheckReturnStock(code, member);
}

bool CheckReturnStock(const QString& code, const QString& member) { return checkStock(code, member, false); }

bool StockIn(const QString& code) { return trappedStockMove(code, +1); }

}  // namespace modValidate

namespace transactions {

Outcome RentTape(const QString& code, const QString& member)
{
    return recordInTransaction(
        code,
        // Another counter may have rented the last tape, or removed the title
        // or the member, since the check: ask again, now that no one else
        // can write.
        [&] { return stockRefusal(code, member, true); }, [&] { writeRental(code, member); }, -1);
}

Outcome ReturnTape(const QString& code, const QString& member, std::int64_t rentalRow)
{
    return recordInTransaction(
        code,
        [&] {
            // The rental the check found must still be this member's open
            // rental of this title: another counter may have taken it back
            // meanwhile.
            store::Recordset& rentals = Shared(modQuorvane::rsRentals);
            if (rentals.RecordCount() == 0)
                return noRentals(rentals);
            if (rentalRow <= 0 || !rentals.SetBookmark(rentalRow) || rentals.Text(kReturned) != kOpen ||
                rentals.Text(kVideoCode) != code || rentals.Text(kMemberId) != member)
                return notRentedBy(code, member);
            return stockRefusal(code, member, false);
        },
        [&] { writeReturn(code, member); }, +1);
}

short DaysRented(const std::optional<QDate>& rentDate, const QDate& today)
{
    if (!rentDate || !rentDate->isValid())
        throw ConversionError(QStringLiteral("Invalid use of Null"));
    return convert::CInt(static_cast<double>(rentDate->daysTo(today)));
}

std::optional<QDate> CurrentRentDate()
{
    const QVariant v = Shared(modQuorvane::rsRentals).Value(kRentDate);
    if (v.typeId() == QMetaType::QDate && v.toDate().isValid())
        return v.toDate();
    return std::nullopt;
}

}  // namespace transactions
