// The search dialog and the results window, driven as the clerk drives them:
// the dialog's lists and refusals, the lines listed, view-only and edit
// mode, the paired lists, the hand-over to the editors, searching again,
// and what happens when the clerk acts while a search is running.
#include "browse/Search.h"
#include "browse/frmEditSearch.h"
#include "browse/frmSearch.h"
#include "catalogue/CatalogueFixture.h"
#include "catalogue/frmAdd.h"
#include "catalogue/frmMembers.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMdiSubWindow>
#include <QTimer>

#include <QStyle>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

using namespace catalogue_tests;
using testing_support::control;
using testing_support::pump;

namespace {

QComboBox* pick(QObject* w, const char* name) { return control<QComboBox>(w, name); }
QListView* list(QObject* w, const char* name) { return control<QListView>(w, name); }

QStringList entries(QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

QStringList lines(QObject* w, const char* name = "lstResults")
{
    QStringList out;
    QAbstractItemModel* m = list(w, name)->model();
    for (int i = 0; i < m->rowCount(); ++i)
        out << m->index(i, 0).data().toString();
    return out;
}

int selectedRow(QObject* w, const char* name)
{
    const QModelIndexList rows = list(w, name)->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

void chooseLine(QObject* w, const char* name, int row)
{
    QListView* l = list(w, name);
    l->selectionModel()->setCurrentIndex(l->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

// Runs the action at the first turn of the window events, which a search
// running row by row gives after its first row.
void atFirstTurn(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

class SearchWindowTest : public CatalogueTest {
protected:
    void TearDown() override
    {
        search::setPacing(search::Pacing{});
        CatalogueTest::TearDown();
    }

    // The dialog as the main window's plain search command opens it.
    frmSearch* openDialog()
    {
        mainWindow()->mnuSearch_Click();
        pump();
        return windows::find<frmSearch>();
    }

    // Fills the dialog and presses its Search button; the results window, if
    // one is open afterwards.
    frmEditSearch* search(frmSearch* dialog, const QString& query, int table, int field, int style)
    {
        box(dialog, "txtQuery")->setText(query);
        pick(dialog, "cboTables")->setCurrentIndex(table);
        pick(dialog, "cboFields")->setCurrentIndex(field);
        pick(dialog, "cboStyle")->setCurrentIndex(style);
        button(dialog, "cmdSearch")->click();
        pump();
        return windows::find<frmEditSearch>();
    }

    frmEditSearch* searchTitles(const QString& query, int style = search::AnyWord, int field = 0)
    {
        return search(openDialog(), query, search::kVideoTable, field, style);
    }

    // The results window's own search.
    static void searchAgain(frmEditSearch* w, const QString& query, int table, int field, int style)
    {
        box(w, "txtQuery")->setText(query);
        pick(w, "cboTables")->setCurrentIndex(table);
        pick(w, "cboFields")->setCurrentIndex(field);
        pick(w, "cboStyle")->setCurrentIndex(style);
        button(w, "cmdSearch")->click();
        pump();
    }

    static QString panel(int n) { return mainWindow()->panelText(n); }

    static QSize outerSize(QuorvaneForm* w) { return w->subWindow()->size(); }
};

// ---------------------------------------------------------------------------
// The dialog

// Every entry of a pick list reads whole in the closed list.
void expectEntriesFit(QComboBox* list)
{
    QStyleOptionComboBox opt;
    opt.initFrom(list);
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
    const QSize needed = list->style()->sizeFromContents(QStyle::CT_ComboBox, &opt,
                                                         QSize(widest, list->fontMetrics().height()), list);
    EXPECT_LE(needed.width(), list->width()) << list->objectName().toStdString();
}

void expectPickListsFit(QWidget* w)
{
    auto* tables = w->findChild<QComboBox*>("cboTables");
    ASSERT_NE(tables, nullptr);
    const int was = tables->currentIndex();
    for (int t = 0; t < tables->count(); ++t) {
        tables->setCurrentIndex(t);
        for (QComboBox* list : w->findChildren<QComboBox*>())
            expectEntriesFit(list);
    }
    tables->setCurrentIndex(was);
}

TEST_F(SearchWindowTest, DialogOpensOnTitlesWithItsListsAndDefaults)
{
    frmSearch* d = openDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->caption(), "Search");
    EXPECT_EQ(control<QLabel>(d, "lblSearch")->text(), "&Enter search query");
    EXPECT_EQ(control<QLabel>(d, "lblSearch")->buddy(), box(d, "txtQuery"));
    EXPECT_EQ(button(d, "cmdSearch")->text(), "&Search");
    EXPECT_EQ(button(d, "cmdCancel")->text(), "&Cancel");
    EXPECT_EQ(entries(pick(d, "cboTables")), (QStringList{"Members Database", "Video Database"}));
    EXPECT_EQ(pick(d, "cboTables")->currentIndex(), 1);
    EXPECT_EQ(entries(pick(d, "cboFields")), (QStringList{"Title", "Main Cast", "Second Cast", "Category"}));
    EXPECT_EQ(pick(d, "cboFields")->currentIndex(), 0);
    EXPECT_EQ(entries(pick(d, "cboStyle")), (QStringList{"Any Word", "Exact Phrase", "Exact Record Match"}));
    EXPECT_EQ(pick(d, "cboStyle")->currentIndex(), 1);
    EXPECT_FALSE(pick(d, "cboTables")->isEditable());
    EXPECT_EQ(panel(1), "No open database");
    EXPECT_EQ(panel(2), "0 records");
    expectTabOrder(d, {"txtQuery", "cboTables", "cboFields", "cboStyle", "cmdSearch", "cmdCancel"});
    expectPickListsFit(d);
    pick(d, "cboTables")->setCurrentIndex(1);

    // Choosing the members refills the fields and picks the first.
    pick(d, "cboFields")->setCurrentIndex(2);
    pick(d, "cboTables")->setCurrentIndex(0);
    EXPECT_EQ(entries(pick(d, "cboFields")), (QStringList{"Last Name", "First Name", "Address", "Contact number"}));
    EXPECT_EQ(pick(d, "cboFields")->currentIndex(), 0);

    // Asked for again, the open dialog only comes forward with what was typed.
    box(d, "txtQuery")->setText("typed");
    mainWindow()->mnuSearch_Click();
    EXPECT_EQ(windows::find<frmSearch>(), d);
    EXPECT_EQ(box(d, "txtQuery")->text(), "typed");
    EXPECT_EQ(pick(d, "cboTables")->currentIndex(), 0);

    button(d, "cmdCancel")->click();
    pump();
    EXPECT_EQ(windows::find<frmSearch>(), nullptr);
    EXPECT_EQ(windows::find<frmEditSearch>(), nullptr);
}

TEST_F(SearchWindowTest, DialogRefusesAnEmptyQueryAndAnEmptyTable)
{
    addTitle(1);
    modQuorvane::SearchQuery = "earlier";
    frmSearch* d = openDialog();
    EXPECT_EQ(search(d, "", search::kVideoTable, 0, search::AnyWord), nullptr);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Please enter a query");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    EXPECT_EQ(windows::find<frmSearch>(), d);

    // No members on file: the dialog stays, with the members table already
    // chosen for the search and the other settings as they were.
    EXPECT_EQ(search(d, "Cruz", search::kMembersTable, 0, search::AnyWord), nullptr);
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[1].text, "No current record in database. Pls. add one...");
    EXPECT_EQ(dialogs_.messages[1].icon, dialogs::Icon::Information);
    EXPECT_EQ(windows::find<frmSearch>(), d);
    EXPECT_FALSE(modQuorvane::SearchIsVideo);
    EXPECT_EQ(modQuorvane::rsSearch->Name(), "Members Database");
    EXPECT_EQ(modQuorvane::SearchQuery, "earlier");

    // A query of spaces is a query.
    frmEditSearch* r = search(d, "  ", search::kVideoTable, 0, search::AnyWord);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(windows::find<frmSearch>(), nullptr);
    EXPECT_EQ(lines(r), (QStringList{"1. Title : Title 1"}));
}

// ---------------------------------------------------------------------------
// The results

TEST_F(SearchWindowTest, SearchStoresTheSettingsAndListsTheMatches)
{
    addTitle({"V1", "Star Trek", "Main", "Second", "Sci-Fi", 1, 0});
    addTitle({"V2", "Casablanca", "Main", "Second", "Drama", 1, 0});
    addTitle({"V3", "star wars", "Main", "Second", "Sci-Fi", 1, 0});
    addTitle({"V4", "The Wars", "Main", "Second", "War", 1, 0});
    frmEditSearch* r = searchTitles("STAR wars");
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(modQuorvane::SearchIsVideo);
    EXPECT_EQ(modQuorvane::SearchField, "Title");
    EXPECT_EQ(modQuorvane::SearchFieldIndex, 0);
    EXPECT_EQ(modQuorvane::SearchStyle, search::AnyWord);
    EXPECT_EQ(modQuorvane::SearchQuery, "STAR wars");
    EXPECT_EQ(windows::find<frmSearch>(), nullptr);

    EXPECT_EQ(r->caption(), "Search Results");
    EXPECT_EQ(box(r, "txtQuery")->text(), "STAR wars");
    EXPECT_EQ(lines(r), (QStringList{"1. Title : Star Trek", "2. Title : star wars", "3. Title : The Wars"}));
    EXPECT_EQ(lines(r, "lstResults2"), (QStringList{"Star Trek", "star wars", "The Wars"}));
    EXPECT_TRUE(r->matchFound());
    EXPECT_EQ(selectedRow(r, "lstResults"), 0);
    EXPECT_EQ(selectedRow(r, "lstResults2"), 0);
    EXPECT_EQ(pick(r, "cboTables")->currentText(), "Video Database");
    EXPECT_EQ(pick(r, "cboFields")->currentText(), "Title");
    EXPECT_EQ(pick(r, "cboStyle")->currentText(), "Any Word");
    EXPECT_EQ(outerSize(r), twips::size(6225, 7305));
    // The whole table's count, not the number of matches.
    EXPECT_EQ(panel(1), "Video Database");
    EXPECT_EQ(panel(2), "4 records");
    EXPECT_EQ(control<QLabel>(r, "lblField")->text(), "Record title");
    EXPECT_EQ(control<QLabel>(r, "lblCat")->text(), "Matched query in the field");
    expectTabOrder(r, {"txtQuery", "cboTables", "cboFields", "cboStyle", "cmdSearch", "lstResults", "lstResults2",
                       "cmdEdit", "cmdClose"});
    expectPickListsFit(r);
    pick(r, "cboTables")->setCurrentIndex(1);

    searchAgain(r, "star wars", search::kVideoTable, 0, search::ExactPhrase);
    EXPECT_EQ(lines(r), (QStringList{"1. Title : star wars"}));
    searchAgain(r, "sci-fi", search::kVideoTable, 3, search::ExactRecordMatch);
    EXPECT_EQ(lines(r), (QStringList{"1. Title : Star Trek", "2. Title : star wars"}));
    EXPECT_EQ(lines(r, "lstResults2"), (QStringList{"Sci-Fi", "Sci-Fi"}));

    button(r, "cmdClose")->click();
    pump();
    EXPECT_EQ(windows::find<frmEditSearch>(), nullptr);
    EXPECT_EQ(panel(1), "No database open");
    EXPECT_EQ(panel(2), "0 records");
}

TEST_F(SearchWindowTest, MembersAreListedByNameAndContactNumberSearchesContact)
{
    addMember({"M1", "Cruz", "Ana", "Street 1", "555-1234"});
    addMember({"M2", "Reyes", "Ben", "Street 2", "777-555"});
    addMember({"M3", "Lim", "Carla", "555 Road", "888"});
    frmEditSearch* r = search(openDialog(), "555", search::kMembersTable, 3, search::ExactPhrase);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(modQuorvane::SearchField, "Contact");
    EXPECT_EQ(modQuorvane::SearchFieldIndex, 3);
    EXPECT_EQ(lines(r), (QStringList{"1. Name : Ana Cruz", "2. Name : Ben Reyes"}));
    EXPECT_EQ(lines(r, "lstResults2"), (QStringList{"555-1234", "777-555"}));
    EXPECT_EQ(pick(r, "cboFields")->currentText(), "Contact number");
    EXPECT_EQ(panel(1), "Members Database");
    EXPECT_EQ(panel(2), "3 records");

    searchAgain(r, "reyes", search::kMembersTable, 0, search::ExactRecordMatch);
    EXPECT_EQ(lines(r), (QStringList{"1. Name : Reyes, Ben"}));
}

TEST_F(SearchWindowTest, ThePlainSearchOnlyShowsRecordsAndTheEditCommandsOfferEditing)
{
    addTitle(1);
    addMember(1);
    frmEditSearch* r = searchTitles("title");
    EXPECT_EQ(control<QLabel>(r, "lblDesc")->text(), "View records only");
    EXPECT_FALSE(button(r, "cmdEdit")->isEnabled());
    r->Unload();
    pump();

    mainWindow()->mnuVideoEdit_Click();
    r = search(windows::find<frmSearch>(), "title", search::kVideoTable, 0, search::AnyWord);
    EXPECT_EQ(control<QLabel>(r, "lblDesc")->text(), "Note: To edit the record, select it and click on edit");
    EXPECT_TRUE(button(r, "cmdEdit")->isEnabled());
    r->Unload();
    pump();

    // The edit command for members opens the same dialog, on the titles.
    mainWindow()->mnuMemEdit_Click();
    frmSearch* d = windows::find<frmSearch>();
    EXPECT_EQ(pick(d, "cboTables")->currentText(), "Video Database");
    r = search(d, "cruz", search::kMembersTable, 0, search::AnyWord);
    EXPECT_TRUE(button(r, "cmdEdit")->isEnabled());
}

TEST_F(SearchWindowTest, ALoadWithoutMatchesWarnsBeforeTheWindowShowsAndOffersNothing)
{
    addTitle(1);
    for (bool edit : {false, true}) {
        dialogs_.clear();
        bool windowShownAtMessage = true;
        dialogs_.onMessage = [&](const testing_support::ShownMessage&) {
            frmEditSearch* open = windows::find<frmEditSearch>();
            windowShownAtMessage = open && open->subWindow()->isVisible();
        };
        if (edit)
            mainWindow()->mnuVideoEdit_Click();
        else
            mainWindow()->mnuSearch_Click();
        frmEditSearch* r = search(windows::find<frmSearch>(), "zorro", search::kVideoTable, 0, search::AnyWord);
        dialogs_.onMessage = nullptr;
        ASSERT_NE(r, nullptr);
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].text, "No matches found in database");
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Exclamation);
        EXPECT_FALSE(windowShownAtMessage);
        EXPECT_FALSE(r->matchFound());
        EXPECT_TRUE(lines(r).isEmpty());
        EXPECT_FALSE(button(r, "cmdEdit")->isEnabled()) << edit;
        EXPECT_EQ(pick(r, "cboTables")->count(), 0);
        EXPECT_EQ(pick(r, "cboFields")->count(), 0);
        EXPECT_EQ(pick(r, "cboStyle")->count(), 0);
        EXPECT_NE(outerSize(r), twips::size(6225, 7305));
        // The status bar keeps what the dialog wrote.
        EXPECT_EQ(panel(1), "No open database");
        r->Unload();
        pump();
    }
}

TEST_F(SearchWindowTest, ChoosingALineInEitherListChoosesTheSameLineInTheOther)
{
    for (int i = 1; i <= 3; ++i)
        addTitle(i);
    frmEditSearch* r = searchTitles("title");
    chooseLine(r, "lstResults", 2);
    EXPECT_EQ(selectedRow(r, "lstResults2"), 2);
    chooseLine(r, "lstResults2", 1);
    EXPECT_EQ(selectedRow(r, "lstResults"), 1);
    EXPECT_EQ(selectedRow(r, "lstResults2"), 1);
}

// ---------------------------------------------------------------------------
// Edit

TEST_F(SearchWindowTest, EditOpensTheVideoEditorOnTheFirstTitleHoldingTheValue)
{
    addTitle(1, "Drama");
    addTitle(2, "Comedy");
    addTitle(3, "Comedy");
    mainWindow()->mnuVideoEdit_Click();
    frmEditSearch* r = search(windows::find<frmSearch>(), "comedy", search::kVideoTable, 3, search::ExactRecordMatch);
    ASSERT_EQ(lines(r), (QStringList{"1. Title : Title 2", "2. Title : Title 3"}));
    chooseLine(r, "lstResults", 1);
    modQuorvane::EditMode = false;
    button(r, "cmdEdit")->click();
    pump();
    EXPECT_TRUE(modQuorvane::EditMode);
    EXPECT_EQ(modQuorvane::SearchField, "Category");
    EXPECT_EQ(modQuorvane::SearchValue, "Comedy");
    frmAdd* editor = windows::find<frmAdd>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isEditMode());
    // The first title of that category in table order, not the line chosen.
    EXPECT_EQ(box(editor, "txtCode")->text(), "V2");
    EXPECT_EQ(windows::find<frmEditSearch>(), nullptr);
    // The results window's closing step came after the editor's loading step.
    EXPECT_EQ(panel(1), "No database open");
    EXPECT_EQ(panel(2), "0 records");
}

