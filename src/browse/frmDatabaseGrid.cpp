#include "browse/frmDatabaseGrid.h"

#include "browse/DbaseData.h"
#include "catalogue/EditorLayout.h"
#include "data/modQuorvane.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "shell/MainWindowLink.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using catalogue::attempt;

namespace {

constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kRowSelectorWidth = 285;

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setFixedSize(twips::size(kButtonWidth, kButtonHeight));
    return b;
}

// Characters a column of this field is given for its values: a date or a
// number whole, a text as far as a typical entry goes (a longer one is cut
// short in its cell, and the column can be widened).
int typicalWidth(const store::FieldInfo& f)
{
    switch (f.type) {
    case store::dbText:
        return std::clamp(f.size, 3, 14);
    case store::dbMemo:
        return 14;
    case store::dbDate:
        return 10;
    default:
        return 6;
    }
}

}  // namespace

frmDatabaseGrid::frmDatabaseGrid()
{
    setObjectName(QStringLiteral("frmDatabaseGrid"));

    DbaseData = new browse::DataSource(this);
    DbaseData->setObjectName(QStringLiteral("DbaseData"));

    DBGrid = new QTableView(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setModel(DbaseData);
    DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid->setWordWrap(false);
    DBGrid->setCornerButtonEnabled(false);
    // Tab goes on to the buttons, as from any control; the arrows move
    // from cell to cell. Otherwise Tab would walk every cell of the table
    // before it let the keyboard out.
    DBGrid->setTabKeyNavigation(false);
    // The rows are all of one height; the row selectors carry no text.
    QHeaderView* selectors = DBGrid->verticalHeader();
    selectors->setSectionResizeMode(QHeaderView::Fixed);
    selectors->setDefaultSectionSize(DBGrid->fontMetrics().height() + 6);
    selectors->setFixedWidth(twips::px(kRowSelectorWidth));
    DBGrid->horizontalHeader()->setHighlightSections(false);
    DBGrid->installEventFilter(this);

    cmdCommand = addButton(this, "cmdCommand", QString());
    cmdClose = addButton(this, "cmdClose", QStringLiteral("&Close"));

    frmMessage = new QGroupBox(QStringLiteral("Description"), this);
    frmMessage->setObjectName(QStringLiteral("frmMessage"));
    lblDesc = new QLabel(frmMessage);
    lblDesc->setObjectName(QStringLiteral("lblDesc"));
    auto* messageLayout = new QVBoxLayout(frmMessage);
    messageLayout->addWidget(lblDesc);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdCommand);
    buttons->addWidget(cmdClose);
    buttons->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(frmMessage, 1);
    bottom->addSpacing(twips::px(120));
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid, 1);
    layout->addLayout(bottom);

    QWidget::setTabOrder(DBGrid, cmdCommand);
    QWidget::setTabOrder(cmdCommand, cmdClose);

    // The highlighted row is the data source's current record, both ways.
    connect(DBGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { DbaseData->SetCurrentRow(current.isValid() ? current.row() : -1); });
    connect(DbaseData, &browse::DataSource::currentRowChanged, this, &frmDatabaseGrid::showCurrentRow);
    // A press on a row selector selects the whole row.
    connect(selectors, &QHeaderView::sectionPressed, this, &frmDatabaseGrid::selectWholeRow);
    connect(DbaseData, &QAbstractItemModel::modelReset, this, &frmDatabaseGrid::fitColumns);

    connect(cmdCommand, &QPushButton::clicked, this, &frmDatabaseGrid::cmdCommand_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmDatabaseGrid::cmdClose_Click);

    // The size the window has when its loading step cannot finish.
    resize(twips::size(9000, 4800));
}

void frmDatabaseGrid::bindData()
{
    DbaseData->setDatabaseName(modQuorvane::DbPath);
    DbaseData->setRecordSource(modQuorvane::GridTableName);
    // A screen reader names the grid by the table it shows.
    DBGrid->setAccessibleName(modQuorvane::GridTableName);
    DbaseData->Refresh();
}

