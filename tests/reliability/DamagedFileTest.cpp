// Damaged database files at start-up: a sound file with rows in every table,
// damaged in many ways, each copy started on in a child process of its own
// (quorvane_startup_probe) under a time limit. For every file the start-up
// must end (no crash, no hang) and the clerk's bytes must survive: the file
// is either left in place untouched, or moved aside whole with a new, empty,
// sound database standing in its place.
//
//   quorvane_damaged_files --probe=PATH [--files=N] [--seed=S] [--limit=SECONDS]
//                          [--parallel=STARTS_AT_ONCE]
//
// A file that breaks the rule is kept in ./damaged-file-faults/ with what was
// done to it, so that it can be made again and kept as a case of its own.
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "reliability/DamagedFileMutations.h"
#include "startup/Password.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QCoreApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>

using namespace damaged_files;

namespace {

struct Options {
    QString probe;
    int files = 78;
    std::uint64_t seed = 20261207;
    int limitSeconds = 60;
    int parallel = 4;
};
Options g_options;

const QString kFileName = QStringLiteral("Quorvane.mdb");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The shop's file with some rows in every table, built as the program builds
// and fills it, so that every table and index spans pages of its own.
QByteArray soundDatabase(const QString& folder)
{
    using namespace modQuorvane;
    ResetProcessState();
    platform::setApplicationFolder(folder);
    DbPath = ComputeDbPath();
    if (!CreateNewDatabase())
        return QByteArray();
    OpenMainDatabase();
    dbMain->BeginTrans();
    auto put = [](store::Recordset& rs, const std::vector<QVariant>& values) {
        rs.AddNew();
        for (int i = 0; i < static_cast<int>(values.size()); ++i)
            rs.SetValue(i, values[static_cast<size_t>(i)]);
        rs.Update();
    };
    for (int n = 1; n <= 240; ++n) {
        const QString s = QString::number(n);
        put(*rsVideo, {"V" + s, "Title of tape " + s, "Main cast " + s, "Second cast " + s,
                       n % 3 ? QStringLiteral("Drama") : QStringLiteral("Comedy"), n % 5 + 1, n % 2});
        put(*rsVideoCode, {"V" + s, "Title of tape " + s});
        put(*rsMembers, {"M" + s, "Last" + s, "First" + s, "House " + s + ", Long Street, Barangay " + s,
                         "555-01" + s});
        put(*rsMemberCode, {"M" + s, "Last" + s + " First" + s});
    }
    const QDate day(2026, 11, 1);
    for (int n = 1; n <= 360; ++n) {
        const QString m = "M" + QString::number(n % 240 + 1), v = "V" + QString::number(n % 240 + 1);
        const bool back = n % 3 != 0;
        put(*rsRentals, {m, v, day.addDays(n % 30), back ? QStringLiteral("Yes") : QStringLiteral("No")});
        if (back)
            put(*rsReturnee, {m, v, day.addDays(n % 30 + 3), 3});
    }
    for (const char* user : {"clerk", "owner", "night", "weekend"})
        put(*rsUsers, {QString::fromLatin1(user), modValidate::EncodePassword(QStringLiteral("secret-pw"))});
    dbMain->CommitTrans();
    ResetProcessState();
    return readAll(QDir(folder).filePath(kFileName));
}

// What a new, empty database holds: its schema, in name order.
QStringList schemaOf(const QString& path)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement st(db, "SELECT type || ' ' || name || ' ' || ifnull(sql, '') FROM sqlite_schema ORDER BY name");
    QStringList out;
    while (st.executeStep())
        out << QString::fromStdString(st.getColumn(0).getString());
    return out;
}

QStringList emptyDatabaseSchema()
{
    QTemporaryDir dir;
    modQuorvane::ResetProcessState();
    platform::setApplicationFolder(dir.path());
    modQuorvane::CreateNewDatabase();
    modQuorvane::ResetProcessState();
    return schemaOf(QDir(dir.path()).filePath(kFileName));
}

