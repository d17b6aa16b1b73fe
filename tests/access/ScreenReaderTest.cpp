// Every window as a screen reader meets it: each control a clerk acts on has
// a name (a box its caption, a button its caption without the access-key
// mark, a list or a grid what it lists), and each window says what it is: the
// main window and the task windows are windows, the login a dialog, the
// message boxes alerts.
#include "access/AccessFixture.h"
#include "access/AccessWalk.h"
#include "browse/frmDatabaseGrid.h"
#include "browse/frmEditSearch.h"
#include "browse/frmInventory.h"
#include "browse/frmSearch.h"
#include "catalogue/frmAdd.h"
#include "catalogue/frmMembers.h"
#include "platform/QtDialogs.h"
#include "shell/Windows.h"
#include "startup/Password.h"
#include "startup/frmLogin.h"
#include "startup/frmSplash.h"
#include "users/frmPasswordTool.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <functional>

using access_walk::nameOf;
using access_walk::roleOf;
using access_walk::unnamedControls;
using testing_support::control;
using testing_support::pump;

namespace {

class ScreenReaderTest : public access_tests::AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        addUser(QStringLiteral("clerk"), modValidate::EncodePassword(QStringLiteral("pw")));
    }

    // Every task window open at once, as the commands open them.
    void openEveryTaskWindow()
    {
        main->mnuVideoAdd_Click();
        main->mnuMemAdd_Click();
        main->mnuRent_Click();
        main->mnuReturn_Click();
        main->mnuViewInventory_Click();
        main->mnuAbout_Click();
        windows::show<frmPasswordTool>();
        main->mnuViewVideo_Click();
        openResults();
        main->mnuSearch_Click();
        pump();
    }

    // The search results, after a search for every title.
    static frmEditSearch* openResults()
    {
        windows::show<frmSearch>();
        frmSearch* dialog = windows::find<frmSearch>();
        control<QLineEdit>(dialog, "txtQuery")->setText(QStringLiteral("Title"));
        control<QPushButton>(dialog, "cmdSearch")->click();
        pump();
        return windows::find<frmEditSearch>();
    }

    static QStringList dropDownLists(QWidget* main)
    {
        QStringList unnamed;
        for (QAction* button : control<QToolBar>(main, "tbrQuorvane")->actions())
            if (QMenu* list = button->menu())
                unnamed << unnamedControls(list);
        return unnamed;
    }
};

// Reads the message box that opens next, then closes it.
struct BoxReader {
    int role = -1;
    QString name;
    QStringList unnamed;
    QStringList buttons;

    void readNextBox()
    {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                readNextBox();  // not open yet: look again at the next turn
                return;
            }
            role = roleOf(box);
            name = nameOf(box);
            unnamed = unnamedControls(box);
            for (QAbstractButton* b : box->buttons())
                buttons << nameOf(b);
            box->done(QMessageBox::No);
        });
    }
};

TEST_F(ScreenReaderTest, EveryControlOfTheMainWindowAndItsTaskWindowsHasAName)
{
    openEveryTaskWindow();
    const QStringList kinds{"frmAdd",       "frmMembers",      "frmRent",   "frmReturn",      "frmInventory",
                            "frmAbout",     "frmPasswordTool", "frmSearch", "frmDatabaseGrid", "frmEditSearch"};
    for (const QString& kind : kinds)
        ASSERT_NE(main->findChild<QuorvaneForm*>(kind), nullptr) << kind.toStdString() << " did not open";

    // The menus, the toolbar, the status bar and every window in the
    // document area, in one walk; then the toolbar's drop-down lists.
    EXPECT_EQ(unnamedControls(main), QStringList());
    EXPECT_EQ(dropDownLists(main), QStringList());

    // The grid's other mode, and the editors' and the rent window's second
    // faces.
    main->mnuMemDel_Click();
    modQuorvane::EditMode = true;
    windows::reopen<frmAdd>();
    windows::reopen<frmMembers>();
    pump();
    EXPECT_EQ(unnamedControls(main), QStringList());
}

TEST_F(ScreenReaderTest, ListsAndTheGridAreNamedByWhatTheyList)
{
    main->mnuViewInventory_Click();
    EXPECT_EQ(nameOf(control<QAbstractItemView>(windows::find<frmInventory>(), "lstInventory")), "Movie Title");

    frmEditSearch* results = openResults();
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(nameOf(control<QAbstractItemView>(results, "lstResults")), "Record title");
    EXPECT_EQ(nameOf(control<QAbstractItemView>(results, "lstResults2")), "Matched query in the field");

    // The grid is named by the table it shows, whichever command opened it.
    main->mnuViewVideo_Click();
    EXPECT_EQ(nameOf(control<QAbstractItemView>(windows::find<frmDatabaseGrid>(), "DBGrid")), "Video Database");
    main->mnuHistRent_Click();
    EXPECT_EQ(nameOf(control<QAbstractItemView>(windows::find<frmDatabaseGrid>(), "DBGrid")), "Rentals Database");
    // Its button and its description say what the window does.
    EXPECT_EQ(nameOf(control<QPushButton>(windows::find<frmDatabaseGrid>(), "cmdCommand")), "Delete");
    EXPECT_FALSE(nameOf(control<QLabel>(windows::find<frmDatabaseGrid>(), "lblDesc")).isEmpty());
}

