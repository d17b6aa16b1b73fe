// The video editor, driven as the clerk drives it: the field checks, the
// number of tapes, the registry step, the write, the stepping through the
// titles, the positioning on a searched title, and the status bar.
#include "catalogue/frmAdd.h"
#include "data/CodeRegistry.h"
#include "platform/Twips.h"
#include "catalogue/CatalogueFixture.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

using namespace catalogue_tests;
using testing_support::control;
using testing_support::pump;

namespace {

struct Typed {
    QString code, title, mainCast, secondCast, category, tapes;
};

// What the clerk sees of the window, and where the shared record set stands.
struct Seen {
    QString current;  // code of rsVideo's current row
    bool previous = false, next = false;
    QStringList boxes;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Seen& s)
{
    return os << s.current.toStdString() << " prev=" << s.previous << " next=" << s.next << " ["
              << s.boxes.join('|').toStdString() << "]";
}

class VideoEditorTest : public CatalogueTest {
protected:
    frmAdd* openAdd()
    {
        modQuorvane::EditMode = false;
        frmAdd* w = windows::reopen<frmAdd>();
        pump();
        return w;
    }

    frmAdd* openEdit(const QString& field, const QString& value)
    {
        modQuorvane::EditMode = true;
        modQuorvane::SearchField = field;
        modQuorvane::SearchValue = value;
        frmAdd* w = windows::show<frmAdd>();
        pump();
        return w;
    }

    static void closeWindow(frmAdd* w)
    {
        w->Unload();
        pump();
    }

    static void type(frmAdd* w, const Typed& t)
    {
        box(w, "txtCode")->setText(t.code);
        box(w, "txtTitle")->setText(t.title);
        box(w, "txtMain")->setText(t.mainCast);
        box(w, "txtSecond")->setText(t.secondCast);
        box(w, "txtCategory")->setText(t.category);
        box(w, "txtTapes")->setText(t.tapes);
    }

    static Typed valid(const QString& code, const QString& tapes = QStringLiteral("3"))
    {
        return {code, "Title of " + code, "Main", "Second", "Drama", tapes};
    }

    static void save(frmAdd* w) { button(w, "cmdSave")->click(); }

    static Seen seen(frmAdd* w)
    {
        Seen s;
        s.current = modQuorvane::rsVideo->Text(0);
        s.previous = button(w, "cmdCommand1")->isEnabled();
        s.next = button(w, "cmdCommand2")->isEnabled();
        for (const char* n : {"txtCode", "txtTitle", "txtMain", "txtSecond", "txtCategory", "txtTapes"})
            s.boxes << box(w, n)->text();
        return s;
    }

    static QString tapesIn(const QString& code)
    {
        const auto row = findRow(schema::kVideo, "Video Code", code);
        return row ? (*row)[5] : QStringLiteral("<none>");
    }
};

TEST_F(VideoEditorTest, FieldChecksRunInOrderWithTheirMessagesAndFocus)
{
    frmAdd* w = openAdd();
    struct Step {
        const char* box;   // filled before the save
        const char* value;
        const char* message;
        const char* focus;
    };
    const Step steps[] = {
        {nullptr, nullptr, "Tapes must contain a number", "txtTapes"},
        {"txtTapes", "4", "Video code is empty", "txtCode"},
        {"txtCode", "V1", "Main cast is empty", "txtMain"},
        {"txtMain", "Ford", "Second cast is empty", "txtSecond"},
        {"txtSecond", " ", "Category is empty", "txtCategory"},  // blanks pass the check
    };
    for (const Step& s : steps) {
        if (s.box)
            box(w, s.box)->setText(QString::fromLatin1(s.value));
        dialogs_.clear();
        save(w);
        ASSERT_EQ(dialogs_.messages.size(), 1u) << s.message;
        EXPECT_EQ(dialogs_.messages[0].text, QString::fromLatin1(s.message));
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Exclamation);
        EXPECT_EQ(w->focusWidget(), box(w, s.focus)) << s.message;
    }
    EXPECT_EQ(count(schema::kVideo), 0);
    EXPECT_EQ(count(schema::kVideoCode), 0);

