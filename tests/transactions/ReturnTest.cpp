// The return window, driven as the clerk drives it: the check finds the
// member's open rental and writes nothing; Return closes it, records the
// return with its days and moves the tape back, all at once or not at all.
#include "transactions/frmRent.h"
#include "transactions/frmReturn.h"
#include "transactions/TransactionsFixture.h"

#include <QGroupBox>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

using namespace transactions_tests;
using catalogue_tests::expectTabOrder;
using testing_support::control;
using testing_support::pump;

namespace {

class ReturnTest : public TransactionsTest {
protected:
    frmReturn* openReturn() { return openBy<frmReturn>(&frmMDIQuorvane::mnuReturn_Click); }
    static void giveBack(frmReturn* w) { record(w); }
    static QStringList results(frmReturn* w)
    {
        return texts(w, {"txtTitle", "txtName", "txtDaterent", "txtDatereturn", "txtDays"});
    }

    // Heat (1 in, 1 out), rented by M1 on the 1st.
    void oneRental()
    {
        addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 1, 1});
        addMember({"M1", "Hanna", "Vincent", "Street 1", "555"});
        addRental("M1", "V1", QDate(2026, 12, 1), "No");
    }
};

TEST_F(ReturnTest, OpensEmptyWithTodayAndTheReturnCount)
{
    frmReturn* w = openReturn();
    EXPECT_EQ(w->caption(), "Return tape/s");
    EXPECT_EQ(w->subWindow()->size(), twips::size(5295, 7170));
    EXPECT_EQ(control<QLabel>(w, "lblCaption")->text(), "Return rented tape");
    expectCaptionsFit(w);
    EXPECT_EQ(results(w), (QStringList{"", "", "", "12/7/2026", ""}));
    EXPECT_EQ(state(w), kEntry);
    EXPECT_EQ(mainWindow()->panelText(1), "Returnee Database");
    EXPECT_EQ(mainWindow()->panelText(2), "0 records");
    const std::pair<const char*, const char*> captions[] = {
        {"lblRent", "Date of rent :"}, {"lblDate", "Date of return :"}, {"lblDays", "No. of days rented :"}};
    for (const auto& [name, text] : captions)
        EXPECT_EQ(control<QLabel>(w, name)->text(), text);
    EXPECT_EQ(button(w, "cmdTrans")->text(), "&Return");
    expectTabOrder(w, {"txtVcode", "txtMemcode", "cmdCheck", "txtTitle", "txtName", "txtDaterent", "txtDatereturn",
                       "txtDays", "cmdTrans", "cmdClear", "cmdCancel"});
    mainWindow()->tbrQuorvane_ButtonMenuClick("TrnRet");
    EXPECT_EQ(windows::find<frmReturn>(), w);
}

TEST_F(ReturnTest, RefusalsNameTheCodesAndLeaveTheRentalOpen)
{
    frmReturn* w = openReturn();
    struct Case {
        std::function<void()> before;
        QString code, member, message;
    };
    const Case cases[] = {
        {[] {}, "V1", "M1", "No record in the Rentals Database. No one yet rented a tape."},
        {[this] { oneRental(); }, "V1", "M2", "Sorry, the Member ID M2 didn't rent the video of code V1"},
        {[] {}, "V1 ", "M1", "Sorry, the Member ID M1 didn't rent the video of code V1 "},
        {[] {}, "v1", "M1", "Sorry, the Member ID M1 didn't rent the video of code v1"},
        // The open rental is there, but its member has gone.
        {[] { addRental("M7", "V1", QDate(2026, 12, 2), "No"); }, "V1", "M7",
         "Member ID: M7 doesn't exist. Please enter an existing member..."},
        {[] {
             addMember(8);
             addRental("M8", "V8", QDate(2026, 12, 2), "No");
         },
         "V8", "M8", "Video Tape code : V8 doesn't exist. Please enter an existing video tape..."},
        {[] {
             addTitle({"V0", "Nothing Out", "A", "B", "C", 3, 0});
             addRental("M1", "V0", QDate(2026, 12, 2), "No");
         },
         "V0", "M1", "Sorry, the movie Nothing Out didn't have any tape out"},
    };
    for (const Case& c : cases) {
        c.before();
        const QString filed = snapshot();
        dialogs_.clear();
        typeCodes(w, c.code, c.member);
        check(w);
        ASSERT_EQ(dialogs_.texts(), QStringList{c.message});
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
        EXPECT_EQ(state(w), kEntry) << c.message.toStdString();
        EXPECT_EQ(box(w, "txtVcode")->text(), "");
        EXPECT_EQ(w->focusWidget(), box(w, "txtVcode"));
        EXPECT_EQ(snapshot(), filed);
    }
}

