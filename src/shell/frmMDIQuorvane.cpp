#include "shell/frmMDIQuorvane.h"

#include "browse/frmDatabaseGrid.h"
#include "browse/frmInventory.h"
#include "browse/frmSearch.h"
#include "catalogue/frmAdd.h"
#include "catalogue/frmMembers.h"
#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/Store.h"
#include "platform/Twips.h"
#include "shell/DatabaseCopy.h"
#include "shell/Icons.h"
#include "shell/KeyboardState.h"
#include "shell/Windows.h"
#include "shell/frmAbout.h"
#include "startup/frmLogin.h"
#include "transactions/frmRent.h"
#include "transactions/frmReturn.h"
#include "users/frmPasswordTool.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <initializer_list>
#include <utility>
#include <vector>

using modQuorvane::EditMode;

namespace {

frmMDIQuorvane* g_main = nullptr;

// A status bar panel: its width and the least width it shrinks to when the
// window is narrow, both in twips.
class StatusPanel : public QLabel {
public:
    StatusPanel(int widthTwips, int minimumTwips, QWidget* parent)
        : QLabel(parent), width_(twips::px(widthTwips)), minimum_(twips::px(minimumTwips))
    {
        setMinimumWidth(minimum_);
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setIndent(2);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return QSize(width_, QLabel::sizeHint().height()); }
    QSize minimumSizeHint() const override { return QSize(minimum_, QLabel::minimumSizeHint().height()); }

private:
    int width_;
    int minimum_;
};

struct PanelDef {
    const char* key;
    int width;
    int minimum;
    const char* toolTip;
};

const PanelDef kPanels[8] = {
    {"status", 2415, 1440, "Current database"},
    {"recnum", 2415, 1440, "No. of records"},
    {"user", 2500, 2500, "Current User"},
    {"date", 1100, 1100, "Date"},
    {"time", 900, 900, "Time"},
    {"caps", 550, 550, ""},
    {"num", 550, 550, ""},
    {"ins", 550, 550, ""},
};

constexpr int kDatePanel = 4;
constexpr int kTimePanel = 5;
constexpr int kCapsPanel = 6;
constexpr int kNumPanel = 7;
constexpr int kInsPanel = 8;

struct DropDownItem {
    const char* text;
    const char* key;
};

struct ButtonDef {
    const char* key;  // nullptr for a separator
    const char* caption;
    const char* toolTip;
    const char* picture;
    std::vector<DropDownItem> items;  // empty for a plain button
};

const std::vector<ButtonDef> kButtons = {
    {"About", "About", "Shows the credits", "about", {}},
    {nullptr, nullptr, nullptr, nullptr, {}},
    {"Edit", "Edit", "Edits a database (default: Video tapes)", "edit",
     {{"Video tapes", "EdtVideo"}, {"Members", "EdtMem"}}},
    {"View", "View", "Views a database (default : Video tapes)", "view",
     {{"Video tapes", "VwVideo"}, {"Members", "VwMem"}, {"Rentals", "VwRent"}, {"Returnees", "VwRet"}}},
    {"Search", "Search", "Search", "search", {}},
    {nullptr, nullptr, nullptr, nullptr, {}},
    {"Video", "Video", "Video database", "video", {{"Add", "VidAdd"}, {"Delete", "VidDel"}}},
    {"Members", "Members", "Members database", "members", {{"Add", "MemAdd"}, {"Delete", "MemDel"}}},
    {nullptr, nullptr, nullptr, nullptr, {}},
    {"Transact", "Transact", "Transactions", "transact", {{"Rent", "TrnRent"}, {"Return", "TrnRet"}}},
    {"Inventory", "Inventory", "Inventory", "invent", {}},
    {"History", "History Deleter", "History", "history",
     {{"Video tapes", "HistVideo"}, {"Members", "HistMem"}, {"Rentals", "HistRent"}, {"Returnees", "HistRet"}}},
};

struct KeyedCommand {
    const char* key;
    frmMDIQuorvane::Command command;
};

// Looks a key up in a dispatch table, in the table's order, exactly.
frmMDIQuorvane::Command lookUp(std::initializer_list<KeyedCommand> table, const QString& key)
{
    for (const KeyedCommand& entry : table)
        if (key == QLatin1String(entry.key))
            return entry.command;
    return nullptr;
}

using modQuorvane::Shared;

void inform(const QString& text) { dialogs::message(text, dialogs::Icon::Information); }

const QString kNoVideo = QStringLiteral("No current record in Video database. Pls. add one...");
const QString kNoMembers = QStringLiteral("No members exist in database. Pls. add one...");
const QString kNoUsers = QStringLiteral("Warning, no user exist. pls. add one...");
const QString kViewDatabase = QStringLiteral("View database");
const QString kDeleteRecord = QStringLiteral("Delete Record");

}  // namespace

