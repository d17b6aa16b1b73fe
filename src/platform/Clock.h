// Today's date and the time of day, as the counter sees them. Tests set the
// date so that rentals and returns can be checked day by day.
#pragma once

#include <QDate>
#include <QDateTime>

namespace clock_service {

QDate today();
QDateTime now();

// Makes today() answer this date until reset (an invalid date resets).
void setToday(const QDate& date);

}  // namespace clock_service