TEST_F(SearchWindowTest, EditOpensTheMemberEditorOnTheChosenMember)
{
    addMember({"M1", "Cruz", "Ana", "Street 1", "555-1"});
    addMember({"M2", "Reyes", "Ben", "Street 2", "555-2"});
    mainWindow()->mnuMemEdit_Click();
    frmEditSearch* r = search(windows::find<frmSearch>(), "555", search::kMembersTable, 3, search::AnyWord);
    chooseLine(r, "lstResults2", 1);
    button(r, "cmdEdit")->click();
    pump();
    frmMembers* editor = windows::find<frmMembers>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isEditMode());
    EXPECT_EQ(box(editor, "txtCode")->text(), "M2");
    EXPECT_EQ(windows::find<frmAdd>(), nullptr);
}

TEST_F(SearchWindowTest, EditWithTheEditorOpenOnlyBringsItForward)
{
    for (int i = 1; i <= 3; ++i)
        addTitle(i);
    modQuorvane::EditMode = true;
    modQuorvane::SearchField = "Title";
    modQuorvane::SearchValue = "Title 1";
    frmAdd* editor = windows::show<frmAdd>();
    mainWindow()->mnuVideoEdit_Click();
    frmEditSearch* r = search(windows::find<frmSearch>(), "title 3", search::kVideoTable, 0, search::ExactPhrase);
    button(r, "cmdEdit")->click();
    pump();
    EXPECT_EQ(windows::find<frmAdd>(), editor);
    EXPECT_EQ(box(editor, "txtCode")->text(), "V1");
    EXPECT_EQ(modQuorvane::rsVideo->Text(0), "V1");
    EXPECT_EQ(windows::find<frmEditSearch>(), nullptr);
}

