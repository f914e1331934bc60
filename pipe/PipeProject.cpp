#include "pipe/PipeProject.h"

#include "app/Numbers.h"

namespace
{

// The heading's labels are padded to this many GBK bytes, so their values
// line up in a fixed-width font.
constexpr int kLabelBytes = 24;

} // namespace

QStringList PipeProjectLines(const PipeProjectSettings& settings)
{
    return {settings.pipeType, settings.supplyTemp, settings.returnTemp};
}

PipeProjectSettings PipeProjectFromLines(const QStringList& lines)
{
    return {lines.value(0), lines.value(1), lines.value(2)};
}

const WorkbookLayout& PipeWorkbookLayout()
{
    static const WorkbookLayout layout{
        .title = QStringLiteral("水管阻力计算结果表"),
        .headings = SegmentWorkbookHeadingRows(
            QStringLiteral("计算软件： 岚禾暖通常用计算工具软件Ventacalc3.00 "),
            {
                {},
                {QStringLiteral("管道类型:"), kLabelBytes},
                {QStringLiteral("供水温度(℃):"), kLabelBytes},
                {QStringLiteral("回水温度(℃):"), kLabelBytes},
                {QStringLiteral("平均水温(℃)："), kLabelBytes},
                {QStringLiteral("水的密度(kg/m3)："), kLabelBytes},
                {QStringLiteral("水的运动粘滞系数(m2/s)："), kLabelBytes},
                {QStringLiteral("管壁粗糙度(mm)："), kLabelBytes},
                {QStringLiteral("总阻力(Pa)："), kLabelBytes},
            }),
        .titleRow = 17,
        .columns =
            {
                {QStringLiteral("管段编号"), {}, QStringLiteral("Pipe_No"), {}},
                {QStringLiteral("流量"), QStringLiteral("(m3/h)"), QStringLiteral("G"),
                 QStringLiteral("0.0")},
                {QStringLiteral("热负荷"), QStringLiteral("(Kw)"), QStringLiteral("Q"),
                 QStringLiteral("0.0")},
                {QStringLiteral("管径"), QStringLiteral("(mm)"), QStringLiteral("DN"),
                 QStringLiteral("0")},
                {QStringLiteral("流速 "), QStringLiteral("(m/s)"), QStringLiteral("V"),
                 QStringLiteral("0.00")},
                {QStringLiteral("比摩阻"), QStringLiteral("(Pa/m)"), QStringLiteral("Pm"),
                 QStringLiteral("0.0")},
                {QStringLiteral("管长"), QStringLiteral("(m)"), QStringLiteral("L"),
                 QStringLiteral("0.0")},
                {QStringLiteral("局阻名称"), {}, QStringLiteral("JZ_name"), {}},
                {QStringLiteral("局阻系数"), {}, QStringLiteral("JZ"), QStringLiteral("0.0")},
                {QStringLiteral("局阻数量"), {}, QStringLiteral("JZ_N"), QStringLiteral("0")},
                {QStringLiteral("沿程阻力"), QStringLiteral("(Pa)"), QStringLiteral("ZL_y"),
                 QStringLiteral("0.0")},
                {QStringLiteral("局部阻力"), QStringLiteral("(Pa)"), QStringLiteral("ZL_j"),
                 QStringLiteral("0.0")},
                {QStringLiteral("总阻力"), QStringLiteral("(Pa)"), QStringLiteral("ZL_z"),
                 QStringLiteral("0.0")},
            },
        .totalField = QStringLiteral("ZL_z"),
    };
    return layout;
}

QStringList PipeWorkbookHeadingValues(const PipeWorkbookHeading& h, double totalResistance)
{
    const QStringList own{
        {},
        h.settings.pipeType,
        h.settings.supplyTemp,
        h.settings.returnTemp,
        FormatNumber(h.meanTemperature, QStringLiteral("0.00")),
        FormatNumber(h.water.rho, QStringLiteral("0.00")),
        FormatNumber(h.water.nu, QStringLiteral("0.0000000000")),
        // Four decimals: copper's 0.0025 mm is shown as it is.
        FormatNumber(h.water.K, QStringLiteral("0.0000")),
        FormatNumber(totalResistance, QStringLiteral("0.0")),
    };
    return SegmentWorkbookHeadingValues(h, own);
}