// Why a file in place of the damaged one is not a new, empty, sound database
// (empty when it is one).
QString notNewAndSound(const QString& path, const QStringList& wantedSchema)
{
    try {
        if (schemaOf(path) != wantedSchema)
            return QStringLiteral("its tables are not the shop's");
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
        const std::string check = db.execAndGet("PRAGMA integrity_check").getString();
        if (check != "ok")
            return QStringLiteral("integrity check: ") + QString::fromStdString(check);
        for (const store::TableDef& t : schema::Tables())
            if (db.execAndGet(("SELECT count(*) FROM " + store::quoteName(t.name)).toStdString()).getInt() != 0)
                return t.name + QStringLiteral(" is not empty");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

enum class Outcome { Sound, Rebuilt, Reported };

struct Tally {
    int tried = 0;
    std::map<Outcome, int> outcomes;
    int crashes = 0, hangs = 0, lost = 0;
};

class DamagedFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        soundDir_ = new QTemporaryDir;
        sound_ = soundDatabase(soundDir_->path());
        emptySchema_ = emptyDatabaseSchema();
    }
    static void TearDownTestSuite()
    {
        delete soundDir_;
        soundDir_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_FALSE(g_options.probe.isEmpty()) << "--probe=PATH is missing";
        ASSERT_GT(sound_.size(), 16 * 4096) << "the sound file should span many pages";
    }

    // A start on one damaged file, in a folder of its own, running.
    struct Start {
        DamagedFile file;
        std::unique_ptr<QTemporaryDir> dir;
        std::unique_ptr<QProcess> probe;
        QDeadlineTimer deadline;
    };

    static std::unique_ptr<Start> launch(const DamagedFile& file)
    {
        auto s = std::make_unique<Start>(Start{file, std::make_unique<QTemporaryDir>(), std::make_unique<QProcess>(),
                                               QDeadlineTimer(g_options.limitSeconds * 1000)});
        EXPECT_TRUE(writeAll(QDir(s->dir->path()).filePath(kFileName), file.bytes));
        s->probe->start(g_options.probe, {s->dir->path()});
        return s;
    }

    // Waits for the start to end (within its time limit) and judges what
    // became of the file; each fault is counted, told and kept.
    Outcome judge(Start& s, Tally& tally)
    {
        const DamagedFile& file = s.file;
        QProcess& probe = *s.probe;
        const QString path = QDir(s.dir->path()).filePath(kFileName);
        const QString what = damageName(file.kind) + QStringLiteral(" (seed %1: %2)").arg(file.seed).arg(file.detail);
        ++tally.tried;
        if (!probe.waitForStarted()) {
            ADD_FAILURE() << "the probe did not start: " << probe.errorString().toStdString();
            return Outcome::Reported;
        }
        if (!probe.waitForFinished(static_cast<int>(std::max<qint64>(1, s.deadline.remainingTime())))) {
            probe.kill();
            probe.waitForFinished();
            ++tally.hangs;
            keep(file, "hang");
            ADD_FAILURE() << "start-up still running after " << g_options.limitSeconds << " s on " << what.toStdString();
            return Outcome::Reported;
        }
        const QString out = QString::fromUtf8(probe.readAllStandardOutput());
        const QString err = QString::fromUtf8(probe.readAllStandardError());
        if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
            ++tally.crashes;
            keep(file, "crash");
            ADD_FAILURE() << "start-up crashed (exit " << probe.exitCode() << ") on " << what.toStdString() << "\n"
                          << err.toStdString();
            return Outcome::Reported;
        }

        const QStringList aside = QDir(s.dir->path()).entryList({kFileName + QStringLiteral(".damaged-*")}, QDir::Files)
                                      .filter(QRegularExpression(QStringLiteral("damaged-[0-9-]+$")));
        QString lost;
        if (aside.isEmpty()) {
            if (readAll(path) != file.bytes || !QFile::exists(path))
                lost = QStringLiteral("the file was changed in place");
        } else if (aside.size() != 1 || readAll(QDir(s.dir->path()).filePath(aside.front())) != file.bytes) {
            lost = QStringLiteral("the file moved aside is not the damaged file whole: ") + aside.join(QLatin1Char(','));
        } else if (const QString why = notNewAndSound(path, emptySchema_); !why.isEmpty()) {
            lost = QStringLiteral("the file in its place is not a new, sound database: ") + why;
        }
        if (!lost.isEmpty()) {
            ++tally.lost;
            keep(file, "lost");
            ADD_FAILURE() << lost.toStdString() << " on " << what.toStdString() << "\n" << out.toStdString()
                          << err.toStdString();
            return Outcome::Reported;
        }
        if (!aside.isEmpty()) {
            EXPECT_TRUE(out.contains(QLatin1String("check=rebuilt open=ok reads=ok"))) << what.toStdString() << "\n"
                                                                                      << out.toStdString();
            EXPECT_TRUE(err.contains(QLatin1String("Quorvane database is corrupted. Creating new database...")));
            return Outcome::Rebuilt;
        }
        if (out.contains(QLatin1String("check=sound open=ok reads=ok")))
            return Outcome::Sound;
        // Left in place with something reported: the clerk was told.
        EXPECT_TRUE(err.contains(QLatin1String("message: Error : "))) << what.toStdString() << "\n"
                                                                       << out.toStdString() << err.toStdString();
        return Outcome::Reported;
    }

    Outcome startOn(const DamagedFile& file, Tally& tally) { return judge(*launch(file), tally); }

    static void keep(const DamagedFile& file, const char* fault)
    {
        QDir().mkpath(QStringLiteral("damaged-file-faults"));
        const QString stem = QStringLiteral("damaged-file-faults/%1-%2").arg(QLatin1String(fault)).arg(file.seed);
        writeAll(stem + QStringLiteral(".mdb"), file.bytes);
        writeAll(stem + QStringLiteral(".txt"),
                 (damageName(file.kind) + QStringLiteral(": ") + file.detail + QLatin1Char('\n')).toUtf8());
    }

    static QTemporaryDir* soundDir_;
    static QByteArray sound_;
    static QStringList emptySchema_;
};

