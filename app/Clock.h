// The time of day as the program writes it into results (the workbook's
// "计算时间"). The program reads the system clock; tests install a fixed one.
#pragma once

#include <QLocale>
#include <QTime>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QTime timeOfDay() const = 0;
};

// The installed clock (the system's unless a test installed another).
const Clock& currentClock();
// Installs c (not owned); nullptr goes back to the system clock.
void installClock(const Clock* c);

// The time of day in the locale's long time format without its time zone,
// e.g. "09:05:07" or "9:05:07" (seconds included, no date).
QString TimeOfDayText(const QTime& time, const QLocale& locale = QLocale::system());
