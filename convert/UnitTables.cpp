#include "convert/UnitTables.h"

#include "app/Numbers.h"

#include <cmath>

namespace
{

ConversionUnit unit(const char* caption, double factor)
{
    return {QString::fromUtf8(caption), {}, true, {}, factor};
}

ConversionUnit withExponent(const char* caption, const char* exponent, double factor)
{
    return {QString::fromUtf8(caption), QString::fromUtf8(exponent), true, {}, factor};
}

ConversionUnit withIndex(const char* caption, const char* index, const char* tail, double factor)
{
    return {QString::fromUtf8(caption), QString::fromUtf8(index), false, QString::fromUtf8(tail),
            factor};
}

// Sizes as the engineers' conversion tables print them (kgf = 9.8067 N,
// lb = 0.4536 kg, the International Table calorie 4.1868 J) rather than the
// exact definitions, so results agree with hand calculations from those
// tables.
const std::vector<ConversionPage>& pages()
{
    static const std::vector<ConversionPage> table{
        {QStringLiteral("长度"), // base m
         {unit("m", 1), unit("in", 0.0254), unit("ft", 0.3048), unit("yd", 0.9144),
          unit("mile", 1609.344)}},
        {QStringLiteral("质量"), // base kg
         {unit("g", 0.001), unit("kg", 1), unit("lb", 0.4536), unit("t", 1000)}},
        {QStringLiteral("压力"), // base Pa
         {unit("Pa", 1), unit("MPa", 1000000), withExponent("kgf/cm", "2", 98067),
          withIndex("mmH", "2", "O", 9.8067), unit("mmHg", 133.322),
          withIndex("inH", "2", "O", 249.089), unit("bar", 100000), unit("atm", 101325),
          withExponent("lbf/in", "2", 6894.76)}},
        {QStringLiteral("功率"), // base W
         {unit("w", 1), unit("Kw", 1000), unit("Kcal/h", 1.163), unit("Btu/h", 0.2931),
          unit("kgf.m/s", 9.8067), unit("Hp", 745.7), unit("U.S.RT", 3516.91)}},
        {QStringLiteral("能量"), // base J
         {unit("J", 1), unit("kW.h", 3600000), unit("kgf.m", 9.8067), unit("Cal", 4.1868),
          unit("ft.lbf", 1.3558), unit("Hp.h", 2680000), unit("Btu", 1055.06)}},
        {QStringLiteral("密度"), // base kg/m³
         {withExponent("kg/m", "3", 1), withExponent("lb/in", "3", 27679.9),
          withExponent("lb/ft", "3", 16.0185)}},
    };
    return table;
}

QChar smallDigit(QChar digit, bool raised)
{
    static const char16_t superscripts[] = u"⁰¹²³⁴⁵⁶⁷⁸⁹";
    static const char16_t subscripts[] = u"₀₁₂₃₄₅₆₇₈₉";
    if (!digit.isDigit())
        return digit;
    const int d = digit.digitValue();
    return QChar(raised ? superscripts[d] : subscripts[d]);
}

} // namespace

QString ConversionUnit::plainName() const
{
    return caption + index + tail;
}

QString ConversionUnit::displayName() const
{
    QString small;
    for (QChar c : index)
        small += smallDigit(c, raised);
    return caption + small + tail;
}

QString ConversionUnit::richName() const
{
    if (index.isEmpty())
        return caption.toHtmlEscaped();
    const QString tag = raised ? QStringLiteral("sup") : QStringLiteral("sub");
    return QStringLiteral("%1<%2>%3</%2>%4")
        .arg(caption.toHtmlEscaped(), tag, index.toHtmlEscaped(), tail.toHtmlEscaped());
}

std::span<const ConversionPage> ConversionPages()
{
    return pages();
}

std::vector<double> ConvertToAllUnits(const ConversionPage& page, int inputUnit, double x)
{
    // Through the base unit in extended precision: each result is x·f_in/f_r
    // rounded once to double, so a value converted to its own unit comes back
    // as typed.
    const long double fIn = page.units.at(inputUnit).factor;
    std::vector<double> results;
    results.reserve(page.units.size());
    for (const ConversionUnit& u : page.units) {
        const double r = static_cast<double>(static_cast<long double>(x) / u.factor * fIn);
        // A value near the top of the double range, converted into a much
        // smaller unit, overflows; infinity is no figure to show.
        if (!std::isfinite(r))
            throw UserError(ConversionOutOfRangeText);
        results.push_back(r);
    }
    return results;
}

QString FormatConverted(double value)
{
    return FormatNumber(value, QStringLiteral("0.0000"));
}

UnitLookup FindUnit(const QString& name)
{
    const QString wanted = name.trimmed();
    UnitLookup lookup;
    QList<UnitRef> caseless;
    const auto& all = pages();
    for (int p = 0; p < int(all.size()); ++p) {
        for (int u = 0; u < int(all[p].units.size()); ++u) {
            const ConversionUnit& unit = all[p].units[u];
            for (const QString& form : {unit.plainName(), unit.displayName()}) {
                if (form == wanted) {
                    lookup.found = UnitRef{p, u};
                    return lookup;
                }
                if (form.compare(wanted, Qt::CaseInsensitive) == 0) {
                    caseless.append({p, u});
                    lookup.candidates.append(unit.plainName());
                    break;
                }
            }
        }
    }
    if (caseless.size() == 1) {
        lookup.found = caseless.first();
        lookup.candidates.clear();
    } else if (caseless.isEmpty()) {
        lookup.candidates.clear();
    }
    return lookup;
}
