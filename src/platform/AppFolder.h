// The folder that holds the program, the folder where the database file lives,
// and the wait that keeps the counter's windows alive while a routine waits.
#pragma once

#include <QString>

namespace platform {

// The program's own folder (tests may point it at a folder of their own).
QString applicationFolder();
void setApplicationFolder(const QString& folder);

// Whether the program may keep its files in this folder: it can create a new
// file there and remove it again (the database needs both for its journal).
// Tried with a real file, because permission bits do not tell: root ignores
// them, and an immutable or read-only mounted folder refuses even root.
// Folders under /usr never qualify: they belong to the package manager, even
// when the program runs as root and could write there.
bool mayKeepFilesIn(const QString& folder);

// Where the database file lives: the program's own folder wherever the
// program may keep files there, as it always has; otherwise (installed under
// /usr, or started from a read-only folder) the user's data folder
// (~/.local/share/Quorvane, or $XDG_DATA_HOME/Quorvane), created when missing.
QString databaseFolder();

// Lets pending window events run once, waiting for one if none is pending.
void waitForEvents();
// Lets pending window events run without waiting.
void doEvents();

// Ends the process at once with this exit status. Every change is committed
// when it is made, so nothing is lost. When a test has installed a hook, the
// hook is told instead and the call returns.
void endProcess(int status);
using EndHook = void (*)(int status);
void setEndProcessHook(EndHook hook);

}  // namespace platform
