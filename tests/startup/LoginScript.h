// Answers the login dialog while the program waits for it: each step runs
// once the dialog is shown and the step before it has been handled.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace login_script {

// Types into the shown login dialog and presses a button.
void answer(const QString& user, const QString& password, const char* button = "cmdOK");

class Script {
public:
    // Queues the steps; they run while a later call waits for the dialog.
    void operator()(std::vector<std::function<void()>> steps);
    // Drops the steps not yet run (before the dialog itself goes).
    void stop() { owner_.reset(); }

private:
    std::unique_ptr<QObject> owner_;
};

}  // namespace login_script
