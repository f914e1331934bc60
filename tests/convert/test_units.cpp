// The unit tables and the conversion: the worked examples, round trips and the
// caption lookup used by ventacalc-cli.
#include "app/Numbers.h"
#include "convert/UnitTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{

int PageIndex(const char* title)
{
    const auto pages = ConversionPages();
    for (size_t p = 0; p < pages.size(); ++p)
        if (pages[p].title == QString::fromUtf8(title))
            return int(p);
    ADD_FAILURE() << "no page " << title;
    return 0;
}

int UnitIndex(const ConversionPage& page, const char* name)
{
    for (size_t u = 0; u < page.units.size(); ++u)
        if (page.units[u].plainName() == QLatin1String(name))
            return int(u);
    ADD_FAILURE() << "no unit " << name;
    return 0;
}

// The page's results, shown as the result fields show them, by plain name.
std::map<QString, QString> Shown(const char* title, const char* unit, double x)
{
    const ConversionPage& page = ConversionPages()[PageIndex(title)];
    const std::vector<double> values = ConvertToAllUnits(page, UnitIndex(page, unit), x);
    std::map<QString, QString> shown;
    for (size_t r = 0; r < values.size(); ++r)
        shown[page.units[r].plainName()] = FormatConverted(values[r]);
    return shown;
}

} // namespace

TEST(ConvertUnits, PagesUnitsAndCaptionsInOrder)
{
    const auto pages = ConversionPages();
    QStringList titles, units;
    for (const ConversionPage& page : pages) {
        titles << page.title;
        QStringList names;
        for (const ConversionUnit& u : page.units)
            names << u.plainName();
        units << names.join(QLatin1Char(' '));
    }
    EXPECT_EQ(titles.join(QLatin1Char(' ')), QStringLiteral("长度 质量 压力 功率 能量 密度"));
    EXPECT_EQ(units, (QStringList{
                         QStringLiteral("m in ft yd mile"),
                         QStringLiteral("g kg lb t"),
                         QStringLiteral("Pa MPa kgf/cm2 mmH2O mmHg inH2O bar atm lbf/in2"),
                         QStringLiteral("w Kw Kcal/h Btu/h kgf.m/s Hp U.S.RT"),
                         QStringLiteral("J kW.h kgf.m Cal ft.lbf Hp.h Btu"),
                         QStringLiteral("kg/m3 lb/in3 lb/ft3"),
                     }));
    EXPECT_EQ(pages[kFirstShownPage].title, QStringLiteral("功率"));

    const ConversionPage& pressure = pages[PageIndex("压力")];
    const ConversionUnit& kgf = pressure.units[UnitIndex(pressure, "kgf/cm2")];
    EXPECT_EQ(kgf.displayName(), QStringLiteral("kgf/cm²"));
    EXPECT_EQ(kgf.richName(), QStringLiteral("kgf/cm<sup>2</sup>"));
    const ConversionUnit& water = pressure.units[UnitIndex(pressure, "mmH2O")];
    EXPECT_EQ(water.displayName(), QStringLiteral("mmH₂O"));
    EXPECT_EQ(water.richName(), QStringLiteral("mmH<sub>2</sub>O"));
    EXPECT_EQ(pages[PageIndex("密度")].units[0].richName(), QStringLiteral("kg/m<sup>3</sup>"));
}

TEST(ConvertUnits, WorkedExamples)
{
    const auto atm = Shown("压力", "atm", 1);
    EXPECT_EQ(atm.at("Pa"), "101325.0000");
    EXPECT_EQ(atm.at("mmHg"), "760.0021");
    EXPECT_EQ(atm.at("kgf/cm2"), "1.0332");
    EXPECT_EQ(atm.at("MPa"), "0.1013");
    EXPECT_EQ(atm.at("atm"), "1.0000");

    EXPECT_EQ(Shown("长度", "mile", 1).at("m"), "1609.3440");

    const auto lb = Shown("质量", "lb", 1);
    EXPECT_EQ(lb.at("g"), "453.6000");
    EXPECT_EQ(lb.at("kg"), "0.4536");

    // With the input unit's size in double precision (a single-precision size
    // gave 3023.9982 and 11999.0103).
    const auto rt = Shown("功率", "U.S.RT", 1);
    EXPECT_EQ(rt.at("Kw"), "3.5169");
    EXPECT_EQ(rt.at("Kcal/h"), "3023.9983");
    EXPECT_EQ(rt.at("Btu/h"), "11999.0106");
}