TEST_F(SearchWindowTest, SearchingAgainOnTheOtherTableHandsEditToItsEditor)
{
    addTitle(1);
    addMember(1, "Cruz");
    addMember(2, "Reyes");
    mainWindow()->mnuVideoEdit_Click();
    frmEditSearch* r = search(windows::find<frmSearch>(), "title", search::kVideoTable, 0, search::AnyWord);
    chooseLine(r, "lstResults", 0);
    searchAgain(r, "REYES", search::kMembersTable, 0, search::ExactRecordMatch);
    EXPECT_FALSE(modQuorvane::SearchIsVideo);
    EXPECT_EQ(modQuorvane::SearchField, "Last Name");
    EXPECT_EQ(lines(r), (QStringList{"1. Name : Reyes, First 2"}));
    // A search again leaves the mode note, Edit and the status bar alone.
    EXPECT_TRUE(button(r, "cmdEdit")->isEnabled());
    EXPECT_EQ(panel(1), "Video Database");
    EXPECT_EQ(panel(2), "1 records");
    chooseLine(r, "lstResults", 0);
    button(r, "cmdEdit")->click();
    pump();
    frmMembers* editor = windows::find<frmMembers>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(box(editor, "txtCode")->text(), "M2");
    EXPECT_EQ(windows::find<frmAdd>(), nullptr);
}

