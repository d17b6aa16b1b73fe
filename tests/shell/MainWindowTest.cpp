// The main window: its menus, toolbar and status bar, what each command
// checks and sets, which window it opens and how, and how errors end.
#include "shell/ShellFixture.h"

#include "browse/frmDatabaseGrid.h"
#include "browse/frmInventory.h"
#include "browse/frmSearch.h"
#include "catalogue/frmAdd.h"
#include "catalogue/frmMembers.h"
#include "platform/Clock.h"
#include "platform/Twips.h"
#include "shell/Icons.h"
#include "shell/KeyboardState.h"
#include "shell/Windows.h"
#include "shell/frmAbout.h"
#include "startup/LoginScript.h"
#include "startup/frmLogin.h"
#include "users/frmPasswordTool.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace shell_tests;
using testing_support::control;
using testing_support::pump;
using F = frmMDIQuorvane;

namespace {

void describeMenu(const QList<QAction*>& actions, int depth, QStringList& out)
{
    for (QAction* a : actions) {
        const QString indent(depth * 2, QLatin1Char(' '));
        out << indent + a->objectName() + QLatin1Char(' ') +
                   (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (QMenu* sub = a->menu())
            describeMenu(sub->actions(), depth + 1, out);
    }
}

void everyMenuAction(const QList<QAction*>& actions, QList<QAction*>& out)
{
    for (QAction* a : actions) {
        out << a;
        if (QMenu* sub = a->menu())
            everyMenuAction(sub->actions(), out);
    }
}

QAction* menuItem(QWidget* main, const char* name) { return control<QAction>(main, name); }

QImage pictureAt(const QIcon& icon, int side, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(side, side), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int paintedPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                ++n;
    return n;
}

}  // namespace

// ---------------------------------------------------------------------------
// Menus

TEST_F(ShellTest, MenuTreeHasEveryItemWithItsCaptionInOrder)
{
    QStringList tree;
    describeMenu(main->menuBar()->actions(), 0, tree);
    const QStringList expected{
        "mnuFile &File",
        "  mnuSaveAs &Save As",
        "  mnuBar2 -",
        "  mnuExit &Exit",
        "mnuEdit &Edit",
        "  mnuVideoAdd &Add record",
        "  mnuVideoDel D&elete record",
        "  mnuBar4 -",
        "  mnuVideoEdit &Database",
        "mnuView &View",
        "  mnuViewMembers &Members",
        "  mnuViewVideo &Video tapes",
        "  mnuViewTrans &Transactions",
        "    mnuViewRent &Rentals",
        "    mnuViewRet R&eturned",
        "  mnuBar5 -",
        "  mnuViewInventory &Inventory",
        "  mnuBar6 -",
        "  mnuCascade &Cascade Windows",
        "mnuSearch &Search",
        "mnuMembers &Members",
        "  mnuMemAdd &Add member",
        "  mnuMemEdit &Edit member",
        "  mnuMemDel &Delete member",
        "mnuTransactions &Transactions",
        "  mnuRent &Rent Tape",
        "  mnuReturn Return &Tape",
        "mnuTools T&ools",
        "  mnuPassword &User Managment",
        "  mnuHist &Code history deleter",
        "    mnuHistMem &Member code history",
        "    mnuHistVideo &Video code history",
        "  mnuHistTran &Transaction deleter",
        "    mnuHistRent &Rentals Database",
        "    mnuHistRet R&eturnees Database",
        "mnuHelp &Help",
        "  mnuBar7 -",
        "  mnuAbout &About",
    };
    EXPECT_EQ(tree, expected);
}

TEST_F(ShellTest, MenusHaveNoShortcutKeysAndSearchIsABarItem)
{
    QList<QAction*> all;
    everyMenuAction(main->menuBar()->actions(), all);
    for (QAction* a : all)
        EXPECT_TRUE(a->shortcuts().isEmpty()) << a->objectName().toStdString();
    QAction* search = menuItem(main, "mnuSearch");
    EXPECT_EQ(search->menu(), nullptr);
    EXPECT_TRUE(main->menuBar()->actions().contains(search));
    // The help menu shows its leading separator line.
    EXPECT_FALSE(control<QMenu>(main, "mnuHelp")->separatorsCollapsible());
}

// ---------------------------------------------------------------------------
// Toolbar and pictures

TEST_F(ShellTest, ToolbarHasTwelveButtonsWithKeysCaptionsStylesTipsAndLists)
{
    auto* tbr = control<QToolBar>(main, "tbrQuorvane");
    auto* iml = control<ImageList>(main, "imlIcons");
    struct Row {
        const char* key;
        const char* caption;
        const char* tip;
        const char* picture;
        QStringList items;  // "text (key)"
    };
    const std::vector<Row> expected{
        {"About", "About", "Shows the credits", "about", {}},
        {nullptr, nullptr, nullptr, nullptr, {}},
        {"Edit", "Edit", "Edits a database (default: Video tapes)", "edit",
         {"Video tapes (EdtVideo)", "Members (EdtMem)"}},
        {"View", "View", "Views a database (default : Video tapes)", "view",
         {"Video tapes (VwVideo)", "Members (VwMem)", "Rentals (VwRent)", "Returnees (VwRet)"}},
        {"Search", "Search", "Search", "search", {}},
        {nullptr, nullptr, nullptr, nullptr, {}},
        {"Video", "Video", "Video database", "video", {"Add (VidAdd)", "Delete (VidDel)"}},
        {"Members", "Members", "Members database", "members", {"Add (MemAdd)", "Delete (MemDel)"}},
        {nullptr, nullptr, nullptr, nullptr, {}},
        {"Transact", "Transact", "Transactions", "transact", {"Rent (TrnRent)", "Return (TrnRet)"}},
        {"Inventory", "Inventory", "Inventory", "invent", {}},
        {"History", "History Deleter", "History", "history",
         {"Video tapes (HistVideo)", "Members (HistMem)", "Rentals (HistRent)", "Returnees (HistRet)"}},
    };
    const QList<QAction*> buttons = tbr->actions();
    ASSERT_EQ(buttons.size(), 12);
    for (size_t i = 0; i < expected.size(); ++i) {
        const Row& row = expected[i];
        QAction* b = buttons[int(i)];
        SCOPED_TRACE(i + 1);
        if (!row.key) {
            EXPECT_TRUE(b->isSeparator());
            continue;
        }
        EXPECT_EQ(b->objectName(), QString::fromLatin1(row.key));
        EXPECT_EQ(b->text(), QString::fromLatin1(row.caption));
        EXPECT_EQ(b->toolTip(), QString::fromLatin1(row.tip));
        EXPECT_EQ(pictureAt(b->icon(), 24), pictureAt(iml->icon(QString::fromLatin1(row.picture)), 24));
        auto* face = qobject_cast<QToolButton*>(tbr->widgetForAction(b));
        ASSERT_NE(face, nullptr);
        QStringList items;
        if (QMenu* list = b->menu())
            for (QAction* item : list->actions())
                items << item->text() + " (" + item->objectName() + ")";
        EXPECT_EQ(items, row.items);
        if (row.items.isEmpty()) {
            EXPECT_EQ(b->menu(), nullptr);
        } else {
            EXPECT_EQ(face->popupMode(), QToolButton::MenuButtonPopup);
        }
    }
}

TEST_F(ShellTest, ImageListHoldsTenDistinctPicturesClearAtToolbarSizes)
{
    auto* iml = control<ImageList>(main, "imlIcons");
    const QStringList keys{"history", "view", "edit",     "invent", "members",
                           "passkey", "search", "transact", "video", "about"};
    EXPECT_EQ(iml->keys(), keys);
    for (int side : {16, 24, 32, 48}) {
        std::vector<QImage> seen;
        for (const QString& key : keys) {
            const QImage image = pictureAt(iml->icon(key), side);
            ASSERT_EQ(image.size(), QSize(side, side)) << key.toStdString();
            // Something is drawn, and not a filled square.
            const int painted = paintedPixels(image);
            EXPECT_GT(painted, side * side / 8) << key.toStdString() << " at " << side;
            EXPECT_LT(painted, side * side) << key.toStdString() << " at " << side;
            for (const QImage& other : seen)
                EXPECT_NE(image, other) << key.toStdString() << " looks like another picture";
            seen.push_back(image);
        }
    }
    // A disabled button's picture is drawn differently; a key not in the list has none.
    EXPECT_NE(pictureAt(iml->icon("search"), 24), pictureAt(iml->icon("search"), 24, QIcon::Disabled));
    EXPECT_TRUE(iml->icon("Search").isNull());
    EXPECT_TRUE(iml->icon("").isNull());
}

TEST_F(ShellTest, ButtonKeysDispatchToTheirCommandsExactly)
{
    const std::vector<std::pair<const char*, F::Command>> buttons{
        {"About", &F::mnuAbout_Click},        {"Edit", &F::mnuVideoEdit_Click},
        {"View", &F::mnuViewVideo_Click},     {"Search", &F::mnuSearch_Click},
        {"Video", &F::mnuVideoAdd_Click},     {"Members", &F::mnuMemAdd_Click},
        {"Transact", &F::mnuRent_Click},      {"Inventory", &F::mnuViewInventory_Click},
        {"History", &F::mnuHistVideo_Click},
    };
    for (const auto& [key, command] : buttons)
        EXPECT_TRUE(F::ButtonCommand(QString::fromLatin1(key)) == command) << key;

    const std::vector<std::pair<const char*, F::Command>> items{
        {"EdtVideo", &F::mnuVideoEdit_Click}, {"EdtMem", &F::mnuMemEdit_Click},
        {"VwVideo", &F::mnuViewVideo_Click},  {"VwMem", &F::mnuViewMembers_Click},
        {"VwRent", &F::mnuViewRent_Click},    {"VwRet", &F::mnuViewRet_Click},
        {"VidAdd", &F::mnuVideoAdd_Click},    {"VidDel", &F::mnuVideoDel_Click},
        {"MemAdd", &F::mnuMemAdd_Click},      {"MemDel", &F::mnuMemDel_Click},
        {"TrnRent", &F::mnuRent_Click},       {"TrnRet", &F::mnuReturn_Click},
        {"HistVideo", &F::mnuHistVideo_Click}, {"HistMem", &F::mnuHistMem_Click},
        {"HistRent", &F::mnuHistRent_Click},  {"HistRet", &F::mnuHistRet_Click},
    };
    for (const auto& [key, command] : items)
        EXPECT_TRUE(F::ButtonMenuCommand(QString::fromLatin1(key)) == command) << key;

    // Exact keys only: case, blanks and the other table's keys match nothing.
    for (const char* key : {"about", "ABOUT", " About", "About ", "", "EdtVideo", "History Deleter"})
        EXPECT_TRUE(F::ButtonCommand(QString::fromLatin1(key)) == nullptr) << key;
    for (const char* key : {"edtvideo", "EDTMEM", "VwVideo ", "", "About", "Edit"})
        EXPECT_TRUE(F::ButtonMenuCommand(QString::fromLatin1(key)) == nullptr) << key;
}

TEST_F(ShellTest, PressingFacesAndChoosingItemsRunsTheirCommands)
{
    addTitle(1);
    // "History" opens the video code history deleter.
    control<QAction>(main, "History")->trigger();
    EXPECT_EQ(modQuorvane::GridTableName, schema::kVideoCode);
    EXPECT_FALSE(modQuorvane::GridViewOnly);
    EXPECT_EQ(main->panelText(1), schema::kVideoCode);
    EXPECT_EQ(main->panelText(2), "0 records");

    // "View" the video viewer.
    control<QAction>(main, "View")->trigger();
    EXPECT_EQ(modQuorvane::GridTableName, schema::kVideo);
    EXPECT_TRUE(modQuorvane::GridViewOnly);
    EXPECT_EQ(main->panelText(2), "1 records");

    // An item of a list runs its own command, not the face's.
    control<QAction>(main, "VwRet")->trigger();
    EXPECT_EQ(modQuorvane::GridTableName, schema::kReturnee);
    control<QAction>(main, "MemDel")->trigger();
    EXPECT_EQ(modQuorvane::GridTableName, schema::kMembers);
    EXPECT_FALSE(modQuorvane::GridViewOnly);

    // "Video" and "Members" open the add forms.
    modQuorvane::EditMode = true;
    control<QAction>(main, "Video")->trigger();
    ASSERT_NE(windows::find<frmAdd>(), nullptr);
    EXPECT_FALSE(windows::find<frmAdd>()->isEditMode());
    control<QAction>(main, "Members")->trigger();
    EXPECT_NE(windows::find<frmMembers>(), nullptr);

    control<QAction>(main, "About")->trigger();
    EXPECT_NE(windows::find<frmAbout>(), nullptr);
    EXPECT_TRUE(dialogs_.messages.empty());

    // Unknown keys do nothing.
    const QString before = main->panelText(1);
    main->tbrQuorvane_ButtonClick("history");
    main->tbrQuorvane_ButtonMenuClick("Nothing");
    EXPECT_EQ(main->panelText(1), before);
    EXPECT_TRUE(dialogs_.messages.empty());
}

// ---------------------------------------------------------------------------
// Status bar and loading step

TEST_F(ShellTest, StatusBarHasEightPanelsWithWidthsTipsAndLoadingTexts)
{
    auto* sbr = control<QStatusBar>(main, "sbrStatus");
    struct Panel {
        const char* key;
        int width, minimum;
        const char* tip;
    };
    const Panel panels[8] = {{"status", 2415, 1440, "Current database"},
                             {"recnum", 2415, 1440, "No. of records"},
                             {"user", 2500, 2500, "Current User"},
                             {"date", 1100, 1100, "Date"},
                             {"time", 900, 900, "Time"},
                             {"caps", 550, 550, ""},
                             {"num", 550, 550, ""},
                             {"ins", 550, 550, ""}};
    QList<QLabel*> labels = sbr->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(labels.size(), 8);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(panels[i].key);
        QLabel* l = control<QLabel>(sbr, panels[i].key);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l, labels[i]);
        EXPECT_EQ(l->sizeHint().width(), twips::px(panels[i].width));
        EXPECT_EQ(l->minimumWidth(), twips::px(panels[i].minimum));
        EXPECT_EQ(l->toolTip(), QString::fromLatin1(panels[i].tip));
    }
    // Left to right, in panel order.
    for (int i = 0; i + 1 < 8; ++i)
        EXPECT_LT(labels[i]->x(), labels[i + 1]->x());

    EXPECT_EQ(main->panelText(1), "No database open");
    EXPECT_EQ(main->panelText(2), "0 records");
    EXPECT_EQ(main->panelText(3), "User : clerk");
    EXPECT_EQ(main->panelText(4), "12/7/2026");
    EXPECT_TRUE(QRegularExpression("^(1[0-2]|[1-9]):[0-5][0-9] (AM|PM)$").match(main->panelText(5)).hasMatch())
        << main->panelText(5).toStdString();
    EXPECT_EQ(main->panelText(0), QString());
    EXPECT_EQ(main->panelText(9), QString());
}

