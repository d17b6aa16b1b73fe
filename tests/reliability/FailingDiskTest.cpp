// Failing disks: a rent, a return, the two editors' saves, a user's save, a
// grid deletion and a copy of the database, each run again and again while
// the disk fails its Nth read, write or sync (or is full at the Nth write),
// for every N from the operation's first call of that kind to its last, once
// and from then on. Each run must end in its success or in one clear
// "Error : ..." report; the file must then pass SQLite's integrity check and
// hold all of the operation or none of it, both at once (seen by another
// program) and after the next start; and the clerk must be able to do the
// same again once the disk is sound.
//
// The runs of the test suite try a spread of N for each kind; with
// QUORVANE_LONG_RUN set (ctest -L long) every N is tried.
#include "reliability/FailingDisk.h"

#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/Store.h"
#include "shell/Windows.h"
#include "shell/frmMDIQuorvane.h"
#include "startup/LoginScript.h"
#include "startup/Password.h"
#include "startup/frmLogin.h"
#include "support/Harness.h"
#include "browse/frmDatabaseGrid.h"
#include "catalogue/frmAdd.h"
#include "catalogue/frmMembers.h"
#include "transactions/frmRent.h"
#include "transactions/frmReturn.h"
#include "users/frmPasswordTool.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

using failing_disk::Fault;
using failing_disk::FailingDisk;
using testing_support::control;
using testing_support::pump;

namespace {

bool longRun() { return !qEnvironmentVariableIsEmpty("QUORVANE_LONG_RUN"); }

constexpr Fault kFaults[] = {Fault::Read, Fault::Write, Fault::Sync, Fault::Full, Fault::Delete};

// What a file holds, as another program reading it sees it.
struct FileState {
    QString problem;  // why it could not be read, or what its integrity check found
    QStringList schema;
    QMap<QString, QStringList> tables;  // rows by table, with their rowids
    QStringList extra;                  // anything else the operation owns (a copy)

    bool operator==(const FileState& o) const
    {
        return problem == o.problem && schema == o.schema && tables == o.tables && extra == o.extra;
    }
};

QString describe(const FileState& s)
{
    QStringList out;
    if (!s.problem.isEmpty())
        out << "problem: " + s.problem;
    for (auto it = s.tables.begin(); it != s.tables.end(); ++it)
        out << it.key() + ": " + it.value().join(" / ");
    out << s.extra;
    return out.join('\n');
}

// Opens the file as another program would (rolling back what a failed write
// left in its journal), proves that no lock is left on it, runs the full
// integrity check and reads every row.
FileState readFile(const QString& path)
{
    FileState s;
    try {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE, 0);
        db.exec("BEGIN IMMEDIATE");
        db.exec("ROLLBACK");
        QStringList verdict;
        SQLite::Statement check(db, "PRAGMA integrity_check");
        while (check.executeStep())
            verdict << QString::fromUtf8(check.getColumn(0).getText());
        if (verdict != QStringList{"ok"})
            s.problem = "integrity check: " + verdict.join("; ");
        SQLite::Statement schemaRows(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema ORDER BY type, name");
        while (schemaRows.executeStep())
            s.schema << QStringList{schemaRows.getColumn(0).getText(), schemaRows.getColumn(1).getText(),
                                    schemaRows.getColumn(2).getText(), schemaRows.getColumn(3).getText()}
                            .join('|');
        for (const store::TableDef& def : schema::Tables()) {
            SQLite::Statement rows(db, ("SELECT rowid, * FROM " + store::quoteName(def.name) + " ORDER BY rowid")
                                           .toStdString());
            QStringList& out = s.tables[def.name];
            while (rows.executeStep()) {
                QStringList cells;
                for (int i = 0; i < rows.getColumnCount(); ++i)
                    cells << (rows.getColumn(i).isNull() ? QStringLiteral("<null>")
                                                         : QString::fromUtf8(rows.getColumn(i).getText()));
                out << cells.join('|');
            }
        }
    } catch (const std::exception& e) {
        s.problem = QString::fromUtf8(e.what());
    }
    return s;
}

// How the runs of one operation ended.
struct Tally {
    long long runs = 0;
    long long completed = 0;           // success, nothing else said
    long long completedThenError = 0;  // success told, then a read-back for the display failed and said so
    long long savedThenError = 0;      // written whole, but an error after the write was reported
    long long failedCleanly = 0;       // one "Error : ..." and nothing written
    long long integrityFailures = 0;
    long long partialWrites = 0;
    long long leftoverCopies = 0;
    long long otherFaults = 0;  // silent failures, cascades, false successes, stuck programs
};

// One operation as the clerk does it.
struct Operation {
    const char* name;
    std::function<void()> open;       // the window, before the disk fails
    std::function<void()> perform;    // the clerk's steps, while it fails
    std::function<bool()> succeeded;  // what the clerk is told: its success
    std::function<void()> again;      // the clerk tries again, the disk sound
    std::function<FileState()> state; // the file as the operation leaves it
};

class FailingDiskTest : public testing_support::QuorvaneTest {
protected:
    void SetUp() override
    {
        // Before anything opens the file: every connection goes through it.
        disk_ = std::make_unique<FailingDisk>();
        QuorvaneTest::SetUp();
        freshDatabase();
        seed();
        modQuorvane::ResetProcessState();
        templatePath_ = folder() + "/template.db";
        ASSERT_TRUE(QFile::copy(dbPath(), templatePath_));
        backups_ = folder() + "/backups";
        QDir().mkpath(backups_);
    }