TEST(ConvertUnits, EveryUnitOfEveryPage)
{
    // One conversion per page reaches every unit's size; the figures were
    // worked out in exact decimal arithmetic from the published sizes, none
    // near a rounding tie.
    const struct {
        const char *page, *unit;
        double x;
        const char* shown; // row order
    } cases[] = {
        {"长度", "yd", 1000, "914.4000 36000.0000 3000.0000 1000.0000 0.5682"},
        {"质量", "t", 1, "1000000.0000 1000.0000 2204.5855 1.0000"},
        {"压力", "kgf/cm2", 1,
         "98067.0000 0.0981 1.0000 10000.0000 735.5650 393.7027 0.9807 0.9678 14.2234"},
        {"功率", "Hp", 1, "745.7000 0.7457 641.1866 2544.1829 76.0399 1.0000 0.2120"},
        {"能量", "Btu", 1000,
         "1055060.0000 0.2931 107585.6302 251996.7517 778182.6228 0.3937 1000.0000"},
        {"密度", "lb/ft3", 1000, "16018.5000 0.5787 1000.0000"},
    };
    for (const auto& c : cases) {
        const ConversionPage& page = ConversionPages()[PageIndex(c.page)];
        QStringList shown;
        for (double v : ConvertToAllUnits(page, UnitIndex(page, c.unit), c.x))
            shown << FormatConverted(v);
        EXPECT_EQ(shown.join(QLatin1Char(' ')), QLatin1String(c.shown)) << c.page;
    }
}

TEST(ConvertUnits, ResultsBeyondTheDoubleRangeAreRefused)
{
    const ConversionPage& density = ConversionPages()[PageIndex("密度")];
    const int lbPerIn3 = UnitIndex(density, "lb/in3");
    // 1e308 lb/in³ is 2.8e312 kg/m³: no result is given rather than infinity.
    for (double x : {1e308, -1e308}) {
        try {
            ConvertToAllUnits(density, lbPerIn3, x);
            ADD_FAILURE() << x;
        } catch (const UserError& e) {
            EXPECT_EQ(e.text(), ConversionOutOfRangeText);
        }
    }
    // Into larger units the same value fits.
    EXPECT_EQ(ConvertToAllUnits(density, 0, 1e308)[lbPerIn3], 1e308 / 27679.9);
}