TEST_F(ShellTest, DatePanelFollowsTheClock)
{
    clock_service::setToday(QDate(2027, 1, 2));
    pump(1200);
    EXPECT_EQ(main->panelText(4), "1/2/2027");
}

TEST_F(ShellTest, LoadingStepPlacesTheWindowAndResetsTheGridMode)
{
    pump(50);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int widthTwips = twips::fromPx(screen.width()) - 2;
    const int heightTwips = twips::fromPx(screen.height()) - 2 - 375;
    const QRect outer = main->frameGeometry();
    EXPECT_EQ(outer.width(), twips::px(widthTwips));
    EXPECT_EQ(outer.height(), twips::px(heightTwips));
    EXPECT_EQ(outer.left(), screen.left() + twips::px((twips::fromPx(screen.width()) - widthTwips) / 2));
    EXPECT_EQ(outer.top(), screen.top() + twips::px(2));
    EXPECT_EQ(main->windowTitle(), "Quorvane v1.0");

    modQuorvane::GridViewOnly = false;
    modQuorvane::CurrentUser = "ana";
    main->setPanelText(1, "Video Database");
    main->MDIForm_Load();
    EXPECT_TRUE(modQuorvane::GridViewOnly);
    EXPECT_EQ(main->panelText(1), "No database open");
    EXPECT_EQ(main->panelText(3), "User : ana");
}

