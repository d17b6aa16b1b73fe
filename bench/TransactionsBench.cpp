// The counter's rent and return on a file of a million titles, a million
// members and a million rentals: the two checks, and a whole rent and a whole
// return with their transaction, each beside the row-by-row way (a walk from
// the first row, letting window events run between rows, each write
// committed on its own), and beside one committed write of the store, which
// a whole rent or return should cost about as much as.
//
// Run: quorvane_transactions_bench [--benchmark_filter=...]. The database is
// built once, in a temporary folder, before the first measurement. The last
// title and the last member are the ones rented and returned, so that every
// walk goes the whole length of its table.
#include "BenchSupport.h"

#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/QuorvaneApplication.h"
#include "platform/Store.h"
#include "transactions/Transactions.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using bench_support::kRows;
using modQuorvane::rsMembers;
using modQuorvane::rsRentals;
using modQuorvane::rsReturnee;
using modQuorvane::rsVideo;

const QString kCode = QStringLiteral("V%1").arg(kRows);
const QString kMember = QStringLiteral("M%1").arg(kRows);

bench_support::RecordingDialogs g_dialogs;

// ---------------------------------------------------------------------------
// The row-by-row way.

bool walkTo(store::Recordset& rs, const QString& field, const QString& value)
{
    rs.MoveFirst();
    while (!rs.Eof()) {
        if (rs.Text(field) == value)
            return true;
        rs.MoveNext();
        platform::doEvents();
    }
    return false;
}

bool walkToOpenRental(store::Recordset& rs, const QString& code, const QString& member)
{
    rs.MoveFirst();
    while (!rs.Eof()) {
        if (rs.Text(QStringLiteral("Video Code")) == code && rs.Text(QStringLiteral("Member ID")) == member &&
            rs.Text(QStringLiteral("Returned")) == QLatin1String("No"))
            return true;
        rs.MoveNext();
        platform::doEvents();
    }
    return false;
}

bool walkCheck(const QString& code, const QString& member, const QString& stockField)
{
    if (rsVideo->RecordCount() == 0 || rsMembers->RecordCount() == 0)
        return false;
    const bool title = walkTo(*rsVideo, QStringLiteral("Video Code"), code);
    const bool who = walkTo(*rsMembers, QStringLiteral("Member ID"), member);
    return title && who && rsVideo->Value(stockField).toLongLong() != 0;
}

bool walkStock(const QString& code, int direction)
{
    if (!walkTo(*rsVideo, QStringLiteral("Video Code"), code))
        return false;
    rsVideo->Edit();
    rsVideo->SetValue(QStringLiteral("Tapes In"), rsVideo->Value(QStringLiteral("Tapes In")).toLongLong() + direction);
    rsVideo->SetValue(QStringLiteral("Tapes Out"), rsVideo->Value(QStringLiteral("Tapes Out")).toLongLong() - direction);
    rsVideo->Update();
    return true;
}

bool walkRent(const QString& code, const QString& member)
{
    if (!walkCheck(code, member, QStringLiteral("Tapes In")))
        return false;
    rsRentals->AddNew();
    rsRentals->SetValue(QStringLiteral("Member ID"), member);
    rsRentals->SetValue(QStringLiteral("Video Code"), code);
    rsRentals->SetValue(QStringLiteral("Rent Date"), clock_service::today());
    rsRentals->SetValue(QStringLiteral("Returned"), QStringLiteral("No"));
    rsRentals->Update();
    return walkStock(code, -1);
}

bool walkCheckReturn(const QString& code, const QString& member)
{
    if (rsRentals->RecordCount() == 0 || !walkToOpenRental(*rsRentals, code, member))
        return false;
    return walkCheck(code, member, QStringLiteral("Tapes Out"));
}

bool walkReturn(const QString& code, const QString& member)
{
    if (!walkCheckReturn(code, member))
        return false;
    const QDate rented = rsRentals->Value(QStringLiteral("Rent Date")).toDate();
    rsRentals->Edit();
    rsRentals->SetValue(QStringLiteral("Returned"), QStringLiteral("Yes"));
    rsRentals->Update();
    rsReturnee->AddNew();
    rsReturnee->SetValue(QStringLiteral("Member ID"), member);
    rsReturnee->SetValue(QStringLiteral("Video Code"), code);
    rsReturnee->SetValue(QStringLiteral("Return Date"), clock_service::today());
    rsReturnee->SetValue(QStringLiteral("Days"), rented.daysTo(clock_service::today()));
    rsReturnee->Update();
    return walkStock(code, +1);
}

// ---------------------------------------------------------------------------
// The counter's way.

void offRoad(benchmark::State& state)
{
    if (!g_dialogs.shown.isEmpty())
        state.SkipWithError(("a message was shown: " + g_dialogs.shown.join(QStringLiteral(" | "))).toStdString().c_str());
}