QTemporaryDir* DamagedFileTest::soundDir_ = nullptr;
QByteArray DamagedFileTest::sound_;
QStringList DamagedFileTest::emptySchema_;

// The probe itself: a sound file starts and reads, untouched; a file of
// noise is moved aside for a new one. Without these the rest proves nothing.
TEST_F(DamagedFileTest, SoundFileStartsUntouchedAndNoiseIsMovedAside)
{
    Tally tally;
    EXPECT_EQ(startOn({Damage::HeaderBytes, 0, sound_, QStringLiteral("none")}, tally), Outcome::Sound);
    EXPECT_EQ(startOn(damage(sound_, Damage::NoiseFile, 1), tally), Outcome::Rebuilt);
    EXPECT_EQ(startOn(damage(sound_, Damage::EmptyFile, 1), tally), Outcome::Rebuilt);
}

TEST_F(DamagedFileTest, EveryDamagedFileEndsWithTheClerksBytesKept)
{
    const std::vector<Damage>& kinds = allDamages();
    std::map<Damage, Tally> byKind;
    // A few starts run at once: a rebuild spends most of its time waiting
    // for the disk.
    std::deque<std::unique_ptr<Start>> running;
    for (int i = 0; i < g_options.files || !running.empty();) {
        if (i < g_options.files && static_cast<int>(running.size()) < g_options.parallel) {
            const Damage kind = kinds[static_cast<size_t>(i) % kinds.size()];
            // Each file's seed follows from the run's seed and its number alone.
            const std::uint64_t seed = g_options.seed * 1000003ULL + static_cast<std::uint64_t>(i);
            running.push_back(launch(damage(sound_, kind, seed)));
            ++i;
            continue;
        }
        Tally& t = byKind[running.front()->file.kind];
        ++t.outcomes[judge(*running.front(), t)];
        running.pop_front();
    }

    Tally all;
    std::printf("%-22s %6s %6s %8s %9s %8s %6s %5s\n", "damage", "tried", "sound", "rebuilt", "reported",
                "crashes", "hangs", "lost");
    auto row = [](const QString& name, const Tally& t) {
        const auto n = [&t](Outcome o) { return t.outcomes.count(o) ? t.outcomes.at(o) : 0; };
        std::printf("%-22s %6d %6d %8d %9d %8d %6d %5d\n", qPrintable(name), t.tried, n(Outcome::Sound),
                    n(Outcome::Rebuilt), n(Outcome::Reported), t.crashes, t.hangs, t.lost);
    };
    for (const auto& [kind, t] : byKind) {
        row(damageName(kind), t);
        all.tried += t.tried;
        all.crashes += t.crashes;
        all.hangs += t.hangs;
        all.lost += t.lost;
        for (const auto& [o, n] : t.outcomes)
            all.outcomes[o] += n;
    }
    row(QStringLiteral("all"), all);
    std::fflush(stdout);
    EXPECT_EQ(all.tried, g_options.files);
    EXPECT_EQ(all.crashes + all.hangs + all.lost, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    for (const QString& arg : QCoreApplication::arguments().mid(1)) {
        const QString value = arg.section(QLatin1Char('='), 1);
        if (arg.startsWith(QLatin1String("--probe=")))
            g_options.probe = value;
        else if (arg.startsWith(QLatin1String("--files=")))
            g_options.files = value.toInt();
        else if (arg.startsWith(QLatin1String("--seed=")))
            g_options.seed = value.toULongLong();
        else if (arg.startsWith(QLatin1String("--limit=")))
            g_options.limitSeconds = value.toInt();
        else if (arg.startsWith(QLatin1String("--parallel=")))
            g_options.parallel = std::max(1, value.toInt());
    }
    return RUN_ALL_TESTS();
}
