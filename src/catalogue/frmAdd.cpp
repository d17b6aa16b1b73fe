#include "catalogue/frmAdd.h"

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


constexpr int kFirstBoxTop = 1080;
constexpr int kBoxStep = 480;
constexpr int kButtonRowTop = kFirstBoxTop + 6 * kBoxStep + 120;

store::Recordset& videoSet() { return modQuorvane::Shared(modQuorvane::rsVideo); }

void warn(const QString& text) { dialogs::message(text, dialogs::Icon::Exclamation); }

}  // namespace

frmAdd::frmAdd()
{
    setObjectName(QStringLiteral("frmAdd"));
    buildControls();
}

void frmAdd::buildControls()
{
    int top = kFirstBoxTop;
    lblCode = catalogue::addCaption(this, "lblCode", QStringLiteral("&Video code :"), top);
    txtCode = catalogue::addBox(this, "txtCode", top);
    top += kBoxStep;
    lblAddTitle = catalogue::addCaption(this, "lblAddTitle", QStringLiteral("&Movie Title :"), top);
    txtTitle = catalogue::addBox(this, "txtTitle", top);
    top += kBoxStep;
    lblMainCast = catalogue::addCaption(this, "lblMainCast", QStringLiteral("M&ain Cast :"), top);
    txtMain = catalogue::addBox(this, "txtMain", top);
    top += kBoxStep;
    lblSecond = catalogue::addCaption(this, "lblSecond", QStringLiteral("Sec&ond Cast :"), top);
    txtSecond = catalogue::addBox(this, "txtSecond", top);
    top += kBoxStep;
    lblCat = catalogue::addCaption(this, "lblCat", QStringLiteral("Cat&egory :"), top);
    txtCategory = catalogue::addBox(this, "txtCategory", top);
    top += kBoxStep;
    lblTapes = catalogue::addCaption(this, "lblTapes", QStringLiteral("No. of &Tapes :"), top);
    txtTapes = catalogue::addBox(this, "txtTapes", top);
    lblTitle = catalogue::addHeading(this);
    cmdCommand1 = catalogue::addButton(this, "cmdCommand1", QStringLiteral("&Previous"), 0, kButtonRowTop);
    cmdSave = catalogue::addButton(this, "cmdSave", QStringLiteral("&Save"), 1, kButtonRowTop);
    cmdCommand2 = catalogue::addButton(this, "cmdCommand2", QStringLiteral("&Next"), 2, kButtonRowTop);
    cmdCommand3 = catalogue::addButton(this, "cmdCommand3", QStringLiteral("&Close"), 3, kButtonRowTop);

    lblCode->setBuddy(txtCode);
    lblAddTitle->setBuddy(txtTitle);
    lblMainCast->setBuddy(txtMain);
    lblSecond->setBuddy(txtSecond);
    lblCat->setBuddy(txtCategory);
    lblTapes->setBuddy(txtTapes);

    QWidget* order[] = {txtCode, txtTitle, txtMain, txtSecond, txtCategory, txtTapes,
                        cmdCommand1, cmdSave, cmdCommand2, cmdCommand3};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(cmdCommand1, &QPushButton::clicked, this, &frmAdd::cmdCommand1_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmAdd::cmdSave_Click);
    connect(cmdCommand2, &QPushButton::clicked, this, &frmAdd::cmdCommand2_Click);
    connect(cmdCommand3, &QPushButton::clicked, this, &frmAdd::cmdCommand3_Click);

    keys::onKeyPress(txtCode, [this](int& k) { txtCode_KeyPress(k); });
    keys::onKeyPress(txtTitle, [this](int& k) { txtTitle_KeyPress(k); });
    keys::onKeyPress(txtMain, [this](int& k) { txtMain_KeyPress(k); });
    keys::onKeyPress(txtSecond, [this](int& k) { txtSecond_KeyPress(k); });
    keys::onKeyPress(txtCategory, [this](int& k) { txtCategory_KeyPress(k); });
    keys::onKeyPress(txtTapes, [this](int& k) { txtTapes_KeyPress(k); });
    keys::pressOnEnter(cmdSave);
}

void frmAdd::Form_Load()
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

void frmAdd::loadAddMode()
{
    setCaption(QStringLiteral("Add Record"));
    lblTitle->setText(QStringLiteral("New Video Record"));
    cmdCommand2->setText(QStringLiteral("Clea&r"));
    clearBoxes();
    txtCode->setReadOnly(false);
    txtCode->setEnabled(true);
    store::Recordset& rs = videoSet();
    if (rs.RecordCount() >= 1)
        rs.MoveLast();
    cmdCommand1->setEnabled(false);
    cmdCommand2->setEnabled(false);
}

void frmAdd::loadEditMode()
{
    // While a title is being edited, the search cannot hand the editor another.
    shell::setSearchEnabled(false);
    setCaption(QStringLiteral("Edit Record"));
    lblTitle->setText(QStringLiteral("Edit Video Record"));
    store::Recordset& rs = videoSet();
    if (rs.RecordCount() >= 1)
        rs.MoveFirst();
    cmdCommand1->setText(QStringLiteral("&Previous"));
    cmdCommand2->setText(QStringLiteral("&Next"));
    cmdCommand1->setEnabled(false);
    cmdCommand2->setEnabled(false);
    showCurrentRow();
    // The code of a title on file cannot be changed.
    txtCode->setReadOnly(true);
    txtCode->setEnabled(false);
    txtCode->selectAll();
    if (rs.RecordCount() > 1)
        cmdCommand2->setEnabled(true);
    LocateRecord(modQuorvane::SearchField, modQuorvane::SearchValue);
}

