// What the benchmarks share: a database of a million rows a table, built
// straight through SQLite in a temporary folder, the process's memory as the
// kernel counts it, and a dialog service that records what would be shown.
#pragma once

#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>
#include <functional>
#include <string>

namespace bench_support {

constexpr int kRows = 1000000;

// Rows 1..n of a table, as SQL that numbers them i.
inline std::string numbered(int n)
{
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(n) + ") ";
}

// Appends titles V1..Vrows to the video table; the title and the two
// counts are SQL over the row's number i.
inline void addTitles(SQLite::Database& db, int rows, const std::string& titleSql = "'Title ' || i",
                      const std::string& inSql = "2", const std::string& outSql = "0")
{
    db.exec("INSERT INTO \"Video Database\" (\"Video Code\", \"Title\", \"Main Cast\", \"Second Cast\", "
            "\"Category\", \"Tapes In\", \"Tapes Out\") " +
            numbered(rows) + "SELECT 'V' || i, " + titleSql + ", 'Main ' || i, 'Second ' || i, 'Category ' || (i % 40), " +
            inSql + ", " + outSql + " FROM n");
}

// Runs fill on the file in one transaction, without waiting for the disk.
inline void fillFile(const QString& path, const std::function<void(SQLite::Database&)>& fill)
{
    SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
    db.exec("PRAGMA synchronous = OFF");
    SQLite::Transaction tx(db);
    fill(db);
    tx.commit();
}

struct Fill {
    bool titles = true;         // V1.. "Title i", 2 tapes in
    bool members = true;        // M1.. "Last i", "First i"
    bool registries = false;    // the two code registries, one row per title and member
    bool rentals = false;       // one closed rental per title, member i of title i
};

// Fills the tables of the file that CreateNewDatabase has just made.
inline void fillTables(const QString& path, const Fill& what, int rows = kRows)
{
    fillFile(path, [&](SQLite::Database& db) {
        const std::string n = numbered(rows);
        if (what.titles)
            addTitles(db, rows);
        if (what.members)
            db.exec("INSERT INTO \"Members Database\" (\"Member ID\", \"Last Name\", \"First Name\", "
                    "\"Address\", \"Contact\") " +
                    n + "SELECT 'M' || i, 'Last ' || i, 'First ' || i, 'Street ' || i, '555-' || i FROM n");
        if (what.registries) {
            db.exec("INSERT INTO \"Video Code Database\" (\"Video Code\", \"Title\") " + n +
                    "SELECT 'V' || i, 'Title ' || i FROM n");
            db.exec("INSERT INTO \"Member Code Database\" (\"Member ID\", \"Member Name\") " + n +
                    "SELECT 'M' || i, 'Last ' || i || ' First ' || i FROM n");
        }
        if (what.rentals)
            db.exec("INSERT INTO \"Rentals Database\" (\"Member ID\", \"Video Code\", \"Rent Date\", "
                    "\"Returned\") " +
                    n + "SELECT 'M' || i, 'V' || i, '2026-11-01', 'Yes' FROM n");
    });
}

// Creates the database in the folder, fills it and opens it with its shared
// record sets. False, with a line on the error stream, on failure.
inline bool setUpDatabase(QTemporaryDir& dir, const std::function<void(const QString& path)>& fill)
{
    if (!dir.isValid())
        return false;
    platform::setApplicationFolder(dir.path());
    modQuorvane::DbPath = modQuorvane::ComputeDbPath();
    if (!modQuorvane::CreateNewDatabase())
        return false;
    fill(modQuorvane::DbPath);
    modQuorvane::OpenMainDatabase();
    return true;
}

inline bool setUpDatabase(QTemporaryDir& dir, const Fill& what, int rows = kRows)
{
    std::fprintf(stderr, "Building %d rows in each table...\n", rows);
    return setUpDatabase(dir, [&](const QString& path) { fillTables(path, what, rows); });
}

// Resident memory now and at its peak, in kilobytes, as the kernel counts it.
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

// Windows are drawn off screen unless the environment asks for a display.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Records every message instead of showing it; a benchmark that meets one
// has gone off its road.
class RecordingDialogs : public dialogs::Service {
public:
    void message(const QString& text, dialogs::Icon) override { shown << text; }
    bool askYesNo(const QString& text, dialogs::Icon) override
    {
        shown << text;
        return yes;
    }
    QString saveFileName(const dialogs::SaveRequest&) override { return QString(); }

    QStringList shown;
    bool yes = true;
};

}  // namespace bench_support
