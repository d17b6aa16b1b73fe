// A counter killed at random moments while it rents and takes back tapes:
// after every kill the file is sound, the shop's stock and rentals agree,
// and every operation the counter saw committed is on file. The next counter
// starts on the file as it was left, hot journal and all.
#include "reliability/CounterWorkerRun.h"

#include "support/Harness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <random>
#include <thread>

using namespace reliability;

namespace {

class CrashTest : public testing_support::QuorvaneTest {
protected:
    // How the kill left the file.
    struct Left {
        bool journal = false;      // in the middle of a write
        bool halfWritten = false;  // the write had reached the file itself
    };

    // The file as the next start will find it: the database and its journal,
    // copied aside and opened there, so that the journal is still hot for the
    // next counter's own start-up.
    ShopFile shopAsNextStartFindsIt(Left& left)
    {
        const QString scratch = folder() + QStringLiteral("/judged");
        QDir().mkpath(scratch);
        const QString copy = scratch + QStringLiteral("/Quorvane.mdb");
        for (const QString& suffix : {QString(), QStringLiteral("-journal")}) {
            QFile::remove(copy + suffix);
            if (QFileInfo::exists(dbPath() + suffix)) {
                EXPECT_TRUE(QFile::copy(dbPath() + suffix, copy + suffix));
            }
        }
        left.journal = QFileInfo(dbPath() + QStringLiteral("-journal")).size() > 0;
        const QByteArray before = contents(copy);
        ShopFile shop = readShop(copy);
        left.halfWritten = contents(copy) != before;
        return shop;
    }

    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Lets the worker commit up to five operations, then up to 12 ms more
    // (an operation or two), and kills it, so that the kill falls anywhere:
    // in the start-up, between operations, in the middle of a write, or of
    // its commit with the file itself half-written.
    static void killAtRandom(CounterWorker& worker, std::mt19937& random)
    {
        const long long reports = static_cast<long long>(random() % 6);
        while (worker.committed() < reports && worker.poll()) {
        }
        ASSERT_FALSE(worker.ended()) << "the counter ended by itself (status " << worker.exitCode() << "):\n"
                                     << worker.shown().toStdString();
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 12000));
        worker.kill();
        EXPECT_FALSE(worker.crashed());
        EXPECT_EQ(worker.errorMessages(), QStringList());
    }

    // Files the start-up check would have made of a file it found damaged.
    QStringList movedAside() const
    {
        return QDir(folder()).entryList({QStringLiteral("*.damaged-*")}, QDir::Files);
    }
};

TEST_F(CrashTest, KilledCounterLeavesASoundFileWithEveryCommittedOperation)
{
    const unsigned seed = runSeed();
    std::mt19937 random(seed);
    const int kills = longRun() ? 220 : 8;
    const ShopSetup setup{4, 3, 6};
    seedShop(setup);
    const auto stock = stockAtStart(setup);

    Ledger ledger;
    long long refused = 0;
    int killsInAWrite = 0, killsHalfWritten = 0, killsBeforeReady = 0, hotStarts = 0;
    for (int round = 1; round <= kills; ++round) {
        SCOPED_TRACE(QStringLiteral("round %1, QUORVANE_SEED=%2").arg(round).arg(seed).toStdString());
        const bool hot = QFileInfo(dbPath() + QStringLiteral("-journal")).size() > 0;
        CounterWorker worker(folder(), static_cast<unsigned>(random()), 0);
        ASSERT_NO_FATAL_FAILURE(killAtRandom(worker, random));
        if (!worker.ready())
            ++killsBeforeReady;
        else if (hot)
            ++hotStarts;
        refused += worker.refused();
        ledger.add(worker);

        Left left;
        const ShopFile shop = shopAsNextStartFindsIt(left);
        killsInAWrite += left.journal;
        killsHalfWritten += left.halfWritten;
        const QStringList faults = ruleBreaches(shop, stock) + ledger.check(shop, 1);
        ASSERT_EQ(faults, QStringList());
        ASSERT_EQ(movedAside(), QStringList()) << worker.shown().toStdString();
    }

    // A counter started on the file as the last kill left it puts back the
    // interrupted write and works on as usual.
    CounterWorker last(folder(), static_cast<unsigned>(random()), 20);
    last.waitUntilEnded();
    EXPECT_EQ(last.exitCode(), 0) << last.shown().toStdString();
    EXPECT_EQ(last.errorMessages(), QStringList());
    EXPECT_GE(last.committed(), 20);
    ledger.add(last);
    EXPECT_FALSE(QFileInfo::exists(dbPath() + QStringLiteral("-journal")));
    const ShopFile shop = readShop(dbPath());
    const QStringList faults = ruleBreaches(shop, stock) + ledger.check(shop, 0);
    EXPECT_EQ(faults, QStringList());
    EXPECT_EQ(movedAside(), QStringList());

    std::cout << "[ figures  ] kills survived: " << kills << " (" << killsInAWrite << " inside a write, "
              << killsHalfWritten << " of them with the file half-written; " << killsBeforeReady
              << " during start-up); started on a hot journal and put it back: " << hotStarts
              << "; committed and kept: " << ledger.rents() << " rents, " << ledger.returns()
              << " returns reported, " << ledger.unreportedFound()
              << " in-flight operations found committed; refusals: " << refused + last.refused()
              << "; faults: " << faults.size() << std::endl;
    RecordProperty("kills", kills);
    RecordProperty("killsInAWrite", killsInAWrite);
    RecordProperty("killsHalfWritten", killsHalfWritten);
    RecordProperty("rents", static_cast<int>(ledger.rents()));
    RecordProperty("returns", static_cast<int>(ledger.returns()));
}

// One of two counters dies again and again while the other works on: the
// other comes upon each interrupted write, puts it back and goes on without
// an error.
TEST_F(CrashTest, ACounterKilledBesideAnotherLeavesTheOtherWorking)
{
    const unsigned seed = runSeed();
    std::mt19937 random(seed);
    const int kills = longRun() ? 40 : 4;
    const ShopSetup setup{3, 2, 6};
    seedShop(setup);

    Ledger ledger;
    long long victims = 0;
    CounterWorker steady(folder(), static_cast<unsigned>(random()), 0);
    for (int round = 1; round <= kills; ++round) {
        SCOPED_TRACE(QStringLiteral("round %1, QUORVANE_SEED=%2").arg(round).arg(seed).toStdString());
        CounterWorker victim(folder(), static_cast<unsigned>(random()), 0);
        ASSERT_NO_FATAL_FAILURE(killAtRandom(victim, random));
        victims += victim.committed();
        ledger.add(victim);
        steady.poll(0);
        ASSERT_FALSE(steady.ended()) << steady.shown().toStdString();
    }
    // The other counter goes on after the last kill, then stops as abruptly.
    const long long beforeLast = steady.committed();
    while (steady.committed() < beforeLast + 5 && steady.poll()) {
    }
    steady.kill();
    EXPECT_EQ(steady.errorMessages(), QStringList());
    ledger.add(steady);

    const ShopFile shop = readShop(dbPath());
    const QStringList faults = ruleBreaches(shop, stockAtStart(setup)) + ledger.check(shop, kills + 1);
    EXPECT_EQ(faults, QStringList());
    EXPECT_EQ(movedAside(), QStringList());
    std::cout << "[ figures  ] counter killed beside another: " << kills << " kills; " << victims
              << " operations of the killed counters and " << steady.committed() << " of the other kept; errors: "
              << steady.errorMessages().size() << "; faults: " << faults.size() << std::endl;
}

}  // namespace