TEST_F(SearchWindowTest, ASearchAgainThatFindsNothingEmptiesTheListsAndEditHandsAnEmptyValue)
{
    for (int i = 1; i <= 3; ++i)
        addTitle(i);
    mainWindow()->mnuVideoEdit_Click();
    frmEditSearch* r = search(windows::find<frmSearch>(), "title 1", search::kVideoTable, 0, search::ExactPhrase);
    dialogs_.clear();
    searchAgain(r, "zorro", search::kVideoTable, 0, search::ExactPhrase);
    EXPECT_EQ(dialogs_.texts(), (QStringList{"No matches found in database"}));
    EXPECT_TRUE(lines(r).isEmpty());
    EXPECT_TRUE(lines(r, "lstResults2").isEmpty());
    EXPECT_TRUE(button(r, "cmdEdit")->isEnabled());
    button(r, "cmdEdit")->click();
    pump();
    EXPECT_EQ(modQuorvane::SearchValue, "");
    // No title holds the empty value: the editor stands on the last one.
    ASSERT_NE(windows::find<frmAdd>(), nullptr);
    EXPECT_EQ(box(windows::find<frmAdd>(), "txtCode")->text(), "V3");
}

TEST_F(SearchWindowTest, SearchAgainRefusalsKeepTheLinesAndAnEmptyTableBarsEdit)
{
    addTitle(1);
    addTitle(2);
    mainWindow()->mnuVideoEdit_Click();
    frmEditSearch* r = search(windows::find<frmSearch>(), "title", search::kVideoTable, 0, search::AnyWord);
    dialogs_.clear();
    searchAgain(r, "", search::kVideoTable, 0, search::AnyWord);
    searchAgain(r, "cruz", search::kMembersTable, 0, search::AnyWord);
    EXPECT_EQ(dialogs_.texts(),
              (QStringList{"Please enter a query", "No current record in database. Pls. add one..."}));
    EXPECT_EQ(lines(r), (QStringList{"1. Title : Title 1", "2. Title : Title 2"}));
    EXPECT_FALSE(modQuorvane::SearchIsVideo);

    // Edit now would stand an editor on the empty members table: refused.
    dialogs_.clear();
    button(r, "cmdEdit")->click();
    pump();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "No current record in database. Pls. add one...");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    EXPECT_EQ(windows::find<frmMembers>(), nullptr);
    EXPECT_EQ(windows::find<frmAdd>(), nullptr);
    EXPECT_EQ(windows::find<frmEditSearch>(), r);

    // Once that table has a member, Edit follows the listed titles again.
    addMember(1);
    dialogs_.clear();
    button(r, "cmdEdit")->click();
    pump();
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    ASSERT_NE(windows::find<frmAdd>(), nullptr);
    windows::find<frmAdd>()->Unload();
    pump();

    // A search that succeeds again lifts the bar too.
    mainWindow()->mnuVideoEdit_Click();
    r = search(windows::find<frmSearch>(), "title", search::kVideoTable, 0, search::AnyWord);
    ASSERT_NE(r, nullptr);
    auto members = modQuorvane::dbMain->OpenRecordset(schema::kMembers);
    members->Delete();
    searchAgain(r, "cruz", search::kMembersTable, 0, search::AnyWord);
    searchAgain(r, "title 2", search::kVideoTable, 0, search::ExactPhrase);
    button(r, "cmdEdit")->click();
    pump();
    ASSERT_NE(windows::find<frmAdd>(), nullptr);
    EXPECT_EQ(box(windows::find<frmAdd>(), "txtCode")->text(), "V2");
}

