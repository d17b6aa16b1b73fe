// The main window: the document area where every task window opens, with
// the menu bar, the toolbar tbrQuorvane and its pictures imlIcons, and the
// status bar sbrStatus. Every command of the counter starts here.
#pragma once

#include "platform/Dialogs.h"
#include "shell/MainWindowLink.h"

#include <QMainWindow>
#include <QString>

#include <exception>
#include <memory>

class ImageList;
class KeyboardState;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;

namespace store {
class Recordset;
}

class frmMDIQuorvane : public QMainWindow, public shell::MainWindowLink {
    Q_OBJECT
public:
    using Command = void (frmMDIQuorvane::*)();

    // The one main window of the run, or nullptr before it is shown.
    static frmMDIQuorvane* instance();
    // Creates the main window (once) and runs its loading step.
    static frmMDIQuorvane* create();

    ~frmMDIQuorvane() override;

    // The link task windows use: status panels 1 to 8 and the Search command.
    void setPanelText(int panel, const QString& text) override;
    QString panelText(int panel) const override;
    void setSearchEnabled(bool enabled) override;
    bool isSearchEnabled() const override;

    void MDIForm_Load();
    void MDIForm_Unload();

    // The commands, one per menu item. They have no error trap of their own:
    // the menu reports an error, the toolbar ignores it.
    void mnuSaveAs_Click();
    void mnuExit_Click();
    void mnuVideoAdd_Click();
    void mnuVideoDel_Click();
    void mnuVideoEdit_Click();
    void mnuViewMembers_Click();
    void mnuViewVideo_Click();
    void mnuViewRent_Click();
    void mnuViewRet_Click();
    void mnuViewInventory_Click();
    void mnuCascade_Click();
    void mnuSearch_Click();
    void mnuMemAdd_Click();
    void mnuMemEdit_Click();
    void mnuMemDel_Click();
    void mnuRent_Click();
    void mnuReturn_Click();
    void mnuPassword_Click();
    void mnuHistMem_Click();
    void mnuHistVideo_Click();
    void mnuHistRent_Click();
    void mnuHistRet_Click();
    void mnuAbout_Click();

    // The toolbar: a press on a button's face, and a choice from a button's
    // drop-down list, each by key.
    void tbrQuorvane_ButtonClick(const QString& key);
    void tbrQuorvane_ButtonMenuClick(const QString& key);

    // The command a button key or a drop-down item key runs; nullptr for a
    // key that none has.
    static Command ButtonCommand(const QString& key);
    static Command ButtonMenuCommand(const QString& key);

    // The keyboard states shown in panels 6 to 8.
    KeyboardState& keyboardState() const { return *keyboard_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    frmMDIQuorvane();

    // A menu item runs its command under an error trap that reports.
    template <Command C>
    void fromMenu()
    {
        try {
            (this->*C)();
        } catch (const std::exception& e) {
            dialogs::reportError(e);
        }
    }

    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, void (frmMDIQuorvane::*slot)());
    QAction* addBar(QMenu* menu, const char* name);
    void placeWindow();

    void updateClockPanels();
    void updateKeyboardPanels();

    // The view and delete commands: settings, the grid window, the status bar.
    void gridCommand(bool viewOnly, const std::shared_ptr<store::Recordset>& recordset,
                     const QString& caption);
    void showTableInStatus(const std::shared_ptr<store::Recordset>& recordset);

    // The task windows that open from here and arrive with their own work.
    void openGridWindow(const QString& caption);
    void openSearchWindow();
    void openInventoryWindow();
    void openRentWindow();
    void openReturnWindow();
    void openPasswordTool();

    QMdiArea* mdiArea_ = nullptr;
    ImageList* imlIcons_ = nullptr;
    QToolBar* tbrQuorvane_ = nullptr;
    QAction* mnuSearch_ = nullptr;
    QAction* searchButton_ = nullptr;
    QLabel* panels_[8] = {};
    QTimer* clock_ = nullptr;
    KeyboardState* keyboard_ = nullptr;
    QRect outerGeometry_;
    bool placed_ = false;
    bool askingClearance_ = false;
};
