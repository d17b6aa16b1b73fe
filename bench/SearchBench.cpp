// How long a search of a million titles takes to fill the results lists,
// how long the window events wait meanwhile, and how much memory a million
// listed lines cost; each measured beside the row-by-row scan that lets the
// events run after every title.
//
// Run: quorvane_search_bench [--benchmark_filter=...]. The database is built
// once, in a temporary folder, before the first measurement. Counters:
// matches, longest_pause_ms (the longest wait of a 5-ms timer during the
// search), shown_ms (until the views have laid out every line) and
// peak_rss_mb (VmHWM of the process so far; the row-by-row scans run last,
// so the figures before them are the search's own).
#include "BenchSupport.h"
#include "browse/Search.h"
#include "browse/frmEditSearch.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/QuorvaneApplication.h"
#include "platform/Store.h"
#include "shell/Windows.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTimer>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

using bench_support::kRows;

// One title in a hundred holds one of the two words searched for; every
// title holds one of the three words of the search that finds them all.
const QString kOnePercentQuery = QStringLiteral("falcon harbour");
const QString kEveryTitleQuery = QStringLiteral("story falcon harbour");

// Titles such that one in a hundred holds one of the two words searched for.
void fillTitles(const QString& path)
{
    bench_support::fillFile(path, [](SQLite::Database& db) {
        bench_support::addTitles(db, kRows,
                                 "CASE i % 200 WHEN 0 THEN 'The Falcon ' || i WHEN 100 THEN 'Harbour Lights ' || i "
                                 "ELSE 'Story of the Night ' || i END");
    });
}

double peakRssMb() { return bench_support::memory().peak / 1024.0; }

