// The grid viewer and deleter, opened by the main window's commands and
// driven as the clerk drives it: what it shows in each mode, Refresh, Delete
// and the keyboard deletion, closing, and what other connections see and do
// while it is open.
#include "browse/DbaseData.h"
#include "browse/frmDatabaseGrid.h"
#include "shell/ShellFixture.h"
#include "platform/Twips.h"
#include "shell/Windows.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

#include <QStyle>
#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

using namespace shell_tests;
using testing_support::control;
using testing_support::pump;

namespace {

class GridTest : public ShellTest {
protected:
    frmDatabaseGrid* open(const char* command)
    {
        control<QAction>(main, command)->trigger();
        pump();
        frmDatabaseGrid* grid = windows::find<frmDatabaseGrid>();
        EXPECT_NE(grid, nullptr) << command;
        return grid;
    }

    static QTableView* gridOf(frmDatabaseGrid* w) { return control<QTableView>(w, "DBGrid"); }
    static browse::DataSource* sourceOf(frmDatabaseGrid* w) { return control<browse::DataSource>(w, "DbaseData"); }

    static QStringList headings(frmDatabaseGrid* w)
    {
        QStringList out;
        QAbstractItemModel* m = gridOf(w)->model();
        for (int c = 0; c < m->columnCount(); ++c)
            out << m->headerData(c, Qt::Horizontal).toString();
        return out;
    }

    // Every row of the grid, its cells joined with '|'.
    static QStringList rows(frmDatabaseGrid* w)
    {
        QStringList out;
        QAbstractItemModel* m = gridOf(w)->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m->columnCount(); ++c)
                cells << m->data(m->index(r, c)).toString();
            out << cells.join('|');
        }
        return out;
    }

    static int highlightedRow(frmDatabaseGrid* w) { return gridOf(w)->currentIndex().row(); }

    // The first field of every row of a table, read through a record set of
    // the test's own.
    static QStringList firstFields(const QString& table)
    {
        QStringList out;
        auto rs = modQuorvane::dbMain->OpenRecordset(table);
        for (const auto& r : rs->ReadPage(0, 1000))
            out << r.values[0].toString();
        return out;
    }

    static void addCode(const QString& code, const QString& title)
    {
        auto& rs = *modQuorvane::rsVideoCode;
        rs.AddNew();
        rs.SetValue(0, code);
        rs.SetValue(1, title);
        rs.Update();
    }

    // A connection of another program, that waits for no lock at all.
    std::unique_ptr<SQLite::Database> otherProgram() const
    {
        return std::make_unique<SQLite::Database>(dbPath().toStdString(), SQLite::OPEN_READWRITE, 0);
    }

    void pressDelete(frmDatabaseGrid* w, bool yes)
    {
        dialogs_.yesNoAnswers.push_back(yes);
        control<QPushButton>(w, "cmdCommand")->click();
        pump();
    }

    // A click on the row selector of a row, which selects the row whole.
    static void clickRowSelector(frmDatabaseGrid* w, int row)
    {
        QHeaderView* selectors = gridOf(w)->verticalHeader();
        const int middle = selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2;
        QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {}, QPoint(selectors->width() / 2, middle));
    }
};

// ---------------------------------------------------------------------------
// What the window shows

