// The folder that holds the program, where the database file lives, and the
// wait that keeps the counter's windows alive while a routine waits.
#pragma once

#include <QString>

namespace platform {

// The program's own folder (tests may point it at a folder of their own).
QString applicationFolder();
void setApplicationFolder(const QString& folder);

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