TEST_F(SearchWindowTest, SearchAgainAfterALoadWithoutMatchesKeepsTheLastTableFieldAndStyle)
{
    addTitle(1);
    addMember({"M1", "Cruz", "Ana", "Street 1", "555-1"});
    addMember({"M2", "Cruzado", "Ben", "Street 2", "555-2"});
    frmEditSearch* r = search(openDialog(), "Zorro", search::kMembersTable, 1, search::ExactRecordMatch);
    ASSERT_EQ(pick(r, "cboTables")->count(), 0);
    // First name, whole value, members.
    searchAgain(r, "ANA", -1, -1, -1);
    EXPECT_EQ(lines(r), (QStringList{"1. Name : Cruz, Ana"}));
    EXPECT_FALSE(modQuorvane::SearchIsVideo);
    EXPECT_EQ(modQuorvane::SearchField, "First Name");
    EXPECT_EQ(modQuorvane::SearchStyle, search::ExactRecordMatch);
    EXPECT_EQ(modQuorvane::SearchQuery, "ANA");
}

TEST_F(SearchWindowTest, AResultsWindowAlreadyOpenKeepsItsLinesAndEditFollowsThem)
{
    addTitle(1, "Drama");
    addTitle(2, "Drama");
    addMember(1, "Cruz");
    mainWindow()->mnuVideoEdit_Click();
    frmEditSearch* r = search(windows::find<frmSearch>(), "drama", search::kVideoTable, 3, search::AnyWord);
    chooseLine(r, "lstResults", 1);
    // A search of the members from the dialog only brings the window forward.
    mainWindow()->mnuMemEdit_Click();
    EXPECT_EQ(search(windows::find<frmSearch>(), "cruz", search::kMembersTable, 0, search::AnyWord), r);
    EXPECT_EQ(lines(r), (QStringList{"1. Title : Title 1", "2. Title : Title 2"}));
    EXPECT_EQ(modQuorvane::SearchField, "Last Name");
    // Edit opens the title chosen, by the field its line was found in.
    button(r, "cmdEdit")->click();
    pump();
    EXPECT_EQ(windows::find<frmMembers>(), nullptr);
    ASSERT_NE(windows::find<frmAdd>(), nullptr);
    EXPECT_EQ(modQuorvane::SearchField, "Category");
    EXPECT_EQ(box(windows::find<frmAdd>(), "txtCode")->text(), "V1");
}