frmMDIQuorvane* frmMDIQuorvane::instance() { return g_main; }

frmMDIQuorvane* frmMDIQuorvane::create()
{
    if (!g_main) {
        g_main = new frmMDIQuorvane();
        g_main->MDIForm_Load();
    }
    return g_main;
}

frmMDIQuorvane::frmMDIQuorvane()
{
    setObjectName(QStringLiteral("frmMDIQuorvane"));
    setWindowTitle(dialogs::kAppTitle);
    // The bars stay where they are: no menu to hide them.
    setContextMenuPolicy(Qt::PreventContextMenu);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);
    windows::setMdiArea(mdiArea_);
    shell::setMainWindowLink(this);

    imlIcons_ = new ImageList(this);
    // The shop's own picture on every window frame, task windows included.
    QApplication::setWindowIcon(imlIcons_->icon(QStringLiteral("video")));
    keyboard_ = new KeyboardState(this);

    buildMenus();
    buildToolbar();
    buildStatusBar();
}

frmMDIQuorvane::~frmMDIQuorvane()
{
    if (g_main == this)
        g_main = nullptr;
    if (shell::mainWindowLink() == this)
        shell::setMainWindowLink(nullptr);
    windows::setMdiArea(nullptr);
}

// ---------------------------------------------------------------------------
// Menus

QAction* frmMDIQuorvane::addItem(QMenu* menu, const char* name, const QString& caption,
                                 void (frmMDIQuorvane::*slot)())
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, slot);
    return item;
}

QAction* frmMDIQuorvane::addBar(QMenu* menu, const char* name)
{
    QAction* bar = menu->addSeparator();
    bar->setObjectName(QString::fromLatin1(name));
    return bar;
}

namespace {

// A caption as a screen reader says it: without the access-key mark.
QString withoutAccessKey(QString caption)
{
    static const QRegularExpression mark(QStringLiteral("&(.)"));
    return caption.replace(mark, QStringLiteral("\\1"));
}

template <class Parent>
QMenu* addMenu(Parent* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    // An open menu is named by its caption, as its item in the bar is.
    menu->setAccessibleName(withoutAccessKey(caption));
    return menu;
}

}  // namespace