TEST_F(GridTest, ViewerShowsEveryFieldAndRowWithDatesInShortForm)
{
    addRental("M1", "V1", QDate(2026, 12, 7), "No");
    addRental("M2", "V9", QDate(2027, 1, 15), "Yes");
    frmDatabaseGrid* w = open("mnuViewRent");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->caption(), "View Rentals");
    EXPECT_EQ(w->subWindow()->windowTitle(), "View Rentals");
    EXPECT_EQ(headings(w), QStringList({"Member ID", "Video Code", "Rent Date", "Returned"}));
    EXPECT_EQ(rows(w), QStringList({"M1|V1|12/7/2026|No", "M2|V9|1/15/2027|Yes"}));
    EXPECT_EQ(control<QPushButton>(w, "cmdCommand")->text(), "&Refresh");
    EXPECT_EQ(control<QPushButton>(w, "cmdClose")->text(), "&Close");
    EXPECT_EQ(control<QGroupBox>(w, "frmMessage")->title(), "Description");
    EXPECT_EQ(control<QLabel>(w, "lblDesc")->text(), "Rentals Database viewer");
    EXPECT_EQ(w->subWindow()->size(), twips::size(10470, 5760));
    EXPECT_EQ(highlightedRow(w), 0);
    EXPECT_EQ(gridOf(w)->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(gridOf(w)->model()->flags(gridOf(w)->model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(main->panelText(1), "Rentals Database");
    EXPECT_EQ(main->panelText(2), "2 records");
    // A date of two-digit month and day reads whole in its column.
    QTableView* grid = gridOf(w);
    QStyleOptionViewItem option;
    option.initFrom(grid);
    const int needed = grid->fontMetrics().horizontalAdvance(QStringLiteral("12/28/2026")) +
                       2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, grid) + 2;
    EXPECT_GE(grid->columnWidth(2), needed);
}

TEST_F(GridTest, DeleterShowsItsTableWithNumbersAndEmptyFields)
{
    addTitle(1);
    addTitle(2);
    modQuorvane::rsVideo->MoveLast();
    modQuorvane::rsVideo->Edit();
    modQuorvane::rsVideo->SetValue(QStringLiteral("Second Cast"), QVariant());
    modQuorvane::rsVideo->Update();
    frmDatabaseGrid* w = open("mnuVideoDel");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->caption(), "Delete Record");
    EXPECT_EQ(headings(w), QStringList({"Video Code", "Title", "Main Cast", "Second Cast", "Category", "Tapes In",
                                        "Tapes Out"}));
    EXPECT_EQ(rows(w), QStringList({"V1|Title 1|Main 1|Second 1|Drama|1|0", "V2|Title 2|Main 2||Drama|2|0"}));
    EXPECT_EQ(control<QPushButton>(w, "cmdCommand")->text(), "&Delete");
    EXPECT_EQ(control<QLabel>(w, "lblDesc")->text(),
              "Video Database deleter. Highlight the record and press Delete");
    EXPECT_EQ(main->panelText(1), "Video Database");
    EXPECT_EQ(main->panelText(2), "2 records");
}

TEST_F(GridTest, EveryGridCommandOpensItsTableWithItsCaptionOneWindowAtATime)
{
    struct Case {
        const char* item;
        QString table;
        const char* caption;
        const char* button;
    };
    const std::vector<Case> cases{
        {"mnuViewVideo", schema::kVideo, "View database", "&Refresh"},
        {"mnuViewMembers", schema::kMembers, "View database", "&Refresh"},
        {"mnuViewRent", schema::kRentals, "View Rentals", "&Refresh"},
        {"mnuViewRet", schema::kReturnee, "View Returned tapes", "&Refresh"},
        {"mnuVideoDel", schema::kVideo, "Delete Record", "&Delete"},
        {"mnuMemDel", schema::kMembers, "Delete Record", "&Delete"},
        {"mnuHistVideo", schema::kVideoCode, "Delete Record", "&Delete"},
        {"mnuHistMem", schema::kMemberCode, "Delete Record", "&Delete"},
        {"mnuHistRent", schema::kRentals, "Delete Record", "&Delete"},
        {"mnuHistRet", schema::kReturnee, "Delete Record", "&Delete"},
    };
    QPointer<frmDatabaseGrid> previous;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        frmDatabaseGrid* w = open(c.item);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(previous.isNull());  // the one open before was closed
        EXPECT_EQ(w->caption(), c.caption);
        EXPECT_EQ(control<QPushButton>(w, "cmdCommand")->text(), c.button);
        EXPECT_TRUE(control<QLabel>(w, "lblDesc")->text().startsWith(c.table + " "));
        EXPECT_EQ(headings(w), [&] {
            QStringList names;
            for (const auto& f : modQuorvane::dbMain->TableFields(c.table))
                names << f.name;
            return names;
        }());
        // An empty table opens an empty grid.
        EXPECT_EQ(gridOf(w)->model()->rowCount(), 0);
        EXPECT_EQ(main->panelText(1), c.table);
        EXPECT_EQ(main->panelText(2), "0 records");
        EXPECT_EQ(openChildren(), 1);
        previous = w;
    }
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(GridTest, ClosingResetsTheStatusBar)
{
    addTitle(1);
    frmDatabaseGrid* w = open("mnuViewVideo");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(main->panelText(2), "1 records");
    control<QPushButton>(w, "cmdClose")->click();
    pump();
    EXPECT_EQ(windows::find<frmDatabaseGrid>(), nullptr);
    EXPECT_EQ(main->panelText(1), "No open database");
    EXPECT_EQ(main->panelText(2), "0 records");
}

