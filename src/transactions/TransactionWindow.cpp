#include "transactions/TransactionWindow.h"

#include "data/modQuorvane.h"
#include "platform/Dialogs.h"
#include "platform/KeyPress.h"
#include "platform/Store.h"
#include "platform/Twips.h"
#include "shell/MainWindowLink.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

// Measures in twips.
constexpr int kLeft = 240;
constexpr int kInnerWidth = 4695;  // from the left margin to the right one
constexpr int kCaptionWidth = 1815;
constexpr int kBoxLeft = 2160;
constexpr int kBoxWidth = kLeft + kInnerWidth - kBoxLeft;
constexpr int kBoxHeight = 315;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kVcodeTop = 900;
constexpr int kMemcodeTop = 1380;
constexpr int kCheckTop = 1860;
constexpr int kFrameTop = 2400;
// Inside the frame.
constexpr int kRowTop = 360;
constexpr int kRowStep = 450;
constexpr int kRowCaptionLeft = 120;
constexpr int kRowCaptionWidth = 1695;
constexpr int kRowBoxLeft = kBoxLeft - kLeft;
constexpr int kRowBoxWidth = kInnerWidth - kRowBoxLeft - 120;

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips::point(left, top), twips::size(width, height));
}

QLabel* captionLabel(QWidget* parent, const char* name, const QString& text, const QRect& where)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9.75);
    l->setFont(f);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setGeometry(where);
    return l;
}

QLineEdit* box(QWidget* parent, const char* name, const QRect& where)
{
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(where);
    return b;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QRect& where)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setGeometry(where);
    return b;
}

}  // namespace