void frmMDIQuorvane::buildMenus()
{
    using F = frmMDIQuorvane;
    QMenuBar* bar = menuBar();

    QMenu* mnuFile = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    addItem(mnuFile, "mnuSaveAs", QStringLiteral("&Save As"), &F::fromMenu<&F::mnuSaveAs_Click>);
    addBar(mnuFile, "mnuBar2");
    addItem(mnuFile, "mnuExit", QStringLiteral("&Exit"), &F::fromMenu<&F::mnuExit_Click>);

    QMenu* mnuEdit = addMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    addItem(mnuEdit, "mnuVideoAdd", QStringLiteral("&Add record"), &F::fromMenu<&F::mnuVideoAdd_Click>);
    addItem(mnuEdit, "mnuVideoDel", QStringLiteral("D&elete record"), &F::fromMenu<&F::mnuVideoDel_Click>);
    addBar(mnuEdit, "mnuBar4");
    addItem(mnuEdit, "mnuVideoEdit", QStringLiteral("&Database"), &F::fromMenu<&F::mnuVideoEdit_Click>);

    QMenu* mnuView = addMenu(bar, "mnuView", QStringLiteral("&View"));
    addItem(mnuView, "mnuViewMembers", QStringLiteral("&Members"), &F::fromMenu<&F::mnuViewMembers_Click>);
    addItem(mnuView, "mnuViewVideo", QStringLiteral("&Video tapes"), &F::fromMenu<&F::mnuViewVideo_Click>);
    QMenu* mnuViewTrans = addMenu(mnuView, "mnuViewTrans", QStringLiteral("&Transactions"));
    addItem(mnuViewTrans, "mnuViewRent", QStringLiteral("&Rentals"), &F::fromMenu<&F::mnuViewRent_Click>);
    addItem(mnuViewTrans, "mnuViewRet", QStringLiteral("R&eturned"), &F::fromMenu<&F::mnuViewRet_Click>);
    addBar(mnuView, "mnuBar5");
    addItem(mnuView, "mnuViewInventory", QStringLiteral("&Inventory"), &F::fromMenu<&F::mnuViewInventory_Click>);
    addBar(mnuView, "mnuBar6");
    addItem(mnuView, "mnuCascade", QStringLiteral("&Cascade Windows"), &F::fromMenu<&F::mnuCascade_Click>);

    // Search is an item of the menu bar itself: choosing it runs the command.
    mnuSearch_ = bar->addAction(QStringLiteral("&Search"));
    mnuSearch_->setObjectName(QStringLiteral("mnuSearch"));
    connect(mnuSearch_, &QAction::triggered, this, &F::fromMenu<&F::mnuSearch_Click>);

    QMenu* mnuMembers = addMenu(bar, "mnuMembers", QStringLiteral("&Members"));
    addItem(mnuMembers, "mnuMemAdd", QStringLiteral("&Add member"), &F::fromMenu<&F::mnuMemAdd_Click>);
    addItem(mnuMembers, "mnuMemEdit", QStringLiteral("&Edit member"), &F::fromMenu<&F::mnuMemEdit_Click>);
    addItem(mnuMembers, "mnuMemDel", QStringLiteral("&Delete member"), &F::fromMenu<&F::mnuMemDel_Click>);

    QMenu* mnuTransactions = addMenu(bar, "mnuTransactions", QStringLiteral("&Transactions"));
    addItem(mnuTransactions, "mnuRent", QStringLiteral("&Rent Tape"), &F::fromMenu<&F::mnuRent_Click>);
    addItem(mnuTransactions, "mnuReturn", QStringLiteral("Return &Tape"), &F::fromMenu<&F::mnuReturn_Click>);

    QMenu* mnuTools = addMenu(bar, "mnuTools", QStringLiteral("T&ools"));
    addItem(mnuTools, "mnuPassword", QStringLiteral("&User Managment"), &F::fromMenu<&F::mnuPassword_Click>);
    QMenu* mnuHist = addMenu(mnuTools, "mnuHist", QStringLiteral("&Code history deleter"));
    addItem(mnuHist, "mnuHistMem", QStringLiteral("&Member code history"), &F::fromMenu<&F::mnuHistMem_Click>);
    addItem(mnuHist, "mnuHistVideo", QStringLiteral("&Video code history"), &F::fromMenu<&F::mnuHistVideo_Click>);
    QMenu* mnuHistTran = addMenu(mnuTools, "mnuHistTran", QStringLiteral("&Transaction deleter"));
    addItem(mnuHistTran, "mnuHistRent", QStringLiteral("&Rentals Database"), &F::fromMenu<&F::mnuHistRent_Click>);
    addItem(mnuHistTran, "mnuHistRet", QStringLiteral("R&eturnees Database"), &F::fromMenu<&F::mnuHistRet_Click>);

    QMenu* mnuHelp = addMenu(bar, "mnuHelp", QStringLiteral("&Help"));
    // The help menu opens with a separator line above its first item.
    mnuHelp->setSeparatorsCollapsible(false);
    addBar(mnuHelp, "mnuBar7");
    addItem(mnuHelp, "mnuAbout", QStringLiteral("&About"), &F::fromMenu<&F::mnuAbout_Click>);
}

// ---------------------------------------------------------------------------
// Toolbar

