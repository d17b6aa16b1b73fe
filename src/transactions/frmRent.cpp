#include "transactions/frmRent.h"

#include "data/modQuorvane.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Store.h"
#include "transactions/Transactions.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using modQuorvane::Shared;

frmRent::frmRent() : TransactionWindow("frmRent", QStringLiteral("Rent a Tape"), 4)
{
    txtDate = addResult("lblDate", "txtDate", QStringLiteral("Date of rent :"));
    txtTapes = addResult("lblTapes", "txtTapes", QStringLiteral("Tapes In :"));
    finishControls(QStringLiteral("&Rent"));
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
        showTable(Shared(modQuorvane::rsRentals));
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmRent::cmdCheck_Click()
{
    try {
        // A message box lets other events run: the window may be closed
        // before it comes back.
        const QPointer<QuorvaneForm> self(this);
        const bool passed = modValidate::CheckRent(txtVcode->text(), txtMemcode->text());
        if (!self || isUnloaded())
            return;
        if (!passed) {
            cmdClear_Click();
            return;
        }
        // The check left the shared record sets on the title and the member;
        // everything is read before the window changes.
        store::Recordset& video = Shared(modQuorvane::rsVideo);
        store::Recordset& members = Shared(modQuorvane::rsMembers);
        const QString title = video.Text(QStringLiteral("Title"));
        const QString name =
            members.Text(QStringLiteral("First Name")) + QLatin1Char(' ') + members.Text(QStringLiteral("Last Name"));
        const QString tapesIn = video.Text(QStringLiteral("Tapes In"));
        txtTapes->setText(tapesIn);
        showReadyState(title, name);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmRent::cmdTrans_Click()
{
    if (!cmdTrans->isEnabled())
        return;
    try {
        const QPointer<QuorvaneForm> self(this);
        const transactions::Outcome outcome = transactions::RentTape(txtVcode->text(), txtMemcode->text());
        if (!self || isUnloaded())
            return;
        switch (outcome) {
        case transactions::Outcome::Done:
            showSuccess(QStringLiteral("Member ") + txtName->text() + QStringLiteral(" succesfully rented ") +
                            txtTitle->text(),
                        Shared(modQuorvane::rsRentals));
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
    showEntryState();
}
