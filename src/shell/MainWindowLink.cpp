#include "shell/MainWindowLink.h"

namespace shell {

namespace {
MainWindowLink* g_link = nullptr;
}  // namespace

void setMainWindowLink(MainWindowLink* link) { g_link = link; }
MainWindowLink* mainWindowLink() { return g_link; }

void setStatusPanel(int panel, const QString& text)
{
    if (g_link)
        g_link->setPanelText(panel, text);
}

void setSearchEnabled(bool enabled)
{
    if (g_link)
        g_link->setSearchEnabled(enabled);
}

QString recordsText(long long count) { return QString::number(count) + QStringLiteral(" records"); }

void showTableStatus(const QString& table, long long count)
{
    setStatusPanel(1, table);
    setStatusPanel(2, recordsText(count));
}

}  // namespace shell
