#include "platform/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>

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

bool mayKeepFilesIn(const QString& folder)
{
    const QString canonical = folder.isEmpty() ? QString() : QDir(folder).canonicalPath();
    if (canonical.isEmpty() || canonical == QLatin1String("/usr") || canonical.startsWith(QLatin1String("/usr/")))
        return false;
    // A named file (not an unnamed temporary one, which some folders take
    // while refusing names), under a name no other run uses at this moment.
    for (int n = 0; n < 100; ++n) {
        QFile probe(canonical + QStringLiteral("/.Quorvane-write-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(n));
        if (probe.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            probe.close();
            return probe.remove();
        }
        if (!probe.exists())
            return false;
    }
    return false;
}

QString databaseFolder()
{
    const QString own = applicationFolder();
    if (mayKeepFilesIn(own))
        return own;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Without a home the program's own folder stays, and the clerk is told
    // when the file cannot be made there; so is a data folder that cannot be
    // made.
    if (data.isEmpty())
        return own;
    QDir().mkpath(data);
    return data;
}

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
