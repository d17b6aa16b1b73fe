// How long the video editor takes to open on a searched title, and the code
// registry to answer, on tables of a million rows; each measured beside the
// row-by-row walk from the first row that the lookups replace.
//
// Run: quorvane_bench [--benchmark_filter=...]. The database is built once,
// in a temporary folder, before the first measurement.
#include "BenchSupport.h"
#include "catalogue/frmAdd.h"
#include "data/CodeRegistry.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/QuorvaneApplication.h"
#include "platform/Store.h"
#include "shell/Windows.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTemporaryDir>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using bench_support::kRows;
const QString kLastTitle = QStringLiteral("Title %1").arg(kRows);
const QString kLastCode = QStringLiteral("V%1").arg(kRows);
const QString kMissing = QStringLiteral("No such title");

// The registry's answer found by reading every row from the first, letting
// window events run between rows.
bool registerCodeByWalk(const QString& code, const QString& name, const QString& tableName)
{
    auto rs = modQuorvane::dbMain->OpenRecordset(tableName);
    if (rs->RecordCount() > 0) {
        rs->MoveFirst();
        while (!rs->Eof()) {
            if (rs->Text(0) == code)
                return true;
            rs->MoveNext();
            platform::doEvents();
        }
    }
    rs->AddNew();
    rs->SetValue(0, code);
    rs->SetValue(1, name);
    rs->Update();
    return false;
}

frmAdd* editor()
{
    modQuorvane::EditMode = true;
    modQuorvane::SearchField = QStringLiteral("Title");
    modQuorvane::SearchValue = QStringLiteral("Title 1");
    return windows::show<frmAdd>();
}

// The edit-mode load, which positions on the searched title.
void BM_LocateRecord(benchmark::State& state, const QString& value)
{
    frmAdd* w = editor();
    modQuorvane::SearchValue = value;
    for (auto _ : state) {
        w->Form_Load();
        benchmark::DoNotOptimize(modQuorvane::rsVideo->Bookmark());
    }
    if (modQuorvane::rsVideo->Text(0) != kLastCode)
        state.SkipWithError("did not stand on the last title");
}

// The same load when the window walks there with its Next command, from the
// first title, filling the boxes at every step.
void BM_LocateRecordWalk(benchmark::State& state, const QString& value)
{
    frmAdd* w = editor();
    auto* next = w->findChild<QPushButton*>(QStringLiteral("cmdCommand2"));
    for (auto _ : state) {
        modQuorvane::SearchValue = QStringLiteral("Title 1");
        w->Form_Load();
        while (modQuorvane::rsVideo->Text(QStringLiteral("Title")) != value && next->isEnabled())
            w->cmdCommand2_Click();
        benchmark::DoNotOptimize(modQuorvane::rsVideo->Bookmark());
    }
    if (modQuorvane::rsVideo->Text(0) != kLastCode)
        state.SkipWithError("did not stand on the last title");
}

void BM_RegisterKnownCode(benchmark::State& state)
{
    for (auto _ : state)
        if (!modValidate::RegisterCode(kLastCode, QStringLiteral("x"), schema::kVideoCode))
            state.SkipWithError("the code on the last row was not found");
}

void BM_RegisterKnownCodeWalk(benchmark::State& state)
{
    for (auto _ : state)
        if (!registerCodeByWalk(kLastCode, QStringLiteral("x"), schema::kVideoCode))
            state.SkipWithError("the code on the last row was not found");
}

int g_newCode = 0;

void BM_RegisterNewCode(benchmark::State& state)
{
    for (auto _ : state)
        if (modValidate::RegisterCode(QStringLiteral("N%1").arg(++g_newCode), QStringLiteral("x"),
                                      schema::kMemberCode))
            state.SkipWithError("a new code was found");
}

void BM_RegisterNewCodeWalk(benchmark::State& state)
{
    for (auto _ : state)
        if (registerCodeByWalk(QStringLiteral("N%1").arg(++g_newCode), QStringLiteral("x"), schema::kMemberCode))
            state.SkipWithError("a new code was found");
}

}  // namespace

int main(int argc, char** argv)
{
    bench_support::preferOffscreen();
    benchmark::Initialize(&argc, argv);
    QuorvaneApplication app(argc, argv);

    QTemporaryDir dir;
    if (!bench_support::setUpDatabase(dir, {true, true, true, false})) {
        std::fprintf(stderr, "could not build the benchmark database\n");
        return 1;
    }

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("LocateRecord/LastRow", BM_LocateRecord, kLastTitle)->Unit(ms);
    benchmark::RegisterBenchmark("LocateRecordWalk/LastRow", BM_LocateRecordWalk, kLastTitle)
        ->Unit(ms)
        ->Iterations(1);
    benchmark::RegisterBenchmark("LocateRecord/NoMatch", BM_LocateRecord, kMissing)->Unit(ms);
    benchmark::RegisterBenchmark("LocateRecordWalk/NoMatch", BM_LocateRecordWalk, kMissing)
        ->Unit(ms)
        ->Iterations(1);
    benchmark::RegisterBenchmark("RegisterCode/LastRow", BM_RegisterKnownCode)->Unit(ms);
    benchmark::RegisterBenchmark("RegisterCodeWalk/LastRow", BM_RegisterKnownCodeWalk)->Unit(ms)->Iterations(1);
    benchmark::RegisterBenchmark("RegisterCode/NewCode", BM_RegisterNewCode)->Unit(ms);
    benchmark::RegisterBenchmark("RegisterCodeWalk/NewCode", BM_RegisterNewCodeWalk)->Unit(ms)->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    windows::closeAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    modQuorvane::ResetProcessState();
    return 0;
}
