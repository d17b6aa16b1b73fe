// Save As: the dialog, the copy taken while the file is in use, the
// refusals, and a failed copy that leaves the program working.
#include "shell/ShellFixture.h"

#include "shell/DatabaseCopy.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace shell_tests;
using testing_support::control;

namespace {

long long rowsIn(const QString& path, const QString& table)
{
    auto db = store::Database::OpenDatabase(path, false, true);
    return db->OpenRecordset(table)->RecordCount();
}

// Every name in a folder, hidden ones included.
QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

class SaveAsTest : public ShellTest {
protected:
    void saveAs(const QString& target)
    {
        dialogs_.saveAnswers.push_back(target);
        control<QAction>(main, "mnuSaveAs")->trigger();
    }

    // The shared record sets are open and each stands on its table's first row.
    void expectSharedSetsOpenOnFirstRows()
    {
        using namespace modQuorvane;
        ASSERT_TRUE(dbMain && dbMain->isOpen());
        for (const auto* rs : {&rsVideo, &rsMembers, &rsRentals, &rsReturnee, &rsVideoCode, &rsMemberCode,
                               &rsUsers}) {
            ASSERT_TRUE(*rs && (*rs)->isOpen());
            auto fresh = dbMain->OpenRecordset((*rs)->Name());
            EXPECT_EQ((*rs)->Bookmark(), fresh->Bookmark()) << (*rs)->Name().toStdString();
        }
    }
};

}  // namespace

TEST_F(SaveAsTest, DialogAsksWithTitleAndFilterAndCancelCopiesNothing)
{
    addTitle(1);
    addTitle(2);
    modQuorvane::rsVideo->MoveLast();
    const auto videoBefore = modQuorvane::rsVideo;
    const std::int64_t row = videoBefore->Bookmark();
    const QStringList before = entries(folder());

    control<QAction>(main, "mnuSaveAs")->trigger();
    ASSERT_EQ(dialogs_.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs_.saveRequests[0].title, "Save Database as...");
    EXPECT_EQ(dialogs_.saveRequests[0].filterDescription, "Video Database (*.mdb)");
    EXPECT_EQ(dialogs_.saveRequests[0].filterPattern, " *.*");

    // Nothing was closed, reopened or written.
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(entries(folder()), before);
    EXPECT_EQ(modQuorvane::rsVideo, videoBefore);
    EXPECT_TRUE(videoBefore->isOpen());
    EXPECT_EQ(videoBefore->Bookmark(), row);
}

TEST_F(SaveAsTest, CopyTakenWhileAnotherConnectionHasTheFileOpenHoldsEveryRowOfThatMoment)
{
    addTitle(1);
    addTitle(2);
    addMember(1);
    // Another connection keeps the file open, as the grid window does, with
    // a row written but not yet committed.
    auto grid = store::Database::OpenDatabase(dbPath());
    auto gridVideo = grid->OpenRecordset(schema::kVideo);
    SQLite::Database writer(dbPath().toStdString(), SQLite::OPEN_READWRITE, 5000);
    writer.exec("BEGIN IMMEDIATE");
    writer.exec("INSERT INTO \"Members Database\" (\"Member ID\", \"Last Name\") VALUES ('M9', 'Pending')");
    modQuorvane::rsVideo->MoveLast();
    const auto oldVideo = modQuorvane::rsVideo;

    const QString copy = folder() + "/backup.mdb";
    saveAs(copy);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join("\n").toStdString();
    writer.exec("COMMIT");

    ASSERT_TRUE(QFileInfo::exists(copy));
    {
        auto db = store::Database::OpenDatabase(copy, false, true);
        EXPECT_EQ(db->QuickCheck(), "ok");
        EXPECT_EQ(db->TableNames().size(), 7);
    }
    EXPECT_EQ(rowsIn(copy, schema::kVideo), 2);
    EXPECT_EQ(rowsIn(copy, schema::kMembers), 1);

    // The shared record sets are new objects on their first rows.
    EXPECT_NE(modQuorvane::rsVideo, oldVideo);
    EXPECT_FALSE(oldVideo->isOpen());
    expectSharedSetsOpenOnFirstRows();

    // Later changes go to the working file only, from either connection.
    addTitle(3);
    gridVideo->AddNew();
    gridVideo->SetValue(QStringLiteral("Video Code"), QStringLiteral("V4"));
    gridVideo->Update();
    EXPECT_EQ(modQuorvane::rsVideo->RecordCount(), 4);
    EXPECT_EQ(modQuorvane::rsMembers->RecordCount(), 2);
    EXPECT_EQ(rowsIn(copy, schema::kVideo), 2);
    EXPECT_EQ(rowsIn(copy, schema::kMembers), 1);
    EXPECT_EQ(modQuorvane::DbPath, dbPath());
}

TEST_F(SaveAsTest, ExactNameIsUsedAndAnExistingFileIsReplaced)
{
    addTitle(1);
    // Without an extension the copy has none.
    saveAs(folder() + "/backup");
    EXPECT_TRUE(QFileInfo::exists(folder() + "/backup"));
    EXPECT_FALSE(QFileInfo::exists(folder() + "/backup.mdb"));

    // A file of the chosen name is replaced, and a journal left beside it,
    // which belonged to the old file, goes with it.
    const QString old = folder() + "/old.mdb";
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a database");
        QFile j(old + "-journal");
        ASSERT_TRUE(j.open(QIODevice::WriteOnly));
        j.write("stale journal");
    }
    QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);
    saveAs(old);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join("\n").toStdString();
    EXPECT_EQ(rowsIn(old, schema::kVideo), 1);
    EXPECT_FALSE(QFileInfo::exists(old + "-journal"));
    EXPECT_EQ(QFile::permissions(old) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

    // Nothing is left behind under a temporary name.
    EXPECT_EQ(entries(folder()), (QStringList{"Quorvane.mdb", "backup", "old.mdb"}));
}

