// What a task window may ask of the main window: its status bar's first two
// panels and the state of its Search command. The main window provides this
// link; task windows reach the main window through it alone, so none of them
// depends on the main window's class.
#pragma once

#include <QString>

namespace shell {

class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // Status bar panels, numbered from 1 as the shop calls them.
    virtual void setPanelText(int panel, const QString& text) = 0;
    virtual QString panelText(int panel) const = 0;

    // The Search command: the menu item and the toolbar button together.
    virtual void setSearchEnabled(bool enabled) = 0;
    virtual bool isSearchEnabled() const = 0;
};

// The main window registers itself when it is made and withdraws when it goes.
void setMainWindowLink(MainWindowLink* link);
MainWindowLink* mainWindowLink();

// Writes a panel of the status bar, when the main window is up.
void setStatusPanel(int panel, const QString& text);
// Enables or disables the Search command, when the main window is up.
void setSearchEnabled(bool enabled);

// "N records", as the status bar counts rows (1 records included).
QString recordsText(long long count);

// Panels 1 and 2 at once: the table in use and its count.
void showTableStatus(const QString& table, long long count);

}  // namespace shell
