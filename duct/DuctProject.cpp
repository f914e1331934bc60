#include "duct/DuctProject.h"

#include "app/Numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{

constexpr int kLabelBytes = 20;
constexpr int kMantissaDecimals = 14;

} // namespace

QString ProjectNumberText(double value)
{
    if (!std::isfinite(value))
        throw UserError(QStringLiteral("数值无效，无法写入工程文件！"));
    char text[64];
    std::snprintf(text, sizeof text, "%.*E", kMantissaDecimals, std::fabs(value));
    // "1.50600000000000E-05": the exponent gets four digits.
    const QString mantissaAndExponent = QString::fromLatin1(text);
    const qsizetype e = mantissaAndExponent.indexOf(QLatin1Char('E'));
    const int exponent = mantissaAndExponent.mid(e + 1).toInt();
    return QStringLiteral("%1%2E%3%4")
        .arg(std::signbit(value) && value != 0 ? QLatin1Char('-') : QLatin1Char(' '))
        .arg(mantissaAndExponent.left(e))
        .arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(std::abs(exponent), 4, 10, QLatin1Char('0'));
}

QStringList DuctProjectLines(const AirProperties& air)
{
    return {ProjectNumberText(air.nu), ProjectNumberText(air.rho), ProjectNumberText(air.K)};
}

AirProperties DuctProjectFromLines(const QStringList& lines)
{
    try {
        return ReadAirProperties({lines.value(1), lines.value(0), lines.value(2)});
    } catch (const ConversionError& refused) {
        // The field named as the advanced dialog names it, said of the file.
        throw ConversionError(QStringLiteral("工程文件的") + refused.text());
    } catch (const UserError& refused) {
        // The advanced dialog's own rule, said of the file.
        throw UserError(QStringLiteral("工程文件的") + refused.text());
    }
}

void WriteDuctProjectFile(const QString& path, const AirProperties& air)
{
    RewriteProjectFile(path, DuctProjectLines(air));
}

const WorkbookLayout& DuctWorkbookLayout()
{
    static const WorkbookLayout layout{
        .title = QStringLiteral("风管阻力计算结果表"),
        .headings =
            SegmentWorkbookHeadingRows(QStringLiteral("计算软件： 风管阻力计算软件 "),
                                       {
                                           {QStringLiteral("密度(kg/m3)："), kLabelBytes},
                                           {QStringLiteral("运动粘滞系数(m2/s)："), kLabelBytes},
                                           {QStringLiteral("管壁粗糙度(mm)："), kLabelBytes},
                                           {QStringLiteral("总阻力(Pa)："), kLabelBytes},
                                       }),
        .titleRow = 12,
        .columns =
            {
                {QStringLiteral("管段编号"), {}, QStringLiteral("Duct_No"), {}},
                {QStringLiteral("风量"), QStringLiteral("(m3/h)"), QStringLiteral("G"),
                 QStringLiteral("0")},
                {QStringLiteral("圆管管径"), QStringLiteral("(mm)"), QStringLiteral("DN"), {}},
                {QStringLiteral("宽度"), QStringLiteral("(mm)"), QStringLiteral("W"), {}},
                {QStringLiteral("高度"), QStringLiteral("(mm)"), QStringLiteral("H"), {}},
                {QStringLiteral("风速"), QStringLiteral("(m/s)"), QStringLiteral("V"),
                 QStringLiteral("0.0")},
                {QStringLiteral("比摩阻"), QStringLiteral("(Pa/m)"), QStringLiteral("Pm"),
                 QStringLiteral("0.0")},
                {QStringLiteral("管长"), QStringLiteral("(m)"), QStringLiteral("L"),
                 QStringLiteral("0.0")},
                {QStringLiteral("局阻名称"), {}, QStringLiteral("JZ_name"), {}},
                {QStringLiteral("局阻系数"), {}, QStringLiteral("JZ_K"), QStringLiteral("0.0")},
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

QStringList DuctWorkbookHeadingValues(const DuctWorkbookHeading& h, double totalResistance)
{
    const QStringList own{
        FormatNumber(h.air.rho, QStringLiteral("0.00")),
        FormatNumber(h.air.nu, QStringLiteral("0.0000000000")),
        FormatNumber(h.air.K, QStringLiteral("0.000")),
        FormatNumber(totalResistance, QStringLiteral("0.0")),
    };
    return SegmentWorkbookHeadingValues(h, own);
}
