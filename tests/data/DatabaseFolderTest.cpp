// Where the database file lives: beside the program where the program may
// keep files there, otherwise in the user's data folder.
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "support/Harness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace modQuorvane;
using testing_support::QuorvaneTest;

namespace {

class DatabaseFolderTest : public QuorvaneTest {
protected:
    void SetUp() override
    {
        QuorvaneTest::SetUp();
        hadDataHome_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
        ASSERT_TRUE(dataHome_.isValid());
        qputenv("XDG_DATA_HOME", dataHome_.path().toLocal8Bit());
    }

    void TearDown() override
    {
        for (const QString& f : frozen_) {
            chattr(QStringLiteral("-i"), f);
            chattr(QStringLiteral("-a"), f);
        }
        if (hadDataHome_)
            qputenv("XDG_DATA_HOME", oldDataHome_);
        else
            qunsetenv("XDG_DATA_HOME");
        QuorvaneTest::TearDown();
    }

    // Makes a folder refuse new files (+i) or removals (+a), even to root.
    // Skips the test where the file system cannot.
    bool freeze(const QString& folder, const char* how = "+i")
    {
        if (!chattr(QString::fromLatin1(how), folder))
            return false;
        frozen_ << folder;
        return true;
    }

    static bool chattr(const QString& how, const QString& folder)
    {
        return QProcess::execute(QStringLiteral("chattr"), {how, folder}) == 0;
    }

    QString dataFolder() const { return dataHome_.path() + QStringLiteral("/Quorvane"); }

    QStringList everythingIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dataHome_;

private:
    QStringList frozen_;
    bool hadDataHome_ = false;
    QByteArray oldDataHome_;
};

#define FREEZE_OR_SKIP(...)                                                       \
    if (!freeze(__VA_ARGS__))                                                     \
    GTEST_SKIP() << "this file system cannot make a folder refuse writes to root " \
                    "(chattr failed)"

TEST_F(DatabaseFolderTest, AWritableProgramFolderKeepsTheFileBesideTheProgram)
{
    EXPECT_EQ(platform::databaseFolder(), folder());
    EXPECT_EQ(ComputeDbPath(), dbPath());
    // The trial file is gone, and the data folder was never made.
    EXPECT_TRUE(everythingIn(folder()).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dataFolder()));

    freshDatabase();
    EXPECT_TRUE(QFileInfo::exists(dbPath()));
    EXPECT_EQ(everythingIn(folder()), QStringList{QStringLiteral("Quorvane.mdb")});
}

TEST_F(DatabaseFolderTest, AReadOnlyProgramFolderPutsTheFileInTheUserDataFolder)
{
    FREEZE_OR_SKIP(folder());
    const QString expected = dataFolder() + QStringLiteral("/Quorvane.mdb");
    EXPECT_EQ(ComputeDbPath(), expected);
    EXPECT_TRUE(QFileInfo(dataFolder()).isDir());

    // The start-up makes and opens the file there, and the shop works on it.
    DbPath = ComputeDbPath();
    ASSERT_TRUE(CreateNewDatabase());
    OpenMainDatabase();
    EXPECT_EQ(DbPath, expected);
    rsVideo->AddNew();
    rsVideo->SetValue(QStringLiteral("Video Code"), QStringLiteral("V1"));
    rsVideo->SetValue(QStringLiteral("Title"), QStringLiteral("Heat"));
    rsVideo->Update();
    EXPECT_EQ(rsVideo->RecordCount(), 1);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(everythingIn(folder()).isEmpty());
}

TEST_F(DatabaseFolderTest, ADamagedFileInTheDataFolderIsMovedAsideThere)
{
    FREEZE_OR_SKIP(folder());
    QDir().mkpath(dataFolder());
    QFile junk(dataFolder() + QStringLiteral("/Quorvane.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("the shop notes");
    junk.close();

    EXPECT_EQ(modValidate::CheckDatabaseStructure(), modValidate::CheckOutcome::Rebuilt);
    const QStringList aside =
        QDir(dataFolder()).entryList({QStringLiteral("Quorvane.mdb.damaged-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    QFile kept(dataFolder() + QLatin1Char('/') + aside.front());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "the shop notes");
    OpenMainDatabase();
    EXPECT_EQ(rsUsers->RecordCount(), 0);
}

TEST_F(DatabaseFolderTest, AFolderWhereFilesCanBeMadeButNotRemovedIsNotUsed)
{
    // The database removes its journal after every write.
    FREEZE_OR_SKIP(folder(), "+a");
    EXPECT_FALSE(platform::mayKeepFilesIn(folder()));
    EXPECT_EQ(ComputeDbPath(), dataFolder() + QStringLiteral("/Quorvane.mdb"));
}

TEST_F(DatabaseFolderTest, SystemFoldersAndMissingFoldersAreNeverUsed)
{
    // Root could write under /usr, but those folders belong to the packages.
    EXPECT_FALSE(platform::mayKeepFilesIn(QStringLiteral("/usr/bin")));
    EXPECT_FALSE(platform::mayKeepFilesIn(QStringLiteral("/usr/local/bin")));
    EXPECT_FALSE(platform::mayKeepFilesIn(QStringLiteral("/usr")));
    EXPECT_FALSE(platform::mayKeepFilesIn(folder() + QStringLiteral("/missing")));
    EXPECT_FALSE(platform::mayKeepFilesIn(QString()));
    EXPECT_TRUE(platform::mayKeepFilesIn(folder()));

    platform::setApplicationFolder(QStringLiteral("/usr/bin"));
    EXPECT_EQ(ComputeDbPath(), dataFolder() + QStringLiteral("/Quorvane.mdb"));
}

TEST_F(DatabaseFolderTest, ADataFolderThatCannotBeMadeIsReportedAndNothingIsMade)
{
    FREEZE_OR_SKIP(folder());
    FREEZE_OR_SKIP(dataHome_.path());
    DbPath = ComputeDbPath();
    EXPECT_FALSE(CreateNewDatabase());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith(QStringLiteral("Error : ")));
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_FALSE(dbMain);
    EXPECT_TRUE(everythingIn(folder()).isEmpty());
    EXPECT_TRUE(everythingIn(dataHome_.path()).isEmpty());
}

}  // namespace
