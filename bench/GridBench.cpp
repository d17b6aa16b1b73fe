// The grid window on a table of a million rows: from the command to the
// first screen of rows drawn, a jump to the last row, the memory an open
// grid adds, and a write by the counter while the grid is open; each beside
// Qt's own SQL table model, which must fetch every row to reach the last
// and keeps its read open meanwhile.
//
// Two tables are measured: the video table, whose rowids run without a gap,
// and the video code registry, a million rows left after every eleventh of
// 1,100,000 was deleted.
//
// Run: quorvane_grid_bench [--benchmark_filter=...]. The database is built
// once, in a temporary folder, before the first measurement.
#include "browse/DbaseData.h"
#include "browse/frmDatabaseGrid.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/QuorvaneApplication.h"
#include "platform/Store.h"
#include "shell/Windows.h"
#include "shell/frmMDIQuorvane.h"
#include "ViewBenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTableView>

#ifdef QV_HAVE_QT_SQL
#include <QSqlDatabase>
#include <QSqlTableModel>
#endif

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace bench_support;

namespace {


void fillVideoAndRegistry(const QString& path)
{
    fillFile(path, [](SQLite::Database& db) {
        addTitles(db, kRows);
        // The registry with gaps in its rowids: every eleventh row deleted.
        db.exec("INSERT INTO \"Video Code Database\" (\"Video Code\", \"Title\") " + numbered(kRows / 10 * 11) +
                "SELECT 'V' || i, 'Title ' || i FROM n");
        db.exec("DELETE FROM \"Video Code Database\" WHERE rowid % 11 = 0");
    });
}

void pressCtrlEnd(QWidget* view)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::sendEvent(view, &press);
}

frmMDIQuorvane* g_main = nullptr;
int g_written = 0;  // titles the write measurements have added
using Command = void (frmMDIQuorvane::*)();

QTableView* openGrid(Command command)
{
    (g_main->*command)();
    frmDatabaseGrid* w = windows::find<frmDatabaseGrid>();
    return w ? w->findChild<QTableView*>(QStringLiteral("DBGrid")) : nullptr;
}

void closeGrid()
{
    windows::close<frmDatabaseGrid>();
    settle();
}

QString cell(QAbstractItemView* view, int row, int column)
{
    return view->model()->data(view->model()->index(row, column)).toString();
}

// ---------------------------------------------------------------------------
// The counter's grid

void BM_GridMemory(benchmark::State& state, Command command, QString lastCode)
{
    for (auto _ : state) {
        closeGrid();
        const Memory before = memory();
        resetPeak();
        QTableView* grid = openGrid(command);
        draw(grid);
        pressCtrlEnd(grid);
        draw(grid);
        grid->scrollTo(grid->model()->index(kRows / 2, 0));
        draw(grid);
        const Memory after = memory();
        reportMemory(state, before, after);
        if (cell(grid, kRows - 1, 0) != lastCode)
            state.SkipWithError("the last row is not the table's last");
    }
    closeGrid();
}

void BM_GridFirstScreen(benchmark::State& state, Command command)
{
    QTableView* grid = nullptr;
    for (auto _ : state) {
        state.PauseTiming();
        closeGrid();
        state.ResumeTiming();
        grid = openGrid(command);
        draw(grid);
    }
    if (!grid || cell(grid, 0, 0) != QStringLiteral("V1"))
        state.SkipWithError("the first row is not drawn");
    closeGrid();
}

void BM_GridJump(benchmark::State& state, Command command, int row, QString code)
{
    QTableView* grid = openGrid(command);
    auto* source = windows::find<frmDatabaseGrid>()->findChild<browse::DataSource*>(QStringLiteral("DbaseData"));
    for (auto _ : state) {
        state.PauseTiming();
        // The records read afresh: nothing of the table is known but its ends.
        source->Refresh();
        draw(grid);
        state.ResumeTiming();
        if (row < 0) {
            pressCtrlEnd(grid);
        } else {
            grid->setCurrentIndex(grid->model()->index(row, 0));
            grid->scrollTo(grid->currentIndex());
        }
        draw(grid);
    }
    const int at = row < 0 ? kRows - 1 : row;
    if (grid->currentIndex().row() != at || cell(grid, at, 0) != code)
        state.SkipWithError("the jump did not land on the row");
    closeGrid();
}