void frmDatabaseGrid::Form_Load()
{
    try {
        // The columns come from the fields of the table bound next.
        DbaseData->Close();
        bindData();
        setOuterSizeTwips(10470, 5760);
        if (modQuorvane::GridViewOnly) {
            cmdCommand->setText(QStringLiteral("&Refresh"));
            lblDesc->setText(modQuorvane::GridTableName + QStringLiteral(" viewer"));
        } else {
            cmdCommand->setText(QStringLiteral("&Delete"));
            lblDesc->setText(modQuorvane::GridTableName +
                             QStringLiteral(" deleter. Highlight the record and press Delete"));
        }
        // Rows are never added or edited here; the deleter deletes them.
        allowDelete_ = !modQuorvane::GridViewOnly;
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmDatabaseGrid::Form_Unload()
{
    DbaseData->Close();
    shell::setStatusPanel(1, QStringLiteral("No open database"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}

void frmDatabaseGrid::cmdCommand_Click()
{
    if (modQuorvane::GridViewOnly)
        refreshRecords();
    else
        deleteRecord();
}

void frmDatabaseGrid::cmdClose_Click() { Unload(); }

// Reads the table anew. It never reports: a step that fails is skipped, the
// grid is shown again in any case, and the count stays as it was when it
// cannot be read.
void frmDatabaseGrid::refreshRecords()
{
    attempt([&] {
        DbaseData->Close();
        DBGrid->hide();
    });
    attempt([&] { DBGrid->show(); });
    attempt([&] { bindData(); });
    attempt([&] { shell::setStatusPanel(2, shell::recordsText(DbaseData->RecordCount())); });
}

void frmDatabaseGrid::deleteRecord()
{
    try {
        if (!dialogs::askYesNo(QStringLiteral("Are you sure you want to delete the record:"), dialogs::Icon::None))
            return;
        DbaseData->Delete();
        DbaseData->MoveNext();
        DbaseData->Refresh();
        // The highlight goes to the last row; a table left empty has none.
        if (DbaseData->RecordCount() > 0)
            DbaseData->MoveLast();
        shell::setStatusPanel(2, shell::recordsText(DbaseData->RecordCount()));
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

bool frmDatabaseGrid::DBGrid_KeyDown(int keyCode)
{
    if (keyCode != Qt::Key_Delete || !allowDelete_)
        return false;
    const QModelIndexList whole = DBGrid->selectionModel()->selectedRows();
    if (whole.isEmpty())
        return false;
    const int row = whole.front().row();
    try {
        DbaseData->SetCurrentRow(row);
        DbaseData->Delete();
        DbaseData->Refresh();
        // The row that followed the deleted one takes its place.
        DbaseData->SetCurrentRow(std::min<long long>(row, DbaseData->RecordCount() - 1));
        shell::setStatusPanel(2, shell::recordsText(DbaseData->RecordCount()));
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
    return true;
}

bool frmDatabaseGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DBGrid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The keypad's Del comes with the keypad modifier; it is the same key.
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && DBGrid_KeyDown(key->key()))
            return true;
    }
    return QuorvaneForm::eventFilter(watched, event);
}

void frmDatabaseGrid::selectWholeRow(int row)
{
    const int column = std::max(DBGrid->currentIndex().column(), 0);
    if (row < 0 || row >= DbaseData->rowCount() || DbaseData->columnCount() == 0)
        return;
    QItemSelectionModel* selection = DBGrid->selectionModel();
    selection->setCurrentIndex(DbaseData->index(row, column), QItemSelectionModel::NoUpdate);
    selection->select(DbaseData->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// The grid's highlight follows the data source's current record.
void frmDatabaseGrid::showCurrentRow(int row)
{
    if (row < 0 || row >= DbaseData->rowCount() || DbaseData->columnCount() == 0)
        return;
    if (DBGrid->currentIndex().row() == row)
        return;
    const QModelIndex cell = DbaseData->index(row, std::max(DBGrid->currentIndex().column(), 0));
    DBGrid->setCurrentIndex(cell);
    DBGrid->scrollTo(cell);
}

// Each column wide enough for its heading and for a typical value of its
// field, worked out from the field alone so that no row is read for it.
void frmDatabaseGrid::fitColumns()
{
    const QFontMetrics metrics = DBGrid->fontMetrics();
    const int average = metrics.averageCharWidth();
    const auto& fields = DbaseData->Fields();
    for (size_t c = 0; c < fields.size(); ++c) {
        const int byHeading = metrics.horizontalAdvance(fields[c].name) + 2 * average;
        // A date is as wide as its longest short form; digits are wider than
        // the average letter.
        const int byValue = fields[c].type == store::dbDate
                                ? metrics.horizontalAdvance(QStringLiteral("12/28/2026")) + 2 * average
                                : (typicalWidth(fields[c]) + 2) * average;
        DBGrid->setColumnWidth(static_cast<int>(c), std::max(byHeading, byValue));
    }
}