// The longest time the window events waited while a search ran: a 5-ms
// timer notes the gaps between its ticks, and the gaps at either end count.
class PauseMeter {
public:
    PauseMeter()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }
    void start()
    {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    double stop()
    {
        tick();
        timer_.stop();
        return static_cast<double>(longest_) / 1e6;
    }

private:
    void tick()
    {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

void report(benchmark::State& state, double matches, double longestPauseMs)
{
    state.counters["matches"] = matches;
    state.counters["longest_pause_ms"] = longestPauseMs;
    state.counters["peak_rss_mb"] = peakRssMb();
}

void setSettings(const QString& query, short style)
{
    modQuorvane::rsSearch = modQuorvane::dbMain->OpenRecordset(QStringLiteral("Video Database"));
    modQuorvane::rsSearch->MoveFirst();
    modQuorvane::SearchIsVideo = true;
    modQuorvane::SearchField = QStringLiteral("Title");
    modQuorvane::SearchFieldIndex = 0;
    modQuorvane::SearchStyle = style;
    modQuorvane::SearchQuery = query;
}

// The results window, open and on screen, searching again from its own
// Search button: the lists fill while they are shown.
frmEditSearch* resultsWindow()
{
    static QPointer<frmEditSearch> window;
    if (!window) {
        setSettings(QStringLiteral("the falcon 200"), search::ExactRecordMatch);
        modQuorvane::EditMode = false;
        window = windows::show<frmEditSearch>();
        window->show();
    }
    return window;
}

// Lets events run until the list's view has laid out every line, so that
// its scroll range covers them all (at most 10 s).
void waitUntilLaidOut(QListView* list)
{
    const int rows = list->model()->rowCount();
    QScrollBar* bar = list->verticalScrollBar();
    QElapsedTimer limit;
    limit.start();
    while (rows > 0 && bar->maximum() + bar->pageStep() < rows && limit.elapsed() < 10000)
        QCoreApplication::processEvents();
}

// The search again from the open results window. The time measured ends
// when the lists hold every line; shown_ms goes on until the views have
// laid them all out, and the longest pause covers both.
void BM_Search(benchmark::State& state, const QString& query)
{
    frmEditSearch* w = resultsWindow();
    auto* box = w->findChild<QLineEdit*>(QStringLiteral("txtQuery"));
    auto* list = w->findChild<QListView*>(QStringLiteral("lstResults"));
    w->findChild<QComboBox*>(QStringLiteral("cboStyle"))->setCurrentIndex(search::AnyWord);
    PauseMeter pause;
    double longest = 0;
    double shownMs = 0;
    for (auto _ : state) {
        box->setText(query);
        QElapsedTimer shown;
        shown.start();
        pause.start();
        w->cmdSearch_Click();
        state.PauseTiming();
        waitUntilLaidOut(list);
        shownMs = std::max(shownMs, static_cast<double>(shown.nsecsElapsed()) / 1e6);
        longest = std::max(longest, pause.stop());
        state.ResumeTiming();
    }
    report(state, list->model()->rowCount(), longest);
    state.counters["shown_ms"] = shownMs;
}

// The search as the dialog starts it: the results window opens and its
// loading step lists the matches before the window is shown.
void BM_SearchOnOpening(benchmark::State& state, const QString& query)
{
    PauseMeter pause;
    double longest = 0;
    int matches = 0;
    for (auto _ : state) {
        setSettings(query, search::AnyWord);
        pause.start();
        frmEditSearch* w = windows::reopen<frmEditSearch>();
        longest = std::max(longest, pause.stop());
        matches = w->findChild<QListView*>(QStringLiteral("lstResults"))->model()->rowCount();
        state.PauseTiming();
        w->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    report(state, matches, longest);
}

// The scan row by row: each title read with its own moves, compared, listed
// and followed by a turn of the window events.
void BM_SearchRowByRow(benchmark::State& state, const QString& query)
{
    PauseMeter pause;
    double longest = 0;
    qsizetype matches = 0;
    for (auto _ : state) {
        QStringList lines, values;
        pause.start();
        auto rs = modQuorvane::dbMain->OpenRecordset(QStringLiteral("Video Database"));
        const search::Matcher matcher(query, search::AnyWord);
        int n = 0;
        rs->MoveFirst();
        while (!rs->Eof()) {
            const QVariant v = rs->Value(QStringLiteral("Title"));
            if (!v.isNull() && matcher.matches(v.toString())) {
                ++n;
                lines.append(QString::number(n) + QStringLiteral(". Title : ") + rs->Text(QStringLiteral("Title")));
                values.append(v.toString());
            }
            QCoreApplication::processEvents();
            rs->MoveNext();
        }
        longest = std::max(longest, pause.stop());
        matches = lines.size();
    }
    report(state, static_cast<double>(matches), longest);
}

}  // namespace

int main(int argc, char** argv)
{
    bench_support::preferOffscreen();
    benchmark::Initialize(&argc, argv);
    QuorvaneApplication app(argc, argv);

    QTemporaryDir dir;
    std::fprintf(stderr, "Building %d titles...\n", kRows);
    if (!bench_support::setUpDatabase(dir, fillTitles) || modQuorvane::rsVideo->RecordCount() != kRows) {
        std::fprintf(stderr, "could not build the benchmark database\n");
        return 1;
    }

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("Search/AnyWord/OnePercent", BM_Search, kOnePercentQuery)->Unit(ms)->Iterations(3);
    benchmark::RegisterBenchmark("Search/AnyWord/EveryTitle", BM_Search, kEveryTitleQuery)->Unit(ms)->Iterations(3);
    benchmark::RegisterBenchmark("SearchOnOpening/AnyWord/OnePercent", BM_SearchOnOpening, kOnePercentQuery)
        ->Unit(ms)
        ->Iterations(3);
    benchmark::RegisterBenchmark("SearchOnOpening/AnyWord/EveryTitle", BM_SearchOnOpening, kEveryTitleQuery)
        ->Unit(ms)
        ->Iterations(3);
    benchmark::RegisterBenchmark("SearchRowByRow/AnyWord/OnePercent", BM_SearchRowByRow, kOnePercentQuery)
        ->Unit(ms)
        ->Iterations(1);
    benchmark::RegisterBenchmark("SearchRowByRow/AnyWord/EveryTitle", BM_SearchRowByRow, kEveryTitleQuery)
        ->Unit(ms)
        ->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    windows::closeAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    modQuorvane::ResetProcessState();
    return 0;
}