    // The tapes box is selected whole, so the clerk types over it.
    box(w, "txtTapes")->setText("many");
    save(w);
    EXPECT_EQ(box(w, "txtTapes")->selectedText(), "many");
}

TEST_F(VideoEditorTest, EmptyTitlePassesTheChecksButNothingIsWritten)
{
    frmAdd* w = openAdd();
    type(w, {"V1", "", "Main", "Second", "Drama", "2"});
    save(w);
    // The registry refuses its own row, then the table refuses the title.
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    for (const auto& m : dialogs_.messages) {
        EXPECT_TRUE(m.text.startsWith("Error : ")) << m.text.toStdString();
        EXPECT_EQ(m.icon, dialogs::Icon::Critical);
    }
    EXPECT_EQ(count(schema::kVideo), 0);
    EXPECT_EQ(count(schema::kVideoCode), 0);
}

TEST_F(VideoEditorTest, NumberOfTapesIsTestedAndRoundedHalvesToEven)
{
    const std::pair<const char*, const char*> accepted[] = {
        {"12", "12"}, {"1.5", "2"}, {"1e1", "10"}, {" 12 ", "12"}, {"2.5", "2"}, {"-3", "-3"}, {"32767", "32767"}};
    int n = 0;
    for (const auto& [typed, stored] : accepted) {
        frmAdd* w = openAdd();
        const QString code = QString("N%1").arg(++n);
        type(w, valid(code, QString::fromLatin1(typed)));
        dialogs_.clear();
        save(w);
        EXPECT_TRUE(dialogs_.messages.empty()) << typed << ": " << dialogs_.texts().join(';').toStdString();
        EXPECT_EQ(tapesIn(code), QString::fromLatin1(stored)) << typed;
    }
    for (const char* typed : {"abc", "", "12 tapes", "1,5"}) {
        frmAdd* w = openAdd();
        type(w, valid("R1", QString::fromLatin1(typed)));
        dialogs_.clear();
        save(w);
        EXPECT_EQ(dialogs_.texts(), QStringList{"Tapes must contain a number"}) << typed;
    }
    EXPECT_EQ(count(schema::kVideo), 7);
}

TEST_F(VideoEditorTest, TapesTheFieldCannotHoldTakeNoCode)
{
    frmAdd* w = openAdd();
    for (const char* typed : {"40000", "-32769", "1e10"}) {
        type(w, valid("BIG", QString::fromLatin1(typed)));
        dialogs_.clear();
        save(w);
        ASSERT_EQ(dialogs_.messages.size(), 1u) << typed;
        EXPECT_EQ(dialogs_.messages[0].text, "Error : Overflow");
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
        EXPECT_EQ(count(schema::kVideo), 0);
        EXPECT_EQ(count(schema::kVideoCode), 0) << typed;
    }
    // The clerk corrects the number and saves the same code.
    box(w, "txtTapes")->setText("40");
    dialogs_.clear();
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ(tapesIn("BIG"), "40");
    EXPECT_TRUE(findRow(schema::kVideoCode, "Video Code", "BIG").has_value());
}

TEST_F(VideoEditorTest, TextsAreCutToTheirFieldsForTableAndRegistry)
{
    frmAdd* w = openAdd();
    const QString code = QString("C").repeated(5) + QString("0123456789").repeated(3);  // 35 characters
    const QString longText = QString("abcdefghij").repeated(4);
    type(w, {code, longText, longText + "m", longText + "s", longText + "c", "1"});
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    const QString code30 = code.left(30);
    const auto row = findRow(schema::kVideo, "Video Code", code30);
    ASSERT_TRUE(row.has_value());
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ((*row)[i], longText.left(30));
    const auto reg = findRow(schema::kVideoCode, "Video Code", code30);
    ASSERT_TRUE(reg.has_value());
    EXPECT_EQ((*reg)[1], longText.left(30));
    EXPECT_EQ(box(w, "txtCode")->text(), code);  // the boxes keep what was typed
}

