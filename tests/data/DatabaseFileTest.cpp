// Creating the shop's database, judging an existing file at start-up, and
// opening the shared record sets.
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "support/Harness.h"

#include <SQLiteCpp/Database.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace modQuorvane;
using testing_support::QuorvaneTest;
using CheckOutcome = modValidate::CheckOutcome;

namespace {

const char* kCorrupted = "Quorvane database is corrupted. Creating new database...";

class DatabaseFileTest : public QuorvaneTest {
protected:
    // Changes the file by hand, as another program might.
    void alter(const std::string& sql)
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        raw.exec(sql);
    }

    void createClosed()
    {
        ASSERT_TRUE(CreateNewDatabase());
        ASSERT_FALSE(dbMain);
    }

    QStringList damagedCopies() const
    {
        return QDir(folder()).entryList({QStringLiteral("Quorvane.mdb.damaged-*")}, QDir::Files);
    }

    void addVideo(const QString& code)
    {
        rsVideo->AddNew();
        rsVideo->SetValue(QStringLiteral("Video Code"), code);
        rsVideo->SetValue(QStringLiteral("Title"), QStringLiteral("Title of ") + code);
        rsVideo->Update();
    }
};

TEST_F(DatabaseFileTest, NewDatabaseHasTheSevenTablesInOrderAndPassesTheCheck)
{
    createClosed();
    auto db = store::Database::OpenDatabase(dbPath());
    QStringList expected;
    for (const auto& t : schema::Tables())
        expected << t.name;
    EXPECT_EQ(db->TableNames(), expected);
    EXPECT_TRUE(db->IndexNames().contains(QStringLiteral("VideoCodeIDX")));
    EXPECT_TRUE(db->IndexNames().contains(QStringLiteral("MemberIDX")));
    for (const auto& t : schema::Tables()) {
        const auto fields = db->TableFields(t.name);
        ASSERT_EQ(fields.size(), t.fields.size()) << t.name.toStdString();
        for (size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i].name, t.fields[i].name);
            EXPECT_EQ(fields[i].type, t.fields[i].type);
            if (t.fields[i].type == store::dbText)
                EXPECT_EQ(fields[i].size, t.fields[i].size);
            else
                EXPECT_EQ(fields[i].attributes, 34);
        }
    }
    db.reset();
    EXPECT_EQ(modValidate::CheckDatabaseStructure(), CheckOutcome::Sound);
    EXPECT_TRUE(dialogs_.messages.empty());
    OpenMainDatabase();
    for (const auto& rs : {rsVideo, rsMembers, rsRentals, rsReturnee, rsVideoCode, rsMemberCode, rsUsers})
        EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(rsUsers->Name(), "Users Database");
}

TEST_F(DatabaseFileTest, TextSizesOfTheSchema)
{
    freshDatabase();
    const auto fill = [](const std::shared_ptr<store::Recordset>& rs, int pos, int len) {
        rs->AddNew();
        for (int i = 0; i < rs->FieldCount(); ++i)
            if (rs->Field(i).type == store::dbText)
                rs->SetValue(i, QStringLiteral("k"));
        rs->SetValue(pos, QString(len, QLatin1Char('x')));
        rs->Update();
    };
    fill(rsRentals, 3, 3);
    EXPECT_THROW(fill(rsRentals, 3, 4), store::StoreError);
    fill(rsMemberCode, 1, 62);
    EXPECT_THROW(fill(rsMemberCode, 1, 63), store::StoreError);
    fill(rsMembers, 3, 50);
    rsMembers->AddNew();
    rsMembers->SetValue(0, QStringLiteral("M2"));
    rsMembers->SetValue(3, QString(51, QLatin1Char('x')));
    EXPECT_THROW(rsMembers->Update(), store::StoreError);
    fill(rsUsers, 0, 30);
    EXPECT_THROW(fill(rsUsers, 0, 31), store::StoreError);
}

TEST_F(DatabaseFileTest, TheFileItselfRefusesBadRowsWrittenByHand)
{
    createClosed();
    SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
    raw.exec("INSERT INTO \"Video Database\" (\"Video Code\", \"Title\") VALUES ('V1', 'ok')");
    EXPECT_THROW(raw.exec("INSERT INTO \"Video Database\" (\"Video Code\", \"Title\") VALUES ('V2', '')"),
                 SQLite::Exception);
    EXPECT_THROW(raw.exec("INSERT INTO \"Video Database\" (\"Video Code\") VALUES ('" + std::string(31, 'x') + "')"),
                 SQLite::Exception);
    EXPECT_THROW(raw.exec("INSERT INTO \"Video Database\" (\"Video Code\") VALUES ('V1')"), SQLite::Exception);
    EXPECT_THROW(raw.exec("INSERT INTO \"Video Database\" (\"Title\") VALUES ('no key')"), SQLite::Exception);
    EXPECT_THROW(raw.exec("INSERT INTO \"Returnee Database\" (\"Days\") VALUES (40000)"), SQLite::Exception);
    EXPECT_THROW(raw.exec("INSERT INTO \"Rentals Database\" (\"Rent Date\") VALUES ('2026-13-01')"),
                 SQLite::Exception);
    raw.exec("INSERT INTO \"Rentals Database\" (\"Rent Date\") VALUES ('2026-12-07')");
}

