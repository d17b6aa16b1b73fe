// A counter without windows, for the reliability tests: it starts as the
// program does (the structure check, then the database and its shared record
// sets) and rents and takes back tapes as fast as it can, through the very
// routines the rent and return windows run: CheckRent then RentTape,
// CheckReturn then ReturnTape on the rental the check found.
//
//   quorvane_counter_worker <folder> <seed> <operations>
//
// folder: the folder that holds Quorvane.mdb; seed: for the choice of member
// and title; operations: rents and returns to complete before ending (0: go
// on until killed).
//
// Each line on stdout is flushed as soon as it is written, so a test that
// kills the worker knows what was committed before it died:
//   ready                                      the start-up is done
//   rent <rental rowid> <code> <member>        a rent, committed
//   return <rental rowid> <returnee rowid> <code> <member>
//                                              a return, committed
//   refused                                    a check or the operation said no
//   failed                                     an operation reported an error
//   finished <done> <refused> <failed> <error messages> <slowest ms>
//                                              slowest: the longest a check
//                                              and its operation took
// Every message a clerk would see goes to stderr, one line each.
//
// Exit status: 0 when the operations were done without an error message;
// 1 when some failed or the worker gave up; 2 for bad arguments; 3 when the
// start-up did not find the file sound and open it.
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"
#include "platform/Store.h"
#include "transactions/Transactions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

const QString kVideoCode = QStringLiteral("Video Code");
const QString kMemberId = QStringLiteral("Member ID");
const QString kReturned = QStringLiteral("Returned");

