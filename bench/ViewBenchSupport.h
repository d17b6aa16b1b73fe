// What the benchmarks of the list and grid windows share: the counter with
// its database built and its main window up, the process's resident memory
// and its peak, and drawing a view as the screen would.
#pragma once

#include "BenchSupport.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "shell/Windows.h"
#include "shell/frmMDIQuorvane.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>

namespace bench_support {

// Makes the present resident memory the peak, so that each measurement has
// a peak of its own.
inline void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// The memory a step added, and the peak it reached, beside the process's peak.
inline void reportMemory(benchmark::State& state, const Memory& before, const Memory& after)
{
    state.counters["added_MB"] = double(after.rss - before.rss) / 1024.0;
    state.counters["added_peak_MB"] = double(after.peak - before.rss) / 1024.0;
    state.counters["process_peak_MB"] = double(after.peak) / 1024.0;
}

// Lets closed windows go and pending events run.
inline void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Draws what a view shows now, as the screen would.
inline void draw(QAbstractItemView* view)
{
    QCoreApplication::processEvents();
    view->viewport()->grab();
}

// Builds the shop's database in a temporary folder, fills it straight through SQLite,
// opens it and puts the main window up, as at the counter. nullptr, after
// saying so, when the database cannot be built or filled() says it is not.
inline frmMDIQuorvane* openCounter(const char* building,
                                   const std::function<void(const QString& path)>& fill,
                                   const std::function<bool()>& filled)
{
    static QTemporaryDir dir;
    std::fprintf(stderr, "Building %s...\n", building);
    if (!setUpDatabase(dir, fill) || !filled()) {
        std::fprintf(stderr, "could not build the benchmark database\n");
        return nullptr;
    }
    modQuorvane::CurrentUser = QStringLiteral("bench");
    frmMDIQuorvane* main = frmMDIQuorvane::create();
    main->show();
    settle();
    std::fprintf(stderr, "Peak resident memory after building the database (VmHWM): %.1f MB\n",
                 memory().peak / 1024.0);
    return main;
}

// Says the peak since the last reset, and closes the counter.
inline void closeCounter()
{
    const Memory end = memory();
    std::fprintf(stderr, "Peak resident memory since the last reset (VmHWM): %.1f MB; now (VmRSS) %.1f MB\n",
                 end.peak / 1024.0, end.rss / 1024.0);
    windows::closeAll();
    settle();
    delete frmMDIQuorvane::instance();
    modQuorvane::ResetProcessState();
}

}  // namespace bench_support