    void TearDown() override
    {
        stopProgram();
        QuorvaneTest::TearDown();
        disk_.reset();
    }

    // Three titles (the second out on rent to the first member), two
    // members, their codes in the registry, and the clerk "clerk" ("pw").
    static void seed()
    {
        using namespace modQuorvane;
        const struct {
            const char *code, *title;
            int in, out;
        } titles[] = {{"V1", "Title 1", 3, 0}, {"V2", "Title 2", 1, 1}, {"V3", "Title 3", 2, 0}};
        for (const auto& t : titles) {
            rsVideo->AddNew();
            rsVideo->SetValue("Video Code", t.code);
            rsVideo->SetValue("Title", t.title);
            rsVideo->SetValue("Main Cast", "Main");
            rsVideo->SetValue("Second Cast", "Second");
            rsVideo->SetValue("Category", "Drama");
            rsVideo->SetValue("Tapes In", t.in);
            rsVideo->SetValue("Tapes Out", t.out);
            rsVideo->Update();
            rsVideoCode->AddNew();
            rsVideoCode->SetValue(0, t.code);
            rsVideoCode->SetValue(1, t.title);
            rsVideoCode->Update();
        }
        for (int n : {1, 2}) {
            const QString s = QString::number(n);
            rsMembers->AddNew();
            rsMembers->SetValue("Member ID", "M" + s);
            rsMembers->SetValue("Last Name", "Cruz");
            rsMembers->SetValue("First Name", "First " + s);
            rsMembers->SetValue("Address", "Street " + s);
            rsMembers->SetValue("Contact", "555-" + s);
            rsMembers->Update();
            rsMemberCode->AddNew();
            rsMemberCode->SetValue(0, "M" + s);
            rsMemberCode->SetValue(1, "Cruz First " + s);
            rsMemberCode->Update();
        }
        rsRentals->AddNew();
        rsRentals->SetValue("Member ID", "M1");
        rsRentals->SetValue("Video Code", "V2");
        rsRentals->SetValue("Rent Date", QDate(2026, 12, 1));
        rsRentals->SetValue("Returned", "No");
        rsRentals->Update();
        rsUsers->AddNew();
        rsUsers->SetValue("Username", "clerk");
        rsUsers->SetValue("Password", modValidate::EncodePassword(QStringLiteral("pw")));
        rsUsers->Update();
    }