TEST_F(VideoEditorTest, CharactersBeyondTheBasicPlaneAreCutWholeInEveryBox)
{
    frmAdd* w = openAdd();
    // "a" and twenty clapper boards, then other characters outside the basic
    // plane: each box holds more than 30 characters' worth of UTF-16 units.
    const QString clapper = QString::fromUtf8("\xF0\x9F\x8E\xAC");
    const QString math = QString::fromUtf8("\xF0\x9D\x90\x80");    // mathematical bold A
    const QString han = QString::fromUtf8("\xF0\xA0\x80\x80");     // a CJK ideograph beyond the basic plane
    const QString film = "a" + clapper.repeated(20);
    type(w, {han.repeated(31), film, math.repeated(40), clapper + math.repeated(35), "b" + han.repeated(29) + "c", "2"});
    save(w);
    ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    const QString code = han.repeated(30);
    const auto row = findRow(schema::kVideo, "Video Code", code);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ((*row)[1], film);  // 21 characters: kept whole, no "?"
    EXPECT_EQ((*row)[2], math.repeated(30));
    EXPECT_EQ((*row)[3], clapper + math.repeated(29));
    EXPECT_EQ((*row)[4], "b" + han.repeated(29));
    for (int i = 0; i <= 4; ++i)
        EXPECT_FALSE((*row)[i].contains(QChar::ReplacementCharacter) || (*row)[i].contains('?')) << i;
    EXPECT_EQ((*findRow(schema::kVideoCode, "Video Code", code))[1], film);
}

