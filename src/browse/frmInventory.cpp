#include "browse/frmInventory.h"

#include "browse/TitleList.h"
#include "catalogue/EditorLayout.h"
#include "data/Schema.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"
#include "platform/Store.h"
#include "platform/Twips.h"
#include "shell/MainWindowLink.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <limits>

using namespace schema::field;

namespace {


// Titles read from the table at a time; the window's events run between
// two reads.
constexpr int kFillPage = 16384;

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips::point(left, top), twips::size(width, height));
}

QFont countsFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(13.5);
    return f;
}

QLabel* addLabel(QWidget* form, const char* name, const QString& caption, const QRect& where)
{
    auto* l = new QLabel(caption, form);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(countsFont());
    l->setGeometry(where);
    return l;
}

// A display-only box for a count.
QLineEdit* addCountBox(QWidget* form, const char* name, const QRect& where)
{
    auto* b = new QLineEdit(QStringLiteral("1"), form);
    b->setObjectName(QString::fromLatin1(name));
    b->setFont(countsFont());
    b->setEnabled(false);
    b->setGeometry(where);
    return b;
}

store::Recordset& videoSet() { return modQuorvane::Shared(modQuorvane::rsVideo); }

}  // namespace

frmInventory::frmInventory()
{
    setObjectName(QStringLiteral("frmInventory"));
    titles_ = new browse::TitleList(this);
    buildControls();
}

void frmInventory::buildControls()
{
    setCaption(QStringLiteral("Inventory Listing -> Video Database"));

    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    cmdClose->setGeometry(twipsRect(5400, 2310, 1095, 375));

    lstInventory = new QListView(this);
    lstInventory->setObjectName(QStringLiteral("lstInventory"));
    lstInventory->setModel(titles_);
    lstInventory->setUniformItemSizes(true);
    lstInventory->setSelectionMode(QAbstractItemView::SingleSelection);
    lstInventory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstInventory->setGeometry(twipsRect(120, 480, 3375, 2205));
    lstInventory->viewport()->installEventFilter(this);

    lblTapesOut = addLabel(this, "lblTapesOut", QStringLiteral("Tapes Out:"), twipsRect(3720, 1200, 1455, 405));
    txtTapesOut = addCountBox(this, "txtTapesOut", twipsRect(5280, 1200, 1215, 405));
    txtTapesIn = addCountBox(this, "txtTapesIn", twipsRect(5280, 600, 1215, 405));
    lblTapesIn = addLabel(this, "lblTapesIn", QStringLiteral("Tapes In:"), twipsRect(3720, 600, 1455, 405));
    lblTitle = addLabel(this, "lblTitle", QStringLiteral("Movie Title"), twipsRect(120, 120, 3375, 345));

    lblTapesOut->setBuddy(txtTapesOut);
    lblTapesIn->setBuddy(txtTapesIn);
    lblTitle->setBuddy(lstInventory);
    // A list takes no name from its caption by itself.
    lstInventory->setAccessibleName(lblTitle->text());
    QWidget::setTabOrder(cmdClose, lstInventory);

    connect(cmdClose, &QPushButton::clicked, this, &frmInventory::cmdClose_Click);
    connect(lstInventory->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmInventory::lstInventory_Click);
    // A click on the entry already selected changes nothing, and reads its
    // counts again all the same.
    connect(lstInventory, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == rowAtPress_)
            lstInventory_Click();
    });
}

bool frmInventory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstInventory->viewport() && event->type() == QEvent::MouseButtonPress)
        rowAtPress_ = lstInventory->currentIndex().row();
    return QuorvaneForm::eventFilter(watched, event);
}

void frmInventory::Form_Load()
{
    try {
        modQuorvane::rsVideo = modQuorvane::MainDatabase().OpenRecordset(schema::kVideo);
        titles_->clear();
        FillTitleList();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
    if (isUnloaded())
        return;
    if (titles_->rowCount() > 0) {
        lstInventory->setCurrentIndex(titles_->index(0));
    } else {
        // Nothing listed (the load failed): no counts to show either.
        txtTapesIn->clear();
        txtTapesOut->clear();
    }
    setOuterSizeTwips(7095, 3870);
    catalogue::attempt([] { shell::showTableStatus(videoSet().Name(), videoSet().RecordCount()); });
}

// Lists the title of every row, in the table's order, a page of rows at a
// time; the window's events run between two pages. Titles read before a
// failure stay listed.
void frmInventory::FillTitleList()
{
    store::Recordset& rs = videoSet();
    const int title = rs.FieldPosition(kTitle);
    browse::TitleList::Builder list;
    try {
        std::int64_t after = std::numeric_limits<std::int64_t>::min();
        const long long expected = rs.RecordCount();
        for (;;) {
            const auto page = rs.ReadPage(after, kFillPage, {title});
            for (const auto& row : page)
                list.add(row.values[0].toString());
            if (list.size() == static_cast<long long>(page.size()) && !page.empty())
                list.reserve(expected + expected / 16, (list.bytes() / list.size() + 1) * (expected + expected / 16));
            if (static_cast<int>(page.size()) < kFillPage)
                break;
            after = page.back().rowid;
            const QPointer<QuorvaneForm> self(this);
            platform::doEvents();
            if (!self || isUnloaded())
                return;
        }
    } catch (...) {
        titles_->assign(std::move(list));
        throw;
    }
    titles_->assign(std::move(list));
}

// Stands rsVideo on the first row, in the table's order, whose title is this
// text exactly; past the last row when there is none.
void frmInventory::FindTitle(const QString& title)
{
    store::Recordset& rs = videoSet();
    rs.MoveFirst();
    if (!rs.FindFirst(kTitle, title)) {
        rs.MoveLast();
        rs.MoveNext();
    }
}

void frmInventory::lstInventory_Click()
{
    const QModelIndex entry = lstInventory->currentIndex();
    if (!entry.isValid())
        return;
    try {
        FindTitle(titles_->title(entry.row()));
        store::Recordset& rs = videoSet();
        txtTapesIn->setText(rs.Text(kTapesIn));
        txtTapesOut->setText(rs.Text(kTapesOut));
    } catch (const std::exception& e) {
        // The title is no longer on file (or the file failed): no counts.
        txtTapesIn->clear();
        txtTapesOut->clear();
        dialogs::reportError(e);
    }
}

void frmInventory::cmdClose_Click() { Unload(); }

void frmInventory::Form_Unload()
{
    shell::setStatusPanel(1, QStringLiteral("No open database"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}