TEST_F(GridTest, ALoadThatFailsReportsAndLeavesTheWindowBlank)
{
    addTitle(1);
    modQuorvane::GridViewOnly = true;
    modQuorvane::GridTableName = QStringLiteral("No Such Table");
    frmDatabaseGrid* w = windows::show<frmDatabaseGrid>();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Error : Could not find the table 'No Such Table' in the database.");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(control<QPushButton>(w, "cmdCommand")->text(), "");
    EXPECT_EQ(control<QLabel>(w, "lblDesc")->text(), "");
    EXPECT_EQ(gridOf(w)->model()->rowCount(), 0);
    EXPECT_EQ(gridOf(w)->model()->columnCount(), 0);
    EXPECT_NE(w->subWindow()->size(), twips::size(10470, 5760));
    // The button still acts by the mode: a refresh that cannot bind says nothing.
    main->setPanelText(2, "before");
    control<QPushButton>(w, "cmdCommand")->click();
    EXPECT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(main->panelText(2), "before");
    EXPECT_TRUE(gridOf(w)->isVisible());

    // A missing file, the same way.
    w->Unload();
    pump();
    modQuorvane::GridTableName = schema::kVideo;
    modQuorvane::DbPath = folder() + "/missing.mdb";
    w = windows::show<frmDatabaseGrid>();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_TRUE(dialogs_.messages[1].text.startsWith("Error : Could not find file"))
        << dialogs_.messages[1].text.toStdString();
}

// ---------------------------------------------------------------------------
// Refresh

TEST_F(GridTest, RefreshShowsWhatAnotherConnectionChanged)
{
    addMember(1);
    addMember(2);
    frmDatabaseGrid* w = open("mnuViewMembers");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(rows(w).size(), 2);
    auto other = otherProgram();
    other->exec("DELETE FROM \"Members Database\" WHERE \"Member ID\" = 'M1'");
    other->exec("INSERT INTO \"Members Database\" VALUES ('M3', 'Reyes', 'Ana', 'Street 3', '555-3')");
    other->exec("INSERT INTO \"Members Database\" VALUES ('M4', 'Reyes', 'Ben', 'Street 4', '555-4')");
    control<QPushButton>(w, "cmdCommand")->click();
    pump();
    EXPECT_EQ(rows(w), QStringList({"M2|Cruz|First 2|Street 2|555-2", "M3|Reyes|Ana|Street 3|555-3",
                                    "M4|Reyes|Ben|Street 4|555-4"}));
    EXPECT_EQ(main->panelText(2), "3 records");
    EXPECT_TRUE(gridOf(w)->isVisible());
    EXPECT_EQ(highlightedRow(w), 0);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(dialogs_.questions.empty());
}

TEST_F(GridTest, RefreshOfATableGoneMeanwhileIsSilentAndKeepsTheCount)
{
    addTitle(1);
    frmDatabaseGrid* w = open("mnuViewVideo");
    ASSERT_NE(w, nullptr);
    otherProgram()->exec("DROP TABLE \"Video Database\"");
    control<QPushButton>(w, "cmdCommand")->click();
    pump();
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(main->panelText(2), "1 records");
    EXPECT_EQ(gridOf(w)->model()->rowCount(), 0);
    EXPECT_TRUE(gridOf(w)->isVisible());
}

// ---------------------------------------------------------------------------
// Delete