void frmMDIQuorvane::buildToolbar()
{
    tbrQuorvane_ = new QToolBar(QStringLiteral("Toolbar"), this);
    tbrQuorvane_->setObjectName(QStringLiteral("tbrQuorvane"));
    tbrQuorvane_->setMovable(false);
    tbrQuorvane_->setFloatable(false);
    tbrQuorvane_->setIconSize(QSize(24, 24));
    tbrQuorvane_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbrQuorvane_->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, tbrQuorvane_);

    for (const ButtonDef& def : kButtons) {
        if (!def.key) {
            tbrQuorvane_->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(def.key);
        auto* button = new QAction(imlIcons_->icon(QString::fromLatin1(def.picture)),
                                   QString::fromLatin1(def.caption), tbrQuorvane_);
        button->setObjectName(key);
        button->setToolTip(QString::fromLatin1(def.toolTip));
        if (!def.items.empty()) {
            auto* list = new QMenu(this);
            list->setObjectName(key + QStringLiteral("Menu"));
            list->setAccessibleName(QString::fromLatin1(def.caption));
            for (const DropDownItem& item : def.items) {
                const QString itemKey = QString::fromLatin1(item.key);
                QAction* entry = list->addAction(QString::fromLatin1(item.text));
                entry->setObjectName(itemKey);
                connect(entry, &QAction::triggered, this, [this, itemKey] { tbrQuorvane_ButtonMenuClick(itemKey); });
            }
            button->setMenu(list);
        }
        tbrQuorvane_->addAction(button);
        connect(button, &QAction::triggered, this, [this, key] { tbrQuorvane_ButtonClick(key); });
        if (auto* face = qobject_cast<QToolButton*>(tbrQuorvane_->widgetForAction(button))) {
            face->setObjectName(key);
            // The face runs the button's own command; the arrow opens its list.
            if (!def.items.empty())
                face->setPopupMode(QToolButton::MenuButtonPopup);
        }
        if (key == QLatin1String("Search"))
            searchButton_ = button;
    }
}

frmMDIQuorvane::Command frmMDIQuorvane::ButtonCommand(const QString& key)
{
    using F = frmMDIQuorvane;
    return lookUp({{"About", &F::mnuAbout_Click},
                   {"Edit", &F::mnuVideoEdit_Click},
                   {"View", &F::mnuViewVideo_Click},
                   {"Search", &F::mnuSearch_Click},
                   {"Video", &F::mnuVideoAdd_Click},
                   {"Members", &F::mnuMemAdd_Click},
                   {"Transact", &F::mnuRent_Click},
                   {"Inventory", &F::mnuViewInventory_Click},
                   {"History", &F::mnuHistVideo_Click}},
                  key);
}

frmMDIQuorvane::Command frmMDIQuorvane::ButtonMenuCommand(const QString& key)
{
    using F = frmMDIQuorvane;
    return lookUp({{"EdtVideo", &F::mnuVideoEdit_Click},
                   {"EdtMem", &F::mnuMemEdit_Click},
                   {"VwVideo", &F::mnuViewVideo_Click},
                   {"VwMem", &F::mnuViewMembers_Click},
                   {"VwRent", &F::mnuViewRent_Click},
                   {"VwRet", &F::mnuViewRet_Click},
                   {"VidAdd", &F::mnuVideoAdd_Click},
                   {"VidDel", &F::mnuVideoDel_Click},
                   {"MemAdd", &F::mnuMemAdd_Click},
                   {"MemDel", &F::mnuMemDel_Click},
                   {"TrnRent", &F::mnuRent_Click},
                   {"TrnRet", &F::mnuReturn_Click},
                   {"HistVideo", &F::mnuHistVideo_Click},
                   {"HistMem", &F::mnuHistMem_Click},
                   {"HistRent", &F::mnuHistRent_Click},
                   {"HistRet", &F::mnuHistRet_Click}},
                  key);
}