TEST(ConvertUnits, ValueInItsOwnUnitComesBackExactly)
{
    EXPECT_EQ(Shown("压力", "mmHg", 100000).at("mmHg"), "100000.0000");
    EXPECT_EQ(Shown("压力", "mmH2O", 1000000).at("mmH2O"), "1000000.0000");

    std::mt19937_64 random(20240607);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-12, 12);
    int checked = 0;
    for (const ConversionPage& page : ConversionPages()) {
        for (size_t u = 0; u < page.units.size(); ++u) {
            for (int k = 0; k < 2000; ++k) {
                const double x = mantissa(random) * std::pow(10.0, exponent(random));
                ASSERT_EQ(ConvertToAllUnits(page, int(u), x)[u], x)
                    << page.units[u].plainName().toStdString() << " " << x;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 35 * 2000);
}

TEST(ConvertUnits, ThereAndBackAgain)
{
    // From unit a to b and the b result back to a: two roundings of double.
    for (const ConversionPage& page : ConversionPages()) {
        for (size_t a = 0; a < page.units.size(); ++a) {
            for (size_t b = 0; b < page.units.size(); ++b) {
                const double x = -123.456;
                const double there = ConvertToAllUnits(page, int(a), x)[b];
                const double back = ConvertToAllUnits(page, int(b), there)[a];
                EXPECT_NEAR(back, x, 1e-13 * std::abs(x))
                    << page.units[a].plainName().toStdString() << " → "
                    << page.units[b].plainName().toStdString();
            }
        }
    }
}

TEST(ConvertUnits, FindsUnitsByPlainOrDisplayNameAnyCaseWhenUnique)
{
    const auto at = [](const char* name) {
        const UnitLookup l = FindUnit(QString::fromUtf8(name));
        if (!l.found)
            return QStringLiteral("-");
        const ConversionPage& page = ConversionPages()[l.found->page];
        return page.title + QLatin1Char(' ') + page.units[l.found->unit].plainName();
    };
    EXPECT_EQ(at("atm"), QStringLiteral("压力 atm"));
    EXPECT_EQ(at("mmHg"), QStringLiteral("压力 mmHg"));
    EXPECT_EQ(at("MMHG"), QStringLiteral("压力 mmHg"));
    EXPECT_EQ(at("kgf/cm2"), QStringLiteral("压力 kgf/cm2"));
    EXPECT_EQ(at("kgf/cm²"), QStringLiteral("压力 kgf/cm2"));
    EXPECT_EQ(at("mmH2O"), QStringLiteral("压力 mmH2O"));
    EXPECT_EQ(at("mmh₂o"), QStringLiteral("压力 mmH2O"));
    EXPECT_EQ(at("inH2O"), QStringLiteral("压力 inH2O"));
    EXPECT_EQ(at("lbf/in2"), QStringLiteral("压力 lbf/in2"));
    EXPECT_EQ(at("kg/m3"), QStringLiteral("密度 kg/m3"));
    EXPECT_EQ(at("U.S.RT"), QStringLiteral("功率 U.S.RT"));
    EXPECT_EQ(at("u.s.rt"), QStringLiteral("功率 U.S.RT"));
    EXPECT_EQ(at("W"), QStringLiteral("功率 w"));
    EXPECT_EQ(at("kw"), QStringLiteral("功率 Kw"));
    EXPECT_EQ(at("kwh"), QStringLiteral("-"));
    EXPECT_EQ(at("kW.h"), QStringLiteral("能量 kW.h"));
    EXPECT_EQ(at("T"), QStringLiteral("质量 t"));
    EXPECT_EQ(at(" Btu "), QStringLiteral("能量 Btu"));
    EXPECT_EQ(at("Btu/h"), QStringLiteral("功率 Btu/h"));
    EXPECT_EQ(at("furlong"), QStringLiteral("-"));
    EXPECT_EQ(at(""), QStringLiteral("-"));
    EXPECT_TRUE(FindUnit(QStringLiteral("furlong")).candidates.isEmpty());
}

TEST(ConvertUnits, NoTwoUnitsShareANameIgnoringCase)
{
    // The lookup refuses a name that matches two units ignoring case; with
    // today's tables every unit is reachable by its plain name in any case.
    for (const ConversionPage& page : ConversionPages()) {
        for (const ConversionUnit& u : page.units) {
            const UnitLookup l = FindUnit(u.plainName().toUpper());
            ASSERT_TRUE(l.found) << u.plainName().toStdString();
            EXPECT_EQ(ConversionPages()[l.found->page].units[l.found->unit].plainName(),
                      u.plainName());
        }
    }
}

TEST(ConvertUnits, NegativeValuesConvertLikePositiveOnes)
{
    const auto minus = Shown("长度", "ft", -10);
    EXPECT_EQ(minus.at("m"), "-3.0480");
    EXPECT_EQ(minus.at("in"), "-120.0000");
    EXPECT_EQ(Shown("长度", "ft", 0).at("mile"), "0.0000");
}