TEST_F(VideoEditorTest, AddModeRefusesARegisteredCode)
{
    addTitle(1);
    frmAdd* w = openAdd();
    type(w, valid("A1", "5"));
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(button(w, "cmdCommand2")->isEnabled());  // Clear, after a save
    EXPECT_EQ(w->focusWidget(), box(w, "txtCode"));
    EXPECT_EQ(modQuorvane::rsVideo->Text(0), "V1");  // still where the load left it

    save(w);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Video Tape's code exist in database, choose another code...");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Exclamation);
    EXPECT_EQ(box(w, "txtCode")->selectedText(), "A1");
    EXPECT_EQ(w->focusWidget(), box(w, "txtCode"));
    EXPECT_EQ(count(schema::kVideo), 2);
    EXPECT_EQ(count(schema::kVideoCode), 1);

    // Deleting the title leaves its code blocked...
    auto titles = modQuorvane::dbMain->OpenRecordset(schema::kVideo);
    ASSERT_TRUE(titles->FindFirst("Video Code", "A1"));
    titles->Delete();
    dialogs_.clear();
    save(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Video Tape's code exist in database, choose another code..."});

    // ...until its registry row is deleted: then the code is new again.
    auto registry = modQuorvane::dbMain->OpenRecordset(schema::kVideoCode);
    ASSERT_TRUE(registry->FindFirst("Video Code", "A1"));
    registry->Delete();
    dialogs_.clear();
    box(w, "txtTitle")->setText("Second life");
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    const auto row = findRow(schema::kVideo, "Video Code", "A1");
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ((*row)[1], "Second life");
    EXPECT_EQ((*row)[6], "0");  // a new title has no tape out
}

TEST_F(VideoEditorTest, EditModeIsNeverRefusedAndKeepsTapesOut)
{
    addTitle({"E1", "One", "m", "s", "Drama", 3, 4});
    addTitle({"E2", "Two", "m", "s", "Drama", 1, 2});
    frmAdd* w = openEdit("Title", "One");
    EXPECT_FALSE(box(w, "txtCode")->isEnabled());
    EXPECT_TRUE(box(w, "txtCode")->isReadOnly());
    for (int i = 0; i < 2; ++i) {  // the first save registers the code, the second finds it
        box(w, "txtTitle")->setText(QString("One, take %1").arg(i));
        box(w, "txtTapes")->setText("7");
        dialogs_.clear();
        save(w);
        EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    }
    const auto row = findRow(schema::kVideo, "Video Code", "E1");
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ((*row)[1], "One, take 1");
    EXPECT_EQ((*row)[5], "7");
    EXPECT_EQ((*row)[6], "4");
    EXPECT_EQ(count(schema::kVideo), 2);
    EXPECT_EQ(count(schema::kVideoCode), 1);
    EXPECT_EQ(modQuorvane::rsVideo->Text(0), "E1");  // the edited row stays current
    EXPECT_EQ(w->focusWidget(), box(w, "txtTitle"));
}

TEST_F(VideoEditorTest, EditModeSaveEnablesNextWhenATitleNowFollows)
{
    addTitle(1);
    addTitle(2);
    frmAdd* w = openEdit("Title", "Title 2");
    EXPECT_FALSE(button(w, "cmdCommand2")->isEnabled());
    addTitle(3);  // entered meanwhile in another window
    save(w);
    EXPECT_TRUE(button(w, "cmdCommand2")->isEnabled());
    EXPECT_EQ(modQuorvane::rsVideo->Text(0), "V2");
}

TEST_F(VideoEditorTest, EditModeSaveWritesTheTitleShownEvenIfTheRecordSetMoved)
{
    for (int i = 1; i <= 3; ++i)
        addTitle(i);
    frmAdd* w = openEdit("Title", "Title 2");
    box(w, "txtTitle")->setText("Renamed");
    modQuorvane::rsVideo->MoveLast();  // as a rent check's scan leaves it
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ((*findRow(schema::kVideo, "Video Code", "V2"))[1], "Renamed");
    EXPECT_EQ((*findRow(schema::kVideo, "Video Code", "V3"))[1], "Title 3");

    // A title deleted meanwhile is not brought back, and no other is overwritten.
    auto titles = modQuorvane::dbMain->OpenRecordset(schema::kVideo);
    ASSERT_TRUE(titles->FindFirst("Video Code", "V2"));
    titles->Delete();
    box(w, "txtTitle")->setText("Ghost");
    dialogs_.clear();
    save(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Error : Record is deleted."});
    EXPECT_EQ(count(schema::kVideo), 2);
    EXPECT_FALSE(findRow(schema::kVideo, "Title", "Ghost").has_value());
}

TEST_F(VideoEditorTest, AddModeWriteFailureGivesTheCodeBack)
{
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        raw.exec("CREATE TRIGGER refuse BEFORE INSERT ON \"Video Database\" "
                 "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END");
    }
    frmAdd* w = openAdd();
    type(w, valid("F1"));
    save(w);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : "));
    EXPECT_EQ(count(schema::kVideo), 0);
    EXPECT_EQ(count(schema::kVideoCode), 0);
    {
        SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE);
        raw.exec("DROP TRIGGER refuse");
    }
    dialogs_.clear();
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ(count(schema::kVideo), 1);
    EXPECT_EQ(count(schema::kVideoCode), 1);
}