TEST_F(GridTest, DeleteAnsweredNoChangesNothing)
{
    for (int i = 1; i <= 3; ++i)
        addTitle(i);
    frmDatabaseGrid* w = open("mnuVideoDel");
    ASSERT_NE(w, nullptr);
    pressDelete(w, false);
    ASSERT_EQ(dialogs_.questions.size(), 1u);
    EXPECT_EQ(dialogs_.questions[0].text, "Are you sure you want to delete the record:");
    EXPECT_EQ(dialogs_.questions[0].icon, dialogs::Icon::None);
    EXPECT_EQ(firstFields(schema::kVideo), QStringList({"V1", "V2", "V3"}));
    EXPECT_EQ(rows(w).size(), 3);
    EXPECT_EQ(highlightedRow(w), 0);
    EXPECT_EQ(main->panelText(2), "3 records");
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(GridTest, DeleteRemovesTheFirstRowThenTheLastAndTouchesNoOtherTable)
{
    for (int i = 1; i <= 5; ++i) {
        addTitle(i);
        addCode(QStringLiteral("V%1").arg(i), QStringLiteral("Title %1").arg(i));
    }
    addRental("M1", "V1", QDate(2026, 12, 1), "No");
    frmDatabaseGrid* w = open("mnuVideoDel");
    ASSERT_NE(w, nullptr);

    pressDelete(w, true);
    EXPECT_EQ(firstFields(schema::kVideo), QStringList({"V2", "V3", "V4", "V5"}));
    EXPECT_EQ(rows(w).size(), 4);
    EXPECT_EQ(highlightedRow(w), 3);
    EXPECT_EQ(main->panelText(2), "4 records");

    pressDelete(w, true);
    EXPECT_EQ(firstFields(schema::kVideo), QStringList({"V2", "V3", "V4"}));
    EXPECT_EQ(highlightedRow(w), 2);
    EXPECT_EQ(main->panelText(2), "3 records");

    // A row the clerk highlights is the one deleted.
    gridOf(w)->setCurrentIndex(gridOf(w)->model()->index(1, 2));
    pressDelete(w, true);
    EXPECT_EQ(firstFields(schema::kVideo), QStringList({"V2", "V4"}));
    EXPECT_EQ(rows(w).first().section('|', 0, 0), "V2");

    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(firstFields(schema::kVideoCode), QStringList({"V1", "V2", "V3", "V4", "V5"}));
    EXPECT_EQ(firstFields(schema::kRentals), QStringList({"M1"}));
}

TEST_F(GridTest, DeleteOnAnEmptyTableReportsNoCurrentRecord)
{
    frmDatabaseGrid* w = open("mnuHistRet");
    ASSERT_NE(w, nullptr);
    pressDelete(w, true);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Error : No current record.");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(main->panelText(2), "0 records");
}

TEST_F(GridTest, DeletingTheLastRowLeftEmptiesTheGridWithoutAnError)
{
    addMember(1);
    frmDatabaseGrid* w = open("mnuMemDel");
    ASSERT_NE(w, nullptr);
    pressDelete(w, true);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(rows(w).size(), 0);
    EXPECT_EQ(main->panelText(2), "0 records");
    // Another Delete now has nothing to delete.
    pressDelete(w, true);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Error : No current record.");
}

TEST_F(GridTest, ARowDeletedElsewhereShowsAsDeletedAndCannotBeDeletedAgain)
{
    for (int i = 1; i <= 3; ++i)
        addMember(i);
    frmDatabaseGrid* w = open("mnuMemDel");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(rows(w).size(), 3);
    otherProgram()->exec("DELETE FROM \"Members Database\" WHERE \"Member ID\" = 'M1'");
    pump();  // the next round of events sees the other program's change
    EXPECT_EQ(rows(w).first(), "#Deleted|#Deleted|#Deleted|#Deleted|#Deleted");
    EXPECT_EQ(rows(w)[1].section('|', 0, 0), "M2");
    pressDelete(w, true);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Error : Record is deleted.");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(firstFields(schema::kMembers), QStringList({"M2", "M3"}));
    EXPECT_EQ(main->panelText(2), "3 records");
}

// ---------------------------------------------------------------------------
// The grid's own deletion with the keyboard

TEST_F(GridTest, DeleteKeyOnAWholeRowDeletesItWithoutAsking)
{
    for (int i = 1; i <= 4; ++i)
        addTitle(i);
    frmDatabaseGrid* w = open("mnuVideoDel");
    ASSERT_NE(w, nullptr);
    QTableView* grid = gridOf(w);
    grid->setFocus();

    // A highlighted cell is not a whole row: the key does nothing.
    grid->setCurrentIndex(grid->model()->index(1, 1));
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(firstFields(schema::kVideo).size(), 4);

    clickRowSelector(w, 2);
    ASSERT_TRUE(grid->selectionModel()->isRowSelected(2, QModelIndex()));
    EXPECT_EQ(highlightedRow(w), 2);
    QTest::keyClick(grid, Qt::Key_Delete);
    pump();
    EXPECT_TRUE(dialogs_.questions.empty());
    EXPECT_EQ(firstFields(schema::kVideo), QStringList({"V1", "V2", "V4"}));
    EXPECT_EQ(rows(w).size(), 3);
    EXPECT_EQ(highlightedRow(w), 2);  // the row that followed
    EXPECT_EQ(main->panelText(2), "3 records");
    EXPECT_TRUE(dialogs_.messages.empty());

    // The keypad's Del is the same key.
    clickRowSelector(w, 0);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::KeypadModifier);
    pump();
    EXPECT_EQ(firstFields(schema::kVideo), QStringList({"V2", "V4"}));
    EXPECT_EQ(main->panelText(2), "2 records");
}