TEST_F(DatabaseFileTest, CreationMovesAnExistingFileAsideInsteadOfDeletingIt)
{
    freshDatabase();
    addVideo("KEEP");
    ASSERT_TRUE(CreateNewDatabase());  // closes the open database first
    EXPECT_FALSE(dbMain);
    ASSERT_EQ(damagedCopies().size(), 1);
    auto old = store::Database::OpenDatabase(folder() + "/" + damagedCopies().first());
    EXPECT_EQ(old->OpenRecordset(schema::kVideo)->RecordCount(), 1);
    OpenMainDatabase();
    EXPECT_EQ(rsVideo->RecordCount(), 0);
}

struct Damage {
    const char* name;
    const char* sql;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

class DamagedFile : public DatabaseFileTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFile, IsMovedAsideAndReplaced)
{
    createClosed();
    alter("PRAGMA user_version = 77");  // marks the clerk's file
    alter(GetParam().sql);
    EXPECT_EQ(modValidate::CheckDatabaseStructure(), CheckOutcome::Rebuilt);
    ASSERT_EQ(dialogs_.texts(), QStringList{kCorrupted});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    ASSERT_EQ(damagedCopies().size(), 1);
    // The damaged file keeps everything the clerk had.
    SQLite::Database kept((folder() + "/" + damagedCopies().first()).toStdString());
    EXPECT_EQ(kept.execAndGet("PRAGMA user_version").getInt(), 77);
    // The new file is sound and empty, and the next start passes it.
    dialogs_.clear();
    EXPECT_EQ(modValidate::CheckDatabaseStructure(), CheckOutcome::Sound);
    EXPECT_TRUE(dialogs_.messages.empty());
    OpenMainDatabase();
    EXPECT_EQ(rsUsers->RecordCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Deviations, DamagedFile,
    ::testing::Values(
        Damage{"RenamedField", "ALTER TABLE \"Video Database\" RENAME COLUMN \"Title\" TO \"Titel\""},
        Damage{"NameInOtherCase", "ALTER TABLE \"Video Database\" RENAME COLUMN \"Video Code\" TO \"video code\""},
        Damage{"DroppedTable", "DROP TABLE \"Member Code Database\""},
        Damage{"DroppedLastTable", "DROP TABLE \"Users Database\"; CREATE TABLE \"Users Database\" (\"Username\" TEXT(30))"},
        Damage{"NarrowedTitle",
               "CREATE TABLE v2 (\"Video Code\" TEXT(30), \"Title\" TEXT(20), \"Main Cast\" TEXT(30), \"Second Cast\" "
               "TEXT(30), \"Category\" TEXT(30), \"Tapes In\" INT32, \"Tapes Out\" INT32); DROP TABLE \"Video Database\"; "
               "ALTER TABLE v2 RENAME TO \"Video Database\""},
        Damage{"WrongType",
               "CREATE TABLE r2 (\"Member ID\" TEXT(30), \"Video Code\" TEXT(30), \"Return Date\" TEXT(30), \"Days\" "
               "INT16); DROP TABLE \"Returnee Database\"; ALTER TABLE r2 RENAME TO \"Returnee Database\""},
        Damage{"GeneratedNumber",
               "CREATE TABLE v2 (\"Video Code\" TEXT(30), \"Title\" TEXT(30), \"Main Cast\" TEXT(30), \"Second Cast\" "
               "TEXT(30), \"Category\" TEXT(30), \"Tapes In\" INT32, \"Tapes Out\" INT32 GENERATED ALWAYS AS (0)); "
               "DROP TABLE \"Video Database\"; ALTER TABLE v2 RENAME TO \"Video Database\""}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// A table whose root page has been zeroed on disk: the file opens, its
// schema reads, and the first read of that table fails as corrupt.
class ZeroedRootPage : public DatabaseFileTest, public ::testing::WithParamInterface<int> {
protected:
    void zeroRootPageOf(const QString& table)
    {
        int root = 0, pageSize = 0;
        {
            SQLite::Database raw(dbPath().toStdString());
            SQLite::Statement q(raw, "SELECT rootpage FROM sqlite_schema WHERE type = 'table' AND name = ?");
            q.bind(1, table.toStdString());
            ASSERT_TRUE(q.executeStep());
            root = q.getColumn(0).getInt();
            pageSize = raw.execAndGet("PRAGMA page_size").getInt();
        }
        QFile f(dbPath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(qint64(root - 1) * pageSize));
        ASSERT_EQ(f.write(QByteArray(pageSize, '\0')), pageSize);
    }
};

TEST_P(ZeroedRootPage, IsMovedAsideAndReplacedWithoutACrash)
{
    const QString table = schema::Tables()[static_cast<size_t>(GetParam())].name;
    createClosed();
    alter("PRAGMA user_version = 77");
    zeroRootPageOf(table);
    const QByteArray damaged = [&] {
        QFile f(dbPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_EQ(modValidate::CheckDatabaseStructure(), CheckOutcome::Rebuilt) << table.toStdString();
    EXPECT_EQ(dialogs_.texts(), QStringList{kCorrupted});
    ASSERT_EQ(damagedCopies().size(), 1);
    // Moved aside byte for byte, and the next start finds a sound file.
    QFile kept(folder() + "/" + damagedCopies().first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
    dialogs_.clear();
    EXPECT_EQ(modValidate::CheckDatabaseStructure(), CheckOutcome::Sound);
    OpenMainDatabase();
    EXPECT_EQ(rsVideo->RecordCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(EachTable, ZeroedRootPage, ::testing::Range(0, 7),
                         [](const ::testing::TestParamInfo<int>& info) {
                             QString name = schema::Tables()[static_cast<size_t>(info.param)].name;
                             return name.remove(QLatin1Char(' ')).toStdString();
                         });

TEST_F(DatabaseFileTest, AFileThatIsNotADatabaseIsMovedAsideAndReplaced)
{
    QFile f(dbPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("These are the shop's notes, not a database.\n");
    f.close();
    EXPECT_EQ(modValidate::CheckDatabaseStructure(), CheckOutcome::Rebuilt);
    EXPECT_EQ(dialogs_.texts(), QStringList{kCorrupted});
    ASSERT_EQ(damagedCopies().size(), 1);
    QFile kept(folder() + "/" + damagedCopies().first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().startsWith("These are the shop's notes"));
}

TEST_F(DatabaseFileTest, WiderTextsAndExtraTrailingFieldsPass)
{
    createClosed();
    alter("CREATE TABLE v2 (\"Video Code\" TEXT(30), \"Title\" TEXT(50), \"Main Cast\" TEXT(30), \"Second Cast\" "
          "TEXT(30), \"Category\" TEXT(30), \"Tapes In\" INT32, \"Tapes Out\" INT32, \"Shelf\" TEXT(10)); "
          "DROP TABLE \"Video Database\"; ALTER TABLE v2 RENAME TO \"Video Database\"");
    alter("ALTER TABLE \"Users Database\" ADD COLUMN \"Note\" TEXT(40)");
    EXPECT_EQ(modValidate::CheckDatabaseStructure(), CheckOutcome::Sound);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(damagedCopies().isEmpty());
}

TEST_F(DatabaseFileTest, ALockedFileIsNotDamageAndIsLeftAlone)
{
    createClosed();
    SQLite::Database holder(dbPath().toStdString(), SQLite::OPEN_READWRITE);
    holder.exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE");
    EXPECT_EQ(modValidate::CheckDatabaseStructure(), CheckOutcome::Failed);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : ")) << dialogs_.messages[0].text.toStdString();
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_TRUE(damagedCopies().isEmpty());
    EXPECT_TRUE(QFile::exists(dbPath()));
    EXPECT_FALSE(dbMain);
}

// Makes a file refuse renames, even to root (immutable attribute). The file,
// not its folder: a folder that refuses new files is not used for the
// database at all.
bool freezeFile(const QString& file, bool frozen)
{
    return QProcess::execute(QStringLiteral("chattr"), {frozen ? QStringLiteral("+i") : QStringLiteral("-i"), file}) == 0;
}

TEST_F(DatabaseFileTest, ADamagedFileThatCannotBeMovedIsLeftAsItWas)
{
    QFile f(dbPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a database");
    f.close();
    if (!freezeFile(dbPath(), true))
        GTEST_SKIP() << "this file system cannot make a file immutable";
    const auto outcome = modValidate::CheckDatabaseStructure();
    freezeFile(dbPath(), false);
    EXPECT_EQ(outcome, CheckOutcome::Failed);
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0].text, kCorrupted);
    EXPECT_TRUE(dialogs_.messages[1].text.startsWith("Error : The damaged database"));
    QFile kept(dbPath());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "not a database");
}

TEST_F(DatabaseFileTest, OpeningTwiceKeepsOneDatabaseAndFreshRecordSets)
{
    freshDatabase();
    addVideo("A");
    addVideo("B");
    rsVideo->MoveLast();
    auto before = dbMain;
    auto oldVideo = rsVideo;
    OpenMainDatabase();
    EXPECT_NE(dbMain, before);
    EXPECT_EQ(rsVideo->Text(0), "A");  // a new record set stands on the first row
    EXPECT_EQ(rsVideo->RecordCount(), 2);
    before.reset();  // the earlier database object is released, and closed with it
    EXPECT_FALSE(oldVideo->isOpen());
}

TEST_F(DatabaseFileTest, OpeningAFileWithAMissingTableFailsAtThatTable)
{
    createClosed();
    alter("DROP TABLE \"Returnee Database\"");
    try {
        OpenMainDatabase();
        FAIL() << "expected the missing table to be reported";
    } catch (const store::StoreError& e) {
        EXPECT_TRUE(e.description().contains("Returnee Database"));
    }
    EXPECT_TRUE(rsRentals);    // the tables before it were opened
    EXPECT_FALSE(rsVideoCode);  // the ones after it were not
}

}  // namespace
