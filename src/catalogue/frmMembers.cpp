#include "catalogue/frmMembers.h"

#include "catalogue/EditorLayout.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/KeyPress.h"
#include "platform/Store.h"
#include "shell/MainWindowLink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <iterator>

using catalogue::attempt;

using namespace schema::field;

namespace {


constexpr int kFirstBoxTop = 1200;
constexpr int kBoxStep = 480;
constexpr int kButtonRowTop = kFirstBoxTop + 5 * kBoxStep + 120;

store::Recordset& memberSet() { return modQuorvane::Shared(modQuorvane::rsMembers); }

void warn(const QString& text) { dialogs::message(text, dialogs::Icon::Exclamation); }

}  // namespace

frmMembers::frmMembers()
{
    setObjectName(QStringLiteral("frmMembers"));
    buildControls();
}

void frmMembers::buildControls()
{
    int top = kFirstBoxTop;
    lblCode = catalogue::addCaption(this, "lblCode", QStringLiteral("&Member ID :"), top);
    txtCode = catalogue::addBox(this, "txtCode", top);
    top += kBoxStep;
    lblLast = catalogue::addCaption(this, "lblLast", QStringLiteral("&Last Name :"), top);
    txtLast = catalogue::addBox(this, "txtLast", top);
    top += kBoxStep;
    lblFirst = catalogue::addCaption(this, "lblFirst", QStringLiteral("&First Name:"), top);
    txtFirst = catalogue::addBox(this, "txtFirst", top);
    top += kBoxStep;
    lblAddress = catalogue::addCaption(this, "lblAddress", QStringLiteral("&Address :"), top);
    txtAddress = catalogue::addBox(this, "txtAddress", top);
    top += kBoxStep;
    lblContact = catalogue::addCaption(this, "lblContact", QStringLiteral("C&ontact No. :"), top);
    txtContact = catalogue::addBox(this, "txtContact", top);
    cmdCommand1 = catalogue::addButton(this, "cmdCommand1", QStringLiteral("&Previous"), 0, kButtonRowTop);
    cmdSave = catalogue::addButton(this, "cmdSave", QStringLiteral("&Save"), 1, kButtonRowTop);
    cmdCommand2 = catalogue::addButton(this, "cmdCommand2", QStringLiteral("&Next"), 2, kButtonRowTop);
    cmdCommand3 = catalogue::addButton(this, "cmdCommand3", QStringLiteral("&Close"), 3, kButtonRowTop);
    lblTitle = catalogue::addHeading(this);

    lblCode->setBuddy(txtCode);
    lblLast->setBuddy(txtLast);
    lblFirst->setBuddy(txtFirst);
    lblAddress->setBuddy(txtAddress);
    lblContact->setBuddy(txtContact);

    QWidget* order[] = {txtCode, txtLast, txtFirst, txtAddress, txtContact,
                        cmdCommand1, cmdSave, cmdCommand2, cmdCommand3};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(cmdCommand1, &QPushButton::clicked, this, &frmMembers::cmdCommand1_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMembers::cmdSave_Click);
    connect(cmdCommand2, &QPushButton::clicked, this, &frmMembers::cmdCommand2_Click);
    connect(cmdCommand3, &QPushButton::clicked, this, &frmMembers::cmdCommand3_Click);

    keys::onKeyPress(txtCode, [this](int& k) { txtCode_KeyPress(k); });
    keys::onKeyPress(txtLast, [this](int& k) { txtLast_KeyPress(k); });
    keys::onKeyPress(txtFirst, [this](int& k) { txtFirst_KeyPress(k); });
    keys::onKeyPress(txtAddress, [this](int& k) { txtAddress_KeyPress(k); });
    keys::onKeyPress(txtContact, [this](int& k) { txtContact_KeyPress(k); });
    keys::pressOnEnter(cmdSave);
}

