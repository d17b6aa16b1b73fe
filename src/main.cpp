// Quorvane: the counter program of a video-tape rental shop.
#include "platform/QtDialogs.h"
#include "platform/QuorvaneApplication.h"
#include "startup/StartRoutine.h"

int main(int argc, char** argv)
{
    QuorvaneApplication app(argc, argv);
    dialogs::QtService dialogService;
    dialogs::install(&dialogService);
    const int status = startup::StartRoutine();
    if (status >= 0)
        return status;
    return app.exec();
}