TEST_F(ReturnTest, CheckShowsTheRentalAndWritesNothingUntilReturn)
{
    oneRental();
    clock_service::setToday(QDate(2026, 12, 3));
    const QString before = snapshot();
    frmReturn* w = openReturn();
    typeCodes(w, "V1", "M1");
    check(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ(results(w), (QStringList{"Heat", "Vincent Hanna", "12/1/2026", "12/3/2026", "2"}));
    EXPECT_EQ(state(w), kReady);
    EXPECT_EQ(snapshot(), before);

    // Cleared without Return: the rental stays open, and checks again.
    button(w, "cmdClear")->click();
    EXPECT_EQ(results(w), (QStringList{"", "", "", "12/3/2026", ""}));
    EXPECT_EQ(state(w), kEntry);
    typeCodes(w, "V1", "M1");
    check(w);
    EXPECT_EQ(state(w), kReady);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ReturnTest, ReturnClosesTheRentalRecordsTheDaysAndMovesTheTapeBack)
{
    oneRental();
    clock_service::setToday(QDate(2026, 12, 3));
    const QString before = snapshot();
    frmReturn* w = openReturn();
    typeCodes(w, "V1", "M1");
    check(w);
    giveBack(w);
    ASSERT_EQ(dialogs_.texts(), QStringList{"Member Vincent Hanna succesfully returned Heat"});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    EXPECT_EQ(mainWindow()->panelText(1), "Returnee Database");
    EXPECT_EQ(mainWindow()->panelText(2), "1 records");
    EXPECT_EQ(state(w), kDone);
    giveBack(w);  // disabled: nothing more
    EXPECT_EQ(count(schema::kReturnee), 1);

    QString expected = before;
    expected.replace("M1|V1|2026-12-01|No|", "M1|V1|2026-12-01|Yes|");
    expected.replace("Returnee Database:\n", "Returnee Database:\n1|M1|V1|2026-12-03|2|\n");
    expected.replace("V1|Heat|Pacino|De Niro|Crime|1|1|", "V1|Heat|Pacino|De Niro|Crime|2|0|");
    EXPECT_EQ(snapshot(), expected);

    // The pair has no open rental now.
    button(w, "cmdClear")->click();
    dialogs_.clear();
    typeCodes(w, "V1", "M1");
    check(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Sorry, the Member ID M1 didn't rent the video of code V1"});
}

TEST_F(ReturnTest, TheFirstOpenRentalIsTakenAndItsOwnRentDateCounts)
{
    addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 0, 2});
    addMember(1);
    addRental("M1", "V1", QDate(2026, 11, 1), "Yes");   // returned long ago
    addRental("M2", "V1", QDate(2026, 11, 20), "No");   // another member's
    addRental("M1", "V1", QDate(2026, 12, 5), "No");    // the one to take back
    addRental("M1", "V1", QDate(2026, 12, 6), "No");    // a second tape, later
    frmReturn* w = openReturn();
    typeCodes(w, "V1", "M1");
    check(w);
    EXPECT_EQ(box(w, "txtDaterent")->text(), "12/5/2026");
    EXPECT_EQ(box(w, "txtDays")->text(), "2");
    // Another window moves the shared rentals meanwhile; Return still takes
    // back the rental the check found, with its own rent date.
    modQuorvane::rsRentals->MoveFirst();
    giveBack(w);
    const auto ret = findRow(schema::kReturnee, "Video Code", "V1");
    ASSERT_TRUE(ret.has_value());
    EXPECT_EQ(*ret, (std::vector<QString>{"M1", "V1", "2026-12-07", "2"}));
    auto rentals = modQuorvane::dbMain->OpenRecordset(schema::kRentals);
    QStringList returned;
    for (rentals->MoveFirst(); !rentals->Eof(); rentals->MoveNext())
        returned << rentals->Text("Returned");
    EXPECT_EQ(returned, (QStringList{"Yes", "No", "Yes", "No"}));
    EXPECT_EQ(stock("V1"), "1/1");
}

