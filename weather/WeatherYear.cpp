#include "weather/WeatherYear.h"

#include "app/CsvReader.h"
#include "app/FailureReasons.h"
#include "psychro/ID_lib.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <optional>

namespace
{

const QString kData = QStringLiteral("气象年文件");

// The EPW's header: the LOCATION line and seven more before the first hour.
constexpr int kHeaderLines = 8;
// Year, month, day, hour, minute, source flags, dry bulb, dew point, RH,
// station pressure: the fields an hour needs, in this order.
constexpr int kEpwFieldsNeeded = 10;
constexpr int kLeapYearHours = 8784;
constexpr int kYearHours = 8760;

// The ranges the EPW's own description gives for its fields; values outside
// them are no weather (the missing-value codes are told apart first).
constexpr double kLowestTemperature = -70, kHighestTemperature = 70; // ℃
constexpr double kMissingTemperature = 99.9; // ℃: this or above stands for "missing"
constexpr double kHighestHumidity = 110;     // %; 100–110 is taken as saturated
constexpr double kMissingHumidity = 999;     // %
constexpr double kLowestPressure = 31000, kHighestPressure = 120000; // Pa
constexpr double kMissingPressure = 999999;                          // Pa

constexpr std::array<int, 12> kMonthDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

[[noreturn]] void lineError(qint64 line, const QString& why)
{
    CsvLineError(kData, line, why);
}

// Why the device stopped giving text, in the words of FailureReasons.
QString readFailureReason(const QIODevice& device)
{
    const int error = errno;
    if (const auto* file = qobject_cast<const QFileDevice*>(&device))
        return FileDeviceReason(file->error(), error);
    return QStringLiteral("读取出错");
}

[[noreturn]] void readFailure(const QIODevice& device)
{
    throw WeatherFileUnreadable(
        QStringLiteral("无法读取%1：%2").arg(kData, readFailureReason(device)));
}

// A line's text: UTF-8 where it is valid UTF-8, else Latin-1 (older EPW
// files name stations in Latin-1).
QString decodeLine(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    return text.remove(QChar(0xFEFF));
}

double number(qint64 line, const QString& name, const QString& text)
{
    try {
        return ParseField(name, text);
    } catch (const ConversionError& e) {
        lineError(line, e.text());
    }
}

int wholeNumber(qint64 line, const QString& name, const QString& text, int lowest, int highest,
                const QString& rangeText)
{
    const double value = number(line, name, text);
    if (!(value >= lowest && value <= highest) || value != std::floor(value))
        lineError(
            line,
            QStringLiteral("%1应为%2的整数，实为“%3”").arg(name, rangeText, QuotedInput(text)));
    return static_cast<int>(value);
}

// A date checked against the calendar (29 February allowed: typical years
// take February from a leap year as well).
struct HourDate {
    int month = 0, day = 0, hour = 0;
};

HourDate readDate(qint64 line, const QString& month, const QString& day, const QString& hour)
{
    HourDate date;
    date.month = wholeNumber(line, QStringLiteral("月份"), month, 1, 12, QStringLiteral("1～12"));
    const int days = kMonthDays[date.month - 1];
    date.day = wholeNumber(line, QStringLiteral("日期"), day, 1, days,
                           QStringLiteral("1～%1（%2月）").arg(days).arg(date.month));
    date.hour = wholeNumber(line, QStringLiteral("小时"), hour, 1, 24, QStringLiteral("1～24"));
    return date;
}

// Which line gave each hour of the year, so that an hour given twice is
// refused naming both lines.
class HourSlots
{
public:
    HourSlots() : lines_(12 * 31 * 24, 0) {}
    void take(qint64 line, const HourDate& d)
    {
        qint64& slot = lines_[((d.month - 1) * 31 + (d.day - 1)) * 24 + (d.hour - 1)];
        if (slot != 0)
            lineError(line, QStringLiteral("%1月%2日%3时与第%4行重复")
                                .arg(d.month)
                                .arg(d.day)
                                .arg(d.hour)
                                .arg(slot));
        slot = line;
    }

private:
    std::vector<qint64> lines_;
};

// The values of an hour held to the EPW's ranges, in both formats; text is
// the field as the file has it, for the message.
void checkTemperature(qint64 line, const QString& name, double value, const QString& text)
{
    if (!(value >= kLowestTemperature && value <= kHighestTemperature))
        lineError(line,
                  QStringLiteral("%1应在-70～70℃之间，实为“%2”").arg(name, QuotedInput(text)));
}

void checkHumidity(qint64 line, const QString&, double value, const QString& text)
{
    if (!(value >= 0 && value <= kHighestHumidity))
        lineError(line, QStringLiteral("相对湿度应在0～110%之间，实为“%1”").arg(QuotedInput(text)));
}

void checkPressure(qint64 line, const QString&, double value, const QString& text)
{
    if (!(value >= kLowestPressure && value <= kHighestPressure))
        lineError(
            line,
            QStringLiteral("大气压力应在31000～120000Pa之间，实为“%1”").arg(QuotedInput(text)));
}

const QString kDryBulbName = QStringLiteral("干球温度");
const QString kDewPointName = QStringLiteral("露点温度");
const QString kHumidityName = QStringLiteral("相对湿度");
const QString kPressureName = QStringLiteral("大气压力");

// --- EPW ----------------------------------------------------------------

double locationNumber(const QStringList& fields, int index, const QString& name, double lowest,
                      double highest)
{
    if (fields.size() <= index || fields[index].isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    const double value = number(1, name, fields[index]);
    if (!(value >= lowest && value <= highest))
        lineError(1, QStringLiteral("%1应在%2～%3之间，实为“%4”")
                         .arg(name)
                         .arg(lowest)
                         .arg(highest)
                         .arg(QuotedInput(fields[index])));
    return value;
}

WeatherLocation readLocation(const QByteArray& bytes)
{
    const QStringList fields = SplitCsvFields(decodeLine(bytes));
    if (fields.first().compare(QLatin1String("LOCATION"), Qt::CaseInsensitive) != 0)
        lineError(1, QStringLiteral("不是EPW气象文件：第一行应以“LOCATION”开头"));
    WeatherLocation l;
    const auto text = [&](int index) { return index < fields.size() ? fields[index] : QString(); };
    l.name = text(1);
    l.region = text(2);
    l.country = text(3);
    // The 5th and 6th fields are the data's source and the WMO station number.
    l.latitude = locationNumber(fields, 6, QStringLiteral("纬度"), -90, 90);
    l.longitude = locationNumber(fields, 7, QStringLiteral("经度"), -180, 180);
    l.timeZone = locationNumber(fields, 8, QStringLiteral("时区"), -12, 14);
    l.elevation = locationNumber(fields, 9, QStringLiteral("海拔"), -1000, 9999.9);
    return l;
}

// A header line that reads like an hour's row tells a file with fewer
// header lines, whose first hours would otherwise be taken as header.
bool looksLikeDataRow(const QByteArray& bytes)
{
    const QByteArray first = bytes.left(bytes.indexOf(',')).trimmed();
    if (first.isEmpty())
        return false;
    for (const char c : first)
        if (c < '0' || c > '9')
            return false;
    return bytes.count(',') >= kEpwFieldsNeeded - 1;
}

// A value of an hour's row; NaN for the EPW's missing-value code.
double epwValue(qint64 line, const QString& name, const QString& text, bool missing(double),
                void check(qint64, const QString&, double, const QString&))
{
    const double value = number(line, name, text);
    if (missing(value))
        return std::numeric_limits<double>::quiet_NaN();
    check(line, name, value, text);
    return value;
}

// The first count fields of a row as SplitCsvFields gives them (fewer when
// the row has fewer). A row has some 35 fields and the hour needs 10: a row
// without quotes is split only that far (a year reads in about a third of
// the time).
QStringList leadingFields(const QByteArray& bytes, int count)
{
    if (bytes.contains('"'))
        return SplitCsvFields(QString::fromUtf8(bytes));
    QStringList fields;
    fields.reserve(count);
    for (qsizetype start = 0; fields.size() < count;) {
        const qsizetype comma = bytes.indexOf(',', start);
        const qsizetype end = comma < 0 ? bytes.size() : comma;
        fields << QString::fromUtf8(bytes.constData() + start, end - start).trimmed();
        if (comma < 0)
            break;
        start = comma + 1;
    }
    return fields;
}

void readEpwRow(qint64 line, const QByteArray& bytes, HourSlots& seen, WeatherYear& year)
{
    const QStringList f = leadingFields(bytes, kEpwFieldsNeeded);
    if (f.size() < kEpwFieldsNeeded)
        lineError(line,
                  QStringLiteral("应至少有%1个字段，实有%2个").arg(kEpwFieldsNeeded).arg(f.size()));
    const int fileYear =
        wholeNumber(line, QStringLiteral("年份"), f[0], 0, 9999, QStringLiteral("0～9999"));
    const HourDate date = readDate(line, f[1], f[2], f[3]);
    // Field 5 (the minute) and 6 (the data's source flags) are not used.
    const auto missingTemperature = [](double v) { return v >= kMissingTemperature; };
    const double dryBulb = epwValue(line, kDryBulbName, f[6], missingTemperature, checkTemperature);
    const double dewPoint =
        epwValue(line, kDewPointName, f[7], missingTemperature, checkTemperature);
    const double rh = epwValue(
        line, kHumidityName, f[8], [](double v) { return v == kMissingHumidity; }, checkHumidity);
    const double pressure = epwValue(
        line, kPressureName, f[9], [](double v) { return v == kMissingPressure; }, checkPressure);
    seen.take(line, date);
    if (std::isnan(dryBulb) || std::isnan(dewPoint) || std::isnan(rh) || std::isnan(pressure)) {
        ++year.skipped;
        return;
    }
    WeatherHour h;
    h.year = fileYear;
    h.month = date.month;
    h.day = date.day;
    h.hour = date.hour;
    h.dryBulb = dryBulb;
    h.dewPoint = dewPoint;
    h.relativeHumidity = std::min(rh, 100.0);
    h.pressure = pressure;
    year.hours.push_back(h);
}

// --- CSV ----------------------------------------------------------------

struct CsvColumns {
    int t = -1, rh = -1, d = -1, p = -1, month = -1, day = -1, hour = -1;
    qsizetype count = 0; // fields of the header
};

CsvColumns readCsvHeader(qint64 line, const QString& text)
{
    const QStringList names = SplitCsvFields(text);
    CsvColumns c;
    c.count = names.size();
    const std::array<std::pair<const char*, int CsvColumns::*>, 7> known = {{
        {"t", &CsvColumns::t},
        {"rh", &CsvColumns::rh},
        {"d", &CsvColumns::d},
        {"p", &CsvColumns::p},
        {"month", &CsvColumns::month},
        {"day", &CsvColumns::day},
        {"hour", &CsvColumns::hour},
    }};
    for (int k = 0; k < names.size(); ++k) {
        const QString name = names[k].toLower();
        for (const auto& [word, member] : known) {
            if (name != QLatin1String(word))
                continue;
            // A second column of a name would be passed over unseen.
            if (c.*member >= 0)
                lineError(line, QStringLiteral("列名“%1”出现了两次").arg(QuotedInput(names[k])));
            c.*member = k;
        }
    }
    if (c.t < 0 || (c.rh < 0 && c.d < 0))
        lineError(line, QStringLiteral("列名行应有“t”列，以及“rh”或“d”列"));
    if (c.rh >= 0 && c.d >= 0)
        lineError(line, QStringLiteral("列名行中“rh”与“d”只能有其一"));
    const int dates = (c.month >= 0) + (c.day >= 0) + (c.hour >= 0);
    if (dates != 0 && dates != 3)
        lineError(line, QStringLiteral("列名行中“month”、“day”、“hour”应同时给出或都不给出"));
    return c;
}

// Rows without dates are the hours of the year in order from 1 January,
// hour 1; the 8,761st row makes it a leap year, 29 February included.
HourDate dateOfHour(int index, bool leap)
{
    HourDate date;
    int day = index / 24;
    date.hour = index % 24 + 1;
    date.month = 1;
    for (;;) {
        const int days = date.month == 2 && !leap ? 28 : kMonthDays[date.month - 1];
        if (day < days)
            break;
        day -= days;
        ++date.month;
    }
    date.day = day + 1;
    return date;
}

class CsvRowReader
{
public:
    CsvRowReader(const CsvColumns& columns, double pressure) : c_(columns), pressure_(pressure)
    {
        lib_.PsychroCoefficient = kPsychroCoefficient;
    }

    struct Row {
        HourDate date;                   // none without date columns
        std::optional<WeatherHour> hour; // nullopt: a value it needs is missing
    };

    Row read(qint64 line, const QStringList& f)
    {
        if (f.size() != c_.count)
            lineError(line, QStringLiteral("应有%1个字段，实有%2个").arg(c_.count).arg(f.size()));
        Row row;
        WeatherHour h;
        if (c_.month >= 0) {
            row.date = readDate(line, f[c_.month], f[c_.day], f[c_.hour]);
            h.month = row.date.month;
            h.day = row.date.day;
            h.hour = row.date.hour;
        }
        const std::optional<double> t = value(line, kDryBulbName, c_.t, f);
        if (t)
            checkTemperature(line, kDryBulbName, *t, f[c_.t]);
        const std::optional<double> p = value(line, kPressureName, c_.p, f);
        if (p)
            checkPressure(line, kPressureName, *p, f[c_.p]);
        std::optional<double> rh;
        std::optional<double> d;
        if (c_.rh >= 0) {
            rh = value(line, kHumidityName, c_.rh, f);
            if (rh)
                checkHumidity(line, kHumidityName, *rh, f[c_.rh]);
        } else {
            d = value(line, QStringLiteral("含湿量"), c_.d, f);
        }
        const bool missing = !t || (c_.rh >= 0 ? !rh : !d) || (c_.p >= 0 && !p);
        if (missing)
            return row;
        if (d)
            rh = humidityFromMoisture(line, *t, *d, p ? *p : pressure_, f[c_.d]);
        h.dryBulb = *t;
        h.relativeHumidity = std::min(*rh, 100.0);
        if (p)
            h.pressure = *p;
        row.hour = h;
        return row;
    }

private:
    static std::optional<double> value(qint64 line, const QString& name, int column,
                                       const QStringList& f)
    {
        if (column < 0 || f[column].isEmpty())
            return std::nullopt;
        return number(line, name, f[column]);
    }

    double humidityFromMoisture(qint64 line, double t, double d, double pressure,
                                const QString& text)
    {
        lib_.AtmPressure = pressure;
        lib_.CurrentState.t = t;
        lib_.CurrentState.d = d / 1000; // g/kg → kg/kg
        const int failures = lib_.FailureCount();
        if (!(d >= 0) || !lib_.StateFromD_T(t, d / 1000) || lib_.FailureCount() != failures)
            lineError(line, QStringLiteral("含湿量“%1”g/kg在%2℃下不合理（相对湿度将超出0～100%）")
                                .arg(QuotedInput(text),
                                     QString::number(t, 'g', QLocale::FloatingPointShortest)));
        return lib_.CurrentState.RH;
    }

    CsvColumns c_;
    double pressure_;
    ID_lib lib_;
};

WeatherYear readWeatherCsv(QIODevice& device, double pressure)
{
    WeatherYear year;
    year.format = WeatherYear::Format::Csv;
    CsvLineReader reader(device);
    std::optional<CsvColumns> columns;
    std::optional<CsvRowReader> rows;
    HourSlots seen;
    qint64 lastLine = 0, headerLine = 0;
    int rowCount = 0;
    // Without dates the rows' places in the year are known only at the end:
    // the hour index of each usable row.
    std::vector<int> indexOfHour;
    while (const std::optional<CsvLineReader::Line> line = reader.next()) {
        lastLine = line->number;
        if (line->tooLong)
            lineError(line->number, QStringLiteral("行太长"));
        const QString text = QString::fromUtf8(line->text).remove(QChar(0xFEFF));
        if (text.trimmed().isEmpty())
            continue;
        if (!columns) {
            columns = readCsvHeader(line->number, text);
            headerLine = line->number;
            if (columns->d >= 0 && !(pressure >= kLowestPressure && pressure <= kHighestPressure) &&
                columns->p < 0)
                throw UserError(
                    QStringLiteral("大气压力应在31000～120000Pa之间，实为%1Pa").arg(pressure));
            rows.emplace(*columns, pressure);
            continue;
        }
        if (columns->month < 0 && rowCount >= kLeapYearHours)
            lineError(line->number, QStringLiteral("行数超过一年的8784小时"));
        const CsvRowReader::Row row = rows->read(line->number, SplitCsvFields(text));
        if (columns->month >= 0)
            seen.take(line->number, row.date);
        ++rowCount;
        if (!row.hour) {
            ++year.skipped;
            continue;
        }
        if (columns->month < 0)
            indexOfHour.push_back(rowCount - 1);
        year.hours.push_back(*row.hour);
    }
    if (reader.readError())
        readFailure(device);
    if (!columns)
        lineError(lastLine + 1, QStringLiteral("缺少列名行"));
    if (rowCount == 0)
        lineError(headerLine + 1, QStringLiteral("缺少逐时数据"));
    if (columns->month < 0) {
        const bool leap = rowCount > kYearHours;
        for (std::size_t k = 0; k < year.hours.size(); ++k) {
            const HourDate date = dateOfHour(indexOfHour[k], leap);
            year.hours[k].month = date.month;
            year.hours[k].day = date.day;
            year.hours[k].hour = date.hour;
        }
    }
    return year;
}

} // namespace

WeatherYear ReadEpw(QIODevice& device)
{
    WeatherYear year;
    year.format = WeatherYear::Format::Epw;
    CsvLineReader reader(device);
    HourSlots seen;
    qint64 lastLine = 0;
    qint64 rows = 0;
    while (const std::optional<CsvLineReader::Line> line = reader.next()) {
        lastLine = line->number;
        if (line->tooLong)
            lineError(line->number, QStringLiteral("行太长"));
        if (line->number == 1) {
            year.location = readLocation(line->text);
        } else if (line->number <= kHeaderLines) {
            // The other header lines' content is not used.
            if (looksLikeDataRow(line->text))
                lineError(line->number,
                          QStringLiteral("应为表头行：EPW文件在逐时数据之前有%1行表头")
                              .arg(kHeaderLines));
        } else if (!line->text.trimmed().isEmpty()) {
            readEpwRow(line->number, line->text, seen, year);
            ++rows;
        }
    }
    if (reader.readError())
        readFailure(device);
    if (lastLine == 0)
        lineError(1, QStringLiteral("文件为空"));
    if (lastLine < kHeaderLines)
        lineError(lastLine + 1,
                  QStringLiteral("文件在表头中结束：EPW文件应有%1行表头").arg(kHeaderLines));
    if (rows == 0)
        lineError(kHeaderLines + 1, QStringLiteral("缺少逐时数据"));
    return year;
}

WeatherYear ReadWeatherCsv(QIODevice& device, double pressure)
{
    return readWeatherCsv(device, pressure);
}

WeatherYear ReadWeatherYearFile(const QString& path, double csvPressure)
{
    const auto unreadable = [&](const QString& reason) {
        return WeatherFileUnreadable(
            QStringLiteral("无法读取%1“%2”：%3").arg(kData, QuotedInput(path), reason));
    };
    if (const QString reason = NotARegularFileReason(path); !reason.isEmpty())
        throw unreadable(reason);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        // Windows opens files without setting errno: a missing file is
        // told apart by itself, in the same words everywhere.
        if (!QFileInfo::exists(path))
            throw unreadable(SystemErrorReason(ENOENT));
        throw unreadable(FileDeviceReason(file.error(), error));
    }
    const bool epw = path.endsWith(QLatin1String(".epw"), Qt::CaseInsensitive);
    try {
        if (epw)
            return ReadEpw(file);
        WeatherYear year = ReadWeatherCsv(file, csvPressure);
        year.location.name = QFileInfo(path).completeBaseName();
        return year;
    } catch (const WeatherFileUnreadable&) {
        throw unreadable(readFailureReason(file));
    }
}

