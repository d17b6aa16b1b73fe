#include "transactions/frmRent.h"

#include "data/modQuorvane.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/KeyPress.h"
#include "platform/Store.h"
#include "shell/MainWindowLink.h"
#include "transactions/TransactionLayout.h"
#include "transactions/Transactions.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <iterator>

namespace ui = transactions_ui;

namespace {

store::Recordset& sharedSet(const std::shared_ptr<store::Recordset>& rs)
{
    if (!rs)
        throw store::StoreError(store::ErrorKind::ObjectClosed, QStringLiteral("Object invalid or no longer set."));
    return *rs;
}

void showRentals()
{
    store::Recordset& rentals = sharedSet(modQuorvane::rsRentals);
    shell::showTableStatus(rentals.Name(), rentals.RecordCount());
}

}  // namespace

frmRent::frmRent()
{
    setObjectName(QStringLiteral("frmRent"));
    buildControls();
}

void frmRent::buildControls()
{
    lblCaption = ui::addHeading(this, QStringLiteral("Rent a Tape"));
    lblVcode = ui::addEntryCaption(this, "lblVcode", QStringLiteral("&Video tape code  :"), ui::kVcodeTop);
    txtVcode = ui::addEntryBox(this, "txtVcode", ui::kVcodeTop);
    lblMemcode = ui::addEntryCaption(this, "lblMemcode", QStringLiteral("&Member ID/code :"), ui::kMemcodeTop);
    txtMemcode = ui::addEntryBox(this, "txtMemcode", ui::kMemcodeTop);
    cmdCheck = ui::addCheckButton(this, ui::kCheckTop);

    fraMessages = ui::addStatusFrame(this, ui::kFrameTop, 4);
    lblTitle = ui::addResultCaption(fraMessages, "lblTitle", QStringLiteral("Movie Title :"), 0);
    txtTitle = ui::addResultBox(fraMessages, "txtTitle", 0);
    lblMember = ui::addResultCaption(fraMessages, "lblMember", QStringLiteral("Member Name :"), 1);
    txtName = ui::addResultBox(fraMessages, "txtName", 1);
    lblDate = ui::addResultCaption(fraMessages, "lblDate", QStringLiteral("Date of rent :"), 2);
    txtDate = ui::addResultBox(fraMessages, "txtDate", 2);
    lblTapes = ui::addResultCaption(fraMessages, "lblTapes", QStringLiteral("Tapes In :"), 3);
    txtTapes = ui::addResultBox(fraMessages, "txtTapes", 3);

    cmdTrans = ui::addFootButton(this, fraMessages, "cmdTrans", QStringLiteral("&Rent"), 0);
    cmdClear = ui::addFootButton(this, fraMessages, "cmdClear", QStringLiteral("C&lear"), 1);
    cmdCancel = ui::addFootButton(this, fraMessages, "cmdCancel", QStringLiteral("&Cancel"), 2);

    lblVcode->setBuddy(txtVcode);
    lblMemcode->setBuddy(txtMemcode);
    lblTitle->setBuddy(txtTitle);
    lblMember->setBuddy(txtName);
    lblDate->setBuddy(txtDate);
    lblTapes->setBuddy(txtTapes);

    QWidget* order[] = {txtVcode, txtMemcode, cmdCheck, txtTitle, txtName, txtDate, txtTapes,
                        cmdTrans, cmdClear, cmdCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(cmdCheck, &QPushButton::clicked, this, &frmRent::cmdCheck_Click);
    connect(cmdTrans, &QPushButton::clicked, this, &frmRent::cmdTrans_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmRent::cmdClear_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRent::cmdCancel_Click);
    keys::onKeyPress(txtVcode, [this](int& k) { txtVcode_KeyPress(k); });
    keys::onKeyPress(txtMemcode, [this](int& k) { txtMemcode_KeyPress(k); });
    keys::onKeyPress(cmdCheck, [this](int& k) { cmdCheck_KeyPress(k); });
}

void frmRent::Form_Load()
{
    setCaption(QStringLiteral("Rent tape/s"));
    txtDate->setText(convert::ShortDate(clock_service::today()));
    txtVcode->clear();
    txtMemcode->clear();
    txtTitle->clear();
    txtName->clear();
    txtTapes->clear();
    cmdTrans->setEnabled(false);
    setOuterSizeTwips(5295, 6825);
    try {
        showRentals();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmRent::cmdCheck_Click()
{
    try {
        if (!modValidate::CheckRent(txtVcode->text(), txtMemcode->text())) {
            cmdClear_Click();
            return;
        }
        // The check left the shared record sets on the title and the member.
        store::Recordset& video = sharedSet(modQuorvane::rsVideo);
        store::Recordset& members = sharedSet(modQuorvane::rsMembers);
        const QString title = video.Text(QStringLiteral("Title"));
        const QString name =
            members.Text(QStringLiteral("First Name")) + QLatin1Char(' ') + members.Text(QStringLiteral("Last Name"));
        const QString tapesIn = video.Text(QStringLiteral("Tapes In"));

        txtVcode->setEnabled(false);
        txtMemcode->setEnabled(false);
        cmdCheck->setEnabled(false);
        cmdTrans->setEnabled(true);
        txtTitle->setText(title);
        txtName->setText(name);
        txtTapes->setText(tapesIn);
        cmdCancel->setText(QStringLiteral("&Close"));
        cmdTrans->setFocus();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmRent::cmdCheck_KeyPress(int& keyAscii)
{
    if (keyAscii == keys::vbKeyReturn && cmdCheck->isEnabled())
        cmdCheck_Click();
}

void frmRent::cmdTrans_Click()
{
    if (!cmdTrans->isEnabled())
        return;
    try {
        switch (transactions::RentTape(txtVcode->text(), txtMemcode->text())) {
        case transactions::Outcome::Done:
            // One rent per check: a second press would rent again unchecked.
            cmdTrans->setEnabled(false);
            cmdClear->setFocus();
            dialogs::message(QStringLiteral("Member ") + txtName->text() + QStringLiteral(" succesfully rented ") +
                                 txtTitle->text(),
                             dialogs::Icon::Information);
            showRentals();
            break;
        case transactions::Outcome::Refused:
            cmdClear_Click();
            break;
        case transactions::Outcome::Failed:
            break;  // reported; the clerk may try again
        }
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmRent::cmdClear_Click()
{
    txtTapes->clear();
    txtDate->setText(convert::ShortDate(clock_service::today()));
    txtVcode->clear();
    txtVcode->setEnabled(true);
    txtMemcode->clear();
    txtMemcode->setEnabled(true);
    cmdCheck->setEnabled(true);
    txtTitle->clear();
    txtName->clear();
    cmdTrans->setEnabled(false);
    txtVcode->setFocus();
    cmdCancel->setText(QStringLiteral("&Cancel"));
}

void frmRent::cmdCancel_Click() { Unload(); }

void frmRent::Form_Unload()
{
    shell::setStatusPanel(1, QStringLiteral("No database open"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}

void frmRent::txtVcode_KeyPress(int& keyAscii) { keys::enterMovesFocus(keyAscii, txtMemcode); }

void frmRent::txtMemcode_KeyPress(int& keyAscii) { keys::enterMovesFocus(keyAscii, cmdCheck); }
