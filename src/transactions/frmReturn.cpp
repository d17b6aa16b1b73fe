#include "transactions/frmReturn.h"

#include "data/modQuorvane.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Store.h"
#include "transactions/Transactions.h"

#include <QLineEdit>
#include <QPushButton>

using modQuorvane::Shared;

frmReturn::frmReturn() : TransactionWindow("frmReturn", QStringLiteral("Return rented tape"), 5)
{
    txtDaterent = addResult("lblRent", "txtDaterent", QStringLiteral("Date of rent :"));
    txtDatereturn = addResult("lblDate", "txtDatereturn", QStringLiteral("Date of return :"));
    txtDays = addResult("lblDays", "txtDays", QStringLiteral("No. of days rented :"));
    finishControls(QStringLiteral("&Return"));
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
        showTable(Shared(modQuorvane::rsReturnee));
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmReturn::cmdCheck_Click()
{
    try {
        if (!passesCheck(&modValidate::CheckReturn))
            return;
        // The check left rsRentals on the open rental. Everything is read
        // before the window changes, so that a failure leaves it as it was.
        const std::int64_t row = Shared(modQuorvane::rsRentals).Bookmark();
        const std::optional<QDate> rentDate = transactions::CurrentRentDate();
        if (!rentDate)
            throw ConversionError(QStringLiteral("Invalid use of Null"));
        const QString title = checkedTitle();
        const QString name = checkedMemberName();

        rentalRow_ = row;
        txtDaterent->setText(convert::ShortDate(*rentDate));
        txtDays->setText(QString::number(rentDate->daysTo(clock_service::today())));
        showReadyState(title, name);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmReturn::cmdTrans_Click()
{
    const QString code = txtVcode->text(), member = txtMemcode->text();
    const std::int64_t row = rentalRow_;
    record([&] { return transactions::ReturnTape(code, member, row); }, QStringLiteral("returned"),
           modQuorvane::rsReturnee);
}

void frmReturn::cmdClear_Click()
{
    txtDatereturn->setText(convert::ShortDate(clock_service::today()));
    txtDaterent->clear();
    txtDays->clear();
    rentalRow_ = 0;
    showEntryState();
}
