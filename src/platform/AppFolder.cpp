#include "platform/AppFolder.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
QString g_folder;
EndHook g_endHook = nullptr;
}

QString applicationFolder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    return QCoreApplication::applicationDirPath();
}

void setApplicationFolder(const QString& folder) { g_folder = folder; }

void waitForEvents()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

void doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void setEndProcessHook(EndHook hook) { g_endHook = hook; }

void endProcess(int status)
{
    if (g_endHook) {
        g_endHook(status);
        return;
    }
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace platform