// Writes one line and hands it to the reader at once.
void report(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

// Shows every message on stderr and counts those of an error trap.
class StderrDialogs : public dialogs::Service {
public:
    void message(const QString& text, dialogs::Icon icon) override
    {
        if (text.startsWith(QLatin1String("Error :")))
            ++errors;
        std::fprintf(stderr, "%s [%s]: %s\n", qPrintable(dialogs::kAppTitle), iconName(icon), qPrintable(text));
        std::fflush(stderr);
    }
    bool askYesNo(const QString& text, dialogs::Icon icon) override
    {
        message(text, icon);
        return false;
    }
    QString saveFileName(const dialogs::SaveRequest&) override { return QString(); }

    int errors = 0;

private:
    static const char* iconName(dialogs::Icon icon)
    {
        switch (icon) {
        case dialogs::Icon::Critical:
            return "critical";
        case dialogs::Icon::Exclamation:
            return "exclamation";
        case dialogs::Icon::Information:
            return "information";
        case dialogs::Icon::Question:
            return "question";
        default:
            return "none";
        }
    }
};

// One field of every row of a table.
QStringList column(const std::shared_ptr<store::Recordset>& rs, const QString& field)
{
    QStringList out;
    const int position = rs->FieldPosition(field);
    for (const auto& row : rs->ReadPage(0, 100000, {position}))
        out << row.values[0].toString();
    return out;
}

// The window shows the table's new count in the status bar after an
// operation; an error there is the clerk's to see.
void showCount(const store::Recordset& table)
{
    try {
        table.RecordCount();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

struct Tally {
    long long done = 0, refused = 0, failed = 0;

    // Counts and reports a refusal or a failure; true for an operation done,
    // which the caller reports with what it wrote.
    bool settle(transactions::Outcome outcome)
    {
        switch (outcome) {
        case transactions::Outcome::Done:
            ++done;
            return true;
        case transactions::Outcome::Refused:
            ++refused;
            report(QStringLiteral("refused"));
            break;
        case transactions::Outcome::Failed:
            ++failed;
            report(QStringLiteral("failed"));
            break;
        }
        return false;
    }
};

void rent(const QString& code, const QString& member, Tally& tally)
{
    if (!modValidate::CheckRent(code, member)) {
        tally.settle(transactions::Outcome::Refused);
        return;
    }
    if (tally.settle(transactions::RentTape(code, member))) {
        report(QStringLiteral("rent %1 %2 %3").arg(modQuorvane::rsRentals->LastModified()).arg(code, member));
        showCount(*modQuorvane::rsRentals);
    }
}

void takeBack(const QString& code, const QString& member, Tally& tally)
{
    if (!modValidate::CheckReturn(code, member)) {
        tally.settle(transactions::Outcome::Refused);
        return;
    }
    const std::int64_t rental = modQuorvane::rsRentals->Bookmark();
    if (tally.settle(transactions::ReturnTape(code, member, rental))) {
        report(QStringLiteral("return %1 %2 %3 %4")
                   .arg(rental)
                   .arg(modQuorvane::rsReturnee->LastModified())
                   .arg(code, member));
        showCount(*modQuorvane::rsReturnee);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool seedOk = false, opsOk = false;
    const unsigned seed = args.size() == 4 ? args[2].toUInt(&seedOk) : 0;
    const long long operations = args.size() == 4 ? args[3].toLongLong(&opsOk) : 0;
    if (!seedOk || !opsOk || operations < 0) {
        std::fprintf(stderr, "usage: quorvane_counter_worker <folder> <seed> <operations>\n");
        return 2;
    }

    StderrDialogs shown;
    dialogs::install(&shown);
    platform::setApplicationFolder(args[1]);

    // The program's own start-up: a file left with a hot journal is put back
    // as it was before the interrupted write, and must be found sound.
    if (modValidate::CheckDatabaseStructure() != modValidate::CheckOutcome::Sound) {
        std::fprintf(stderr, "start-up: the file was not found sound\n");
        return 3;
    }
    QStringList codes, members;
    try {
        modQuorvane::OpenMainDatabase();
        codes = column(modQuorvane::rsVideo, kVideoCode);
        members = column(modQuorvane::rsMembers, kMemberId);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
        return 3;
    }
    if (codes.isEmpty() || members.isEmpty()) {
        std::fprintf(stderr, "start-up: no titles or no members on file\n");
        return 3;
    }
    report(QStringLiteral("ready"));

    std::mt19937 random(seed);
    const auto pick = [&random](const QStringList& from) {
        return from[static_cast<qsizetype>(random() % static_cast<unsigned>(from.size()))];
    };
    Tally tally;
    qint64 slowestMs = 0;
    QElapsedTimer clock;
    // Refusals are normal when the shelves are empty; a run that is refused
    // far more often than it succeeds has gone wrong all the same.
    const long long attemptLimit = operations * 50 + 1000;
    for (long long attempt = 0; operations == 0 || (tally.done < operations && attempt < attemptLimit); ++attempt) {
        clock.start();
        const QString member = pick(members);
        // Half of the time the member brings back a tape, if any is out on
        // the member's name; otherwise the member rents one.
        QString back;
        if (random() % 2 == 0) {
            try {
                store::Recordset& rentals = *modQuorvane::rsRentals;
                if (rentals.FindFirst({{kMemberId, member}, {kReturned, QStringLiteral("No")}}))
                    back = rentals.Text(kVideoCode);
            } catch (const std::exception& e) {
                dialogs::reportError(e);
                tally.settle(transactions::Outcome::Failed);
                continue;
            }
        }
        if (back.isEmpty())
            rent(pick(codes), member, tally);
        else
            takeBack(back, member, tally);
        slowestMs = std::max(slowestMs, clock.elapsed());
    }
    report(QStringLiteral("finished %1 %2 %3 %4 %5")
               .arg(tally.done)
               .arg(tally.refused)
               .arg(tally.failed)
               .arg(shown.errors)
               .arg(slowestMs));
    const bool clean = tally.done >= operations && tally.failed == 0 && shown.errors == 0;
    std::fflush(nullptr);
    // As the program ends: at once, the engine releasing the file.
    std::_Exit(clean ? 0 : 1);
}
