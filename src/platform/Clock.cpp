#include "platform/Clock.h"

namespace clock_service {

namespace {
QDate g_fixed;
}

QDate today() { return g_fixed.isValid() ? g_fixed : QDate::currentDate(); }

QDateTime now()
{
    if (!g_fixed.isValid())
        return QDateTime::currentDateTime();
    return QDateTime(g_fixed, QTime::currentTime());
}

void setToday(const QDate& date) { g_fixed = date; }

}  // namespace clock_service
