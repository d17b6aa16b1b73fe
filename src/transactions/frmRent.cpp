#include "transactions/frmRent.h"

#include "data/modQuorvane.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Store.h"
#include "transactions/Transactions.h"

#include <QLineEdit>
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
        if (!passesCheck(&modValidate::CheckRent))
            return;
        // Everything is read before the window changes.
        const QString title = checkedTitle();
        const QString name = checkedMemberName();
        const QString tapesIn = Shared(modQuorvane::rsVideo).Text(QStringLiteral("Tapes In"));
        txtTapes->setText(tapesIn);
        showReadyState(title, name);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmRent::cmdTrans_Click()
{
    const QString code = txtVcode->text(), member = txtMemcode->text();
    record([&] { return transactions::RentTape(code, member); }, QStringLiteral("rented"), modQuorvane::rsRentals);
}

void frmRent::cmdClear_Click()
{
    txtTapes->clear();
    txtDate->setText(convert::ShortDate(clock_service::today()));
    showEntryState();
}