    // A new start of the program on the file as it stands: the start-up
    // check, the shared record sets, the main window. The check must find
    // the file sound and say nothing.
    void startProgram()
    {
        dialogs_.clear();
        const auto outcome = modValidate::CheckDatabaseStructure();
        EXPECT_EQ(outcome, modValidate::CheckOutcome::Sound) << dialogs_.texts().join('\n').toStdString();
        EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join('\n').toStdString();
        modQuorvane::OpenMainDatabase();
        modQuorvane::CurrentUser = QStringLiteral("clerk");
        modQuorvane::CurrentPassword = QStringLiteral("pw");
        frmMDIQuorvane::create()->show();
        pump();
    }

    void stopProgram()
    {
        script_.stop();
        dialogs_.onMessage = nullptr;
        dialogs_.yesNoAnswers.clear();
        dialogs_.saveAnswers.clear();
        windows::closeAll();
        delete frmMDIQuorvane::instance();
        frmLogin::destroyInstance();
        pump();
        modQuorvane::ResetProcessState();
    }

    // The shop's file as it was before the operation, and no copy.
    void freshFiles()
    {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(dbPath() + suffix);
        ASSERT_TRUE(QFile::copy(templatePath_, dbPath()));
        QDir(backups_).removeRecursively();
        QDir().mkpath(backups_);
    }

    static frmMDIQuorvane* mainWindow() { return frmMDIQuorvane::instance(); }

    QStringList errorReports() const
    {
        QStringList out;
        for (const auto& m : dialogs_.messages)
            if (m.text.startsWith("Error : "))
                out << m.text;
        return out;
    }

    bool firstMessageIs(const QString& text) const
    {
        return !dialogs_.messages.empty() && dialogs_.messages[0].text == text;
    }

    // The program goes on: every shared record set is there to use and
    // counts what the file holds.
    void expectCountsFollowTheFile(const FileState& live, const std::string& where, Tally& tally)
    {
        using namespace modQuorvane;
        for (const auto* rs : {&rsVideo, &rsMembers, &rsRentals, &rsReturnee, &rsVideoCode, &rsMemberCode, &rsUsers}) {
            try {
                store::Recordset& shared = Shared(*rs);
                if (shared.RecordCount() != live.tables.value(shared.Name()).size()) {
                    ++tally.otherFaults;
                    ADD_FAILURE() << where << ": " << shared.Name().toStdString() << " counts "
                                  << shared.RecordCount() << " rows, the file holds "
                                  << live.tables.value(shared.Name()).size();
                }
            } catch (const std::exception& e) {
                ++tally.otherFaults;
                ADD_FAILURE() << where << ": a shared record set cannot be used: " << e.what();
            }
        }
    }

    // Which N to try of `calls` calls: all of them in the long run; in the
    // suite's run the first, the last and a spread between.
    static std::vector<long long> plan(long long calls, int spread)
    {
        std::vector<long long> out;
        if (calls <= 0)
            return out;
        if (longRun() || calls <= spread) {
            for (long long n = 1; n <= calls; ++n)
                out.push_back(n);
            return out;
        }
        for (int i = 0; i < spread; ++i) {
            const long long n = 1 + (calls - 1) * i / (spread - 1);
            if (out.empty() || out.back() != n)
                out.push_back(n);
        }
        return out;
    }

