// The member editor: its field checks, the registry name, the cut of the
// address, the refusal of a known ID, the stepping and the positioning on a
// searched member, and its failures reported rather than fatal.
#include "catalogue/frmMembers.h"
#include "catalogue/CatalogueFixture.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QTest>

#include <gtest/gtest.h>

using namespace catalogue_tests;
using testing_support::control;
using testing_support::pump;

namespace {

class MemberEditorTest : public CatalogueTest {
protected:
    frmMembers* openAdd()
    {
        modQuorvane::EditMode = false;
        frmMembers* w = windows::reopen<frmMembers>();
        pump();
        return w;
    }

    frmMembers* openEdit(const QString& field, const QString& value)
    {
        modQuorvane::EditMode = true;
        modQuorvane::SearchField = field;
        modQuorvane::SearchValue = value;
        frmMembers* w = windows::show<frmMembers>();
        pump();
        return w;
    }

    static void type(frmMembers* w, const Member& m)
    {
        box(w, "txtCode")->setText(m.id);
        box(w, "txtLast")->setText(m.lastName);
        box(w, "txtFirst")->setText(m.firstName);
        box(w, "txtAddress")->setText(m.address);
        box(w, "txtContact")->setText(m.contact);
    }

    static void save(frmMembers* w) { button(w, "cmdSave")->click(); }
};

TEST_F(MemberEditorTest, FieldChecksRunInOrderWithTheirMessagesAndFocus)
{
    frmMembers* w = openAdd();
    const std::tuple<const char*, const char*, const char*> steps[] = {
        {nullptr, "Member code is empty", "txtCode"},
        {"txtCode", "Last name is empty", "txtLast"},
        {"txtLast", "First name is empty", "txtFirst"},
        {"txtFirst", "Address is empty", "txtAddress"},
        {"txtAddress", "Contact no. is empty", "txtContact"},
    };
    for (const auto& [filled, message, focus] : steps) {
        if (filled)
            box(w, filled)->setText(" ");  // a box of blanks passes
        dialogs_.clear();
        save(w);
        ASSERT_EQ(dialogs_.messages.size(), 1u) << message;
        EXPECT_EQ(dialogs_.messages[0].text, QString::fromLatin1(message));
        EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Exclamation);
        EXPECT_EQ(w->focusWidget(), box(w, focus)) << message;
    }
    EXPECT_EQ(count(schema::kMembers), 0);
    EXPECT_EQ(count(schema::kMemberCode), 0);

    // Only the first name missing.
    type(w, {"M1", "Smith", "", "Main St", "555"});
    dialogs_.clear();
    save(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"First name is empty"});
    EXPECT_EQ(w->focusWidget(), box(w, "txtFirst"));
}

TEST_F(MemberEditorTest, SaveCutsTheTextsAndRegistersLastThenFirstName)
{
    frmMembers* w = openAdd();
    type(w, {"M1", "Smith", "John", "12 Long Road", "call after six"});  // no format check on the contact
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ((*findRow(schema::kMemberCode, "Member ID", "M1"))[1], "Smith John");
    EXPECT_EQ((*findRow(schema::kMembers, "Member ID", "M1"))[4], "call after six");
    EXPECT_TRUE(button(w, "cmdCommand2")->isEnabled());
    EXPECT_EQ(w->focusWidget(), box(w, "txtCode"));

    const QString s35 = QString("abcdefg").repeated(5);
    const QString s60 = QString("0123456789").repeated(6);
    type(w, {"X" + s35, "L" + s35, "F" + s35, s60, "C" + s35});
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    const QString id = ("X" + s35).left(30);
    const auto row = findRow(schema::kMembers, "Member ID", id);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ((*row)[1], ("L" + s35).left(30));
    EXPECT_EQ((*row)[2], ("F" + s35).left(30));
    EXPECT_EQ((*row)[3], s60.left(50));
    EXPECT_EQ((*row)[4], ("C" + s35).left(30));
    // 30 + blank + 30 characters, cut to 60.
    const QString name = (*findRow(schema::kMemberCode, "Member ID", id))[1];
    EXPECT_EQ(name, (("L" + s35).left(30) + " " + ("F" + s35).left(30)).left(60));
    EXPECT_EQ(name.size(), 60);
}