void frmAdd::loadCommonEnding()
{
    setOuterSizeTwips(6165, 5280);
    store::Recordset& rs = videoSet();
    shell::setStatusPanel(1, rs.Name());
    shell::setStatusPanel(2, shell::recordsText(rs.RecordCount()));
}

void frmAdd::showCurrentRow()
{
    store::Recordset& rs = videoSet();
    txtCode->setText(rs.Text(0));
    txtTitle->setText(rs.Text(1));
    txtMain->setText(rs.Text(2));
    txtSecond->setText(rs.Text(3));
    txtCategory->setText(rs.Text(4));
    txtTapes->setText(rs.Text(5));
    shownRow_ = rs.Bookmark();
}

void frmAdd::clearBoxes()
{
    txtCode->clear();
    txtTitle->clear();
    txtMain->clear();
    txtSecond->clear();
    txtCategory->clear();
    txtTapes->clear();
    shownRow_ = 0;
}

// Stands on the first title, in the table's order, whose field holds the
// value, leaving the boxes and buttons as stepping there with Next would:
// Previous enabled once the window has moved off the first row, Next
// disabled on the last row. When no title matches, the window stands on the
// last one. The lookup goes straight to the row, however long the table.
void frmAdd::LocateRecord(const QString& fieldName, const QString& value)
{
    store::Recordset& rs = videoSet();
    if (!catalogue::locateRow(rs, fieldName, value))
        return;  // already there, or a single title: there is nowhere to step to
    cmdCommand1->setEnabled(true);
    cmdCommand2->setEnabled(!catalogue::onLastRow(rs));
    showCurrentRow();
    txtTitle->setFocus();
}

void frmAdd::cmdCommand1_Click()
{
    try {
        catalogue::stepBack(videoSet(), cmdCommand1, cmdCommand2);
        showCurrentRow();
        txtCode->selectAll();
        txtTitle->setFocus();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmAdd::cmdCommand2_Click()
{
    if (editMode_)
        attempt([&] { cmdCommand1->setEnabled(true); });
    attempt([&] { cmdCommand2->setEnabled(true); });
    attempt([&] { clearBoxes(); });
    if (editMode_) {
        catalogue::stepForward(videoSet, cmdCommand2);
        attempt([&] { showCurrentRow(); });
        attempt([&] { txtTitle->setFocus(); });
    } else {
        attempt([&] { cmdCommand2->setEnabled(false); });
        attempt([&] { txtCode->setFocus(); });
    }
}

void frmAdd::cmdSave_Click()
{
    try {
        if (!convert::IsNumeric(txtTapes->text())) {
            warn(QStringLiteral("Tapes must contain a number"));
            txtTapes->selectAll();
            txtTapes->setFocus();
            return;
        }
        struct Required {
            QLineEdit* box;
            const char* message;
        };
        const Required required[] = {{txtCode, "Video code is empty"},
                                     {txtMain, "Main cast is empty"},
                                     {txtSecond, "Second cast is empty"},
                                     {txtCategory, "Category is empty"}};
        for (const Required& r : required) {
            if (r.box->text().isEmpty()) {
                warn(QString::fromLatin1(r.message));
                r.box->setFocus();
                return;
            }
        }

        // The number is converted before the code is registered: a number the
        // shop cannot store stops the save here, and no code is taken for it.
        const short tapes = convert::CInt(convert::Left(txtTapes->text(), 30));
        const QString code = convert::Left(txtCode->text(), 30);

        store::Recordset& rs = videoSet();
        const QString title = convert::Left(txtTitle->text(), 30);
        const catalogue::SaveOutcome outcome = catalogue::saveWithCode(
            {code, title, schema::kVideoCode, schema::kVideo, kVideoCode}, editMode_, rs, [&] {
                catalogue::beginRecord(rs, editMode_, shownRow_);
                if (!editMode_)
                    rs.SetValue(kTapesOut, 0);
                rs.SetValue(kVideoCode, code);
                rs.SetValue(kTitle, title);
                rs.SetValue(kMainCast, convert::Left(txtMain->text(), 30));
                rs.SetValue(kSecondCast, convert::Left(txtSecond->text(), 30));
                rs.SetValue(kCategory, convert::Left(txtCategory->text(), 30));
                rs.SetValue(kTapesIn, static_cast<int>(tapes));
                rs.Update();
            });
        if (outcome == catalogue::SaveOutcome::CodeInUse) {
            warn(QStringLiteral("Video Tape's code exist in database, choose another code..."));
            txtCode->selectAll();
            txtCode->setFocus();
            return;
        }
        if (outcome == catalogue::SaveOutcome::Failed)
            return;

        if (editMode_) {
            catalogue::enableNextIfRowFollows(rs, cmdCommand2);
            txtTitle->setFocus();
        } else {
            cmdCommand2->setEnabled(true);
            txtCode->setFocus();
        }
        shell::setStatusPanel(2, shell::recordsText(rs.RecordCount()));
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}


void frmAdd::cmdCommand3_Click()
{
    try {
        Unload();
        shell::setSearchEnabled(true);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmAdd::Form_Unload()
{
    shell::setStatusPanel(1, QStringLiteral("No database open"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}

void frmAdd::txtCode_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtTitle);
}

void frmAdd::txtTitle_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtMain);
}

void frmAdd::txtMain_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtSecond);
}

void frmAdd::txtSecond_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtCategory);
}

void frmAdd::txtCategory_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, txtTapes);
}

void frmAdd::txtTapes_KeyPress(int& keyAscii)
{
    keys::enterMovesFocus(keyAscii, cmdSave);
}