void frmMDIQuorvane::tbrQuorvane_ButtonClick(const QString& key)
{
    const Command command = ButtonCommand(key);
    if (!command)
        return;
    // A disabled button does nothing.
    for (QAction* button : tbrQuorvane_->actions())
        if (button->objectName() == key && !button->isEnabled())
            return;
    // A command started from the toolbar stops at a failing step, silently.
    try {
        (this->*command)();
    } catch (...) {
    }
}

void frmMDIQuorvane::tbrQuorvane_ButtonMenuClick(const QString& key)
{
    const Command command = ButtonMenuCommand(key);
    if (!command)
        return;
    try {
        (this->*command)();
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------
// Status bar

void frmMDIQuorvane::buildStatusBar()
{
    QStatusBar* sbr = statusBar();
    sbr->setObjectName(QStringLiteral("sbrStatus"));
    sbr->setSizeGripEnabled(false);
    // The panels' widths were chosen for a small status bar font; a larger
    // desktop font would cut the time and the date short.
    QFont small = sbr->font();
    if (small.pointSizeF() > 8.0)
        small.setPointSizeF(8.0);
    sbr->setFont(small);
    for (int i = 0; i < 8; ++i) {
        const PanelDef& def = kPanels[i];
        auto* panel = new StatusPanel(def.width, def.minimum, sbr);
        panel->setObjectName(QString::fromLatin1(def.key));
        panel->setToolTip(QString::fromLatin1(def.toolTip));
        if (i + 1 >= kCapsPanel)
            panel->setAlignment(Qt::AlignCenter);
        panels_[i] = panel;
        sbr->addWidget(panel);
    }
    // The keyboard panels have no tool tip and are blank while their key is
    // off; a screen reader still tells what each one is.
    panels_[kCapsPanel - 1]->setAccessibleDescription(QStringLiteral("Caps Lock"));
    panels_[kNumPanel - 1]->setAccessibleDescription(QStringLiteral("Num Lock"));
    panels_[kInsPanel - 1]->setAccessibleDescription(QStringLiteral("Insert"));

    // The date and time panels keep themselves current; the keyboard panels
    // follow the keys and, where the window system tells, the lock lights.
    clock_ = new QTimer(this);
    clock_->setObjectName(QStringLiteral("tmrClock"));
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &frmMDIQuorvane::updateClockPanels);
    connect(clock_, &QTimer::timeout, keyboard_, &KeyboardState::refresh);
    connect(keyboard_, &KeyboardState::changed, this, &frmMDIQuorvane::updateKeyboardPanels);
    clock_->start();
    updateClockPanels();
    updateKeyboardPanels();
}

void frmMDIQuorvane::updateClockPanels()
{
    setPanelText(kDatePanel, convert::ShortDate(clock_service::today()));
    setPanelText(kTimePanel, clock_service::now().time().toString(QStringLiteral("h:mm AP")));
}

void frmMDIQuorvane::updateKeyboardPanels()
{
    setPanelText(kCapsPanel, keyboard_->capsLock() ? QStringLiteral("CAPS") : QString());
    setPanelText(kNumPanel, keyboard_->numLock() ? QStringLiteral("NUM") : QString());
    setPanelText(kInsPanel, keyboard_->insert() ? QStringLiteral("INS") : QString());
}

void frmMDIQuorvane::setPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 8)
        panels_[panel - 1]->setText(text);
}

QString frmMDIQuorvane::panelText(int panel) const
{
    return panel >= 1 && panel <= 8 ? panels_[panel - 1]->text() : QString();
}

void frmMDIQuorvane::setSearchEnabled(bool enabled)
{
    mnuSearch_->setEnabled(enabled);
    searchButton_->setEnabled(enabled);
}

bool frmMDIQuorvane::isSearchEnabled() const { return mnuSearch_->isEnabled(); }

// ---------------------------------------------------------------------------
// Loading and closing

void frmMDIQuorvane::MDIForm_Load()
{
    placeWindow();
    modQuorvane::GridViewOnly = true;
    setPanelText(1, QStringLiteral("No database open"));
    setPanelText(2, QStringLiteral("0 records"));
    setPanelText(3, QStringLiteral("User : ") + modQuorvane::CurrentUser);
}