TEST_F(MemberEditorTest, CharactersBeyondTheBasicPlaneAreCutWholeInEveryBox)
{
    frmMembers* w = openAdd();
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");    // an emoji face
    const QString han = QString::fromUtf8("\xF0\xA0\x80\x80");     // a CJK ideograph beyond the basic plane
    type(w, {"M" + face.repeated(40), han.repeated(31), "J" + face.repeated(30), face.repeated(55),
             "5" + han.repeated(35)});
    save(w);
    ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    const QString id = "M" + face.repeated(29);
    const auto row = findRow(schema::kMembers, "Member ID", id);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ((*row)[1], han.repeated(30));
    EXPECT_EQ((*row)[2], "J" + face.repeated(29));
    EXPECT_EQ((*row)[3], face.repeated(50));
    EXPECT_EQ((*row)[4], "5" + han.repeated(29));
    // The registry name: 30 + blank + 30 characters, cut to 60 characters.
    EXPECT_EQ((*findRow(schema::kMemberCode, "Member ID", id))[1],
              han.repeated(30) + " " + "J" + face.repeated(28));
}

TEST_F(MemberEditorTest, AddModeRefusesAKnownIdAndEditModeNever)
{
    addMember(1);
    frmMembers* w = openAdd();
    type(w, {"M7", "Doe", "Jane", "Elm", "1"});
    save(w);
    save(w);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Member's ID exist in database, choose another code...");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Exclamation);
    EXPECT_EQ(box(w, "txtCode")->selectedText(), "M7");
    EXPECT_EQ(w->focusWidget(), box(w, "txtCode"));
    EXPECT_EQ(count(schema::kMembers), 2);
    w->Unload();
    pump();

    dialogs_.clear();
    frmMembers* e = openEdit("Last Name", "Doe");
    EXPECT_FALSE(box(e, "txtCode")->isEnabled());
    box(e, "txtAddress")->setText("Oak");
    save(e);
    save(e);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ((*findRow(schema::kMembers, "Member ID", "M7"))[3], "Oak");
    EXPECT_EQ(count(schema::kMembers), 2);
    EXPECT_EQ(count(schema::kMemberCode), 1);
    EXPECT_EQ(e->focusWidget(), box(e, "txtLast"));
}

TEST_F(MemberEditorTest, IdOfAMemberOnFileStaysRegisteredWhenRefused)
{
    addMember(1);  // its registry row has been deleted
    frmMembers* w = openAdd();
    type(w, {"M1", "Again", "Someone", "Elm", "2"});
    save(w);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith("Error : "));
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    EXPECT_EQ(count(schema::kMembers), 1);
    EXPECT_EQ(count(schema::kMemberCode), 1);
    dialogs_.clear();
    save(w);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Member's ID exist in database, choose another code..."});
}

