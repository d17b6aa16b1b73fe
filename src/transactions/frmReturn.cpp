#include "transactions/frmReturn.h"

#include "data/modQuorvane.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
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

void showReturns()
{
    store::Recordset& returns = sharedSet(modQuorvane::rsReturnee);
    shell::showTableStatus(returns.Name(), returns.RecordCount());
}

}  // namespace

frmReturn::frmReturn()
{
    setObjectName(QStringLiteral("frmReturn"));
    buildControls();
}

void frmReturn::buildControls()
{
    lblCaption = ui::addHeading(this, QStringLiteral("Return rented tape"));
    lblVcode = ui::addEntryCaption(this, "lblVcode", QStringLiteral("&Video tape code  :"), ui::kVcodeTop);
    txtVcode = ui::addEntryBox(this, "txtVcode", ui::kVcodeTop);
    lblMemcode = ui::addEntryCaption(this, "lblMemcode", QStringLiteral("&Member ID/code :"), ui::kMemcodeTop);
    txtMemcode = ui::addEntryBox(this, "txtMemcode", ui::kMemcodeTop);
    cmdCheck = ui::addCheckButton(this, ui::kCheckTop);

    fraMessages = ui::addStatusFrame(this, ui::kFrameTop, 5);
    lblTitle = ui::addResultCaption(fraMessages, "lblTitle", QStringLiteral("Movie Title :"), 0);
    txtTitle = ui::addResultBox(fraMessages, "txtTitle", 0);
    lblMember = ui::addResultCaption(fraMessages, "lblMember", QStringLiteral("Member Name :"), 1);
    txtName = ui::addResultBox(fraMessages, "txtName", 1);
    lblRent = ui::addResultCaption(fraMessages, "lblRent", QStringLiteral("Date of rent :"), 2);
    txtDaterent = ui::addResultBox(fraMessages, "txtDaterent", 2);
    lblDate = ui::addResultCaption(fraMessages, "lblDate", QStringLiteral("Date of return :"), 3);
    txtDatereturn = ui::addResultBox(fraMessages, "txtDatereturn", 3);
    lblDays = ui::addResultCaption(fraMessages, "lblDays", QStringLiteral("No. of days rented :"), 4);
    txtDays = ui::addResultBox(fraMessages, "txtDays", 4);

    cmdTrans = ui::addFootButton(this, fraMessages, "cmdTrans", QStringLiteral("&Return"), 0);
    cmdClear = ui::addFootButton(this, fraMessages, "cmdClear", QStringLiteral("C&lear"), 1);
    cmdCancel = ui::addFootButton(this, fraMessages, "cmdCancel", QStringLiteral("&Cancel"), 2);

    lblVcode->setBuddy(txtVcode);
    lblMemcode->setBuddy(txtMemcode);
    lblTitle->setBuddy(txtTitle);
    lblMember->setBuddy(txtName);
    lblRent->setBuddy(txtDaterent);
    lblDate->setBuddy(txtDatereturn);
    lblDays->setBuddy(txtDays);

    QWidget* order[] = {txtVcode,    txtMemcode,    cmdCheck, txtTitle, txtName, txtDaterent,
                        txtDatereturn, txtDays, cmdTrans, cmdClear, cmdCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(cmdCheck, &QPushButton::clicked, this, &frmReturn::cmdCheck_Click);
    connect(cmdTrans, &QPushButton::clicked, this, &frmReturn::cmdTrans_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmReturn::cmdClear_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReturn::cmdCancel_Click);
    keys::onKeyPress(txtVcode, [this](int& k) { txtVcode_KeyPress(k); });
    keys::onKeyPress(txtMemcode, [this](int& k) { txtMemcode_KeyPress(k); });
    keys::onKeyPress(cmdCheck, [this](int& k) { cmdCheck_KeyPress(k); });
}

void frmReturn::Form_Load()
{
    setCaption(QStringLiteral("Return tape/s"));
    txtDaterent->clear();
    txtDatereturn->setText(convert::ShortDate(clock_service::today()));
    txtDays->clear();
    txtVcode->clear();
    txtMemcode->clear();
    txtTitle->clear();
    txtName->clear();
    cmdTrans->setEnabled(false);
    rentalRow_ = 0;
    setOuterSizeTwips(5295, 7170);
    try {
        showReturns();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmReturn::cmdCheck_Click()
{
    try {
        if (!modValidate::CheckReturn(txtVcode->text(), txtMemcode->text())) {
            cmdClear_Click();
            return;
        }
        // The check left rsRentals on the open rental, rsVideo on the title
        // and rsMembers on the member. Everything is read before the window
        // changes, so that a failure leaves it as it was.
        store::Recordset& video = sharedSet(modQuorvane::rsVideo);
        store::Recordset& members = sharedSet(modQuorvane::rsMembers);
        const std::int64_t row = sharedSet(modQuorvane::rsRentals).Bookmark();
        const std::optional<QDate> rentDate = transactions::CurrentRentDate();
        if (!rentDate)
            throw ConversionError(QStringLiteral("Invalid use of Null"));
        const QString title = video.Text(QStringLiteral("Title"));
        const QString name =
            members.Text(QStringLiteral("First Name")) + QLatin1Char(' ') + members.Text(QStringLiteral("Last Name"));

        rentalRow_ = row;
        txtVcode->setEnabled(false);
        txtMemcode->setEnabled(false);
        cmdCheck->setEnabled(false);
        cmdTrans->setEnabled(true);
        txtTitle->setText(title);
        txtName->setText(name);
        txtDaterent->setText(convert::ShortDate(*rentDate));
        txtDays->setText(QString::number(rentDate->daysTo(clock_service::today())));
        cmdCancel->setText(QStringLiteral("&Close"));
        cmdTrans->setFocus();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmReturn::cmdCheck_KeyPress(int& keyAscii)
{
    if (keyAscii == keys::vbKeyReturn && cmdCheck->isEnabled())
        cmdCheck_Click();
}

void frmReturn::cmdTrans_Click()
{
    if (!cmdTrans->isEnabled())
        return;
    try {
        switch (transactions::ReturnTape(txtVcode->text(), txtMemcode->text(), rentalRow_)) {
        case transactions::Outcome::Done:
            // One return per check: a second press would return again unchecked.
            cmdTrans->setEnabled(false);
            cmdClear->setFocus();
            dialogs::message(QStringLiteral("Member ") + txtName->text() +
                                 QStringLiteral(" succesfully returned ") + txtTitle->text(),
                             dialogs::Icon::Information);
            showReturns();
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

void frmReturn::cmdClear_Click()
{
    txtDatereturn->setText(convert::ShortDate(clock_service::today()));
    txtVcode->clear();
    txtVcode->setEnabled(true);
    txtMemcode->clear();
    txtMemcode->setEnabled(true);
    cmdCheck->setEnabled(true);
    txtTitle->clear();
    txtName->clear();
    txtDaterent->clear();
    txtDays->clear();
    rentalRow_ = 0;
    cmdTrans->setEnabled(false);
    txtVcode->setFocus();
    cmdCancel->setText(QStringLiteral("&Cancel"));
}

void frmReturn::cmdCancel_Click() { Unload(); }

void frmReturn::Form_Unload()
{
    shell::setStatusPanel(1, QStringLiteral("No database open"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}

void frmReturn::txtVcode_KeyPress(int& keyAscii) { keys::enterMovesFocus(keyAscii, txtMemcode); }

void frmReturn::txtMemcode_KeyPress(int& keyAscii) { keys::enterMovesFocus(keyAscii, cmdCheck); }