void frmMDIQuorvane::placeWindow()
{
    // Nearly the whole screen, leaving room below for the desktop's task bar;
    // measures in twips, frame included.
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const int screenWidth = twips::fromPx(area.width());
    const int screenHeight = twips::fromPx(area.height());
    const int width = screenWidth - 2;
    int height = screenHeight - 2;
    height = height - 375;
    const int left = (screenWidth - width) / 2;
    const int top = 2;
    outerGeometry_ = QRect(area.x() + twips::px(left), area.y() + twips::px(top), twips::px(width),
                           twips::px(height));

    // The frame is known only once the window is shown; until then the
    // window is sized as if it had none, and set right on first showing.
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const int extraWidth = frame.width() - inner.width();
    const int extraHeight = frame.height() - inner.height();
    move(outerGeometry_.topLeft());
    resize(outerGeometry_.width() - extraWidth, outerGeometry_.height() - extraHeight);
}

void frmMDIQuorvane::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!placed_ && outerGeometry_.isValid()) {
        placed_ = true;
        QTimer::singleShot(0, this, [this] {
            const QRect frame = frameGeometry();
            const QRect inner = geometry();
            move(outerGeometry_.topLeft());
            resize(outerGeometry_.width() - (frame.width() - inner.width()),
                   outerGeometry_.height() - (frame.height() - inner.height()));
        });
    }
}

void frmMDIQuorvane::closeEvent(QCloseEvent* event)
{
    event->accept();
    MDIForm_Unload();
}

void frmMDIQuorvane::MDIForm_Unload()
{
    // Every change is committed when it is made: the run ends at once, and
    // the file is released when the process ends.
    platform::endProcess(0);
}

// ---------------------------------------------------------------------------
// Commands

void frmMDIQuorvane::showTableInStatus(const std::shared_ptr<store::Recordset>& recordset)
{
    store::Recordset& rs = Shared(recordset);
    setPanelText(1, rs.Name());
    setPanelText(2, shell::recordsText(rs.RecordCount()));
}

void frmMDIQuorvane::gridCommand(bool viewOnly, const std::shared_ptr<store::Recordset>& recordset,
                                 const QString& caption)
{
    modQuorvane::GridViewOnly = viewOnly;
    modQuorvane::GridTableName = Shared(recordset).Name();
    openGridWindow(caption);
    setPanelText(1, modQuorvane::GridTableName);
    setPanelText(2, shell::recordsText(Shared(recordset).RecordCount()));
}

void frmMDIQuorvane::mnuSaveAs_Click()
{
    const QString target = dialogs::current().saveFileName(
        {QStringLiteral("Save Database as..."), QStringLiteral("Video Database (*.mdb)"), QStringLiteral(" *.*")});
    if (target.isEmpty())
        return;
    if (dbcopy::IsDatabaseFile(target, modQuorvane::DbPath)) {
        dialogs::message(dbcopy::kOntoItself, dialogs::Icon::Exclamation);
        return;
    }
    dbcopy::SaveDatabaseAs(target);
}

void frmMDIQuorvane::mnuExit_Click() { platform::endProcess(0); }

void frmMDIQuorvane::mnuVideoAdd_Click()
{
    EditMode = false;
    windows::reopen<frmAdd>();
    // Written after the editor has loaded, over what its loading step wrote.
    showTableInStatus(modQuorvane::rsVideo);
}

void frmMDIQuorvane::mnuVideoDel_Click() { gridCommand(false, modQuorvane::rsVideo, kDeleteRecord); }

void frmMDIQuorvane::mnuVideoEdit_Click()
{
    EditMode = true;
    if (Shared(modQuorvane::rsVideo).RecordCount() == 0) {
        inform(kNoVideo);
        return;
    }
    openSearchWindow();
}

void frmMDIQuorvane::mnuViewMembers_Click() { gridCommand(true, modQuorvane::rsMembers, kViewDatabase); }
void frmMDIQuorvane::mnuViewVideo_Click() { gridCommand(true, modQuorvane::rsVideo, kViewDatabase); }
void frmMDIQuorvane::mnuViewRent_Click()
{
    gridCommand(true, modQuorvane::rsRentals, QStringLiteral("View Rentals"));
}
void frmMDIQuorvane::mnuViewRet_Click()
{
    gridCommand(true, modQuorvane::rsReturnee, QStringLiteral("View Returned tapes"));
}