TEST_F(SaveAsTest, CopyOntoTheDatabaseItselfIsRefusedByAnyName)
{
    addTitle(1);
    const auto video = modQuorvane::rsVideo;
    ASSERT_TRUE(QFile::link(dbPath(), folder() + "/link.mdb"));
    ASSERT_EQ(::link(QFile::encodeName(dbPath()).constData(),
                     QFile::encodeName(folder() + "/hard.mdb").constData()),
              0);
    QDir(folder()).mkdir("sub");
    const QStringList sameFile{dbPath(),
                               folder() + "/./Quorvane.mdb",
                               folder() + "/sub/../Quorvane.mdb",
                               folder() + "/link.mdb",
                               folder() + "/hard.mdb",
                               dbPath() + "-journal",
                               dbPath() + "-wal"};
    for (const QString& target : sameFile) {
        SCOPED_TRACE(target.toStdString());
        dialogs_.clear();
        saveAs(target);
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].text, dbcopy::kOntoItself);
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Exclamation);
        // Refused before anything was closed.
        EXPECT_EQ(modQuorvane::rsVideo, video);
        EXPECT_TRUE(video->isOpen());
    }
    EXPECT_FALSE(QFileInfo::exists(dbPath() + "-journal"));
    EXPECT_EQ(modQuorvane::rsVideo->RecordCount(), 1);
    EXPECT_EQ(rowsIn(dbPath(), schema::kVideo), 1);

    // The copy routine refuses on its own too.
    EXPECT_THROW(dbcopy::WriteCheckedCopy(dbPath(), folder() + "/hard.mdb"), store::StoreError);
    EXPECT_FALSE(dbcopy::IsDatabaseFile(folder() + "/other.mdb", dbPath()));
    EXPECT_FALSE(dbcopy::IsDatabaseFile(folder() + "/sub", dbPath()));
}

TEST_F(SaveAsTest, FailedCopyIsReportedLeavesNoFileAndTheProgramWorks)
{
    addTitle(1);
    addTitle(2);
    addMember(1);
    modQuorvane::rsVideo->MoveLast();
    const QStringList before = entries(folder());

    // A folder that does not exist.
    const QString missing = folder() + "/no such folder/backup.mdb";
    saveAs(missing);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : ")) << dialogs_.messages[0].text.toStdString();
    EXPECT_TRUE(dialogs_.messages[0].text.contains(missing));
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    expectSharedSetsOpenOnFirstRows();

    // A name that is a folder.
    QDir(folder()).mkdir("folder.mdb");
    dialogs_.clear();
    saveAs(folder() + "/folder.mdb");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : "));
    EXPECT_TRUE(entries(folder() + "/folder.mdb").isEmpty());
    EXPECT_EQ(entries(folder()), before + QStringList{"folder.mdb"});

    // Every window keeps working on the database.
    addTitle(3);
    EXPECT_EQ(modQuorvane::rsVideo->RecordCount(), 3);
    EXPECT_EQ(modQuorvane::rsMembers->RecordCount(), 1);
}

TEST_F(SaveAsTest, CopyIntoAFolderThatCannotBeWrittenFails)
{
    // A folder without write permission; for an account that writes there
    // anyway, a folder no one can create files in.
    QString locked = folder() + "/locked";
    ASSERT_TRUE(QDir(folder()).mkdir("locked"));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    {
        QFile probe(locked + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            locked = "/proc";
            if (!QFileInfo(locked).isDir() || QFile(locked + "/probe").open(QIODevice::WriteOnly))
                GTEST_SKIP() << "no folder here refuses this account";
        }
    }
    const QStringList before = entries(locked);
    saveAs(locked + "/backup.mdb");
    QFile::setPermissions(folder() + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : The database could not be copied to"))
        << dialogs_.messages[0].text.toStdString();
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_FALSE(QFileInfo::exists(locked + "/backup.mdb"));
    if (locked != "/proc") {
        EXPECT_EQ(entries(locked), before);
    }
    expectSharedSetsOpenOnFirstRows();
}

TEST_F(SaveAsTest, CopyThatFailsItsCheckIsRemovedAndReported)
{
    // A file with a damaged table page: the copy carries the damage over,
    // and the check of the copy finds it.
    const QString damaged = folder() + "/damaged.mdb";
    {
        SQLite::Database db(damaged.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("PRAGMA page_size = 1024");
        db.exec("CREATE TABLE t (x TEXT)");
        db.exec("BEGIN");
        for (int i = 0; i < 400; ++i)
            db.exec("INSERT INTO t VALUES ('" + std::string(100, char('a' + i % 26)) + "')");
        db.exec("COMMIT");
    }
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(1024 * 9));
        f.write(QByteArray(64, '\x7f'));
    }
    const QString target = folder() + "/copy.mdb";
    try {
        dbcopy::WriteCheckedCopy(damaged, target);
        ADD_FAILURE() << "the damaged copy was accepted";
    } catch (const store::StoreError& e) {
        EXPECT_TRUE(e.description().contains("failed its check")) << e.description().toStdString();
    }
    EXPECT_EQ(entries(folder()), (QStringList{"Quorvane.mdb", "damaged.mdb"}));
}
