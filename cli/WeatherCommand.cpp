// ventacalc-cli weather: a weather year's design values and comfort-zone
// hours, and on request the chart with the year's hours and the bin tables.
#include "app/Numbers.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartGeometry.h"
#include "chart/WeatherYearLayer.h"
#include "cli/ChartPicture.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/RecordOutput.h"
#include "psychro/ID_lib.h"
#include "psychro/StatePointCalc.h"
#include "weather/WeatherBinFiles.h"
#include "weather/WeatherDesignTexts.h"
#include "weather/WeatherYear.h"
#include "weather/WeatherYearFigures.h"

#include <QFileInfo>
#include <cmath>

namespace
{

// Pa: the pressure of a file without one, unless --pressure gives another.
constexpr double kStandardPressure = 101325;

const char* const kHelp =
    "用法: ventacalc-cli weather FILE [--months 6-8] [--hours 8-18] [--pressure PA] [--json]\n"
    "                            [--chart FILE.(png|svg|pdf) [--zones] [--points FILE.DB]\n"
    "                             [--process <过程> <参数>=<值> ...] [--scale N]]\n"
    "                            [--bins FILE.(xlsx|csv)]\n"
    "\n"
    "读入逐时气象年文件，按 GB 50736-2012 的定义由这一年的逐时数据求出室外计算参数，\n"
    "并统计落在各舒适区内的小时数，与“湿空气焓湿图”窗口的“气象年(&Y)...”相同。\n"
    "\n"
    "FILE 为 EPW 文件（扩展名 .epw，不分大小写），或 CSV 文件: 标题行给出 t (℃) 和\n"
    "rh (%)，或 t 和 d (g/kg干空气)，可再给出 p (Pa) 以及 month、day、hour（三者同时\n"
    "给出；不给出时各行依次为从1月1日1时起的逐时数据）。缺测的小时跳过并计数。\n"
    "\n"
    "室外计算参数总是用文件中的全部小时，与 --months、--hours 无关:\n"
    "  夏季空调室外计算干球温度  逐时干球温度从高到低排列的第51个（不保证50小时）\n"
    "  夏季空调室外计算湿球温度  逐时湿球温度的第51个；湿球温度按文件的平均大气压计算\n"
    "  冬季空调室外计算温度      日平均干球温度从低到高排列的第2个（不保证1天）\n"
    "  冬季空调室外计算相对湿度  月平均干球温度最低的月份的平均相对湿度\n"
    "  冬季供暖室外计算温度      日平均干球温度从低到高排列的第6个（不保证5天）\n"
    "小时数或天数不足、无法求出的参数显示为“—”（--json: null）。\n"
    "\n"
    "选项:\n"
    "  --months M     只统计这些月份的小时: 如 6-8、11-2（跨年）、1,2,12；默认全年\n"
    "  --hours H      只统计一天中的这些时刻: 1～24，第 h 时为 h-1 时至 h 时，如 8-18；\n"
    "                 默认全天。两者只影响舒适区小时数、图和分档统计表\n"
    "  --pressure PA  图和分档统计表所用的当地大气压 (Pa)，须在30000～150000之间，也是\n"
    "                 不含 p 列的CSV文件由含湿量求相对湿度和求湿球温度所用的大气压。\n"
    "                 默认: 文件各小时大气压的平均值（图和分档统计表取整到 1 Pa），文件\n"
    "                 没有大气压时为 101325。文件有大气压时，湿球温度总是按其平均值计算\n"
    "  --json         输出一个JSON对象（见下）\n"
    "  --chart FILE   把画有这一年各小时的焓湿图写成图片文件，扩展名 .png、.svg 或 .pdf，\n"
    "                 与 ventacalc-cli chart --out 相同；以下四个选项只与 --chart 一起使用:\n"
    "  --zones        画上舒适区\n"
    "  --points FILE  画上状态点文件中的各点\n"
    "  --process N    画上空气处理过程 N，其后给出参数 <参数>=<值>（见 ventacalc-cli chart\n"
    "                 --help）；过程按图的大气压计算\n"
    "  --scale N      PNG图片的放大倍数，1～4，默认 2\n"
    "  --bins FILE    写出分档统计表: 干球温度（1℃一档）×含湿量（1 g/kg一档）的小时数，\n"
    "                 和各干球温度档的小时数及平均湿球温度；.xlsx 为工作簿（每表一页），\n"
    "                 .csv 为文本\n"
    "\n"
    "输出: 气象站名称，读入、跳过和统计的小时数，湿球温度所用的大气压，五个室外计算参数\n"
    "（温度保留一位小数、相对湿度取整，与城市气象参数表相同），各舒适区的小时数和所占\n"
    "比例。--json 时输出一个对象:\n"
    "  {\"station\": 站名, \"hours\": {\"read\": 读入的小时数, \"kept\": 统计的小时数},\n"
    "   \"skipped\": 跳过的小时数, \"pressure\": 湿球温度所用的大气压 (Pa),\n"
    "   \"design\": {\"summer_dry_bulb\", \"summer_wet_bulb\", \"winter_ac\", \"winter_rh\",\n"
    "              \"heating\"},\n"
    "   \"zones\": [{\"name\": 舒适区名称, \"hours\": 小时数, \"share\": 所占比例 0～1}, ...]}\n"
    "read 为读入的可用小时数（不含跳过的小时），kept 为其中 --months、--hours 选取的\n"
    "小时数；数值为全精度，舒适区按图中的次序，以各小时的干球温度和相对湿度判断，\n"
    "落在边界上的小时属于该区。\n"
    "\n"
    "选项或参数被拒绝、文件内容不是气象年数据（提示指出行号）或画图时计算库报告计算失败\n"
    "时，在标准错误输出给出提示并以状态 2 退出；文件无法读取或输出文件无法写入时以状态\n"
    "1 退出。有输出文件时，文件都写好后才输出结果；写入失败时原有文件不变。\n"
    "\n"
    "例: ventacalc-cli weather 北京.epw\n"
    "    ventacalc-cli weather 北京.epw --months 6-8 --hours 8-18 --json\n"
    "    ventacalc-cli weather 北京.epw --chart 北京.png --zones --bins 北京.xlsx\n";

ChartGrammar weatherGrammar()
{
    ChartGrammar g;
    g.command = "weather";
    g.outOption = "--chart";
    g.options = {QStringLiteral("--months"), QStringLiteral("--hours"), QStringLiteral("--bins")};
    g.flags = {QStringLiteral("--json")};
    g.positional = true;
    return g;
}

// Where the bin tables go.
enum class BinFormat { Workbook, Csv };

std::optional<BinFormat> binFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx"))
        return BinFormat::Workbook;
    if (suffix == QLatin1String("csv"))
        return BinFormat::Csv;
    return std::nullopt;
}