TEST_F(MemberEditorTest, SteppingAndLocatingFollowTheTableOrder)
{
    addMember(1, "Reyes");
    addMember(2, "Cruz");
    addMember(3, "Santos");
    addMember(4, "Cruz");
    frmMembers* w = openEdit("Last Name", "Cruz");  // shared: the first in table order
    QPushButton* previous = button(w, "cmdCommand1");
    QPushButton* next = button(w, "cmdCommand2");
    EXPECT_EQ(box(w, "txtCode")->text(), "M2");
    EXPECT_EQ(box(w, "txtFirst")->text(), "First 2");
    EXPECT_TRUE(previous->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    previous->click();
    EXPECT_EQ(box(w, "txtCode")->text(), "M1");
    EXPECT_FALSE(previous->isEnabled());
    EXPECT_TRUE(box(w, "txtCode")->selectedText().isEmpty());
    EXPECT_EQ(w->focusWidget(), box(w, "txtLast"));
    next->click();
    next->click();
    next->click();
    EXPECT_EQ(box(w, "txtCode")->text(), "M4");
    EXPECT_EQ(modQuorvane::rsMembers->Text(0), "M4");
    EXPECT_TRUE(previous->isEnabled());
    EXPECT_FALSE(next->isEnabled());
    w->Unload();
    pump();

    w = openEdit("Contact", "nobody");  // no match: the last member
    EXPECT_EQ(box(w, "txtCode")->text(), "M4");
    EXPECT_TRUE(button(w, "cmdCommand1")->isEnabled());
    EXPECT_FALSE(button(w, "cmdCommand2")->isEnabled());
    w->Unload();
    pump();

    w = openEdit("First Name", "First 1");  // the first member: nothing moves
    EXPECT_EQ(box(w, "txtCode")->text(), "M1");
    EXPECT_FALSE(button(w, "cmdCommand1")->isEnabled());
    EXPECT_TRUE(button(w, "cmdCommand2")->isEnabled());
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(MemberEditorTest, OneMemberLeavesBothStepsDisabled)
{
    addMember(1);
    frmMembers* w = openEdit("Address", "Street 1");
    EXPECT_FALSE(button(w, "cmdCommand1")->isEnabled());
    EXPECT_FALSE(button(w, "cmdCommand2")->isEnabled());
    EXPECT_EQ(mainWindow()->panelText(1), "Members Database");
    EXPECT_EQ(mainWindow()->panelText(2), "1 records");
}

TEST_F(MemberEditorTest, EditSaveWritesTheMemberShownEvenIfTheRecordSetMoved)
{
    addMember(1);
    addMember(2);
    frmMembers* w = openEdit("First Name", "First 1");
    box(w, "txtAddress")->setText("New Street");
    modQuorvane::rsMembers->MoveLast();  // as a return check's scan leaves it
    save(w);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ((*findRow(schema::kMembers, "Member ID", "M1"))[3], "New Street");
    EXPECT_EQ((*findRow(schema::kMembers, "Member ID", "M2"))[3], "Street 2");
}

TEST_F(MemberEditorTest, FailuresOfLoadAndSaveAreReported)
{
    addMember(1);
    frmMembers* w = openEdit("Nickname", "Bo");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(dialogs_.texts(), QStringList{"Error : Item not found in this collection."});
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);
    w->Unload();
    pump();

    dialogs_.clear();
    w = openAdd();
    modQuorvane::dbMain->Close();  // the file is gone from under the window
    type(w, {"M9", "A", "B", "C", "D"});
    save(w);
    ASSERT_FALSE(dialogs_.messages.empty());
    for (const auto& m : dialogs_.messages) {
        EXPECT_TRUE(m.text.startsWith("Error : ")) << m.text.toStdString();
        EXPECT_EQ(m.icon, dialogs::Icon::Critical);
    }
}

TEST_F(MemberEditorTest, StatusBarAndCloseLeaveTheSearchCommandAlone)
{
    frmMembers* w = openAdd();
    EXPECT_EQ(mainWindow()->panelText(1), "Members Database");
    EXPECT_EQ(mainWindow()->panelText(2), "0 records");
    type(w, {"M1", "Smith", "John", "Elm", "1"});
    save(w);
    EXPECT_EQ(mainWindow()->panelText(2), "1 records");
    mainWindow()->setSearchEnabled(false);
    button(w, "cmdCommand3")->click();
    pump();
    EXPECT_EQ(windows::find<frmMembers>(), nullptr);
    EXPECT_EQ(mainWindow()->panelText(1), "No database open");
    EXPECT_EQ(mainWindow()->panelText(2), "0 records");
    EXPECT_FALSE(mainWindow()->isSearchEnabled());

    w = openEdit("Last Name", "Smith");
    EXPECT_FALSE(mainWindow()->isSearchEnabled());  // untouched by the member editor
    mainWindow()->setSearchEnabled(true);
    w->subWindow()->close();
    pump();
    EXPECT_TRUE(mainWindow()->isSearchEnabled());
}

TEST_F(MemberEditorTest, EnterAndTabFollowTheBoxes)
{
    frmMembers* w = openAdd();
    const std::pair<const char*, const char*> pairs[] = {{"lblCode", "txtCode"},
                                                         {"lblLast", "txtLast"},
                                                         {"lblFirst", "txtFirst"},
                                                         {"lblAddress", "txtAddress"},
                                                         {"lblContact", "txtContact"}};
    for (const auto& [label, name] : pairs)
        EXPECT_EQ(control<QLabel>(w, label)->buddy(), box(w, name)) << label;
    expectTabOrder(w, {"txtCode", "txtLast", "txtFirst", "txtAddress", "txtContact", "cmdCommand1", "cmdSave",
                       "cmdCommand2", "cmdCommand3"});
    EXPECT_EQ(w->subWindow()->size(), twips::size(6135, 4875));

    type(w, {"M1", "Smith", "John", "Elm", "1"});
    const char* chain[] = {"txtCode", "txtLast", "txtFirst", "txtAddress", "txtContact"};
    for (size_t k = 0; k < std::size(chain); ++k) {
        QTest::keyClick(box(w, chain[k]), Qt::Key_Return);
        QWidget* expected = k + 1 < std::size(chain) ? static_cast<QWidget*>(box(w, chain[k + 1]))
                                                     : static_cast<QWidget*>(button(w, "cmdSave"));
        EXPECT_EQ(w->focusWidget(), expected) << chain[k];
    }
    QTest::keyClick(button(w, "cmdSave"), Qt::Key_Return);
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.texts().join(';').toStdString();
    EXPECT_EQ(count(schema::kMembers), 1);
}

}  // namespace