// Rents one tape of the bench title, so that a return has a rental to take
// back; inside a measuring loop, with the timing paused.
void rentOne(benchmark::State& state, bool inLoop)
{
    if (inLoop)
        state.PauseTiming();
    if (transactions::RentTape(kCode, kMember) != transactions::Outcome::Done)
        state.SkipWithError("the rent failed");
    if (inLoop)
        state.ResumeTiming();
}

void BM_CheckRent(benchmark::State& state)
{
    for (auto _ : state)
        if (!modValidate::CheckRent(kCode, kMember))
            state.SkipWithError("refused");
    offRoad(state);
}

void BM_CheckRentWalk(benchmark::State& state)
{
    for (auto _ : state)
        if (!walkCheck(kCode, kMember, QStringLiteral("Tapes In")))
            state.SkipWithError("refused");
}

void BM_CheckReturn(benchmark::State& state)
{
    rentOne(state, false);
    for (auto _ : state)
        if (!modValidate::CheckReturn(kCode, kMember))
            state.SkipWithError("refused");
    offRoad(state);
}

void BM_CheckReturnWalk(benchmark::State& state)
{
    rentOne(state, false);
    for (auto _ : state)
        if (!walkCheckReturn(kCode, kMember))
            state.SkipWithError("refused");
}

void BM_Rent(benchmark::State& state)
{
    for (auto _ : state)
        if (transactions::RentTape(kCode, kMember) != transactions::Outcome::Done)
            state.SkipWithError("the rent failed");
    offRoad(state);
}

void BM_RentWalk(benchmark::State& state)
{
    for (auto _ : state)
        if (!walkRent(kCode, kMember))
            state.SkipWithError("the rent failed");
}

void BM_Return(benchmark::State& state)
{
    for (auto _ : state) {
        rentOne(state, true);
        if (!modValidate::CheckReturn(kCode, kMember) ||
            transactions::ReturnTape(kCode, kMember, rsRentals->Bookmark()) != transactions::Outcome::Done)
            state.SkipWithError("the return failed");
    }
    offRoad(state);
}

void BM_ReturnWalk(benchmark::State& state)
{
    for (auto _ : state) {
        rentOne(state, true);
        if (!walkReturn(kCode, kMember))
            state.SkipWithError("the return failed");
    }
}

// One committed write: a field of the bench title written back as it is.
void BM_OneCommittedWrite(benchmark::State& state)
{
    rsVideo->FindFirst(QStringLiteral("Video Code"), kCode);
    for (auto _ : state) {
        rsVideo->Edit();
        rsVideo->SetValue(QStringLiteral("Category"), QStringLiteral("Crime"));
        rsVideo->Update();
    }
}

void report()
{
    std::fprintf(stderr, "Peak resident memory: %.1f MB\n", bench_support::memory().peak / 1024.0);
}

}  // namespace

int main(int argc, char** argv)
{
    bench_support::preferOffscreen();
    benchmark::Initialize(&argc, argv);
    QuorvaneApplication app(argc, argv);
    dialogs::install(&g_dialogs);

    QTemporaryDir dir;
    if (!bench_support::setUpDatabase(dir, {true, true, false, true})) {
        std::fprintf(stderr, "could not build the benchmark database\n");
        return 1;
    }
    // The bench title has tapes enough for every rent of the run.
    rsVideo->FindFirst(QStringLiteral("Video Code"), kCode);
    rsVideo->Edit();
    rsVideo->SetValue(QStringLiteral("Tapes In"), 1000000000);
    rsVideo->Update();
    std::fprintf(stderr, "Resident memory with the database open: %.1f MB\n", bench_support::memory().rss / 1024.0);

    const auto us = benchmark::kMicrosecond;
    benchmark::RegisterBenchmark("CheckRent", BM_CheckRent)->Unit(us);
    benchmark::RegisterBenchmark("CheckRentWalk", BM_CheckRentWalk)->Unit(us)->Iterations(1);
    benchmark::RegisterBenchmark("CheckReturn", BM_CheckReturn)->Unit(us);
    benchmark::RegisterBenchmark("CheckReturnWalk", BM_CheckReturnWalk)->Unit(us)->Iterations(1);
    benchmark::RegisterBenchmark("OneCommittedWrite", BM_OneCommittedWrite)->Unit(us);
    benchmark::RegisterBenchmark("Rent", BM_Rent)->Unit(us);
    benchmark::RegisterBenchmark("RentWalk", BM_RentWalk)->Unit(us)->Iterations(1);
    benchmark::RegisterBenchmark("Return", BM_Return)->Unit(us);
    benchmark::RegisterBenchmark("ReturnWalk", BM_ReturnWalk)->Unit(us)->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    report();

    modQuorvane::ResetProcessState();
    return 0;
}