// ---------------------------------------------------------------------------
// The clerk acts while a search runs

TEST_F(SearchWindowTest, ClosingTheWindowWhileItLoadsStopsTheSearch)
{
    for (int i = 1; i <= 5; ++i)
        addTitle(i);
    search::setPacing(search::Pacing{0, 1});
    frmSearch* d = openDialog();
    QPointer<frmEditSearch> seen;
    int linesAtClose = -1;
    atFirstTurn([&] {
        seen = windows::find<frmEditSearch>();
        ASSERT_TRUE(seen);
        EXPECT_TRUE(seen->isSearching());
        linesAtClose = static_cast<int>(lines(seen).size());
        // The clerk brings the loading window forward and closes it.
        windows::show<frmEditSearch>();
        seen->subWindow()->close();
    });
    EXPECT_EQ(search(d, "title", search::kVideoTable, 0, search::AnyWord), nullptr);
    EXPECT_EQ(linesAtClose, 1);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(panel(1), "No database open");
    EXPECT_EQ(panel(2), "0 records");
    pump();
    EXPECT_TRUE(seen.isNull());
}

TEST_F(SearchWindowTest, ClosingTheWindowWhileItSearchesAgainStopsTheSearch)
{
    for (int i = 1; i <= 5; ++i)
        addTitle(i);
    frmEditSearch* r = searchTitles("title 1", search::ExactPhrase);
    QPointer<frmEditSearch> guard(r);
    search::setPacing(search::Pacing{0, 1});
    atFirstTurn([&] { r->subWindow()->close(); });
    searchAgain(r, "title", search::kVideoTable, 0, search::AnyWord);
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(windows::find<frmEditSearch>(), nullptr);
    // The next search opens a new window.
    search::setPacing(search::Pacing{});
    frmEditSearch* again = searchTitles("title 2", search::ExactPhrase);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(lines(again), (QStringList{"1. Title : Title 2"}));
}