std::optional<double> finite(const std::optional<double>& value)
{
    return value && std::isfinite(*value) ? value : std::nullopt;
}

QString jsonNumber(const std::optional<double>& value)
{
    return value ? FullPrecision(*value) : QStringLiteral("null");
}

QString temperatureText(const std::optional<double>& value)
{
    return value ? DesignTemperatureText(*value) : QStringLiteral("—");
}

struct WeatherFigures {
    QString station;
    long long read = 0, kept = 0, skipped = 0;
    WeatherFilter filter;
    WeatherDesignValues design;
    std::vector<ZoneHours> zones;
};

void printJson(CliIo& io, const WeatherFigures& f)
{
    const WeatherDesignValues& d = f.design;
    QStringList zones;
    for (const ZoneHours& z : f.zones)
        zones << QStringLiteral("{\"name\": %1, \"hours\": %2, \"share\": %3}")
                     .arg(JsonString(z.name))
                     .arg(z.hours)
                     .arg(FullPrecision(z.share));
    io.out << "{\"station\": " << JsonString(f.station) << ", \"hours\": {\"read\": " << f.read
           << ", \"kept\": " << f.kept << "}, \"skipped\": " << f.skipped
           << ", \"pressure\": " << FullPrecision(d.pressure) << ", \"design\": {"
           << "\"summer_dry_bulb\": " << jsonNumber(d.summerDryBulb)
           << ", \"summer_wet_bulb\": " << jsonNumber(d.summerWetBulb)
           << ", \"winter_ac\": " << jsonNumber(d.winterAirConditioning)
           << ", \"winter_rh\": " << jsonNumber(d.winterRelativeHumidity)
           << ", \"heating\": " << jsonNumber(d.heating) << "}, \"zones\": ["
           << zones.join(QStringLiteral(", ")) << "]}\n";
}

