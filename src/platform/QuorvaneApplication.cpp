#include "platform/QuorvaneApplication.h"

#include "platform/Dialogs.h"
#include "platform/Store.h"

QuorvaneApplication::QuorvaneApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quorvane"));
    // The name of the installed desktop entry, so that the desktop shows the
    // program's windows under its own icon and name.
    setDesktopFileName(QStringLiteral("org.quorvane.Quorvane"));
    setQuitOnLastWindowClosed(false);
}

bool QuorvaneApplication::notify(QObject* receiver, QEvent* event)
{
    ++depth_;
    bool handled = false;
    try {
        handled = QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    } catch (...) {
        dialogs::message(QStringLiteral("Error : Unexpected failure"), dialogs::Icon::Critical);
    }
    if (--depth_ == 0)
        store::CancelAllPendingEdits();
    return handled;
}
