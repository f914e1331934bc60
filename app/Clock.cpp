#include "app/Clock.h"

#include <QRegularExpression>

namespace
{

class SystemClock : public Clock
{
public:
    QTime timeOfDay() const override { return QTime::currentTime(); }
};

const Clock*& installed()
{
    static const Clock* c = nullptr;
    return c;
}

} // namespace

const Clock& currentClock()
{
    static const SystemClock systemClock;
    return installed() ? *installed() : systemClock;
}

void installClock(const Clock* c)
{
    installed() = c;
}

QString TimeOfDayText(const QTime& time, const QLocale& locale)
{
    // The long format names the time zone ("t", "tttt"), which a time of day
    // written into a results sheet has no use for.
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.replace(zone, QStringLiteral(" "));
    return locale.toString(time, format.trimmed());
}