TEST_F(ScreenReaderTest, MenusAndToolbarButtonsAreNamedByTheirCaptions)
{
    // A menu and its item say their caption without the access-key mark.
    auto* mnuTools = main->findChild<QMenu*>(QStringLiteral("mnuTools"));
    ASSERT_NE(mnuTools, nullptr);
    EXPECT_EQ(nameOf(mnuTools), "Tools");
    auto* mnuHistTran = main->findChild<QMenu*>(QStringLiteral("mnuHistTran"));
    ASSERT_NE(mnuHistTran, nullptr);
    EXPECT_EQ(nameOf(mnuHistTran), "Transaction deleter");
    // A drop-down list is named by its button.
    auto* toolbar = control<QToolBar>(main, "tbrQuorvane");
    for (QAction* button : toolbar->actions()) {
        if (QMenu* list = button->menu()) {
            EXPECT_EQ(nameOf(list), button->text());
        }
        if (!button->isSeparator()) {
            EXPECT_EQ(nameOf(toolbar->widgetForAction(button)), button->text());
        }
    }
}

TEST_F(ScreenReaderTest, StatusPanelsSayWhatTheyShow)
{
    // A panel reads its text; what the panel is for is its description, and
    // the three keyboard panels, blank while their key is off, have one too.
    for (QLabel* panel : control<QStatusBar>(main, "sbrStatus")->findChildren<QLabel*>()) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(panel);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Name), panel->text()) << panel->objectName().toStdString();
        EXPECT_FALSE(face->text(QAccessible::Description).isEmpty()) << panel->objectName().toStdString();
    }
    EXPECT_EQ(control<QLabel>(main, "caps")->toolTip(), "");
}

TEST_F(ScreenReaderTest, EachWindowTellsItsRole)
{
    EXPECT_EQ(roleOf(main), QAccessible::Window);
    EXPECT_EQ(nameOf(main), "Quorvane v1.0");
    openEveryTaskWindow();
    for (QuorvaneForm* form : main->findChildren<QuorvaneForm*>()) {
        EXPECT_EQ(roleOf(form->subWindow()), QAccessible::Window) << form->objectName().toStdString();
        EXPECT_EQ(nameOf(form->subWindow()), form->caption()) << form->objectName().toStdString();
    }

    // The splash is a window of its own, named after the program, with
    // nothing to act on.
    frmSplash splash;
    splash.show();
    EXPECT_EQ(roleOf(&splash), QAccessible::Window);
    EXPECT_EQ(nameOf(&splash), "Quorvane v1.0");
    EXPECT_EQ(unnamedControls(&splash), QStringList());
    splash.hide();

    // The login is a dialog whose boxes are named by their captions.
    frmLogin& login = frmLogin::instance();
    login.show();
    EXPECT_EQ(roleOf(&login), QAccessible::Dialog);
    EXPECT_EQ(unnamedControls(&login), QStringList());
    EXPECT_EQ(nameOf(control<QLineEdit>(&login, "txtPassword")), "Password:");
    login.hide();
}

TEST_F(ScreenReaderTest, MessageBoxesAreAlerts)
{
    dialogs::QtService service;
    BoxReader reader;
    reader.readNextBox();
    service.message(QStringLiteral("Tape successfully rented..."), dialogs::Icon::Information);
    EXPECT_EQ(reader.role, QAccessible::AlertMessage);
    EXPECT_EQ(reader.name, "Quorvane v1.0");
    EXPECT_EQ(reader.unnamed, QStringList());
    EXPECT_EQ(reader.buttons, QStringList{"OK"});

    reader = BoxReader();
    reader.readNextBox();
    service.askYesNo(QStringLiteral("Are you sure you want to delete this record?"), dialogs::Icon::Question);
    EXPECT_EQ(reader.role, QAccessible::AlertMessage);
    EXPECT_EQ(reader.unnamed, QStringList());
    reader.buttons.sort();
    EXPECT_EQ(reader.buttons, (QStringList{"No", "Yes"}));
}

// Save As asks for the copy's name in a dialog whose boxes and lists are
// all named.
TEST_F(ScreenReaderTest, TheSaveDialogNamesItsControls)
{
    dialogs::QtService service;
    int role = -1;
    QStringList unnamed;
    std::function<void()> readDialog = [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) {
            QTimer::singleShot(0, readDialog);  // not open yet
            return;
        }
        role = roleOf(dialog);
        unnamed = unnamedControls(dialog);
        dialog->close();
    };
    QTimer::singleShot(0, readDialog);
    service.saveFileName({QStringLiteral("Save Database as..."), QStringLiteral("Video Database (*.mdb)"),
                          QStringLiteral(" *.*")});
    EXPECT_EQ(role, QAccessible::Dialog);
    EXPECT_EQ(unnamed, QStringList());
}

}  // namespace