void printText(CliIo& io, const WeatherFigures& f)
{
    const WeatherDesignValues& d = f.design;
    io.out << "气象站: " << f.station << "\n"
           << "小时数: 读入 " << f.read << "，跳过 " << f.skipped << "，统计 " << f.kept << "（"
           << f.filter.text() << "）\n"
           << "湿球温度所用大气压(Pa): " << QString::number(d.pressure, 'f', 0) << "\n"
           << "夏季空调室外计算干球温度(℃): " << temperatureText(d.summerDryBulb) << "\n"
           << "夏季空调室外计算湿球温度(℃): " << temperatureText(d.summerWetBulb) << "\n"
           << "冬季空调室外计算温度(℃): " << temperatureText(d.winterAirConditioning) << "\n"
           << "冬季空调室外计算相对湿度(%): "
           << (d.winterRelativeHumidity ? DesignHumidityText(*d.winterRelativeHumidity)
                                        : QStringLiteral("—"))
           << "\n"
           << "冬季供暖室外计算温度(℃): " << temperatureText(d.heating) << "\n"
           << "舒适区小时数:\n";
    for (const ZoneHours& z : f.zones)
        io.out << "  " << z.name << ": " << z.hours << " 小时，"
               << QString::number(z.share * 100, 'f', 1) << "%\n";
}

// The words checked before any file is read: every refusal of the options
// comes first.
struct WeatherRequest {
    ChartArgs words;
    QString file;
    WeatherFilter filter;
    std::optional<ChartPictureOptions> chart;
    std::optional<BinFormat> bins;
    std::optional<double> pressure; // --pressure
};

WeatherRequest parseRequest(const QStringList& args)
{
    WeatherRequest r;
    r.words = ParseWeatherArgs(args);
    const ChartArgs& a = r.words;
    if (a.positional.isEmpty())
        throw UserError(QStringLiteral("请给出气象年文件（.epw 或 .csv）"));
    r.file = a.positional.first();
    if (a.has("--months"))
        r.filter.months = WeatherFilter::ParseMonths(a.options.value(QStringLiteral("--months")));
    if (a.has("--hours"))
        r.filter.hours = WeatherFilter::ParseHours(a.options.value(QStringLiteral("--hours")));
    if (!a.out.isEmpty())
        r.chart = CheckChartPictureOptions(a);
    if (a.has("--bins")) {
        const QString bins = a.options.value(QStringLiteral("--bins"));
        r.bins = binFormatOf(bins);
        if (!r.bins)
            throw UserError(QStringLiteral("无法识别分档统计表文件“%1”的格式：扩展名应为 "
                                           ".xlsx 或 .csv")
                                .arg(QuotedInput(bins)));
    }
    if (a.pressureGiven) {
        ID_lib lib;
        ApplyPressureText(lib, a.pressure, InputNaming::Argument);
        CheckChartPressure(lib.AtmPressure);
        r.pressure = lib.AtmPressure;
    }
    return r;
}