TransactionWindow::TransactionWindow(const char* name, const QString& heading, int resultRows)
    : resultRows_(resultRows)
{
    setObjectName(QString::fromLatin1(name));
    lblCaption = new QLabel(heading, this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QFont f(QStringLiteral("Arial Black"));
    f.setPointSize(14);
    f.setWeight(QFont::Black);
    lblCaption->setFont(f);
    lblCaption->setAlignment(Qt::AlignCenter);
    lblCaption->setGeometry(twipsRect(kLeft, 180, kInnerWidth, 555));

    lblVcode = captionLabel(this, "lblVcode", QStringLiteral("&Video tape code  :"),
                       twipsRect(kLeft, kVcodeTop, kCaptionWidth, kBoxHeight));
    txtVcode = box(this, "txtVcode", twipsRect(kBoxLeft, kVcodeTop, kBoxWidth, kBoxHeight));
    lblMemcode = captionLabel(this, "lblMemcode", QStringLiteral("&Member ID/code :"),
                         twipsRect(kLeft, kMemcodeTop, kCaptionWidth, kBoxHeight));
    txtMemcode = box(this, "txtMemcode", twipsRect(kBoxLeft, kMemcodeTop, kBoxWidth, kBoxHeight));
    cmdCheck = button(this, "cmdCheck", QStringLiteral("C&heck"),
                      twipsRect(kLeft + kInnerWidth - kButtonWidth, kCheckTop, kButtonWidth, kButtonHeight));
    lblVcode->setBuddy(txtVcode);
    lblMemcode->setBuddy(txtMemcode);

    fraMessages = new QGroupBox(QStringLiteral("Status"), this);
    fraMessages->setObjectName(QStringLiteral("fraMessages"));
    fraMessages->setGeometry(twipsRect(kLeft, kFrameTop, kInnerWidth, kRowTop + resultRows * kRowStep + 90));
    txtTitle = addResult("lblTitle", "txtTitle", QStringLiteral("Movie Title :"));
    txtName = addResult("lblMember", "txtName", QStringLiteral("Member Name :"));
}

QLineEdit* TransactionWindow::addResult(const char* labelName, const char* boxName, const QString& text)
{
    const int top = kRowTop + static_cast<int>(resultBoxes_.size()) * kRowStep;
    QLabel* l = captionLabel(fraMessages, labelName, text, twipsRect(kRowCaptionLeft, top, kRowCaptionWidth, kBoxHeight));
    QLineEdit* b = box(fraMessages, boxName, twipsRect(kRowBoxLeft, top, kRowBoxWidth, kBoxHeight));
    b->setEnabled(false);  // display only
    l->setBuddy(b);
    resultBoxes_ << b;
    return b;
}

void TransactionWindow::finishControls(const QString& transCaption)
{
    const int top = kFrameTop + kRowTop + resultRows_ * kRowStep + 90 + 300;
    const int step = (kInnerWidth - kButtonWidth) / 2;
    cmdTrans = button(this, "cmdTrans", transCaption, twipsRect(kLeft, top, kButtonWidth, kButtonHeight));
    cmdClear = button(this, "cmdClear", QStringLiteral("C&lear"),
                      twipsRect(kLeft + step, top, kButtonWidth, kButtonHeight));
    cmdCancel = button(this, "cmdCancel", QStringLiteral("&Cancel"),
                       twipsRect(kLeft + 2 * step, top, kButtonWidth, kButtonHeight));

    QList<QWidget*> order{txtVcode, txtMemcode, cmdCheck};
    order << resultBoxes_ << cmdTrans << cmdClear << cmdCancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(cmdCheck, &QPushButton::clicked, this, &TransactionWindow::cmdCheck_Click);
    connect(cmdTrans, &QPushButton::clicked, this, &TransactionWindow::cmdTrans_Click);
    connect(cmdClear, &QPushButton::clicked, this, &TransactionWindow::cmdClear_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &TransactionWindow::cmdCancel_Click);
    keys::onKeyPress(txtVcode, [this](int& k) { txtVcode_KeyPress(k); });
    keys::onKeyPress(txtMemcode, [this](int& k) { txtMemcode_KeyPress(k); });
    keys::onKeyPress(cmdCheck, [this](int& k) { cmdCheck_KeyPress(k); });
}

void TransactionWindow::showEntryState()
{
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

void TransactionWindow::showReadyState(const QString& title, const QString& name)
{
    txtVcode->setEnabled(false);
    txtMemcode->setEnabled(false);
    cmdCheck->setEnabled(false);
    cmdTrans->setEnabled(true);
    txtTitle->setText(title);
    txtName->setText(name);
    cmdCancel->setText(QStringLiteral("&Close"));
    cmdTrans->setFocus();
}

bool TransactionWindow::passesCheck(bool (*check)(const QString& code, const QString& member))
{
    const QPointer<QuorvaneForm> self(this);
    const bool passed = check(txtVcode->text(), txtMemcode->text());
    if (!self || isUnloaded())
        return false;
    if (!passed)
        cmdClear_Click();
    return passed;
}

QString TransactionWindow::checkedTitle() { return modQuorvane::Shared(modQuorvane::rsVideo).Text(QStringLiteral("Title")); }

QString TransactionWindow::checkedMemberName()
{
    store::Recordset& members = modQuorvane::Shared(modQuorvane::rsMembers);
    return members.Text(QStringLiteral("First Name")) + QLatin1Char(' ') + members.Text(QStringLiteral("Last Name"));
}

void TransactionWindow::record(const std::function<transactions::Outcome()>& operation, const QString& verb,
                               const std::shared_ptr<store::Recordset>& written)
{
    if (!cmdTrans->isEnabled())
        return;
    try {
        const QPointer<QuorvaneForm> self(this);
        const transactions::Outcome outcome = operation();
        if (!self || isUnloaded())
            return;
        switch (outcome) {
        case transactions::Outcome::Done: {
            // One rent or return per check: a second press would write again
            // unchecked.
            cmdTrans->setEnabled(false);
            cmdClear->setFocus();
            dialogs::message(QStringLiteral("Member ") + txtName->text() + QStringLiteral(" succesfully ") + verb +
                                 QLatin1Char(' ') + txtTitle->text(),
                             dialogs::Icon::Information);
            // Closed while the message was up: its closing step has written
            // the status bar already.
            if (self && !isUnloaded())
                showTable(modQuorvane::Shared(written));
            break;
        }
        case transactions::Outcome::Refused:
            cmdClear_Click();
            break;
        case transactions::Outcome::Failed:
            break;
        }
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void TransactionWindow::showTable(store::Recordset& table) { shell::showTableStatus(table.Name(), table.RecordCount()); }

void TransactionWindow::cmdCheck_KeyPress(int& keyAscii)
{
    if (keyAscii == keys::vbKeyReturn && cmdCheck->isEnabled())
        cmdCheck_Click();
}

void TransactionWindow::cmdCancel_Click() { Unload(); }

void TransactionWindow::Form_Unload()
{
    shell::setStatusPanel(1, QStringLiteral("No database open"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}

void TransactionWindow::txtVcode_KeyPress(int& keyAscii) { keys::enterMovesFocus(keyAscii, txtMemcode); }

void TransactionWindow::txtMemcode_KeyPress(int& keyAscii) { keys::enterMovesFocus(keyAscii, cmdCheck); }
