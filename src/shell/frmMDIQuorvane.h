// The main window: the document area where every task window opens, with
// the menu bar, the toolbar and the status bar.
#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QToolBar;
class QToolButton;

class frmMDIQuorvane : public QMainWindow {
    Q_OBJECT
public:
    // The one main window of the run, or nullptr before it is shown.
    static frmMDIQuorvane* instance();
    // Creates the main window (once) and runs its loading step.
    static frmMDIQuorvane* create();

    ~frmMDIQuorvane() override;

    // Status bar panels, numbered from 1 as the shop calls them.
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    // The Search command: the menu item and the toolbar button together.
    void setSearchEnabled(bool enabled);
    bool isSearchEnabled() const;

    void MDIForm_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmMDIQuorvane();

    QMdiArea* mdiArea_ = nullptr;
    QAction* mnuSearch_ = nullptr;
    QToolBar* tbrQuorvane_ = nullptr;
    QAction* searchButton_ = nullptr;
    QLabel* panels_[8] = {};
};

namespace shell {

// Writes a panel of the main window's status bar, when the main window is up.
void setStatusPanel(int panel, const QString& text);
// "N records", as the status bar counts rows (1 records included).
QString recordsText(long long count);

}  // namespace shell
