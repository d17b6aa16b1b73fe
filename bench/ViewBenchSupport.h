// What the benchmarks of the list and grid windows share: the process's
// resident memory and its peak, and drawing a view as the screen would.
#pragma once

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

namespace bench_support {

// Resident memory now and at its peak, in kilobytes.
struct Memory {
    long rss = 0;
    long peak = 0;
};

inline Memory memory()
{
    Memory m;
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            m.rss = line.mid(6).trimmed().split(' ').value(0).toLong();
        else if (line.startsWith("VmHWM:"))
            m.peak = line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return m;
}

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

}  // namespace bench_support