TEST_F(ShellTest, KeyboardPanelsFollowTheLockAndInsertKeys)
{
    KeyboardState& keys = main->keyboardState();
    QWindow* window = main->windowHandle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(main->panelText(8), "");
    // A key reaches its window once however far it travels among the widgets.
    QTest::keyClick(window, Qt::Key_Insert);
    EXPECT_EQ(main->panelText(8), "INS");
    QTest::keyClick(window, Qt::Key_Insert);
    EXPECT_EQ(main->panelText(8), "");
    if (keys.readsWindowSystem())
        GTEST_SKIP() << "lock states come from the window system here";
    QTest::keyClick(window, Qt::Key_CapsLock);
    EXPECT_EQ(main->panelText(6), "CAPS");
    QTest::keyClick(window, Qt::Key_NumLock);
    EXPECT_EQ(main->panelText(7), "NUM");
    QTest::keyClick(window, Qt::Key_CapsLock);
    EXPECT_EQ(main->panelText(6), "");
    EXPECT_EQ(main->panelText(7), "NUM");
}

// ---------------------------------------------------------------------------
// Commands: checks and settings

TEST_F(ShellTest, EditAndInventoryRefuseAnEmptyVideoTable)
{
    const QString noVideo = "No current record in Video database. Pls. add one...";
    modQuorvane::EditMode = false;
    menuItem(main, "mnuVideoEdit")->trigger();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, noVideo);
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    // Edit mode is set before the check, and stays set.
    EXPECT_TRUE(modQuorvane::EditMode);

    modQuorvane::EditMode = false;
    control<QAction>(main, "Edit")->trigger();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[1].text, noVideo);
    EXPECT_TRUE(modQuorvane::EditMode);

    modQuorvane::EditMode = false;
    menuItem(main, "mnuViewInventory")->trigger();
    ASSERT_EQ(dialogs_.messages.size(), 3u);
    EXPECT_EQ(dialogs_.messages[2].text, noVideo);
    EXPECT_EQ(dialogs_.messages[2].icon, dialogs::Icon::Information);
    EXPECT_FALSE(modQuorvane::EditMode);
    EXPECT_EQ(main->panelText(1), "No database open");
    EXPECT_EQ(openChildren(), 0);
}

