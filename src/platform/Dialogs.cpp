#include "platform/Dialogs.h"

#include "platform/Errors.h"

#include <cstdio>

namespace dialogs {

namespace {

class StderrService : public Service {
public:
    void message(const QString& text, Icon) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(kAppTitle), qPrintable(text));
    }
    bool askYesNo(const QString& text, Icon icon) override
    {
        message(text, icon);
        return false;
    }
    QString saveFileName(const SaveRequest&) override { return QString(); }
};

Service* g_service = nullptr;

}  // namespace

Service& current()
{
    static StderrService fallback;
    return g_service ? *g_service : fallback;
}

void install(Service* service) { g_service = service; }

void reportError(const std::exception& e) { message(errorReport(e), Icon::Critical); }

void reportError(const std::exception_ptr& failure)
{
    if (!failure)
        return;
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        reportError(e);
    } catch (...) {
    }
}

}  // namespace dialogs