void frmMembers::Form_Load()
{
    // The mode is taken once, here, and kept until the window closes.
    editMode_ = modQuorvane::EditMode;
    try {
        if (editMode_)
            loadEditMode();
        else
            loadAddMode();
        loadCommonEnding();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmMembers::loadAddMode()
{
    setCaption(QStringLiteral("Add New Member"));
    lblTitle->setText(QStringLiteral("New Member"));
    cmdCommand2->setText(QStringLiteral("Clea&r"));
    clearBoxes();
    txtCode->setReadOnly(false);
    txtCode->setEnabled(true);
    store::Recordset& rs = memberSet();
    if (rs.RecordCount() >= 1)
        rs.MoveLast();
    cmdCommand1->setEnabled(false);
    cmdCommand2->setEnabled(false);
}

void frmMembers::loadEditMode()
{
    setCaption(QStringLiteral("Edit Member"));
    lblTitle->setText(QStringLiteral("Edit Member Record"));
    store::Recordset& rs = memberSet();
    if (rs.RecordCount() >= 1)
        rs.MoveFirst();
    cmdCommand2->setText(QStringLiteral("&Next"));
    cmdCommand1->setEnabled(false);
    cmdCommand2->setEnabled(false);
    showCurrentRow();
    // The ID of a member on file cannot be changed.
    txtCode->setReadOnly(true);
    txtCode->setEnabled(false);
    txtCode->selectAll();
    if (rs.RecordCount() > 1)
        cmdCommand2->setEnabled(true);
    LocateRecord(modQuorvane::SearchField, modQuorvane::SearchValue);
}

void frmMembers::loadCommonEnding()
{
    setOuterSizeTwips(6135, 4875);
    store::Recordset& rs = memberSet();
    shell::setStatusPanel(1, rs.Name());
    shell::setStatusPanel(2, shell::recordsText(rs.RecordCount()));
}

void frmMembers::showCurrentRow()
{
    store::Recordset& rs = memberSet();
    txtCode->setText(rs.Text(0));
    txtLast->setText(rs.Text(1));
    txtFirst->setText(rs.Text(2));
    txtAddress->setText(rs.Text(3));
    txtContact->setText(rs.Text(4));
    shownRow_ = rs.Bookmark();
}

void frmMembers::clearBoxes()
{
    txtCode->clear();
    txtLast->clear();
    txtFirst->clear();
    txtAddress->clear();
    txtContact->clear();
    shownRow_ = 0;
}

// Stands on the first member, in the table's order, whose field holds the
// value, leaving the boxes and buttons as stepping there with Next would:
// Previous enabled once the window has moved off the first member, Next
// disabled on the last one. When no member matches, the window stands on the
// last one. The lookup goes straight to the row, however long the table.
void frmMembers::LocateRecord(const QString& fieldName, const QString& value)
{
    store::Recordset& rs = memberSet();
    if (!catalogue::locateRow(rs, fieldName, value))
        return;  // already there, or a single member: there is nowhere to step to
    cmdCommand1->setEnabled(true);
    cmdCommand2->setEnabled(!catalogue::onLastRow(rs));
    showCurrentRow();
    txtLast->setFocus();
}

void frmMembers::cmdCommand1_Click()
{
    try {
        catalogue::stepBack(memberSet(), cmdCommand1, cmdCommand2);
        showCurrentRow();
        txtLast->setFocus();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmMembers::cmdCommand2_Click()
{
    if (editMode_)
        attempt([&] { cmdCommand1->setEnabled(true); });
    attempt([&] { cmdCommand2->setEnabled(true); });
    attempt([&] { clearBoxes(); });
    if (editMode_) {
        catalogue::stepForward(memberSet, cmdCommand2);
        attempt([&] { showCurrentRow(); });
        attempt([&] { txtLast->setFocus(); });
    } else {
        attempt([&] { cmdCommand2->setEnabled(false); });
        attempt([&] { txtCode->setFocus(); });
    }
}

void frmMembers::cmdSave_Click()
{
    try {
        struct Required {
            QLineEdit* box;
            const char* message;
        };
        const Required required[] = {{txtCode, "Member code is empty"},
                                     {txtLast, "Last name is empty"},
                                     {txtFirst, "First name is empty"},
                                     {txtAddress, "Address is empty"},
                                     {txtContact, "Contact no. is empty"}};
        for (const Required& r : required) {
            if (r.box->text().isEmpty()) {
                warn(QString::fromLatin1(r.message));
                r.box->setFocus();
                return;
            }
        }

        const QString code = convert::Left(txtCode->text(), 30);
        const QString lastName = convert::Left(txtLast->text(), 30);
        const QString firstName = convert::Left(txtFirst->text(), 30);
        // The registry keeps the member as "Last First".
        const QString registryName = convert::Left(lastName + QLatin1Char(' ') + firstName, 60);

        store::Recordset& rs = memberSet();
        const catalogue::SaveOutcome outcome = catalogue::saveWithCode(
            {code, registryName, schema::kMemberCode, schema::kMembers, kMemberId}, editMode_, rs, [&] {
                catalogue::beginRecord(rs, editMode_, shownRow_);
                rs.SetValue(kMemberId, code);
                rs.SetValue(kLastName, lastName);
                rs.SetValue(kFirstName, firstName);
                rs.SetValue(kAddress, convert::Left(txtAddress->text(), 50));
                rs.SetValue(kContact, convert::Left(txtContact->text(), 30));
                rs.Update();
            });
        if (outcome == catalogue::SaveOutcome::CodeInUse) {
            warn(QStringLiteral("Member's ID exist in database, choose another code..."));
            txtCode->selectAll();
            txtCode->setFocus();
            return;
        }
        if (outcome == catalogue::SaveOutcome::Failed)
            return;

        if (editMode_) {
            catalogue::enableNextIfRowFollows(rs, cmdCommand2);
            txtLast->setFocus();
        } else {
            cmdCommand2->setEnabled(true);
            txtCode->setFocus();
        }
        shell::setStatusPanel(2, shell::recordsText(rs.RecordCount()));
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}


void frmMembers::cmdCommand3_Click()
{
    try {
        Unload();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmMembers::Form_Unload()
{
    shell::setStatusPanel(1, QStringLiteral("No database open"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}

void frmMembers::txtCode_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtLast);
}

void frmMembers::txtLast_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtFirst);
}

void frmMembers::txtFirst_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtAddress);
}

void frmMembers::txtAddress_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtContact);
}

void frmMembers::txtContact_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, cmdSave);
}