TEST_F(ShellTest, MemberEditRefusesAnEmptyMembersTable)
{
    addTitle(1);
    modQuorvane::EditMode = false;
    menuItem(main, "mnuMemEdit")->trigger();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "No members exist in database. Pls. add one...");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Information);
    EXPECT_TRUE(modQuorvane::EditMode);
    EXPECT_EQ(openChildren(), 0);
}

TEST_F(ShellTest, EditSearchAndInventoryPassWithRowsOnFile)
{
    addTitle(1);
    addTitle(2);
    addMember(1);
    main->mnuVideoEdit_Click();
    EXPECT_TRUE(modQuorvane::EditMode);
    // The three commands show the one search dialog: an open one comes
    // forward unchanged.
    frmSearch* dialog = windows::find<frmSearch>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(openChildren(), 1);
    control<QLineEdit>(dialog, "txtQuery")->setText("typed");
    main->mnuSearch_Click();
    EXPECT_FALSE(modQuorvane::EditMode);
    main->mnuMemEdit_Click();
    EXPECT_TRUE(modQuorvane::EditMode);
    EXPECT_EQ(windows::find<frmSearch>(), dialog);
    EXPECT_EQ(control<QLineEdit>(dialog, "txtQuery")->text(), "typed");
    EXPECT_EQ(openChildren(), 1);
    main->mnuViewInventory_Click();
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_NE(windows::find<frmInventory>(), nullptr);
    EXPECT_EQ(main->panelText(1), "Video Database");
    EXPECT_EQ(main->panelText(2), "2 records");
}

