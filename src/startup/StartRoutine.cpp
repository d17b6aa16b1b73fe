#include "startup/StartRoutine.h"

#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "startup/frmLogin.h"
#include "startup/frmSplash.h"

#include <memory>

namespace startup {

int StartRoutine()
{
    modQuorvane::DbPath = modQuorvane::ComputeDbPath();
    modQuorvane::IsStartupLogin = true;
    frmLogin& login = frmLogin::instance();
    if (!login.IsUserOK())
        return login.StartupFailed ? 1 : 0;
    modQuorvane::IsStartupLogin = false;

    auto splash = std::make_unique<frmSplash>();
    splash->Form_Load();
    splash->show();
    while (!splash->TimeUp)
        platform::waitForEvents();
    splash->close();
    return -1;
}

}  // namespace startup