    // Runs the operation once with the disk only counting, then under every
    // planned fault, and checks every run.
    Tally sweep(const Operation& op, int spreadOnce, int spreadOn)
    {
        Tally tally;
        freshFiles();
        startProgram();
        op.open();
        before_ = op.state();
        EXPECT_TRUE(before_.problem.isEmpty()) << before_.problem.toStdString();
        dialogs_.clear();
        disk_->count();
        op.perform();
        std::map<Fault, long long> calls;
        for (Fault f : kFaults)
            calls[f] = disk_->calls(f);
        EXPECT_TRUE(op.succeeded()) << op.name << ": " << dialogs_.texts().join('\n').toStdString();
        EXPECT_TRUE(errorReports().empty()) << op.name << ": " << errorReports().join('\n').toStdString();
        after_ = op.state();
        EXPECT_TRUE(after_.problem.isEmpty()) << after_.problem.toStdString();
        EXPECT_FALSE(after_ == before_) << op.name << " wrote nothing";
        stopProgram();
        if (HasFailure())
            return tally;

        for (Fault f : kFaults)
            for (bool persistent : {false, true})
                for (long long n : plan(calls[f], persistent ? spreadOn : spreadOnce))
                    runOnce(op, f, n, persistent, tally);

        std::cout << "[ disks    ] " << op.name << ": " << calls[Fault::Read] << " reads, "
                  << calls[Fault::Write] << " writes, " << calls[Fault::Sync] << " syncs, "
                  << calls[Fault::Delete] << " deletions; " << tally.runs << " runs: " << tally.completed
                  << " completed, " << tally.completedThenError << " completed then a display error, "
                  << tally.savedThenError << " saved then an error reported, " << tally.failedCleanly
                  << " failed with one \"Error :\"; integrity failures " << tally.integrityFailures
                  << ", partial writes " << tally.partialWrites << ", leftover copies " << tally.leftoverCopies
                  << ", other faults " << tally.otherFaults << std::endl;
        return tally;
    }

    void runOnce(const Operation& op, Fault fault, long long n, bool persistent, Tally& tally)
    {
        const std::string where = std::string(op.name) + ", " + failing_disk::name(fault) + " " + std::to_string(n) +
                                  (persistent ? " on" : " once");
        SCOPED_TRACE(where);
        ++tally.runs;

        freshFiles();
        startProgram();
        op.open();
        dialogs_.clear();
        disk_->arm(fault, n, persistent);
        op.perform();
        disk_->clear();
        const bool failedSomething = disk_->failed() > 0;
        const bool told = op.succeeded();
        const QStringList shown = dialogs_.texts();
        const QStringList errors = errorReports();
        const std::string said = shown.join(" // ").toStdString();

        const FileState live = op.state();
        if (!qEnvironmentVariableIsEmpty("QUORVANE_DISK_TRACE"))
            std::cout << where << (live == after_ ? ": written" : live == before_ ? ": untouched" : ": PARTIAL")
                      << "; said: " << said << std::endl;
        if (!live.problem.isEmpty()) {
            ++tally.integrityFailures;
            ADD_FAILURE() << where << ": " << live.problem.toStdString() << "\nsaid: " << said;
        }
        const bool written = live == after_;
        const bool untouched = live == before_;
        if (live.problem.isEmpty() && !written && !untouched) {
            if (!live.extra.isEmpty() && live.extra != before_.extra && live.tables == before_.tables)
                ++tally.leftoverCopies;
            else
                ++tally.partialWrites;
            ADD_FAILURE() << where << ": neither all nor none of it\n" << describe(live).toStdString()
                          << "\nsaid: " << said;
        }
        for (const auto& m : dialogs_.messages) {
            if (m.text.startsWith("Error : ")) {
                EXPECT_EQ(m.icon, dialogs::Icon::Critical) << where;
            }
        }

        if (written) {
            if (told && errors.isEmpty())
                ++tally.completed;
            else if (told)
                ++tally.completedThenError;
            else
                ++tally.savedThenError;
            if (!told && errors.isEmpty()) {
                ++tally.otherFaults;
                ADD_FAILURE() << where << ": written, but the clerk was told nothing: " << said;
            }
            if (errors.size() > 1) {
                ++tally.otherFaults;
                ADD_FAILURE() << where << ": more than one error report: " << said;
            }
        } else if (untouched) {
            ++tally.failedCleanly;
            if (told) {
                ++tally.otherFaults;
                ADD_FAILURE() << where << ": success told, nothing written: " << said;
            }
            if (errors.size() != 1 || shown.size() != 1) {
                ++tally.otherFaults;
                ADD_FAILURE() << where << ": not one clear error report: " << said;
            }
            if (!failedSomething) {
                ++tally.otherFaults;
                ADD_FAILURE() << where << ": nothing failed, yet nothing was written";
            }
        }
        expectCountsFollowTheFile(live, where, tally);

        // The program goes on: the same again succeeds once the disk is sound.
        if (untouched) {
            dialogs_.clear();
            op.again();
            const FileState retried = op.state();
            if (!op.succeeded() || !errorReports().empty() || !(retried == after_)) {
                ++tally.otherFaults;
                ADD_FAILURE() << where << ", again: " << dialogs_.texts().join(" // ").toStdString() << "\n"
                              << describe(retried).toStdString();
            }
            expectCountsFollowTheFile(retried, where + ", again", tally);
        }

        // The next start finds the file sound and holding the whole operation.
        stopProgram();
        startProgram();
        const FileState restarted = op.state();
        if (!restarted.problem.isEmpty()) {
            ++tally.integrityFailures;
            ADD_FAILURE() << where << ", restarted: " << restarted.problem.toStdString();
        } else if (!(restarted == after_)) {
            ++tally.partialWrites;
            ADD_FAILURE() << where << ", restarted:\n" << describe(restarted).toStdString();
        }
        stopProgram();
    }