TEST_F(GridTest, DeleteKeyDoesNothingInTheViewer)
{
    addTitle(1);
    addTitle(2);
    frmDatabaseGrid* w = open("mnuViewVideo");
    ASSERT_NE(w, nullptr);
    clickRowSelector(w, 1);
    QTest::keyClick(gridOf(w), Qt::Key_Delete);
    pump();
    EXPECT_EQ(firstFields(schema::kVideo), QStringList({"V1", "V2"}));
    EXPECT_EQ(main->panelText(2), "2 records");
}

// ---------------------------------------------------------------------------
// Other connections

TEST_F(GridTest, AnotherConnectionWritesAtOnceWhileTheGridIsOpen)
{
    for (int i = 1; i <= 300; ++i)
        addTitle(i);
    frmDatabaseGrid* w = open("mnuViewVideo");
    ASSERT_NE(w, nullptr);
    QTableView* grid = gridOf(w);
    grid->scrollToBottom();
    pump();
    ASSERT_EQ(grid->model()->data(grid->model()->index(299, 0)).toString(), "V300");

    // Another program, which will not wait for a lock, writes and commits.
    auto other = otherProgram();
    EXPECT_NO_THROW(other->exec(
        "UPDATE \"Video Database\" SET \"Tapes In\" = 9 WHERE \"Video Code\" = 'V1'"));
    // The counter writes through the shared record sets as well.
    addTitle(301);
    EXPECT_EQ(modQuorvane::rsVideo->RecordCount(), 301);

    // The grid shows the change at its next paint, and the new row at Refresh.
    pump();
    grid->scrollToTop();
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 5)).toString(), "9");
    EXPECT_EQ(grid->model()->rowCount(), 300);
    control<QPushButton>(w, "cmdCommand")->click();
    EXPECT_EQ(grid->model()->rowCount(), 301);
    EXPECT_EQ(main->panelText(2), "301 records");
}

// ---------------------------------------------------------------------------
// The data source on a table with gaps in its rowids

TEST_F(GridTest, RowsOfATableWithGapsAreFoundFromEitherEndAndTheMiddle)
{
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        SQLite::Transaction tx(raw);
        raw.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                 "INSERT INTO \"Video Code Database\" SELECT 'C' || i, 'T' || i FROM n");
        // Every third row and a long run in the middle are gone.
        raw.exec("DELETE FROM \"Video Code Database\" WHERE rowid % 3 = 0 OR rowid BETWEEN 900 AND 1300");
        tx.commit();
    }
    const QStringList expected = [] {
        QStringList codes;
        for (int i = 1; i <= 2000; ++i)
            if (i % 3 != 0 && (i < 900 || i > 1300))
                codes << QStringLiteral("C%1").arg(i);
        return codes;
    }();

    // Read in three orders: the last row first, the middle first, in order.
    for (const std::vector<int>& order : {std::vector<int>{-1, 700, 0}, std::vector<int>{700, -1, 0},
                                          std::vector<int>{0}}) {
        browse::DataSource source;
        source.setDatabaseName(dbPath());
        source.setRecordSource(schema::kVideoCode);
        source.Refresh();
        ASSERT_EQ(source.RecordCount(), expected.size());
        for (int start : order) {
            const int from = start < 0 ? int(expected.size()) - 1 : start;
            EXPECT_EQ(source.Text(from, 0), expected[from]) << from;
        }
        for (int r = 0; r < expected.size(); ++r)
            ASSERT_EQ(source.Text(r, 0), expected[r]) << r;
    }

    // Deleting by row deletes that row, found afresh.
    browse::DataSource source;
    source.setDatabaseName(dbPath());
    source.setRecordSource(schema::kVideoCode);
    source.Refresh();
    const int last = int(expected.size()) - 1;
    source.SetCurrentRow(last - 1);
    source.Delete();
    EXPECT_TRUE(source.IsDeleted(last - 1));
    EXPECT_FALSE(source.IsDeleted(last));
    source.Refresh();
    EXPECT_EQ(source.RecordCount(), last);
    EXPECT_EQ(source.Text(last - 1, 0), expected[last]);
    EXPECT_EQ(source.Text(last - 2, 0), expected[last - 2]);
}

}  // namespace