// --- WeatherYear -----------------------------------------------------------

QString WeatherYear::stationText() const
{
    QStringList parts;
    for (const QString* part : {&location.name, &location.region, &location.country}) {
        const QString text = part->trimmed();
        // EPW files write "-" for a region they do not know.
        if (!text.isEmpty() && text != QLatin1String("-"))
            parts << text;
    }
    return parts.join(QStringLiteral(", "));
}

double WeatherYear::meanPressure() const
{
    double sum = 0;
    long long count = 0;
    for (const WeatherHour& h : hours) {
        if (std::isnan(h.pressure))
            continue;
        sum += h.pressure;
        ++count;
    }
    return count ? sum / count : std::numeric_limits<double>::quiet_NaN();
}

// --- WeatherFilter ---------------------------------------------------------

namespace
{

bool isRangeSign(QChar c)
{
    return c == u'-' || c == u'～' || c == u'–' || c == u'~';
}

bool isListSign(QChar c)
{
    return c == u',' || c == u'，' || c == u'、';
}

// A set of 1..count from "6-8", "11-2" (running over the end), "1,2,12",
// "8-12,14-18"; what stands for a month or an hour is named by what.
unsigned parseCycle(const QString& text, int count, const QString& what, const QString& example)
{
    const auto refuse = [&]() {
        // One arg() for all: the user's text may hold a "%2" of its own.
        throw UserError(QStringLiteral("%1“%2”有误：应为1～%3的%1或范围，如%4")
                            .arg(what, QuotedInput(text), QString::number(count), example));
    };
    const auto parseOne = [&](QStringView item) {
        item = item.trimmed();
        if (item.isEmpty() || item.size() > 2)
            refuse();
        int value = 0;
        for (const QChar c : item) {
            if (c < u'0' || c > u'9')
                refuse();
            value = value * 10 + (c.unicode() - u'0');
        }
        if (value < 1 || value > count)
            refuse();
        return value;
    };
    unsigned set = 0;
    QList<QStringView> items;
    qsizetype start = 0;
    for (qsizetype k = 0; k <= text.size(); ++k) {
        if (k == text.size() || isListSign(text[k])) {
            items << QStringView(text).sliced(start, k - start);
            start = k + 1;
        }
    }
    for (const QStringView item : items) {
        qsizetype sign = -1;
        for (qsizetype k = 0; k < item.size(); ++k)
            if (isRangeSign(item[k]))
                sign = sign < 0 ? k : -2;
        if (sign == -2)
            refuse();
        if (sign < 0) {
            set |= 1u << (parseOne(item) - 1);
            continue;
        }
        const int first = parseOne(item.first(sign));
        const int last = parseOne(item.sliced(sign + 1));
        for (int v = first;; v = v % count + 1) {
            set |= 1u << (v - 1);
            if (v == last)
                break;
        }
    }
    return set;
}

// The set's runs in the cycle 1..count, "6–8", "11–2", joined with "、";
// a run over the end (12, 1, 2) is written from its first member (12–2).
QString cycleText(unsigned set, int count)
{
    const auto has = [&](int v) { return (set >> (v - 1) & 1u) != 0; };
    QStringList runs;
    for (int v = 1; v <= count; ++v) {
        const int before = v == 1 ? count : v - 1;
        if (!has(v) || has(before))
            continue; // not the start of a run
        int last = v;
        while (has(last % count + 1) && last % count + 1 != v)
            last = last % count + 1;
        runs << (last == v ? QString::number(v) : QStringLiteral("%1–%2").arg(v).arg(last));
    }
    return runs.join(QStringLiteral("、"));
}

constexpr unsigned kAllMonths = 0xFFF, kAllHours = 0xFFFFFF;

} // namespace

unsigned WeatherFilter::ParseMonths(const QString& text)
{
    return parseCycle(text, 12, QStringLiteral("月份"), QStringLiteral("“6-8”、“11-2”、“1,2,12”"));
}

unsigned WeatherFilter::ParseHours(const QString& text)
{
    return parseCycle(text, 24, QStringLiteral("小时"), QStringLiteral("“8-18”、“8-12,14-18”"));
}

QString WeatherFilter::text() const
{
    const unsigned m = months & kAllMonths, h = hours & kAllHours;
    const QString monthText = m == kAllMonths
                                  ? QStringLiteral("全年")
                                  : (m == 0 ? QStringLiteral("无月份") : cycleText(m, 12) + u'月');
    if (h == kAllHours)
        return monthText;
    const QString hourText = h == 0 ? QStringLiteral("无时刻") : cycleText(h, 24) + u'时';
    return monthText + QStringLiteral("，") + hourText;
}
