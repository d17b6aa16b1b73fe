// The inventory on a video table of a million titles: from the command to
// the list shown with the first title's counts, the memory the open window
// adds, and the counts of the last title; each beside a list widget filled
// item by item and, for the counts, the walk from the first row.
//
// Run: quorvane_inventory_bench [--benchmark_filter=...]. The database is
// built once, in a temporary folder, before the first measurement.
#include "browse/frmInventory.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/QuorvaneApplication.h"
#include "platform/Store.h"
#include "shell/Windows.h"
#include "shell/frmMDIQuorvane.h"
#include "ViewBenchSupport.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <limits>
#include <memory>

using namespace bench_support;

namespace {

const QString kTitle = QStringLiteral("Title");

void fillTable(const QString& path)
{
    fillFile(path, [](SQLite::Database& db) { addTitles(db, kRows, "'Title ' || i", "i % 7", "i % 3"); });
}

frmMDIQuorvane* g_main = nullptr;

// The counts the first title shows: row 1 has 1 % 7 tapes in, 1 % 3 out.
bool showsFirstCounts(frmInventory* w)
{
    return w && w->findChild<QLineEdit*>(QStringLiteral("txtTapesIn"))->text() == QStringLiteral("1") &&
           w->findChild<QLineEdit*>(QStringLiteral("txtTapesOut"))->text() == QStringLiteral("1");
}

frmInventory* openInventory()
{
    g_main->mnuViewInventory_Click();
    frmInventory* w = windows::find<frmInventory>();
    if (w)
        draw(w->findChild<QListView*>(QStringLiteral("lstInventory")));
    return w;
}

void closeInventory()
{
    windows::close<frmInventory>();
    settle();
}

// ---------------------------------------------------------------------------
// The counter's inventory

void BM_InventoryMemory(benchmark::State& state)
{
    for (auto _ : state) {
        closeInventory();
        const Memory before = memory();
        resetPeak();
        frmInventory* w = openInventory();
        reportMemory(state, before, memory());
        if (!showsFirstCounts(w))
            state.SkipWithError("the first title's counts are not shown");
    }
    closeInventory();
}

void BM_InventoryOpen(benchmark::State& state)
{
    frmInventory* w = nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        closeInventory();
        state.ResumeTiming();
        w = openInventory();
    }
    if (!showsFirstCounts(w) || w->findChild<QListView*>()->model()->rowCount() != kRows)
        state.SkipWithError("the list or the first title's counts are not shown");
    closeInventory();
}

// Selecting the last title: one indexed lookup.
void BM_InventorySelectLast(benchmark::State& state)
{
    frmInventory* w = openInventory();
    auto* list = w->findChild<QListView*>(QStringLiteral("lstInventory"));
    for (auto _ : state) {
        state.PauseTiming();
        list->setCurrentIndex(list->model()->index(0, 0));
        state.ResumeTiming();
        list->setCurrentIndex(list->model()->index(kRows - 1, 0));
        list->scrollTo(list->currentIndex());
        draw(list);
    }
    // Row 1,000,000 has 1000000 % 7 = 1 tape in and 1000000 % 3 = 1 out.
    if (!showsFirstCounts(w) || modQuorvane::rsVideo->Text(kTitle) != QStringLiteral("Title %1").arg(kRows))
        state.SkipWithError("the last title's counts are not shown");
    closeInventory();
}

// ---------------------------------------------------------------------------
// The plain ways

// Every title, read a page at a time as the inventory reads them.
template <class Add>
void forEachTitle(Add add)
{
    store::Recordset& rs = *modQuorvane::rsVideo;
    const int title = rs.FieldPosition(kTitle);
    std::int64_t after = std::numeric_limits<std::int64_t>::min();
    for (;;) {
        const auto page = rs.ReadPage(after, 16384, {title});
        for (const auto& row : page)
            add(row.values[0].toString());
        if (page.size() < 16384)
            break;
        after = page.back().rowid;
    }
}

// A list widget filled item by item, the first item selected and its counts
// read.
std::unique_ptr<QListWidget> plainList(QLineEdit& tapesIn, QLineEdit& tapesOut)
{
    auto list = std::make_unique<QListWidget>();
    list->resize(225, 147);
    forEachTitle([&](const QString& t) { list->addItem(t); });
    list->show();
    list->setCurrentRow(0);
    store::Recordset& rs = *modQuorvane::rsVideo;
    rs.FindFirst(kTitle, list->currentItem()->text());
    tapesIn.setText(rs.Text(QStringLiteral("Tapes In")));
    tapesOut.setText(rs.Text(QStringLiteral("Tapes Out")));
    draw(list.get());
    return list;
}

void BM_PlainListOpen(benchmark::State& state)
{
    QLineEdit in, out;
    for (auto _ : state) {
        auto list = plainList(in, out);
        state.PauseTiming();
        list.reset();
        settle();
        state.ResumeTiming();
    }
    if (in.text() != QStringLiteral("1"))
        state.SkipWithError("the first title's counts are not shown");
}

void BM_PlainListMemory(benchmark::State& state)
{
    QLineEdit in, out;
    for (auto _ : state) {
        settle();
        const Memory before = memory();
        resetPeak();
        auto list = plainList(in, out);
        reportMemory(state, before, memory());
    }
}

// The last title found by walking from the first row, one row at a time,
// letting the window's events run between rows.
void BM_SelectLastByWalk(benchmark::State& state)
{
    store::Recordset& rs = *modQuorvane::rsVideo;
    const QString last = QStringLiteral("Title %1").arg(kRows);
    for (auto _ : state) {
        rs.MoveFirst();
        while (!rs.Eof() && rs.Text(kTitle) != last) {
            rs.MoveNext();
            platform::doEvents();
        }
    }
    if (rs.Eof())
        state.SkipWithError("the last title was not found");
}

}  // namespace

int main(int argc, char** argv)
{
    preferOffscreen();
    benchmark::Initialize(&argc, argv);
    QuorvaneApplication app(argc, argv);

    g_main = openCounter("a million rows in the video table", fillTable,
                         [] { return modQuorvane::rsVideo->RecordCount() == kRows; });
    if (!g_main)
        return 1;

    const auto ms = benchmark::kMillisecond;
    // Memory first, while the process is fresh.
    benchmark::RegisterBenchmark("Inventory/Memory", BM_InventoryMemory)->Unit(ms)->Iterations(1);
    benchmark::RegisterBenchmark("Inventory/Open", BM_InventoryOpen)->Unit(ms);
    benchmark::RegisterBenchmark("Inventory/SelectLast", BM_InventorySelectLast)->Unit(ms);
    benchmark::RegisterBenchmark("ListWidget/Memory", BM_PlainListMemory)->Unit(ms)->Iterations(1);
    benchmark::RegisterBenchmark("ListWidget/Open", BM_PlainListOpen)->Unit(ms)->Iterations(3);
    benchmark::RegisterBenchmark("Walk/SelectLast", BM_SelectLastByWalk)->Unit(ms)->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    closeCounter();
    return 0;
}
