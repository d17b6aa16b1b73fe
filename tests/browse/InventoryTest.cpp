// The inventory listing, opened by the main window's Inventory command: the
// titles in table order, the counts of the selected title read afresh at
// every selection, a title gone meanwhile, and closing.
#include "browse/frmInventory.h"
#include "platform/Twips.h"
#include "shell/ShellFixture.h"
#include "shell/Windows.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

#include <QTimer>

#include <gtest/gtest.h>

using namespace shell_tests;
using testing_support::control;
using testing_support::pump;

namespace {

class InventoryTest : public ShellTest {
protected:
    static void addStock(const QString& code, const QString& title, qlonglong in, qlonglong out)
    {
        auto& rs = *modQuorvane::rsVideo;
        rs.AddNew();
        rs.SetValue(QStringLiteral("Video Code"), code);
        rs.SetValue(QStringLiteral("Title"), title);
        rs.SetValue(QStringLiteral("Main Cast"), QStringLiteral("Main"));
        rs.SetValue(QStringLiteral("Second Cast"), QStringLiteral("Second"));
        rs.SetValue(QStringLiteral("Category"), QStringLiteral("Drama"));
        rs.SetValue(QStringLiteral("Tapes In"), in);
        rs.SetValue(QStringLiteral("Tapes Out"), out);
        rs.Update();
    }

    frmInventory* open()
    {
        control<QAction>(main, "mnuViewInventory")->trigger();
        pump();
        return windows::find<frmInventory>();
    }

    static QListView* list(frmInventory* w) { return control<QListView>(w, "lstInventory"); }

    static QStringList entries(frmInventory* w)
    {
        QStringList out;
        QAbstractItemModel* m = list(w)->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->data(m->index(r, 0)).toString();
        return out;
    }

    // The two count boxes, "in/out".
    static QString counts(frmInventory* w)
    {
        return control<QLineEdit>(w, "txtTapesIn")->text() + "/" + control<QLineEdit>(w, "txtTapesOut")->text();
    }

    static void select(frmInventory* w, int row) { list(w)->setCurrentIndex(list(w)->model()->index(row, 0)); }

    static void click(frmInventory* w, int row)
    {
        QListView* l = list(w);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualRect(l->model()->index(row, 0)).center());
    }
};

TEST_F(InventoryTest, ListsEveryTitleInTableOrderAndShowsTheFirstOnesCounts)
{
    addStock("V1", "Casablanca", 3, 0);
    addStock("V2", "Alien", 2, 1);
    addStock("V3", "Casablanca", 5, 5);
    addStock("V4", "Brazil", 0, 4);
    const auto before = modQuorvane::rsVideo;
    frmInventory* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(entries(w), QStringList({"Casablanca", "Alien", "Casablanca", "Brazil"}));
    EXPECT_EQ(list(w)->currentIndex().row(), 0);
    EXPECT_EQ(counts(w), "3/0");
    EXPECT_TRUE(dialogs_.messages.empty());
    // The window works on a fresh shared record set of the same table.
    EXPECT_NE(modQuorvane::rsVideo, before);
    EXPECT_EQ(modQuorvane::rsVideo->Name(), schema::kVideo);
    EXPECT_EQ(modQuorvane::rsVideo->Text(QStringLiteral("Video Code")), "V1");
    EXPECT_EQ(main->panelText(1), "Video Database");
    EXPECT_EQ(main->panelText(2), "4 records");

    // A duplicated title shows the counts of its first row in table order.
    select(w, 2);
    EXPECT_EQ(counts(w), "3/0");
    select(w, 1);
    EXPECT_EQ(counts(w), "2/1");
    click(w, 3);
    EXPECT_EQ(counts(w), "0/4");
    EXPECT_EQ(modQuorvane::rsVideo->Text(QStringLiteral("Video Code")), "V4");
}

TEST_F(InventoryTest, WindowHasItsCaptionSizeControlsAndFonts)
{
    addStock("V1", "Heat", 1, 0);
    frmInventory* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->caption(), "Inventory Listing -> Video Database");
    EXPECT_EQ(w->subWindow()->size(), twips::size(7095, 3870));
    EXPECT_EQ(control<QPushButton>(w, "cmdClose")->text(), "&Close");
    EXPECT_EQ(control<QLabel>(w, "lblTitle")->text(), "Movie Title");
    EXPECT_EQ(control<QLabel>(w, "lblTapesIn")->text(), "Tapes In:");
    EXPECT_EQ(control<QLabel>(w, "lblTapesOut")->text(), "Tapes Out:");
    EXPECT_EQ(control<QLabel>(w, "lblTapesIn")->buddy(), control<QLineEdit>(w, "txtTapesIn"));
    EXPECT_EQ(control<QLabel>(w, "lblTapesOut")->buddy(), control<QLineEdit>(w, "txtTapesOut"));
    for (const char* name : {"lblTitle", "lblTapesIn", "lblTapesOut", "txtTapesIn", "txtTapesOut"})
        EXPECT_DOUBLE_EQ(control<QWidget>(w, name)->font().pointSizeF(), 13.5) << name;
    EXPECT_FALSE(control<QLineEdit>(w, "txtTapesIn")->isEnabled());
    EXPECT_FALSE(control<QLineEdit>(w, "txtTapesOut")->isEnabled());
    EXPECT_EQ(list(w)->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list(w)->size(), twips::size(3375, 2205));
    EXPECT_EQ(control<QPushButton>(w, "cmdClose")->size(), twips::size(1095, 375));
    // Close, then the list, in tab order.
    EXPECT_EQ(control<QPushButton>(w, "cmdClose")->nextInFocusChain(), list(w));
    // The boxes stand to the right of the list, Tapes In above Tapes Out.
    EXPECT_GT(control<QLineEdit>(w, "txtTapesIn")->x(), list(w)->geometry().right());
    EXPECT_LT(control<QLineEdit>(w, "txtTapesIn")->y(), control<QLineEdit>(w, "txtTapesOut")->y());
}