// The counter appends a title; true when it was committed.
bool writeTitle()
{
    store::Recordset& rs = *modQuorvane::rsVideo;
    try {
        rs.AddNew();
        rs.SetValue(QStringLiteral("Video Code"), QStringLiteral("W%1").arg(++g_written));
        rs.SetValue(QStringLiteral("Title"), QStringLiteral("Written meanwhile"));
        rs.Update();
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "the write failed: %s\n", e.what());
        return false;
    }
}

// The counter appends a title while a grid is open and drawn on the table,
// or with no grid open, for comparison.
void BM_GridWrite(benchmark::State& state, bool gridOpen)
{
    if (gridOpen) {
        QTableView* grid = openGrid(&frmMDIQuorvane::mnuViewVideo_Click);
        pressCtrlEnd(grid);
        draw(grid);
    }
    bool committed = true;
    for (auto _ : state)
        committed = writeTitle() && committed;
    state.counters["committed"] = committed;
    closeGrid();
}

// ---------------------------------------------------------------------------
// The plain way: Qt's SQL table model on the same file

#ifdef QV_HAVE_QT_SQL

const QString kPlainConnection = QStringLiteral("plain");

bool plainAvailable(benchmark::State& state)
{
    if (QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return true;
    state.SkipWithError("Qt's SQLite driver is not installed (libqt6sql6-sqlite)");
    return false;
}

QSqlDatabase plainDatabase()
{
    if (!QSqlDatabase::contains(kPlainConnection)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kPlainConnection);
        db.setDatabaseName(modQuorvane::DbPath);
        db.open();
    }
    return QSqlDatabase::database(kPlainConnection);
}

struct PlainGrid {
    explicit PlainGrid(const QString& table) : model(nullptr, plainDatabase())
    {
        model.setTable(table);
        model.select();
        view.setModel(&model);
        view.resize(698, 384);
        view.show();
    }
    void fetchAll()
    {
        while (model.canFetchMore())
            model.fetchMore();
    }
    QSqlTableModel model;
    QTableView view;
};

void BM_PlainFirstScreen(benchmark::State& state, QString table)
{
    if (!plainAvailable(state))
        return;
    for (auto _ : state) {
        PlainGrid grid(table);
        draw(&grid.view);
    }
}

void BM_PlainJumpToLast(benchmark::State& state, QString table)
{
    if (!plainAvailable(state))
        return;
    bool landed = false;
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = std::make_unique<PlainGrid>(table);
        draw(&grid->view);
        state.ResumeTiming();
        // The view reaches no further than the rows fetched: all of them.
        grid->fetchAll();
        pressCtrlEnd(&grid->view);
        draw(&grid->view);
        state.PauseTiming();
        landed = grid->view.currentIndex().row() == grid->model.rowCount() - 1 && grid->model.rowCount() >= kRows;
        grid.reset();
        state.ResumeTiming();
    }
    if (!landed)
        state.SkipWithError("the jump did not land on the last row");
}

void BM_PlainMemory(benchmark::State& state, QString table)
{
    if (!plainAvailable(state))
        return;
    for (auto _ : state) {
        settle();
        const Memory before = memory();
        resetPeak();
        PlainGrid grid(table);
        draw(&grid.view);
        grid.fetchAll();
        pressCtrlEnd(&grid.view);
        draw(&grid.view);
        reportMemory(state, before, memory());
    }
}