    static void expectNoFaults(const Tally& t)
    {
        EXPECT_GT(t.runs, 0);
        EXPECT_EQ(t.integrityFailures, 0);
        EXPECT_EQ(t.partialWrites, 0);
        EXPECT_EQ(t.leftoverCopies, 0);
        EXPECT_EQ(t.otherFaults, 0);
    }

    // --- The operations ----------------------------------------------------

    FileState shopFile() const { return readFile(dbPath()); }

    static void type(QWidget* w, const char* box, const QString& text) { control<QLineEdit>(w, box)->setText(text); }
    static void press(QWidget* w, const char* button) { control<QPushButton>(w, button)->click(); }
    static void choose(const char* command) { control<QAction>(mainWindow(), command)->trigger(); }

    // Rent or return through its window: the codes, Check, then the button.
    template <class W>
    Operation counterOperation(const char* name, const char* command, const QString& code, const QString& member,
                               const QString& success)
    {
        auto steps = [code, member] {
            W* w = windows::find<W>();
            type(w, "txtVcode", code);
            type(w, "txtMemcode", member);
            press(w, "cmdCheck");
            press(w, "cmdTrans");
        };
        return {name,
                [command] { choose(command); },
                steps,
                [this, success] { return firstMessageIs(success); },
                [steps] {
                    W* w = windows::find<W>();
                    // The button is still there to press when only the
                    // transaction failed; otherwise from the start.
                    if (control<QPushButton>(w, "cmdTrans")->isEnabled()) {
                        press(w, "cmdTrans");
                        return;
                    }
                    press(w, "cmdClear");
                    steps();
                },
                [this] { return shopFile(); }};
    }

    // A new record through an editor in add mode: the boxes, then Save.
    template <class W>
    Operation editorOperation(const char* name, const char* command,
                              std::vector<std::pair<const char*, QString>> boxes)
    {
        return {name,
                [command] { choose(command); },
                [boxes] {
                    W* w = windows::find<W>();
                    for (const auto& [box, text] : boxes)
                        type(w, box, text);
                    press(w, "cmdSave");
                },
                // A save that went through enables Clear.
                [] { return control<QPushButton>(windows::find<W>(), "cmdCommand2")->isEnabled(); },
                [] { press(windows::find<W>(), "cmdSave"); },
                [this] { return shopFile(); }};
    }