int run(const QStringList& args, CliIo& io)
{
    WeatherRequest r;
    try {
        r = parseRequest(args);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    const ChartArgs& a = r.words;
    const double fallbackPressure = r.pressure.value_or(kStandardPressure);

    WeatherYear year;
    try {
        year = ReadWeatherYearFile(r.file, fallbackPressure);
    } catch (const WeatherFileUnreadable& e) {
        io.err << e.text() << "\n";
        return ExitFailure;
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }

    // The chart's and the bins' pressure: as given, else the file's mean
    // station pressure to the pascal (the chart's title shows it so).
    const QString pressureText =
        a.pressureGiven
            ? a.pressure
            : QString::number(std::round(WeatherPressure(year, fallbackPressure)), 'f', 0);
    ID_lib lib;
    WeatherFigures figures;
    ChartDisplayList list;
    std::optional<ProcessComputed> process;
    try {
        ApplyPressureText(lib, pressureText, InputNaming::Argument);
        figures.station = year.stationText();
        figures.read = static_cast<long long>(year.hours.size());
        figures.skipped = year.skipped;
        figures.filter = r.filter;
        figures.kept = FilteredHours(year, r.filter);
        figures.design = ComputeDesignValues(year, lib, fallbackPressure);
        for (std::optional<double>* v :
             {&figures.design.summerDryBulb, &figures.design.summerWetBulb,
              &figures.design.winterAirConditioning, &figures.design.winterRelativeHumidity,
              &figures.design.heating})
            *v = finite(*v);
        figures.zones = CountZoneHours(year, r.filter);
        if (r.chart) {
            CheckChartPressure(lib.AtmPressure);
            list.reset(lib, pressureText);
            list.setZonesShown(a.zones);
            process = ComputeChartProcess(a, pressureText);
        }
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    if (!AllFinite({figures.design.pressure}))
        return Refuse(io, QStringLiteral("气象年文件的大气压无法使用"));

    std::optional<WeatherBinTables> tables;
    if (r.chart || r.bins)
        tables = ComputeBinTables(year, r.filter, lib);
    if (r.chart) {
        list.setWeatherYear(std::make_shared<WeatherYearLayer>(*tables, figures.zones));
        const int status = WriteChartPicture(a, *r.chart, process, list, io);
        if (status != ExitOk)
            return status;
    }
    if (r.bins) {
        const QString path = a.options.value(QStringLiteral("--bins"));
        try {
            if (*r.bins == BinFormat::Workbook)
                WriteBinTablesWorkbook(path, *tables);
            else
                WriteBinTablesCsv(path, *tables);
        } catch (const UserError& e) {
            io.err << e.text() << "\n";
            return ExitFailure;
        }
    }
    if (a.has("--json"))
        printJson(io, figures);
    else
        printText(io, figures);
    return ExitOk;
}

const CliCommandRegistrar registrar({QStringLiteral("weather"),
                                     QStringLiteral("气象年的室外计算参数、舒适区小时数和焓湿图"),
                                     QString::fromUtf8(kHelp), &run, true});

} // namespace

ChartArgs ParseWeatherArgs(const QStringList& args)
{
    ChartArgs a = ParseChartWords(args, weatherGrammar());
    if (a.positional.size() > 1)
        throw UserError(
            QStringLiteral("只能给出一个气象年文件，多出: %1").arg(QuotedInput(a.positional[1])));
    if (a.out.isEmpty()) {
        const std::pair<bool, const char*> chartOnly[] = {{a.zones, "--zones"},
                                                          {!a.points.isEmpty(), "--points"},
                                                          {a.process, "--process"},
                                                          {!a.scale.isEmpty(), "--scale"}};
        for (const auto& [given, option] : chartOnly)
            if (given)
                throw UserError(
                    QStringLiteral("选项 %1 只用于 --chart").arg(QLatin1String(option)));
    }
    return a;
}