void frmMDIQuorvane::mnuViewInventory_Click()
{
    if (Shared(modQuorvane::rsVideo).RecordCount() == 0) {
        inform(kNoVideo);
        return;
    }
    openInventoryWindow();
    // The inventory opens rsVideo afresh; the panels count the new one,
    // unless the clerk closed the window while its list was being built.
    if (windows::find<frmInventory>())
        showTableInStatus(modQuorvane::rsVideo);
}

void frmMDIQuorvane::mnuCascade_Click() { mdiArea_->cascadeSubWindows(); }

void frmMDIQuorvane::mnuSearch_Click()
{
    EditMode = false;
    openSearchWindow();
}

void frmMDIQuorvane::mnuMemAdd_Click()
{
    EditMode = false;
    windows::reopen<frmMembers>();
    showTableInStatus(modQuorvane::rsMembers);
}

void frmMDIQuorvane::mnuMemEdit_Click()
{
    EditMode = true;
    if (Shared(modQuorvane::rsMembers).RecordCount() == 0) {
        inform(kNoMembers);
        return;
    }
    openSearchWindow();
}

void frmMDIQuorvane::mnuMemDel_Click() { gridCommand(false, modQuorvane::rsMembers, kDeleteRecord); }

void frmMDIQuorvane::mnuRent_Click() { openRentWindow(); }

void frmMDIQuorvane::mnuReturn_Click() { openReturnWindow(); }

void frmMDIQuorvane::mnuPassword_Click()
{
    if (Shared(modQuorvane::rsUsers).RecordCount() == 0) {
        // No one can log in yet: the tool opens so that a first user can be made.
        dialogs::message(kNoUsers, dialogs::Icon::Exclamation);
        openPasswordTool();
        return;
    }
    frmLogin& login = frmLogin::instance();
    // The clearance dialog waits while other commands run; asked for again
    // meanwhile, the open dialog is brought forward instead of asking twice.
    if (askingClearance_) {
        login.raise();
        login.activateWindow();
        return;
    }
    askingClearance_ = true;
    bool cleared = false;
    try {
        cleared = login.IsUserOK();
    } catch (...) {
        askingClearance_ = false;
        throw;
    }
    askingClearance_ = false;
    if (cleared)
        openPasswordTool();
}

void frmMDIQuorvane::mnuHistMem_Click() { gridCommand(false, modQuorvane::rsMemberCode, kDeleteRecord); }
void frmMDIQuorvane::mnuHistVideo_Click() { gridCommand(false, modQuorvane::rsVideoCode, kDeleteRecord); }
void frmMDIQuorvane::mnuHistRent_Click() { gridCommand(false, modQuorvane::rsRentals, kDeleteRecord); }
void frmMDIQuorvane::mnuHistRet_Click() { gridCommand(false, modQuorvane::rsReturnee, kDeleteRecord); }

void frmMDIQuorvane::mnuAbout_Click() { windows::show<frmAbout>(); }

// ---------------------------------------------------------------------------
// Task windows that join the main window with their own work

void frmMDIQuorvane::openGridWindow(const QString& caption)
{
    // One grid window at a time: the open one closes first, and the new one
    // loads on GridTableName in the mode just set.
    windows::close<frmDatabaseGrid>();
    if (frmDatabaseGrid* grid = windows::show<frmDatabaseGrid>()) {
        grid->setCaption(caption);
        windows::show<frmDatabaseGrid>();
    }
}

void frmMDIQuorvane::openSearchWindow() { windows::show<frmSearch>(); }

void frmMDIQuorvane::openInventoryWindow() { windows::show<frmInventory>(); }

void frmMDIQuorvane::openRentWindow() { windows::show<frmRent>(); }

void frmMDIQuorvane::openReturnWindow() { windows::show<frmReturn>(); }

void frmMDIQuorvane::openPasswordTool() { windows::show<frmPasswordTool>(); }