TEST_F(InventoryTest, CountsAreReadAfreshAtEverySelection)
{
    addStock("V1", "Heat", 3, 0);
    addStock("V2", "Ran", 1, 0);
    frmInventory* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(counts(w), "3/0");
    // A tape is rented meanwhile.
    otherProgram("UPDATE \"Video Database\" SET \"Tapes In\" = 2, \"Tapes Out\" = 1 WHERE \"Video Code\" = 'V1'");
    EXPECT_EQ(counts(w), "3/0");
    select(w, 1);
    select(w, 0);
    EXPECT_EQ(counts(w), "2/1");
    // A click on the entry already selected reads it again too.
    otherProgram("UPDATE \"Video Database\" SET \"Tapes In\" = 1, \"Tapes Out\" = 2 WHERE \"Video Code\" = 'V1'");
    click(w, 0);
    EXPECT_EQ(counts(w), "1/2");
    // Titles added meanwhile appear only when the window is opened again.
    addStock("V3", "Ikiru", 1, 0);
    EXPECT_EQ(open(), w);
    EXPECT_EQ(entries(w), QStringList({"Heat", "Ran"}));
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(InventoryTest, ATitleGoneMeanwhileReportsNoCurrentRecordAndEmptiesTheCounts)
{
    addStock("V1", "Heat", 3, 0);
    addStock("V2", "Ran", 1, 0);
    frmInventory* w = open();
    ASSERT_NE(w, nullptr);
    otherProgram("UPDATE \"Video Database\" SET \"Title\" = 'Ran (1985)' WHERE \"Video Code\" = 'V2'");
    select(w, 1);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Error : No current record.");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(counts(w), "/");
    EXPECT_EQ(windows::find<frmInventory>(), w);
    // The other titles still answer.
    select(w, 0);
    EXPECT_EQ(counts(w), "3/0");
    EXPECT_EQ(dialogs_.messages.size(), 1u);
}

TEST_F(InventoryTest, ATableGoneBeforeTheLoadIsReportedAndTheProgramGoesOn)
{
    addStock("V1", "Heat", 3, 0);
    otherProgram("DROP TABLE \"Video Database\"");
    frmInventory* w = windows::show<frmInventory>();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Error : Could not find the table 'Video Database' in the database.");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_TRUE(entries(w).isEmpty());
    EXPECT_EQ(counts(w), "/");  // nothing listed, no counts shown
    control<QPushButton>(w, "cmdClose")->click();
    pump();
    EXPECT_EQ(windows::find<frmInventory>(), nullptr);
}

TEST_F(InventoryTest, ClosingWhileTheListIsBuiltLeavesTheClosingTexts)
{
    // More titles than one page, so that the clerk's events run mid-load.
    otherProgram("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
                 "INSERT INTO \"Video Database\" (\"Video Code\", \"Title\", \"Tapes In\", \"Tapes Out\") "
                 "SELECT 'V' || i, 'Title ' || i, 1, 0 FROM n");
    QTimer::singleShot(0, [] {
        if (frmInventory* w = windows::find<frmInventory>())
            control<QPushButton>(w, "cmdClose")->click();
    });
    EXPECT_EQ(open(), nullptr);
    pump();
    EXPECT_EQ(windows::find<frmInventory>(), nullptr);
    EXPECT_EQ(main->panelText(1), "No open database");
    EXPECT_EQ(main->panelText(2), "0 records");
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
}

TEST_F(InventoryTest, ClosingResetsTheStatusBar)
{
    addStock("V1", "Heat", 3, 0);
    frmInventory* w = open();
    ASSERT_NE(w, nullptr);
    control<QPushButton>(w, "cmdClose")->click();
    pump();
    EXPECT_EQ(windows::find<frmInventory>(), nullptr);
    EXPECT_EQ(main->panelText(1), "No open database");
    EXPECT_EQ(main->panelText(2), "0 records");
}

}  // namespace