TEST_F(ReturnTest, DaysAreWholeCalendarDaysAndTooManyOverflow)
{
    addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 0, 2});
    addMember({"M1", "Hanna", "Vincent", "Street 1", "555"});
    addRental("M1", "V1", QDate(2026, 12, 1), "No");
    addRental("M1", "V1", QDate(1900, 1, 1), "No");  // first in order after the next return
    frmReturn* w = openReturn();
    // Returned on a later day than rented: 6 days; on the rent day: 0.
    typeCodes(w, "V1", "M1");
    check(w);
    giveBack(w);
    EXPECT_EQ((*findRow(schema::kReturnee, "Member ID", "M1"))[3], "6");

    // A rental a century old cannot be stored as a number of days.
    button(w, "cmdClear")->click();
    const QString before = snapshot();
    dialogs_.clear();
    typeCodes(w, "V1", "M1");
    check(w);
    EXPECT_EQ(box(w, "txtDaterent")->text(), "1/1/1900");
    giveBack(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Error : Overflow"});
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(state(w), kReady);

    otherProgram("UPDATE \"Rentals Database\" SET \"Rent Date\" = '2026-12-07' WHERE \"Rent Date\" = '1900-01-01'");
    dialogs_.clear();
    giveBack(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Member Vincent Hanna succesfully returned Heat"});
    EXPECT_EQ(modQuorvane::rsReturnee->RecordCount(), 2);
    auto returns = modQuorvane::dbMain->OpenRecordset(schema::kReturnee);
    returns->MoveLast();
    EXPECT_EQ(returns->Text("Days"), "0");
}

TEST_F(ReturnTest, AFailureInTheMiddleOfAReturnLeavesTheFileAsItWas)
{
    oneRental();
    frmReturn* w = openReturn();
    typeCodes(w, "V1", "M1");
    check(w);
    // The stock move fails after the rental was closed and the return written.
    otherProgram("CREATE TRIGGER fail_stock BEFORE UPDATE ON \"Video Database\" "
                 "BEGIN SELECT RAISE(ABORT, 'the disk gave way'); END");
    const QString before = snapshot();
    giveBack(w);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : "));
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(modQuorvane::rsReturnee->RecordCount(), 0);
    EXPECT_EQ(state(w), kReady);
}

TEST_F(ReturnTest, ARentalTakenBackMeanwhileByAnotherCounterIsRefused)
{
    oneRental();
    frmReturn* w = openReturn();
    typeCodes(w, "V1", "M1");
    check(w);
    otherProgram("UPDATE \"Rentals Database\" SET \"Returned\" = 'Yes'; "
                 "UPDATE \"Video Database\" SET \"Tapes In\" = 2, \"Tapes Out\" = 0");
    const QString before = snapshot();
    giveBack(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Sorry, the Member ID M1 didn't rent the video of code V1"});
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(state(w), kEntry);
}

TEST_F(ReturnTest, ARentOnTheFirstReturnedOnTheThirdStoresTwoDays)
{
    // The whole road through the main window, as the clerk walks it.
    addTitle({"V1", "Heat", "Pacino", "De Niro", "Crime", 3, 0});
    addMember(1);
    clock_service::setToday(QDate(2026, 12, 1));
    mainWindow()->tbrQuorvane_ButtonClick("Transact");
    frmRent* rentWindow = windows::find<frmRent>();
    ASSERT_NE(rentWindow, nullptr);
    typeCodes(rentWindow, "V1", "M1");
    button(rentWindow, "cmdCheck")->click();
    button(rentWindow, "cmdTrans")->click();
    button(rentWindow, "cmdCancel")->click();
    pump();
    EXPECT_EQ(stock("V1"), "2/1");

    clock_service::setToday(QDate(2026, 12, 3));
    frmReturn* w = openReturn();
    typeCodes(w, "V1", "M1");
    check(w);
    giveBack(w);
    EXPECT_EQ(*findRow(schema::kReturnee, "Member ID", "M1"), (std::vector<QString>{"M1", "V1", "2026-12-03", "2"}));
    EXPECT_EQ(stock("V1"), "3/0");
    EXPECT_EQ(dialogs_.texts(), (QStringList{"Member First 1 Cruz succesfully rented Heat",
                                             "Member First 1 Cruz succesfully returned Heat"}));
    button(w, "cmdCancel")->click();
    pump();
    EXPECT_EQ(mainWindow()->panelText(1), "No database open");
    EXPECT_EQ(mainWindow()->panelText(2), "0 records");
}

}  // namespace