    Operation userOperation()
    {
        auto save = [this] {
            script_({[] { login_script::answer("clerk", "pw"); }});
            control<QAction>(windows::find<frmPasswordTool>(), "Save")->trigger();
            script_.stop();
        };
        auto steps = [save] {
            frmPasswordTool* w = windows::find<frmPasswordTool>();
            control<QAction>(w, "New")->trigger();
            type(w, "txtUser", "keeper");
            type(w, "txtCurrent", "secret");
            save();
        };
        return {"user save",
                [] {
                    windows::show<frmPasswordTool>();
                    pump();
                },
                steps,
                [this] { return firstMessageIs("User : keeper has been successfully added to the user database..."); },
                [steps, save] {
                    // A refused save keeps the new-user mode and what was typed.
                    if (windows::find<frmPasswordTool>()->IsEditing)
                        save();
                    else
                        steps();
                },
                [this] { return shopFile(); }};
    }

    Operation gridOperation()
    {
        auto remove = [this] {
            dialogs_.yesNoAnswers = {true};
            press(windows::find<frmDatabaseGrid>(), "cmdCommand");
            pump();
        };
        return {"grid deletion",
                [] {
                    choose("mnuVideoDel");
                    pump();
                },
                remove,
                [this] { return errorReports().isEmpty() && mainWindow()->panelText(2) == "2 records"; },
                remove,
                [this] { return shopFile(); }};
    }

    Operation copyOperation()
    {
        const QString target = backups_ + "/copy.mdb";
        auto saveAs = [this, target] {
            dialogs_.saveAnswers = {target};
            choose("mnuSaveAs");
        };
        return {"database copy",
                [] {},
                saveAs,
                [this, target] { return dialogs_.messages.empty() && QFileInfo::exists(target); },
                saveAs,
                [this, target] {
                    // The shop's file must not change; the copy is all of it
                    // or nothing, and nothing else is left beside it.
                    FileState s = shopFile();
                    s.extra << QDir(backups_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                        QDir::NoDotAndDotDot);
                    if (QFileInfo::exists(target)) {
                        const FileState copy = readFile(target);
                        if (!copy.problem.isEmpty() && s.problem.isEmpty())
                            s.problem = "the copy: " + copy.problem;
                        s.extra << "copy" << copy.schema;
                        for (auto it = copy.tables.begin(); it != copy.tables.end(); ++it)
                            s.extra << it.key() + ": " + it.value().join(" / ");
                    }
                    return s;
                }};
    }

    std::unique_ptr<FailingDisk> disk_;
    login_script::Script script_;
    QString templatePath_;
    QString backups_;
    FileState before_;
    FileState after_;
};

// The store on a disk that fails every write: the clerk hears what the disk
// said, and the store writes again once the disk is sound.
class StoreOnFailingDiskTest : public testing_support::QuorvaneTest {
protected:
    void SetUp() override
    {
        disk_ = std::make_unique<FailingDisk>();
        QuorvaneTest::SetUp();
        freshDatabase();
    }

    void TearDown() override
    {
        QuorvaneTest::TearDown();
        disk_.reset();
    }

    static void addTitle(const QString& code)
    {
        store::Recordset& rs = *modQuorvane::rsVideo;
        rs.AddNew();
        rs.SetValue("Video Code", code);
        rs.SetValue("Title", "Title " + code);
        rs.Update();
    }

    // Runs a write on the failing disk; it must fail with the disk's own
    // complaint.
    void expectDiskError(Fault fault, const char* what, const std::function<void()>& write)
    {
        disk_->arm(fault, 1, true);
        try {
            write();
            ADD_FAILURE() << what << " went through a failing disk";
        } catch (const store::StoreError& e) {
            EXPECT_EQ(e.kind(), store::ErrorKind::Io) << what << ": " << e.description().toStdString();
            EXPECT_EQ(e.description(), fault == Fault::Full ? "The disk is full (database or disk is full)."
                                                            : "disk I/O error")
                << what;
        }
        disk_->clear();
    }

