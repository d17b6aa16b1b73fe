#include "platform/Errors.h"

#include "platform/Store.h"

QString errorDescription(const std::exception& e)
{
    if (const auto* s = dynamic_cast<const store::StoreError*>(&e))
        return s->description();
    if (const auto* c = dynamic_cast<const ConversionError*>(&e))
        return c->description();
    return QString::fromUtf8(e.what());
}

QString errorReport(const std::exception& e) { return QStringLiteral("Error : ") + errorDescription(e); }
