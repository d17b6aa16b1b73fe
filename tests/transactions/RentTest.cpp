// The rent window, driven as the clerk drives it: the check and its
// refusals, the keyboard road of a barcode scanner, the rent itself as one
// transaction, and two counters after the same last tape.
#include "transactions/frmRent.h"
#include "transactions/TransactionsFixture.h"
#include "transactions/Transactions.h"

#include <QGroupBox>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

using namespace transactions_tests;
using catalogue_tests::expectTabOrder;
using testing_support::control;
using testing_support::pump;

namespace {

class RentTest : public TransactionsTest {
protected:
    frmRent* openRent() { return openBy<frmRent>(&frmMDIQuorvane::mnuRent_Click); }
    static void rent(frmRent* w) { record(w); }
    static QStringList results(frmRent* w) { return texts(w, {"txtTitle", "txtName", "txtDate", "txtTapes"}); }
};

TEST_F(RentTest, OpensEmptyWithTodayAndTheRentalCount)
{
    addTitle(1);
    addMember(1);
    addRental("M9", "V9", QDate(2026, 11, 2), "Yes");
    frmRent* w = openRent();
    EXPECT_EQ(w->caption(), "Rent tape/s");
    EXPECT_EQ(w->subWindow()->size(), twips::size(5295, 6825));
    EXPECT_EQ(control<QLabel>(w, "lblCaption")->text(), "Rent a Tape");
    EXPECT_EQ(control<QGroupBox>(w, "fraMessages")->title(), "Status");
    expectCaptionsFit(w);
    EXPECT_EQ(results(w), (QStringList{"", "", "12/7/2026", ""}));
    EXPECT_EQ(box(w, "txtVcode")->text(), "");
    EXPECT_EQ(state(w), kEntry);
    for (const char* n : {"txtTitle", "txtName", "txtDate", "txtTapes"})
        EXPECT_FALSE(box(w, n)->isEnabled()) << n;  // display only
    EXPECT_EQ(mainWindow()->panelText(1), "Rentals Database");
    EXPECT_EQ(mainWindow()->panelText(2), "1 records");

    const std::pair<const char*, const char*> captions[] = {
        {"lblVcode", "&Video tape code  :"}, {"lblMemcode", "&Member ID/code :"}, {"lblTitle", "Movie Title :"},
        {"lblMember", "Member Name :"},      {"lblDate", "Date of rent :"},      {"lblTapes", "Tapes In :"}};
    for (const auto& [name, text] : captions)
        EXPECT_EQ(control<QLabel>(w, name)->text(), text);
    EXPECT_EQ(button(w, "cmdCheck")->text(), "C&heck");
    EXPECT_EQ(button(w, "cmdTrans")->text(), "&Rent");
    EXPECT_EQ(button(w, "cmdClear")->text(), "C&lear");
    EXPECT_EQ(control<QLabel>(w, "lblVcode")->buddy(), box(w, "txtVcode"));
    EXPECT_EQ(control<QLabel>(w, "lblMemcode")->buddy(), box(w, "txtMemcode"));
    expectTabOrder(w, {"txtVcode", "txtMemcode", "cmdCheck", "txtTitle", "txtName", "txtDate", "txtTapes", "cmdTrans",
                       "cmdClear", "cmdCancel"});

    // The command shows the open window again as it is, from menu and toolbar.
    box(w, "txtVcode")->setText("typed");
    mainWindow()->tbrQuorvane_ButtonClick("Transact");
    mainWindow()->tbrQuorvane_ButtonMenuClick("TrnRent");
    EXPECT_EQ(windows::find<frmRent>(), w);
    EXPECT_EQ(box(w, "txtVcode")->text(), "typed");
}

TEST_F(RentTest, RefusalsComeInTheirOrderAndClearBothCodes)
{
    frmRent* w = openRent();
    struct Case {
        std::function<void()> before;
        QString code, member, message;
    };
    const Case cases[] = {
        // An empty title table is named first, even with no members either.
        {[] {}, "V1", "M1", "No records in Video Database. Please add one..."},
        {[] { addTitle(1); }, "V1", "M1", "No records in Members Database. Please add one..."},
        {[] { addMember(1); }, "V404", "M404",
         "Member ID: M404 doesn't exist. Please enter an existing member..."},
        {[] {}, "V404", "M1", "Video Tape code : V404 doesn't exist. Please enter an existing video tape..."},
        {[] {}, "", "", "Member ID:  doesn't exist. Please enter an existing member..."},
        // Letter case and a trailing blank make other codes.
        {[] {}, "v1", "M1", "Video Tape code : v1 doesn't exist. Please enter an existing video tape..."},
        {[] {}, "V1", "M1 ", "Member ID: M1  doesn't exist. Please enter an existing member..."},
        {[] { addTitle({"V0", "Empty Shelf", "A", "B", "C", 0, 3}); }, "V0", "M1",
         "Sorry, the movie Empty Shelf do not have any more tapes"},
        // A member ID longer than any stored one cannot pass.
        {[] {}, "V1", "M1" + QString(30, 'x'),
         "Member ID: M1" + QString(30, 'x') + " doesn't exist. Please enter an existing member..."},
    };
    const QString before = snapshot();
    for (const Case& c : cases) {
        c.before();
        const QString filed = snapshot();
        dialogs_.clear();
        typeCodes(w, c.code, c.member);
        check(w);
        ASSERT_EQ(dialogs_.texts(), QStringList{c.message});
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
        EXPECT_EQ(box(w, "txtVcode")->text(), "") << c.message.toStdString();
        EXPECT_EQ(box(w, "txtMemcode")->text(), "");
        EXPECT_EQ(w->focusWidget(), box(w, "txtVcode"));
        EXPECT_EQ(state(w), kEntry);
        EXPECT_EQ(snapshot(), filed);  // a check writes nothing
    }
    EXPECT_NE(snapshot(), before);
}

TEST_F(RentTest, TheScannerRoadChecksAndASuccessfulCheckShowsTheRental)
{
    addTitle(7);
    addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 1, 4});
    addMember(3);
    addMember({"M1", "Hanna", "Vincent", "Street 1", "555"});
    frmRent* w = openRent();
    box(w, "txtVcode")->setFocus();
    QTest::keyClicks(box(w, "txtVcode"), "V1");
    QTest::keyClick(box(w, "txtVcode"), Qt::Key_Return);
    ASSERT_EQ(w->focusWidget(), box(w, "txtMemcode"));
    QTest::keyClicks(box(w, "txtMemcode"), "M1");
    QTest::keyClick(box(w, "txtMemcode"), Qt::Key_Return);
    ASSERT_EQ(w->focusWidget(), button(w, "cmdCheck"));
    EXPECT_EQ(box(w, "txtVcode")->text(), "V1");  // no Enter typed into the boxes
    QTest::keyClick(button(w, "cmdCheck"), Qt::Key_Return);

    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ(results(w), (QStringList{"Heat", "Vincent Hanna", "12/7/2026", "1"}));
    EXPECT_EQ(state(w), kReady);
    EXPECT_EQ(w->focusWidget(), button(w, "cmdTrans"));
    EXPECT_EQ(modQuorvane::rsVideo->Text("Video Code"), "V1");
    EXPECT_EQ(modQuorvane::rsMembers->Text("Member ID"), "M1");
    EXPECT_EQ(count(schema::kRentals), 0);

    // A held Enter on the disabled Check does nothing more.
    QTest::keyClick(button(w, "cmdCheck"), Qt::Key_Return);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(RentTest, AccessKeysReachTheWindowsControlsBeforeTheMenus)
{
    addTitle(1);
    addMember(1);
    frmRent* w = openRent();
    // Alt+V, Alt+M and Alt+H are also the View, Members and Help menus of the
    // main window; inside the rent window they are the window's own.
    box(w, "txtMemcode")->setFocus();
    QTest::keyClick(box(w, "txtMemcode"), Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(w->focusWidget(), box(w, "txtVcode"));
    QTest::keyClicks(box(w, "txtVcode"), "V1");
    QTest::keyClick(box(w, "txtVcode"), Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(w->focusWidget(), box(w, "txtMemcode"));
    QTest::keyClicks(box(w, "txtMemcode"), "M1");
    EXPECT_EQ(box(w, "txtVcode")->text(), "V1");  // no letter typed by an access key
    QTest::keyClick(box(w, "txtMemcode"), Qt::Key_H, Qt::AltModifier);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ(state(w), kReady);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // no menu opened
    QTest::keyClick(w->focusWidget(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Member First 1 Cruz succesfully rented Title 1"});
    QTest::keyClick(w->focusWidget(), Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(state(w), kEntry);
}

TEST_F(RentTest, RentWritesOneOpenRentalAndMovesOneTapeOut)
{
    addTitle(2);
    addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 1, 4});
    addMember(1);
    const QString before = snapshot();
    frmRent* w = openRent();
    typeCodes(w, "V1", "M1");
    check(w);
    rent(w);

    ASSERT_EQ(dialogs_.texts(), QStringList{"Member First 1 Cruz succesfully rented Heat"});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    const auto rental = findRow(schema::kRentals, "Video Code", "V1");
    ASSERT_TRUE(rental.has_value());
    EXPECT_EQ(*rental, (std::vector<QString>{"M1", "V1", "2026-12-07", "No"}));
    EXPECT_EQ(stock("V1"), "0/5");
    EXPECT_EQ(stock("V2"), "2/0");
    EXPECT_EQ(mainWindow()->panelText(1), "Rentals Database");
    EXPECT_EQ(mainWindow()->panelText(2), "1 records");
    // The window keeps what the check showed; a second press cannot rent again.
    EXPECT_EQ(results(w), (QStringList{"Heat", "First 1 Cruz", "12/7/2026", "1"}));
    EXPECT_EQ(state(w), kDone);
    rent(w);
    EXPECT_EQ(count(schema::kRentals), 1);

    // Exactly the rental row and the title's counts changed.
    QString expected = before;
    expected.replace("V1|Heat|Pacino|De Niro|Crime|1|4|", "V1|Heat|Pacino|De Niro|Crime|0|5|");
    expected.replace("Rentals Database:\n", "Rentals Database:\n1|M1|V1|2026-12-07|No|\n");
    EXPECT_EQ(snapshot(), expected);

    // Clear: back to the entry state, and the last tape is gone.
    button(w, "cmdClear")->click();
    EXPECT_EQ(state(w), kEntry);
    EXPECT_EQ(results(w), (QStringList{"", "", "12/7/2026", ""}));
    EXPECT_EQ(w->focusWidget(), box(w, "txtVcode"));
    dialogs_.clear();
    typeCodes(w, "V1", "M1");
    check(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Sorry, the movie Heat do not have any more tapes"});
}

TEST_F(RentTest, AnyStockButExactlyZeroLetsTheRentGoAhead)
{
    addTitle({"V1", "Odd Count", "A", "B", "C", -2, 0});
    addMember(1);
    frmRent* w = openRent();
    typeCodes(w, "V1", "M1");
    check(w);
    rent(w);
    EXPECT_EQ(stock("V1"), "-3/1");
}

TEST_F(RentTest, AFailureInTheMiddleOfARentLeavesTheFileAsItWas)
{
    addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 2, 0});
    addMember(1);
    frmRent* w = openRent();
    typeCodes(w, "V1", "M1");
    check(w);
    // The stock move fails after the rental row has been written.
    otherProgram("CREATE TRIGGER fail_stock BEFORE UPDATE ON \"Video Database\" "
                 "BEGIN SELECT RAISE(ABORT, 'the disk gave way'); END");
    const QString before = snapshot();
    rent(w);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : ")) << dialogs_.messages[0].text.toStdString();
    EXPECT_TRUE(dialogs_.messages[0].text.contains("the disk gave way"));
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(modQuorvane::rsRentals->RecordCount(), 0);
    EXPECT_FALSE(modQuorvane::dbMain->InTransaction());
    // The window stays ready, and once the fault is gone the rent goes through.
    EXPECT_EQ(state(w), kReady);
    otherProgram("DROP TRIGGER fail_stock");
    dialogs_.clear();
    rent(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Member First 1 Cruz succesfully rented Heat"});
    EXPECT_EQ(stock("V1"), "1/1");
    EXPECT_EQ(count(schema::kRentals), 1);
}

TEST_F(RentTest, TwoCountersAfterTheLastTapeGiveOneRental)
{
    addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 1, 0});
    addMember(1);
    addMember(2);
    frmRent* w = openRent();
    typeCodes(w, "V1", "M1");
    check(w);
    EXPECT_EQ(state(w), kReady);
    // Meanwhile the other counter, which had checked the same last tape,
    // rents it on its own connection.
    {
        auto other = store::Database::OpenDatabase(dbPath());
        other->BeginTrans();
        auto rentals = other->OpenRecordset(schema::kRentals);
        rentals->AddNew();
        rentals->SetValue("Member ID", "M2");
        rentals->SetValue("Video Code", "V1");
        rentals->SetValue("Rent Date", QDate(2026, 12, 7));
        rentals->SetValue("Returned", "No");
        rentals->Update();
        auto video = other->OpenRecordset(schema::kVideo);
        video->Edit();
        video->SetValue("Tapes In", 0);
        video->SetValue("Tapes Out", 1);
        video->Update();
        other->CommitTrans();
    }
    const QString before = snapshot();
    // While the refusal is on screen the other counter can write at once:
    // the transaction has already been rolled back.
    bool otherWrote = false;
    dialogs_.onMessage = [&](const testing_support::ShownMessage&) {
        SQLite::Database other(dbPath().toStdString(), SQLite::OPEN_READWRITE);  // no busy wait
        other.exec("BEGIN IMMEDIATE; COMMIT");
        otherWrote = true;
    };
    rent(w);
    dialogs_.onMessage = nullptr;
    EXPECT_TRUE(otherWrote);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Sorry, the movie Heat do not have any more tapes"});
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(stock("V1"), "0/1");
    EXPECT_EQ(state(w), kEntry);
    EXPECT_EQ(box(w, "txtVcode")->text(), "");

    // A title or a member removed since the check is refused the same way.
    addTitle(5);
    typeCodes(w, "V5", "M1");
    check(w);
    otherProgram("DELETE FROM \"Members Database\" WHERE \"Member ID\" = 'M1'");
    dialogs_.clear();
    rent(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Member ID: M1 doesn't exist. Please enter an existing member..."});
    EXPECT_EQ(stock("V5"), "5/0");
}

TEST_F(RentTest, ClosingTheWindowWhileAMessageIsUpEndsTheStepQuietly)
{
    addTitle(1);
    addMember(1);
    frmRent* w = openRent();
    // The refusal's message box is up; the clerk closes the window meanwhile.
    dialogs_.onMessage = [&](const testing_support::ShownMessage&) {
        dialogs_.onMessage = nullptr;
        button(w, "cmdCancel")->click();
        pump();
    };
    typeCodes(w, "V404", "M1");
    check(w);
    pump();
    EXPECT_EQ(windows::find<frmRent>(), nullptr);

    // The success message likewise: the status bar keeps what closing wrote.
    w = openRent();
    typeCodes(w, "V1", "M1");
    check(w);
    dialogs_.onMessage = [&](const testing_support::ShownMessage&) {
        dialogs_.onMessage = nullptr;
        button(w, "cmdCancel")->click();
        pump();
    };
    rent(w);
    pump();
    EXPECT_EQ(windows::find<frmRent>(), nullptr);
    EXPECT_EQ(count(schema::kRentals), 1);
    EXPECT_EQ(mainWindow()->panelText(1), "No database open");
    EXPECT_EQ(mainWindow()->panelText(2), "0 records");
}

TEST_F(RentTest, StockMovesReportWhatTheyFind)
{
    addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 2, 0});
    EXPECT_TRUE(modValidate::StockOut("V1"));
    EXPECT_EQ(stock("V1"), "1/1");
    EXPECT_TRUE(modValidate::StockIn("V1"));
    EXPECT_EQ(stock("V1"), "2/0");
    EXPECT_FALSE(modValidate::StockOut("V9"));
    EXPECT_TRUE(dialogs_.messages.empty());
    otherProgram("DELETE FROM \"Video Database\"");
    EXPECT_FALSE(modValidate::StockIn("V1"));
    EXPECT_EQ(dialogs_.texts(), QStringList{"Error : No current record."});
}

TEST_F(RentTest, CloseResetsTheStatusBarAndStoreErrorsAreReported)
{
    addTitle(1);
    addMember(1);
    frmRent* w = openRent();
    typeCodes(w, "V1", "M1");
    check(w);
    EXPECT_EQ(button(w, "cmdCancel")->text(), "&Close");
    button(w, "cmdCancel")->click();
    pump();
    EXPECT_EQ(windows::find<frmRent>(), nullptr);
    EXPECT_EQ(mainWindow()->panelText(1), "No database open");
    EXPECT_EQ(mainWindow()->panelText(2), "0 records");

    // With the database gone the check reports the error and clears.
    w = openRent();
    modQuorvane::dbMain->Close();
    typeCodes(w, "V1", "M1");
    dialogs_.clear();
    check(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Error : Object invalid or no longer set."});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(state(w), kEntry);
}

}  // namespace