TEST_F(ShellTest, ViewAndDeleteCommandsSetTheGridAndTheStatusBar)
{
    addTitle(1);
    addMember(1);
    addMember(2);
    struct Case {
        const char* item;
        QString table;
        bool viewOnly;
        const char* count;
    };
    const std::vector<Case> cases{
        {"mnuViewVideo", schema::kVideo, true, "1 records"},
        {"mnuViewMembers", schema::kMembers, true, "2 records"},
        {"mnuViewRent", schema::kRentals, true, "0 records"},
        {"mnuViewRet", schema::kReturnee, true, "0 records"},
        {"mnuVideoDel", schema::kVideo, false, "1 records"},
        {"mnuMemDel", schema::kMembers, false, "2 records"},
        {"mnuHistVideo", schema::kVideoCode, false, "0 records"},
        {"mnuHistMem", schema::kMemberCode, false, "0 records"},
        {"mnuHistRent", schema::kRentals, false, "0 records"},
        {"mnuHistRet", schema::kReturnee, false, "0 records"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        modQuorvane::GridViewOnly = !c.viewOnly;
        modQuorvane::GridTableName.clear();
        menuItem(main, c.item)->trigger();
        EXPECT_EQ(modQuorvane::GridTableName, c.table);
        EXPECT_EQ(modQuorvane::GridViewOnly, c.viewOnly);
        EXPECT_EQ(main->panelText(1), c.table);
        EXPECT_EQ(main->panelText(2), c.count);
        // One grid window, on the command's table.
        frmDatabaseGrid* grid = windows::find<frmDatabaseGrid>();
        ASSERT_NE(grid, nullptr);
        EXPECT_TRUE(control<QLabel>(grid, "lblDesc")->text().startsWith(c.table));
        EXPECT_EQ(openChildren(), 1);
    }
    // No table is too empty for the grid: nothing was refused.
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ShellTest, UserManagementWarnsWhenNoUserExistsAndAsksNoLogin)
{
    main->mnuPassword_Click();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Warning, no user exist. pls. add one...");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Exclamation);
    EXPECT_FALSE(frmLogin::instance().isVisible());
    // The user tool opens so that a first user can be made.
    EXPECT_NE(windows::find<frmPasswordTool>(), nullptr);
    EXPECT_EQ(openChildren(), 1);
}

TEST_F(ShellTest, UserManagementAsksForClearanceOnceAtATime)
{
    addUser("clerk", "x");
    bool dialogShown = false;
    bool secondAskReturned = false;
    QTimer::singleShot(0, main, [&] {
        frmLogin& login = frmLogin::instance();
        dialogShown = login.isVisible();
        // Asked again while the dialog waits: no second wait begins.
        main->mnuPassword_Click();
        secondAskReturned = true;
        control<QPushButton>(&login, "cmdCancel")->click();
    });
    main->mnuPassword_Click();
    EXPECT_TRUE(dialogShown);
    EXPECT_TRUE(secondAskReturned);
    EXPECT_FALSE(frmLogin::instance().isVisible());
    EXPECT_TRUE(dialogs_.messages.empty());
    // Refused: the user tool stays shut.
    EXPECT_EQ(windows::find<frmPasswordTool>(), nullptr);
}

TEST_F(ShellTest, UserManagementOpensTheToolOnceCleared)
{
    addUser("clerk", "UW");  // typed: pw
    modQuorvane::CurrentPassword = "pw";
    const auto answer = [] { QTimer::singleShot(0, [] { login_script::answer("clerk", "pw"); }); };
    answer();
    main->mnuPassword_Click();
    frmPasswordTool* tool = windows::find<frmPasswordTool>();
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(main->panelText(1), "Classified database. Top secret");
    EXPECT_EQ(main->panelText(2), "Classified records. Top secret");
    // Asked again while it is open, it is brought forward as it stands.
    control<QAction>(tool, "New")->trigger();
    answer();
    main->mnuPassword_Click();
    EXPECT_EQ(windows::find<frmPasswordTool>(), tool);
    EXPECT_TRUE(tool->IsEditing);
    EXPECT_EQ(openChildren(), 1);
    EXPECT_TRUE(dialogs_.messages.empty());
}

// ---------------------------------------------------------------------------
// Commands: windows

TEST_F(ShellTest, AddCommandsReopenTheEditorsInAddModeAndCountTheirTable)
{
    addTitle(1);
    addMember(1);
    addMember(2);
    modQuorvane::EditMode = true;
    menuItem(main, "mnuVideoAdd")->trigger();
    frmAdd* first = windows::find<frmAdd>();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(modQuorvane::EditMode);
    EXPECT_FALSE(first->isEditMode());
    EXPECT_EQ(main->panelText(1), "Video Database");
    EXPECT_EQ(main->panelText(2), "1 records");

    // Again while it is open: what was typed is discarded and it loads anew.
    control<QLineEdit>(first, "txtCode")->setText("typed");
    QPointer<frmAdd> old(first);
    menuItem(main, "mnuVideoAdd")->trigger();
    pump();
    EXPECT_TRUE(old.isNull());
    frmAdd* second = windows::find<frmAdd>();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(control<QLineEdit>(second, "txtCode")->text(), "");

    modQuorvane::EditMode = true;
    menuItem(main, "mnuMemAdd")->trigger();
    ASSERT_NE(windows::find<frmMembers>(), nullptr);
    EXPECT_FALSE(modQuorvane::EditMode);
    EXPECT_EQ(main->panelText(1), "Members Database");
    EXPECT_EQ(main->panelText(2), "2 records");
}

TEST_F(ShellTest, AboutBoxIsShownOnceAndBroughtForward)
{
    menuItem(main, "mnuAbout")->trigger();
    frmAbout* about = windows::find<frmAbout>();
    ASSERT_NE(about, nullptr);
    ASSERT_NE(about->subWindow(), nullptr);
    EXPECT_EQ(about->caption(), "About Quorvane v1.0");
    EXPECT_EQ(control<QLabel>(about, "lblTitle")->text(), "Tessaline V1.1");
    EXPECT_EQ(control<QLabel>(about, "lblComments")->text(), "For Comments Or Suggestions Please Email Us At ");
    EXPECT_FALSE(control<QLabel>(about, "lblEmail")->text().isEmpty());
    EXPECT_FALSE(control<QLabel>(about, "lblWarning")->text().isEmpty());
    EXPECT_EQ(control<QPushButton>(about, "cmOK")->text(), "&OK");

    // The contact line reads whole: the two labels neither overlap nor cut
    // their texts.
    pump();
    for (const char* name : {"lblComments", "lblEmail"}) {
        QLabel* label = control<QLabel>(about, name);
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text())) << name;
        EXPECT_GE(label->contentsRect().height(), label->fontMetrics().height()) << name;
        EXPECT_TRUE(about->rect().contains(QRect(label->mapTo(about, QPoint(0, 0)), label->size()))) << name;
    }
    QLabel* comments = control<QLabel>(about, "lblComments");
    QLabel* email = control<QLabel>(about, "lblEmail");
    EXPECT_FALSE(QRect(comments->mapTo(about, QPoint(0, 0)), comments->size())
                     .intersects(QRect(email->mapTo(about, QPoint(0, 0)), email->size())));

    // Opening it again brings the same window forward, unchanged.
    menuItem(main, "mnuAbout")->trigger();
    about->move(40, 30);
    main->tbrQuorvane_ButtonClick("About");
    EXPECT_EQ(windows::find<frmAbout>(), about);
    EXPECT_EQ(openChildren(), 1);

    control<QPushButton>(about, "cmOK")->click();
    pump();
    EXPECT_EQ(windows::find<frmAbout>(), nullptr);
    EXPECT_EQ(openChildren(), 0);
}