TEST_F(SearchWindowTest, AWindowClosedDuringItsLoadGoesOnlyAfterTheLoadEnds)
{
    addTitle(1);
    QPointer<frmEditSearch> seen;
    bool aliveAfterClose = false;
    dialogs_.onMessage = [&](const testing_support::ShownMessage&) {
        // While the load's message is up, the window closes and pending
        // deletions run, as a message box's own event loop would run them.
        seen = windows::find<frmEditSearch>();
        windows::close<frmEditSearch>();
        pump();
        aliveAfterClose = !seen.isNull();
    };
    EXPECT_EQ(search(openDialog(), "zorro", search::kVideoTable, 0, search::AnyWord), nullptr);
    dialogs_.onMessage = nullptr;
    EXPECT_EQ(dialogs_.texts(), (QStringList{"No matches found in database"}));
    EXPECT_TRUE(aliveAfterClose);
    pump();
    EXPECT_TRUE(seen.isNull());
    EXPECT_EQ(panel(1), "No database open");
}

TEST_F(SearchWindowTest, ANewSearchStopsTheRunningOneAndStartsFromEmptyLists)
{
    for (int i = 1; i <= 5; ++i)
        addTitle(i);
    addMember(1, "Cruz");
    frmEditSearch* r = searchTitles("title 1", search::ExactPhrase);
    search::setPacing(search::Pacing{0, 1});
    atFirstTurn([&] {
        EXPECT_TRUE(r->isSearching());
        searchAgain(r, "cruz", search::kMembersTable, 0, search::AnyWord);
    });
    searchAgain(r, "title", search::kVideoTable, 0, search::AnyWord);
    EXPECT_FALSE(r->isSearching());
    EXPECT_EQ(lines(r), (QStringList{"1. Name : First 1 Cruz"}));
    EXPECT_EQ(lines(r, "lstResults2"), (QStringList{"Cruz"}));
    EXPECT_TRUE(r->matchFound());
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(SearchWindowTest, ACommandGivenWhileTheWindowLoadsDoesNotChangeWhatItOffers)
{
    for (int i = 1; i <= 3; ++i)
        addTitle(i);
    search::setPacing(search::Pacing{0, 1});
    mainWindow()->mnuVideoEdit_Click();
    frmSearch* d = windows::find<frmSearch>();
    // Meanwhile the clerk opens the plain search dialog again.
    atFirstTurn([&] { mainWindow()->mnuSearch_Click(); });
    frmEditSearch* r = search(d, "title", search::kVideoTable, 0, search::AnyWord);
    ASSERT_NE(r, nullptr);
    EXPECT_FALSE(modQuorvane::EditMode);
    EXPECT_NE(windows::find<frmSearch>(), nullptr);
    EXPECT_EQ(lines(r).size(), 3);
    EXPECT_TRUE(button(r, "cmdEdit")->isEnabled());
    EXPECT_EQ(control<QLabel>(r, "lblDesc")->text(), "Note: To edit the record, select it and click on edit");
}

}  // namespace