TEST_F(VideoEditorTest, CodeOfATitleOnFileStaysRegisteredWhenTheTableRefusesIt)
{
    addTitle(1);  // on file, but its registry row has been deleted
    frmAdd* w = openAdd();
    type(w, valid("V1"));
    save(w);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : "));
    EXPECT_TRUE(dialogs_.messages[0].text.contains("primary key"));
    EXPECT_EQ(count(schema::kVideo), 1);
    EXPECT_EQ(count(schema::kVideoCode), 1);
    dialogs_.clear();
    save(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Video Tape's code exist in database, choose another code..."});
}

TEST_F(VideoEditorTest, PreviousAndNextStepThroughTheTitles)
{
    for (int i = 1; i <= 3; ++i)
        addTitle(i);
    frmAdd* w = openEdit("Title", "Title 1");
    QPushButton* previous = button(w, "cmdCommand1");
    QPushButton* next = button(w, "cmdCommand2");
    const auto expectOn = [&](int n, bool prevEnabled, bool nextEnabled) {
        const QString s = QString::number(n);
        EXPECT_EQ(seen(w), (Seen{"V" + s, prevEnabled, nextEnabled,
                                 {"V" + s, "Title " + s, "Main " + s, "Second " + s, "Drama", s}}));
        EXPECT_EQ(w->focusWidget(), box(w, "txtTitle"));
    };
    EXPECT_EQ(seen(w), (Seen{"V1", false, true, {"V1", "Title 1", "Main 1", "Second 1", "Drama", "1"}}));
    next->click();
    expectOn(2, true, true);
    next->click();
    expectOn(3, true, false);
    previous->click();
    expectOn(2, true, true);
    EXPECT_EQ(box(w, "txtCode")->selectedText(), "V2");
    previous->click();
    expectOn(1, false, true);
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(VideoEditorTest, OneTitleLeavesBothStepsDisabled)
{
    addTitle(1);
    for (const char* value : {"Title 1", "No such title"}) {
        frmAdd* w = openEdit("Title", QString::fromLatin1(value));
        EXPECT_EQ(seen(w), (Seen{"V1", false, false, {"V1", "Title 1", "Main 1", "Second 1", "Drama", "1"}}))
            << value;
        closeWindow(w);
    }
    EXPECT_TRUE(dialogs_.messages.empty());
}

// The editor goes straight to the searched title; what the clerk sees must be
// what stepping there with Next from the first title shows.
TEST_F(VideoEditorTest, LocateShowsWhatSteppingWithNextWouldShow)
{
    const char* categories[] = {"Drama", "Comedy", "Drama", "Horror", "Comedy"};
    for (int i = 0; i < 5; ++i)
        addTitle(i + 1, QString::fromLatin1(categories[i]));
    const std::pair<const char*, const char*> searches[] = {
        {"Category", "Drama"},   {"Category", "Comedy"}, {"Category", "Horror"}, {"Title", "Title 5"},
        {"Category", "Western"}, {"Category", "drama"},  {"Main Cast", "Main 3"}, {"Second Cast", "Second 4 "}};
    for (const auto& [field, value] : searches) {
        frmAdd* located = openEdit(QString::fromLatin1(field), QString::fromLatin1(value));
        const Seen direct = seen(located);
        closeWindow(located);

        frmAdd* walked = openEdit("Title", "Title 1");
        while (modQuorvane::rsVideo->Text(QString::fromLatin1(field)) != QString::fromLatin1(value) &&
               button(walked, "cmdCommand2")->isEnabled())
            button(walked, "cmdCommand2")->click();
        EXPECT_EQ(direct, seen(walked)) << field << " = " << value;
        closeWindow(walked);
    }
    EXPECT_TRUE(dialogs_.messages.empty());

    // A shared value shows the first title that holds it, whichever result was chosen.
    frmAdd* w = openEdit("Category", "Comedy");
    EXPECT_EQ(box(w, "txtCode")->text(), "V2");
}

TEST_F(VideoEditorTest, UnknownSearchFieldIsReportedNotFatal)
{
    addTitle(1);
    addTitle(2);
    frmAdd* w = openEdit("Director", "Someone");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Error : Item not found in this collection."});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(box(w, "txtCode")->text(), "V1");
}

TEST_F(VideoEditorTest, ClearEmptiesTheBoxesAndLeavesTheRecordSet)
{
    addTitle(1);
    addTitle(2);
    frmAdd* w = openAdd();
    EXPECT_EQ(button(w, "cmdCommand2")->text(), "Clea&r");
    EXPECT_EQ(modQuorvane::rsVideo->Text(0), "V2");  // the add load stands on the last title
    EXPECT_FALSE(button(w, "cmdCommand1")->isEnabled());
    EXPECT_FALSE(button(w, "cmdCommand2")->isEnabled());
    type(w, valid("A1"));
    save(w);
    button(w, "cmdCommand2")->click();
    EXPECT_EQ(seen(w), (Seen{"V2", false, false, {"", "", "", "", "", ""}}));
    EXPECT_EQ(w->focusWidget(), box(w, "txtCode"));
}

TEST_F(VideoEditorTest, StatusBarCountsTheTitles)
{
    addTitle(1);
    frmAdd* w = openEdit("Title", "Title 1");
    EXPECT_EQ(mainWindow()->panelText(1), "Video Database");
    EXPECT_EQ(mainWindow()->panelText(2), "1 records");
    closeWindow(w);
    EXPECT_EQ(mainWindow()->panelText(1), "No database open");
    EXPECT_EQ(mainWindow()->panelText(2), "0 records");

    w = openAdd();
    EXPECT_EQ(mainWindow()->panelText(2), "1 records");
    type(w, valid("A1"));
    save(w);
    EXPECT_EQ(mainWindow()->panelText(2), "2 records");
    save(w);  // refused: the count stays
    EXPECT_EQ(mainWindow()->panelText(2), "2 records");
}

TEST_F(VideoEditorTest, EditModeDisablesSearchUntilCloseIsPressed)
{
    addTitle(1);
    frmAdd* w = openAdd();
    EXPECT_TRUE(mainWindow()->isSearchEnabled());
    closeWindow(w);

    w = openEdit("Title", "Title 1");
    EXPECT_FALSE(mainWindow()->isSearchEnabled());
    w->subWindow()->close();  // the window's own close box
    pump();
    EXPECT_EQ(windows::find<frmAdd>(), nullptr);
    EXPECT_FALSE(mainWindow()->isSearchEnabled());
    EXPECT_EQ(mainWindow()->panelText(1), "No database open");

    w = openEdit("Title", "Title 1");
    button(w, "cmdCommand3")->click();
    pump();
    EXPECT_EQ(windows::find<frmAdd>(), nullptr);
    EXPECT_TRUE(mainWindow()->isSearchEnabled());
}

TEST_F(VideoEditorTest, EnterMovesThroughTheBoxesAndSavesOnce)
{
    frmAdd* w = openAdd();
    type(w, valid("K1"));
    const char* chain[] = {"txtCode", "txtTitle", "txtMain", "txtSecond", "txtCategory", "txtTapes"};
    for (size_t i = 0; i < std::size(chain); ++i) {
        QTest::keyClick(box(w, chain[i]), Qt::Key_Return);
        QWidget* expected = i + 1 < std::size(chain) ? static_cast<QWidget*>(box(w, chain[i + 1]))
                                                     : static_cast<QWidget*>(button(w, "cmdSave"));
        EXPECT_EQ(w->focusWidget(), expected) << chain[i];
    }
    EXPECT_EQ(box(w, "txtCode")->text(), "K1");  // the Enter is not typed into the box
    QTest::keyClick(button(w, "cmdSave"), Qt::Key_Return);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ(count(schema::kVideo), 1);
}

// Tab and the access keys reach the boxes in the order the clerk fills them.
TEST_F(VideoEditorTest, AccessKeysAndTabOrderReachTheBoxes)
{
    frmAdd* w = openAdd();
    const std::pair<const char*, const char*> pairs[] = {
        {"lblCode", "txtCode"},     {"lblAddTitle", "txtTitle"}, {"lblMainCast", "txtMain"},
        {"lblSecond", "txtSecond"}, {"lblCat", "txtCategory"},   {"lblTapes", "txtTapes"}};
    for (const auto& [label, name] : pairs)
        EXPECT_EQ(control<QLabel>(w, label)->buddy(), box(w, name)) << label;
    expectTabOrder(w, {"txtCode", "txtTitle", "txtMain", "txtSecond", "txtCategory", "txtTapes", "cmdCommand1",
                       "cmdSave", "cmdCommand2", "cmdCommand3"});
    EXPECT_EQ(w->subWindow()->size(), twips::size(6165, 5280));
}

}  // namespace