TEST_F(ShellTest, DisabledSearchDoesNothing)
{
    modQuorvane::EditMode = true;
    main->setSearchEnabled(false);
    EXPECT_FALSE(main->isSearchEnabled());
    EXPECT_FALSE(control<QAction>(main, "Search")->isEnabled());
    menuItem(main, "mnuSearch")->trigger();
    control<QAction>(main, "Search")->trigger();
    main->tbrQuorvane_ButtonClick("Search");
    EXPECT_TRUE(modQuorvane::EditMode);
    EXPECT_EQ(windows::find<frmSearch>(), nullptr);

    main->setSearchEnabled(true);
    control<QAction>(main, "Search")->trigger();
    EXPECT_FALSE(modQuorvane::EditMode);
    EXPECT_NE(windows::find<frmSearch>(), nullptr);
}

// ---------------------------------------------------------------------------
// Errors and the end of the run

TEST_F(ShellTest, MenuReportsAnErrorAndToolbarIgnoresIt)
{
    modQuorvane::dbMain->Close();
    menuItem(main, "mnuVideoEdit")->trigger();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Error : Object invalid or no longer set.");
    EXPECT_EQ(dialogs_.messages[0].icon, dialogs::Icon::Critical);

    // From the toolbar the command stops silently at the failing step.
    control<QAction>(main, "Edit")->trigger();
    control<QAction>(main, "EdtMem")->trigger();
    control<QAction>(main, "View")->trigger();
    EXPECT_EQ(dialogs_.messages.size(), 1u);

    // A record set that was never opened is an error too, not a crash.
    modQuorvane::rsMembers.reset();
    menuItem(main, "mnuViewMembers")->trigger();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[1].icon, dialogs::Icon::Critical);

    // The program goes on: commands that need no table still work.
    menuItem(main, "mnuAbout")->trigger();
    EXPECT_NE(windows::find<frmAbout>(), nullptr);
}

TEST_F(ShellTest, ExitEndsTheRunAtOnce)
{
    menuItem(main, "mnuExit")->trigger();
    EXPECT_EQ(testing_support::g_endedStatus, 0);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(dialogs_.questions.empty());
}

TEST_F(ShellTest, ClosingTheMainWindowEndsTheRunWithoutAsking)
{
    main->mnuVideoAdd_Click();
    control<QLineEdit>(windows::find<frmAdd>(), "txtCode")->setText("typed");
    main->close();
    EXPECT_EQ(testing_support::g_endedStatus, 0);
    EXPECT_TRUE(dialogs_.questions.empty());
}
