#include "browse/frmEditSearch.h"

#include "browse/Search.h"
#include "browse/SearchLayout.h"
#include "browse/SearchResults.h"
#include "catalogue/frmAdd.h"
#include "catalogue/frmMembers.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"
#include "platform/Store.h"
#include "platform/Twips.h"
#include "shell/MainWindowLink.h"

#include <QComboBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QPushButton>

#include <algorithm>
#include <iterator>

using search_layout::Place;

namespace {

// Widths and places of the controls, in twips.
constexpr int kLeft = 120;
constexpr int kListWidth = 2850;
constexpr int kSecondColumn = kLeft + kListWidth + 75;
constexpr int kListsTop = 1740;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kRightEdge = kSecondColumn + kListWidth;
constexpr int kDesignWidth = 6225;
constexpr int kDesignHeight = 6000;
constexpr int kListedHeight = 7305;  // once a search has found something

int selectedLine(QListView* list)
{
    const QModelIndex current = list->currentIndex();
    if (!current.isValid() || !list->selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void selectLine(QListView* list, int row)
{
    QItemSelectionModel* selection = list->selectionModel();
    const QModelIndex line = list->model()->index(row, 0);
    if (!line.isValid()) {
        selection->clearSelection();
        return;
    }
    if (selection->currentIndex() == line && selection->isSelected(line))
        return;
    selection->setCurrentIndex(line, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(line);
}

bool tableIsEmpty(bool video)
{
    return modQuorvane::MainDatabase().OpenRecordset(search::tableName(video))->RecordCount() == 0;
}

}  // namespace

// While a search fills the lists, the window's frame is not destroyed, even
// when the clerk closes the window meanwhile: the search's own steps, and
// whoever opened the window, still stand on it. The closing step runs at
// once (and stops the search); the frame goes when the last search returns.
class frmEditSearch::ScanHold {
public:
    explicit ScanHold(frmEditSearch* form) : form_(form)
    {
        if (form_->scansRunning_++ > 0)
            return;
        form_->installEventFilter(form_);
        if (QMdiSubWindow* sub = form_->subWindow())
            sub->installEventFilter(form_);
    }
    ~ScanHold()
    {
        if (!form_ || --form_->scansRunning_ > 0)
            return;
        form_->removeEventFilter(form_);
        if (QMdiSubWindow* sub = form_->subWindow())
            sub->removeEventFilter(form_);
        if (QObject* held = form_->heldDeletion_) {
            form_->heldDeletion_ = nullptr;
            held->deleteLater();
        }
    }
    ScanHold(const ScanHold&) = delete;
    ScanHold& operator=(const ScanHold&) = delete;

private:
    QPointer<frmEditSearch> form_;
};

frmEditSearch::frmEditSearch()
{
    setObjectName(QStringLiteral("frmEditSearch"));
    results_ = new search::SearchResults(this);

    lblSearch = search_layout::addLabel(this, "lblSearch", QStringLiteral("Search &query"), Place{kLeft, 120, 1300, 285});
    txtQuery = search_layout::addBox(this, "txtQuery", Place{1500, 120, kRightEdge - 1500, 285});
    cboTables = search_layout::addPickList(this, "cboTables", QStringLiteral("Table"), Place{kLeft, 540, 1935, 315});
    cboFields = search_layout::addPickList(this, "cboFields", QStringLiteral("Field"), Place{2130, 540, 1800, 315});
    cboStyle = search_layout::addPickList(this, "cboStyle", QStringLiteral("Style"), Place{4005, 540, kRightEdge - 4005, 315});
    cmdSearch = search_layout::addButton(this, "cmdSearch", QStringLiteral("&Search"),
                                         Place{kRightEdge - kButtonWidth, 960, kButtonWidth, kButtonHeight});
    lblField = search_layout::addLabel(this, "lblField", QStringLiteral("Record title"), Place{kLeft, 1440, kListWidth, 285});
    lstResults = search_layout::addList(this, "lstResults", results_->lines(), Place{kLeft, kListsTop, kListWidth, 2000});
    lblCat = search_layout::addLabel(this, "lblCat", QStringLiteral("Matched query in the field"),
                                     Place{kSecondColumn, 1440, kListWidth, 285});
    lstResults2 =
        search_layout::addList(this, "lstResults2", results_->values(), Place{kSecondColumn, kListsTop, kListWidth, 2000});
    lblDesc = search_layout::addLabel(this, "lblDesc", QString(), Place{kLeft, 4000, kRightEdge - kLeft, 285});
    cmdEdit = search_layout::addButton(this, "cmdEdit", QStringLiteral("&Edit"), Place{0, 0, kButtonWidth, kButtonHeight});
    cmdClose = search_layout::addButton(this, "cmdClose", QStringLiteral("&Close"), Place{0, 0, kButtonWidth, kButtonHeight});
    lblSearch->setBuddy(txtQuery);
    lblField->setBuddy(lstResults);
    lblCat->setBuddy(lstResults2);
    lblDesc->setWordWrap(true);
    cmdEdit->setEnabled(false);

    QWidget* order[] = {txtQuery, cboTables, cboFields, cboStyle, cmdSearch, lstResults, lstResults2, cmdEdit, cmdClose};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(cboTables, &QComboBox::currentIndexChanged, this, &frmEditSearch::cboTables_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &frmEditSearch::cmdSearch_Click);
    connect(lstResults->selectionModel(), &QItemSelectionModel::selectionChanged, this, &frmEditSearch::lstResults_Click);
    connect(lstResults2->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmEditSearch::lstResults2_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmEditSearch::cmdEdit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmEditSearch::cmdClose_Click);
    placeControls();
}

frmEditSearch::~frmEditSearch() = default;

// The lists take the height the window leaves them; the note and the two
// buttons keep to the bottom.
void frmEditSearch::placeControls()
{
    const int height = std::max(twips::fromPx(this->height()), kListsTop + 2400);
    const int buttonsTop = height - kButtonHeight - 120;
    const int descTop = buttonsTop - 420;
    search_layout::place(lstResults, Place{kLeft, kListsTop, kListWidth, descTop - 120 - kListsTop});
    search_layout::place(lstResults2, Place{kSecondColumn, kListsTop, kListWidth, descTop - 120 - kListsTop});
    search_layout::place(lblDesc, Place{kLeft, descTop, kRightEdge - kLeft, 360});
    search_layout::place(cmdEdit, Place{kRightEdge - 2 * kButtonWidth - 120, buttonsTop, kButtonWidth, kButtonHeight});
    search_layout::place(cmdClose, Place{kRightEdge - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight});
}

void frmEditSearch::resizeEvent(QResizeEvent* event)
{
    QuorvaneForm::resizeEvent(event);
    placeControls();
}

bool frmEditSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DeferredDelete && scansRunning_ > 0 &&
        (watched == this || watched == subWindow())) {
        heldDeletion_ = watched;
        return true;
    }
    return QuorvaneForm::eventFilter(watched, event);
}

void frmEditSearch::Form_Load()
{
    setCaption(QStringLiteral("Search Results"));
    setOuterSizeTwips(kDesignWidth, kDesignHeight);
    // Whether editing is offered is the choice of the command that opened the
    // window; a command given while the search runs does not change it.
    editOffered_ = modQuorvane::EditMode;
    MatchFound = false;
    clearResults();
    if (!RunSearch())
        return;  // closed while it searched
    try {
        cmdEdit->setEnabled(editOffered_);
        lblDesc->setText(editOffered_ ? QStringLiteral("Note: To edit the record, select it and click on edit")
                                      : QStringLiteral("View records only"));
        if (!MatchFound) {
            cmdEdit->setEnabled(false);
            return;
        }
        fillPickLists();
        selectLine(lstResults, 0);
        lstResults_Click();
        setOuterSizeTwips(kDesignWidth, kListedHeight);
        shell::showTableStatus(listed_.records->Name(), listed_.records->RecordCount());
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmEditSearch::Form_Unload()
{
    shell::setStatusPanel(1, QStringLiteral("No database open"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}

// The table, field and style of the search whose lines are listed.
void frmEditSearch::fillPickLists()
{
    const int table = listed_.isVideo ? search::kVideoTable : search::kMembersTable;
    search_layout::fillTables(cboTables);
    cboTables->setCurrentIndex(table);
    search_layout::fillFields(cboFields, table);
    cboFields->setCurrentIndex(listed_.fieldIndex);
    search_layout::fillStyles(cboStyle);
    cboStyle->setCurrentIndex(listed_.style);
}

void frmEditSearch::clearResults() { results_->clear(); }

bool frmEditSearch::RunSearch()
{
    const QPointer<frmEditSearch> self(this);
    ScanHold hold(this);
    // Events run while the lists fill; errors are reported here, while the
    // frame is still held.
    try {
        MatchFound = false;
        txtQuery->setText(modQuorvane::SearchQuery);
        const search::ScanRequest request = search::requestFromSettings();
        listed_ = Listed{request.isVideo, request.field, modQuorvane::SearchFieldIndex, request.style, request.records};
        const std::uint64_t generation = ++scanGeneration_;
        const search::ScanEnd end = search::scan(request, *results_, [&] {
            MatchFound = results_->count() > 0;
            platform::doEvents();
            return self && !self->isUnloaded() && self->scanGeneration_ == generation;
        });
        if (!self || isUnloaded())
            return false;
        if (end == search::ScanEnd::Stopped)
            return true;  // a newer search has taken the lists over
        MatchFound = results_->count() > 0;
        if (!MatchFound)
            dialogs::message(QStringLiteral("No matches found in database"), dialogs::Icon::Exclamation);
    } catch (const std::exception& e) {
        if (!self || isUnloaded())
            return false;
        MatchFound = results_->count() > 0;
        dialogs::reportError(e);
    }
    return self && !isUnloaded();
}

void frmEditSearch::cboTables_Click()
{
    search_layout::fillFields(cboFields, cboTables->currentIndex());
    cboFields->setCurrentIndex(0);
}

void frmEditSearch::cmdSearch_Click()
{
    using namespace modQuorvane;
    try {
        // After a load that found nothing the pick lists are empty: the search
        // then keeps the table, field and style of the last search.
        const int table = cboTables->currentIndex() >= 0 ? cboTables->currentIndex()
                                                         : (SearchIsVideo ? search::kVideoTable : search::kMembersTable);
        const int field = cboFields->currentIndex() >= 0 ? cboFields->currentIndex() : SearchFieldIndex;
        const int style = cboStyle->currentIndex() >= 0 ? cboStyle->currentIndex() : SearchStyle;
        const search::Prepared prepared = search::prepareSearch(txtQuery->text(), table, field, style);
        if (prepared == search::Prepared::EmptyTable)
            lastSearchFoundNoTable_ = true;
        if (prepared != search::Prepared::Ready)
            return;
        lastSearchFoundNoTable_ = false;
        clearResults();
        RunSearch();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmEditSearch::lstResults_Click() { selectLine(lstResults2, selectedLine(lstResults)); }

void frmEditSearch::lstResults2_Click() { selectLine(lstResults, selectedLine(lstResults2)); }

void frmEditSearch::cmdEdit_Click()
{
    using namespace modQuorvane;
    try {
        // The editors cannot stand on an empty table: neither after a search
        // again that found the table empty, nor when the listed records'
        // table has been emptied since.
        if (lastSearchFoundNoTable_ || tableIsEmpty(listed_.isVideo)) {
            dialogs::message(search::kNoRecordText, dialogs::Icon::Information);
            return;
        }
        EditMode = true;
        const int line = selectedLine(lstResults2);
        SearchValue = line >= 0 ? results_->value(line) : QString();
        // The editor of the table the lines were found in, positioned by the
        // field they were found in, even when a later search from the dialog
        // has changed the settings since.
        SearchField = listed_.field;
        if (listed_.isVideo)
            windows::show<frmAdd>();
        else
            windows::show<frmMembers>();
        Unload();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmEditSearch::cmdClose_Click() { Unload(); }
