#include "airtreat/TreatmentReport.h"

namespace
{

QString ruleLine()
{
    return QString(18, QChar(0x2501)); // ━
}

QString titleLine(TreatmentProcess process)
{
    return QStringLiteral("  ** ") + ProcessCaption(process) + QStringLiteral(" ** ");
}

// The result lines in the report's order, which puts the fresh-air quantity
// before the ratio (the window shows the ratio first), with the row of the
// result field each reports.
struct ResultLine {
    const char* label;
    int row;
};
constexpr ResultLine kResultLines[] = {
    {" 送风温度(℃): ", 0},      {" 送风相对湿度(％): ", 1}, {" 总送风量(kg/h): ", 2},
    {" 新风量(kg/h): ", 4},     {" 新风比(%): ", 3},        {" 一次回风量(kg/h): ", 5},
    {" 二次回风量(kg/h): ", 6}, {" 一次回风混合点焓: ", 7}, {" 机器露点温度(℃): ", 8},
    {" 制冷量(kw): ", 9},       {" 预加热量(kw): ", 10},    {" 再加热量(kw): ", 11},
    {" 总加热量(kw): ", 12}};

QStringList valueLines(const TreatmentReportValues& v)
{
    // The report's own labels for the indoor design state differ from the window's.
    QStringList lines{QStringLiteral(" 室外计算干球温度(℃): ") + v.tW,
                      QStringLiteral(" 夏季室外计算湿球温度(℃): ") + v.tsW,
                      QStringLiteral(" 冬季空调室外计算相对湿度(％): ") + v.phiW,
                      QStringLiteral(" 设计室内干球温度(℃): ") + v.tN,
                      QStringLiteral(" 设计室内相对湿度(％): ") + v.phiN,
                      QStringLiteral(" 余热量(kw): ") + v.Q,
                      QStringLiteral(" 余湿量(kg/h): ") + v.W};
    for (const ResultLine& line : kResultLines) {
        if (ResultShownFor(v.process, line.row))
            lines << QString::fromUtf8(line.label) + v.results[line.row];
    }
    return lines;
}

} // namespace

QStringList TreatmentSaveLines(const TreatmentReportValues& values)
{
    return QStringList{ruleLine(), titleLine(values.process), QString()} + valueLines(values) +
           QStringList{ruleLine()};
}

QStringList TreatmentPrintLines(const TreatmentReportValues& values)
{
    return QStringList{titleLine(values.process), QString(), ruleLine()} + valueLines(values) +
           QStringList{ruleLine()};
}