// The counter's write while Qt's model has drawn its first rows: the model's
// read is still open, and the write waits for it until the busy timeout.
void BM_PlainWriteWhileOpen(benchmark::State& state)
{
    if (!plainAvailable(state))
        return;
    PlainGrid grid(schema::kVideo);
    draw(&grid.view);
    bool committed = true;
    for (auto _ : state)
        committed = writeTitle() && committed;
    state.counters["committed"] = committed;
}

#endif

}  // namespace

int main(int argc, char** argv)
{
    preferOffscreen();
    benchmark::Initialize(&argc, argv);
    QuorvaneApplication app(argc, argv);

    g_main = openCounter("a million rows in the video table and in the video code registry", fillVideoAndRegistry, [] {
        return modQuorvane::rsVideo->RecordCount() == kRows && modQuorvane::rsVideoCode->RecordCount() == kRows;
    });
    if (!g_main)
        return 1;

    using F = frmMDIQuorvane;
    const QString lastVideo = QStringLiteral("V%1").arg(kRows);
    const QString lastCode = QStringLiteral("V%1").arg(kRows / 10 * 11 - 1);
    // The middle row of the registry: row r holds code r + 1 + r / 10.
    const int middle = kRows / 2;
    const QString middleCode = QStringLiteral("V%1").arg(middle + 1 + middle / 10);
    const auto ms = benchmark::kMillisecond;

    // Memory first, while the process is fresh; the things any first window
    // sets up once (fonts, styles) are set up by a grid on an empty table.
    openGrid(&F::mnuHistRet_Click);
    closeGrid();
    benchmark::RegisterBenchmark("Grid/Memory/Video", BM_GridMemory, &F::mnuViewVideo_Click, lastVideo)
        ->Unit(ms)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Grid/Memory/CodesWithGaps", BM_GridMemory, &F::mnuHistVideo_Click, lastCode)
        ->Unit(ms)
        ->Iterations(1);
    benchmark::RegisterBenchmark("Grid/FirstScreen/Video", BM_GridFirstScreen, &F::mnuViewVideo_Click)->Unit(ms);
    benchmark::RegisterBenchmark("Grid/FirstScreen/CodesWithGaps", BM_GridFirstScreen, &F::mnuHistVideo_Click)
        ->Unit(ms);
    benchmark::RegisterBenchmark("Grid/JumpToLast/Video", BM_GridJump, &F::mnuViewVideo_Click, -1, lastVideo)
        ->Unit(ms);
    benchmark::RegisterBenchmark("Grid/JumpToLast/CodesWithGaps", BM_GridJump, &F::mnuHistVideo_Click, -1, lastCode)
        ->Unit(ms);
    benchmark::RegisterBenchmark("Grid/JumpToMiddle/CodesWithGaps", BM_GridJump, &F::mnuHistVideo_Click, middle,
                                 middleCode)
        ->Unit(ms);
#ifdef QV_HAVE_QT_SQL
    benchmark::RegisterBenchmark("QtSqlModel/FirstScreen/Video", BM_PlainFirstScreen, schema::kVideo)->Unit(ms);
    benchmark::RegisterBenchmark("QtSqlModel/JumpToLast/Video", BM_PlainJumpToLast, schema::kVideo)
        ->Unit(ms)
        ->Iterations(1);
    benchmark::RegisterBenchmark("QtSqlModel/Memory/Video", BM_PlainMemory, schema::kVideo)->Unit(ms)->Iterations(1);
#endif
    // The writes last: they add rows to the video table.
    benchmark::RegisterBenchmark("Write/NoGridOpen", BM_GridWrite, false)->Unit(ms);
    benchmark::RegisterBenchmark("Write/GridOpen", BM_GridWrite, true)->Unit(ms);
#ifdef QV_HAVE_QT_SQL
    benchmark::RegisterBenchmark("Write/QtSqlModelOpen", BM_PlainWriteWhileOpen)->Unit(ms)->Iterations(1);
#endif
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

#ifdef QV_HAVE_QT_SQL
    QSqlDatabase::removeDatabase(kPlainConnection);
#endif
    closeCounter();
    return 0;
}