    std::unique_ptr<FailingDisk> disk_;
};

TEST_F(StoreOnFailingDiskTest, WritesFailWithTheDisksOwnErrorAndWorkAgainAfterwards)
{
    using modQuorvane::rsVideo;
    addTitle("V1");
    addTitle("V2");
    for (Fault fault : {Fault::Write, Fault::Full}) {
        SCOPED_TRACE(failing_disk::name(fault));
        expectDiskError(fault, "a new row", [] { addTitle("V3"); });
        expectDiskError(fault, "a changed row", [] {
            rsVideo->MoveFirst();
            rsVideo->Edit();
            rsVideo->SetValue("Title", "Changed");
            rsVideo->Update();
        });
        expectDiskError(fault, "a deletion", [] {
            rsVideo->MoveLast();
            rsVideo->Delete();
        });
        expectDiskError(fault, "a transaction", [] {
            store::Transaction tx(*modQuorvane::dbMain);
            addTitle("V3");
            tx.Commit();
        });
        EXPECT_EQ(rsVideo->RecordCount(), 2);
        EXPECT_FALSE(modQuorvane::dbMain->InTransaction());
    }
    addTitle("V3");
    rsVideo->MoveFirst();
    rsVideo->Edit();
    rsVideo->SetValue("Title", "Changed");
    rsVideo->Update();
    rsVideo->MoveLast();
    rsVideo->Delete();
    EXPECT_EQ(rsVideo->RecordCount(), 2);
    EXPECT_EQ(readFile(dbPath()).tables.value(schema::kVideo),
              QStringList({"1|V1|Changed|<null>|<null>|<null>|<null>|<null>",
                           "2|V2|Title V2|<null>|<null>|<null>|<null>|<null>"}));
}

// In the suite's run: every N of a fault once for a rent and a return, a
// spread of N for the rest.
constexpr int kEveryN = 1000000;
constexpr int kSpread = 5;

TEST_F(FailingDiskTest, RentIsWholeOrNotAtAll)
{
    expectNoFaults(sweep(counterOperation<frmRent>("rent", "mnuRent", "V1", "M1",
                                                   "Member First 1 Cruz succesfully rented Title 1"),
                         kEveryN, kSpread));
}

TEST_F(FailingDiskTest, ReturnIsWholeOrNotAtAll)
{
    expectNoFaults(sweep(counterOperation<frmReturn>("return", "mnuReturn", "V2", "M1",
                                                     "Member First 1 Cruz succesfully returned Title 2"),
                         kEveryN, kSpread));
}

TEST_F(FailingDiskTest, VideoEditorSaveIsWholeOrNotAtAll)
{
    expectNoFaults(sweep(editorOperation<frmAdd>("video editor save", "mnuVideoAdd",
                                                 {{"txtCode", "V9"},
                                                  {"txtTitle", "Title 9"},
                                                  {"txtMain", "Main 9"},
                                                  {"txtSecond", "Second 9"},
                                                  {"txtCategory", "Comedy"},
                                                  {"txtTapes", "4"}}),
                         kSpread, kSpread));
}

TEST_F(FailingDiskTest, MemberEditorSaveIsWholeOrNotAtAll)
{
    expectNoFaults(sweep(editorOperation<frmMembers>("member editor save", "mnuMemAdd",
                                                     {{"txtCode", "M9"},
                                                      {"txtLast", "Reyes"},
                                                      {"txtFirst", "Ana"},
                                                      {"txtAddress", "Street 9"},
                                                      {"txtContact", "555-9"}}),
                         kSpread, kSpread));
}

TEST_F(FailingDiskTest, UserSaveIsWholeOrNotAtAll)
{
    expectNoFaults(sweep(userOperation(), kSpread, kSpread));
}

TEST_F(FailingDiskTest, GridDeletionIsWholeOrNotAtAll)
{
    expectNoFaults(sweep(gridOperation(), kSpread, kSpread));
}

TEST_F(FailingDiskTest, FailedCopyLeavesNothingUnderTheChosenName)
{
    expectNoFaults(sweep(copyOperation(), kSpread, kSpread));
}

}  // namespace
