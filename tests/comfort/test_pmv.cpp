// The comfort core: the heat balance against published figures and against an
// independent ISO 7730 computation, the input check, the scale and the report.
#include "app/Numbers.h"
#include "comfort/Pmv.h"
#include "comfort/PmvScale.h"
#include "psychro/ID_lib.h"
#include "support/IsoAnnexD.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace
{

QString Shown(double v, const char* pattern = "0.00")
{
    return FormatNumber(v, QLatin1String(pattern));
}

PmvInput Climate(double t, double RH, double va, double M, double Icl, double W = 0)
{
    PmvInput in;
    in.ta = in.tr = t;
    in.RH = RH;
    in.va = va;
    in.M = M;
    in.W = W;
    in.Icl = Icl;
    return in;
}

// The standard's computation with the library's vapour pressure, its stop
// rule tightened from 0.00015 (1.5e-2 K) to 1e-9 so that the difference left
// is the core's own stopping error of about 1e-4 K in tcl.
std::optional<IsoPmvResult> IsoPmv(const ID_lib& lib, const PmvInput& in)
{
    return IsoAnnexDPmv(in, lib.SaturationPressure(in.ta) * in.RH / 100, 1e-9, 1000);
}

PmvResult Computed(const PmvInput& in)
{
    ID_lib lib;
    const auto r = CalculatePmv(lib, in);
    EXPECT_TRUE(r.has_value());
    return r.value_or(PmvResult{});
}

} // namespace

TEST(ComfortPmv, WorkedCasesGiveThePublishedFigures)
{
    // M 69.8 W/m² (1.2 met), Icl 0.0775 m²·K/W (0.5 clo): the classic check cases.
    const PmvResult cool = Computed(Climate(22, 60, 0.1, 69.8, 0.0775));
    EXPECT_EQ(Shown(cool.PMV), "-0.75");
    EXPECT_EQ(Shown(cool.PPD, "0.0"), "16.9");
    const PmvResult warm = Computed(Climate(27, 60, 0.1, 69.8, 0.0775));
    EXPECT_EQ(Shown(warm.PMV), "0.76");
    EXPECT_EQ(Shown(warm.PPD, "0.0"), "17.3");
    // The window's defaults: "坐着活动", W 0, Icl 0.093.
    const PmvResult defaults = Computed(Climate(22, 60, 0.1, 70, 0.093));
    EXPECT_EQ(Shown(defaults.PMV), "-0.50");
    EXPECT_EQ(Shown(defaults.PPD), "10.30");
    EXPECT_GT(defaults.tcl, 22);
}

TEST(ComfortPmv, ClothingCoolerThanHotAirSettles)
{
    // 36 ℃ air and walls: the clothing surface ends below the air temperature.
    const PmvInput hot = Climate(36, 50, 0.1, 70, 0.093);
    ID_lib lib;
    const auto r = CalculatePmv(lib, hot);
    ASSERT_TRUE(r.has_value());
    EXPECT_LT(r->tcl, hot.ta);
    EXPECT_LT(r->passes, 50);
    const auto iso = IsoPmv(lib, hot);
    ASSERT_TRUE(iso.has_value());
    EXPECT_NEAR(r->PMV, iso->PMV, 5e-4);
    EXPECT_EQ(Shown(r->PMV), "3.47");
}

TEST(ComfortPmv, RestingActivitiesLoseNoHeatBySweating)
{
    // Below 58.15 W/m² of internal heat the sweating loss is zero: lying at
    // 22 ℃ is colder than the unclamped term (PMV −2.17) made it.
    const PmvInput lying = Climate(22, 60, 0.1, MetabolicRateOf(QStringLiteral("躺着")), 0.093);
    ID_lib lib;
    const auto r = CalculatePmv(lib, lying);
    ASSERT_TRUE(r.has_value());
    const auto iso = IsoPmv(lib, lying);
    ASSERT_TRUE(iso.has_value());
    EXPECT_NEAR(r->PMV, iso->PMV, 5e-4);
    EXPECT_NEAR(r->PPD, iso->PPD, 0.01);
    EXPECT_EQ(Shown(r->PMV), "-2.61");

    // External work can bring an active person below the threshold too.
    const PmvInput working = Climate(24, 50, 0.2, 70, 0.1, 15);
    const auto w = CalculatePmv(lib, working);
    ASSERT_TRUE(w.has_value());
    EXPECT_NEAR(w->PMV, IsoPmv(lib, working)->PMV, 5e-4);
}

TEST(ComfortPmv, AgreesWithIsoHeatBalanceOverTheComfortRange)
{
    // Both solve the same clothing balance; the core stops within about
    // 1e-4 K of tcl, and PMV changes by less than 2 per kelvin of tcl, so
    // 5e-4 holds everywhere, cold or hot.
    ID_lib lib;
    int cases = 0;
    for (const PmvActivity& activity : PmvActivities()) {
        for (double ta : {10.0, 16.0, 20.0, 24.0, 28.0, 32.0}) {
            for (double dtr : {-4.0, 0.0, 5.0}) {
                for (double va : {0.05, 0.1, 0.3, 1.0}) {
                    for (double Icl : {0.0, 0.05, 0.078, 0.079, 0.155, 0.233, 0.31}) {
                        PmvInput in = Climate(ta, 50, va, activity.M, Icl);
                        in.tr = ta + dtr;
                        const auto r = CalculatePmv(lib, in);
                        const auto iso = IsoPmv(lib, in);
                        ASSERT_TRUE(r && iso)
                            << activity.text.toStdString() << " ta " << ta << " tr " << in.tr
                            << " va " << va << " Icl " << Icl << " core " << r.has_value();
                        ASSERT_NEAR(r->PMV, iso->PMV, 5e-4)
                            << activity.text.toStdString() << " ta " << ta << " tr " << in.tr
                            << " va " << va << " Icl " << Icl;
                        ++cases;
                    }
                }
            }
        }
    }
    EXPECT_EQ(cases, 7 * 6 * 3 * 4 * 7);
}

TEST(ComfortPmv, UsesStandardPressureWhateverTheLibraryHeld)
{
    ID_lib fresh;
    ID_lib used;
    used.AtmPressure = 80000;
    used.PsychroCoefficient = 0.0008;
    const PmvInput in = Climate(26, 70, 0.15, 93, 0.08);
    const auto a = CalculatePmv(fresh, in);
    const auto b = CalculatePmv(used, in);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->PMV, b->PMV);
    EXPECT_EQ(used.AtmPressure, 101325);
    EXPECT_EQ(used.PsychroCoefficient, 0.0006725);
    EXPECT_NEAR(used.CurrentState.pv, used.SaturationPressure(26) * 0.7, 1e-9);
}

TEST(ComfortPmv, HeavyClothingInMovingAirSettles)
{
    // 2 clo at 0.5 m/s: the damped relaxation overshoots further on every
    // pass; the balance is solved all the same and agrees with ISO 7730.
    ID_lib lib;
    for (double M : {46.0, 70.0, 116.0}) {
        const PmvInput winter = Climate(16, 40, 0.5, M, 0.31);
        const auto r = CalculatePmv(lib, winter);
        ASSERT_TRUE(r.has_value()) << M;
        EXPECT_GT(r->passes, 501) << M;
        EXPECT_NEAR(r->PMV, IsoPmv(lib, winter)->PMV, 5e-4) << M;
    }
    // Still air in the limit: the start value ta + 1/va is infinite, the
    // natural convection carries the balance.
    const auto still = CalculatePmv(lib, Climate(22, 60, 1e-300, 70, 0.093));
    const auto slow = CalculatePmv(lib, Climate(22, 60, 1e-12, 70, 0.093));
    ASSERT_TRUE(still && slow);
    EXPECT_NEAR(still->PMV, slow->PMV, 1e-4);
}

TEST(ComfortPmv, BalanceWithoutFiniteSolutionFails)
{
    // Air so hot that the fourth powers overflow: no number, no endless loop.
    ID_lib lib;
    EXPECT_FALSE(CalculatePmv(lib, Climate(1e80, 50, 0.1, 70, 0.093)).has_value());
    EXPECT_FALSE(CalculatePmv(lib, Climate(22, 50, 0.1, 1e300, 0.093)).has_value());
}

namespace
{

// One calculation with everything it gives: the result and the library's
// messages.
struct Outcome {
    std::optional<PmvResult> result;
    std::vector<std::string> messages;
    int failures = 0;
};

Outcome Calculated(const PmvInput& in, PmvRoomAir room, bool shortCuts)
{
    Outcome o;
    ID_lib lib([&o](const std::string& m, ID_lib::MessageKind) { o.messages.push_back(m); });
    UsePmvShortCuts(shortCuts);
    o.result = CalculatePmv(lib, in, room);
    UsePmvShortCuts(true);
    o.failures = lib.FailureCount();
    return o;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Empty when both outcomes are the same to the last bit, else what differs.
std::string Difference(const Outcome& a, const Outcome& b)
{
    if (a.messages != b.messages || a.failures != b.failures)
        return "messages";
    if (a.result.has_value() != b.result.has_value())
        return "result given";
    if (!a.result)
        return {};
    const PmvResult &x = *a.result, &y = *b.result;
    if (!SameBits(x.PMV, y.PMV) || !SameBits(x.PPD, y.PPD))
        return "PMV or PPD";
    if (!SameBits(x.tcl, y.tcl) || !SameBits(x.hc, y.hc) || x.passes != y.passes)
        return "tcl";
    return {};
}

std::string Described(const PmvInput& in)
{
    char text[200];
    std::snprintf(text, sizeof text,
                  "ta %.17g RH %.17g va %.17g tr %.17g M %.17g W %.17g Icl %.17g", in.ta, in.RH,
                  in.va, in.tr, in.M, in.W, in.Icl);
    return text;
}

} // namespace

TEST(ComfortPmv, VapourPressureAloneGivesTheWholeStatesResultsAndMessages)
{
    // Against the calculation as it was: the whole room state, the relaxation
    // spending its 501 passes before the bisection takes over, the
    // convection's root always taken.
    std::vector<PmvInput> inputs;
    // The published cases, and the comparison with ISO 7730 above.
    for (double t : {22.0, 27.0})
        inputs.push_back(Climate(t, 60, 0.1, 69.8, 0.0775));
    for (const PmvActivity& activity : PmvActivities())
        for (double ta : {10.0, 16.0, 20.0, 24.0, 28.0, 32.0})
            for (double dtr : {-4.0, 0.0, 5.0})
                for (double va : {0.05, 0.1, 0.3, 1.0})
                    for (double Icl : {0.0, 0.05, 0.078, 0.079, 0.155, 0.233, 0.31}) {
                        inputs.push_back(Climate(ta, 50, va, activity.M, Icl));
                        inputs.back().tr = ta + dtr;
                    }
    // Rooms the moist-air library cannot complete, and the edges of the
    // range where the wet bulb is known to settle without being sought.
    for (double ta : {200.0, 1e300, -1e300, 95.0, -60.0, -49.0, std::nextafter(-49.0, -50.0), 60.0,
                      std::nextafter(60.0, 61.0), 22.0})
        for (double RH : {0.0, 0.3, 1.0, 60.0, 100.0})
            inputs.push_back(Climate(ta, RH, 0.1, 70, 0.093));
    // Seeded random rooms and people, from cold to beyond the wet bulb's
    // range, dry to saturated, still to windy air, unclothed to heavy coats.
    std::mt19937_64 random(20261209);
    const auto uniform = [&random](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    for (int k = 0; k < 10000; ++k) {
        PmvInput in;
        in.ta = uniform(-60, 110);
        const double humidity = uniform(0, 1);
        in.RH = humidity < 0.05 ? 0 : humidity > 0.95 ? 100 : uniform(0, 100);
        in.va = std::exp(uniform(std::log(0.01), std::log(5.0)));
        in.tr = in.ta + uniform(-20, 20);
        in.M = uniform(0, 1) < 0.5 ? PmvActivities()[random() % PmvActivities().size()].M
                                   : uniform(30, 250);
        in.W = uniform(0, 1) < 0.5 ? 0 : uniform(0, 40);
        in.Icl = uniform(0, 1) < 0.1 ? 0 : uniform(0, 0.6);
        inputs.push_back(in);
    }

    int roomFailures = 0, bisections = 0;
    for (const PmvInput& in : inputs) {
        ASSERT_FALSE(PmvInputError(in).has_value()) << Described(in);
        const Outcome before = Calculated(in, PmvRoomAir::WholeState, false);
        const Outcome fast = Calculated(in, PmvRoomAir::VapourPressureOnly, true);
        ASSERT_EQ(Difference(before, fast), "") << Described(in);
        roomFailures += before.failures > 0;
        bisections += before.result && before.result->passes > 501;
    }
    // The cases that need them are there.
    EXPECT_GT(roomFailures, 500);
    EXPECT_GT(bisections, 1000);

    // The room's state is left alone.
    ID_lib lib;
    lib.CurrentState = MoistAirState{1, 2, 3, 4, 5, 6, 7, 8};
    const MoistAirState kept = lib.CurrentState;
    ASSERT_TRUE(CalculatePmv(lib, Climate(22, 60, 0.1, 70, 0.093), PmvRoomAir::VapourPressureOnly));
    EXPECT_EQ(std::memcmp(&lib.CurrentState, &kept, sizeof kept), 0);
}

TEST(ComfortPmv, LibraryVapourPressureIsTheWholeStatesAtAnyPressure)
{
    // Below about 74 kPa the wet bulb is sought as the whole state seeks it.
    std::mt19937_64 random(7730);
    const auto uniform = [&random](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    int failures = 0;
    for (int k = 0; k < 3000; ++k) {
        const double B = uniform(50000, 110000), t = uniform(-80, 130), RH = uniform(-2, 102);
        std::vector<std::string> wholeMessages, aloneMessages;
        ID_lib whole(
            [&](const std::string& m, ID_lib::MessageKind) { wholeMessages.push_back(m); });
        ID_lib alone(
            [&](const std::string& m, ID_lib::MessageKind) { aloneMessages.push_back(m); });
        for (ID_lib* lib : {&whole, &alone}) {
            lib->AtmPressure = B;
            lib->PsychroCoefficient = kPsychroCoefficient;
        }
        whole.CurrentState.t = t;
        whole.CurrentState.RH = RH;
        whole.StateFromRH_T(t, RH);
        const double pv = alone.VapourPressureFromRH_T(t, RH);
        ASSERT_TRUE(SameBits(pv, whole.CurrentState.pv)) << B << " " << t << " " << RH;
        ASSERT_EQ(aloneMessages, wholeMessages) << B << " " << t << " " << RH;
        ASSERT_EQ(alone.FailureCount(), whole.FailureCount());
        failures += whole.FailureCount() > 0;
    }
    EXPECT_GT(failures, 300);
}

TEST(ComfortPmv, RelaxationGivingUpEarlyLeavesTheBisectionsResult)
{
    struct Case {
        const char* what;
        double ta, tr, va, M, Icl;
    };
    const Case cases[] = {
        {"heavy clothing, overflows after 15 passes", 16, 16, 0.5, 70, 0.31},
        {"heavy clothing, resting", 16, 16, 0.5, 46, 0.31},
        {"heavy clothing, working", 16, 16, 0.5, 116, 0.31},
        {"slow growth, overflows after some 340 passes", 25.14, 23.3, 0.43, 165, 0.21},
        {"a cycle of estimates, repeats after some 260 passes", 25.83, 25.13, 1.25, 58, 0.15},
        {"bounded without repeating: all 501 passes", 23.43, 22.46, 0.22, 46, 0.25},
    };
    for (const Case& c : cases) {
        PmvInput in = Climate(c.ta, 50, c.va, c.M, c.Icl);
        in.tr = c.tr;
        const Outcome all = Calculated(in, PmvRoomAir::WholeState, false);
        const Outcome early = Calculated(in, PmvRoomAir::WholeState, true);
        ASSERT_TRUE(all.result.has_value()) << c.what;
        EXPECT_GT(all.result->passes, 501) << c.what;
        EXPECT_EQ(Difference(all, early), "") << c.what;
    }
}

TEST(ComfortPmv, ActivityTextsGiveTheirRatesAndOthersZero)
{
    const std::pair<const char*, double> table[] = {
        {"躺着", 46},         {"坐着休息", 58},      {"站着休息", 70},      {"坐着活动", 70},
        {"站着活动(轻)", 93}, {"站着活动(中)", 116}, {"中等活动(重)", 165},
    };
    ASSERT_EQ(PmvActivities().size(), std::size(table));
    for (size_t k = 0; k < std::size(table); ++k) {
        EXPECT_EQ(PmvActivities()[k].text, QString::fromUtf8(table[k].first));
        EXPECT_EQ(MetabolicRateOf(QString::fromUtf8(table[k].first)), table[k].second);
    }
    for (const char* other : {"", "坐着", "躺着 ", "站着活动（轻）", "70"})
        EXPECT_EQ(MetabolicRateOf(QString::fromUtf8(other)), 0) << other;
}

TEST(ComfortPmv, InputCheckNamesTheFirstImpossibleField)
{
    const PmvInput ok = Climate(22, 60, 0.1, 70, 0.093);
    EXPECT_FALSE(PmvInputError(ok).has_value());
    PmvInput bare = ok;
    bare.Icl = 0; // no clothing is a valid case
    EXPECT_FALSE(PmvInputError(bare).has_value());

    const QString va = QStringLiteral("空气流速必须大于0！");
    const QString M = QStringLiteral("人体能量代谢率必须大于0！");
    const QString Icl = QStringLiteral("衣服热阻不能小于0！");
    PmvInput in = ok;
    in.va = 0;
    EXPECT_EQ(PmvInputError(in), va);
    in.va = -0.1;
    EXPECT_EQ(PmvInputError(in), va);
    in.M = 0; // both wrong: the field above in the window is named
    EXPECT_EQ(PmvInputError(in), va);
    in.va = 0.1;
    EXPECT_EQ(PmvInputError(in), M);
    in.M = -46;
    EXPECT_EQ(PmvInputError(in), M);
    in.M = 70;
    in.Icl = -0.001;
    EXPECT_EQ(PmvInputError(in), Icl);
}

TEST(ComfortPmv, MarkerStandsUnderItsVote)
{
    EXPECT_EQ(PmvMarkerX(0), 99);
    EXPECT_EQ(PmvMarkerX(1), 66);
    EXPECT_EQ(PmvMarkerX(-3), 198);
    EXPECT_EQ(PmvMarkerX(3), 0);
    EXPECT_EQ(PmvMarkerX(-0.50335), 116);
    // Far beyond the scale: outside the strip, without overflowing.
    EXPECT_LT(PmvMarkerX(1e300), -7);
    EXPECT_GT(PmvMarkerX(-1e300), kScaleWidth + 7);
}

TEST(ComfortPmv, MarkerStripAndColourBarAreDrawn)
{
    const QImage middle = PmvMarkerStrip(0);
    ASSERT_EQ(middle.size(), QSize(kScaleWidth, kMarkerStripHeight));
    // The bar spans x − 6 to x + 6 inclusive across the top.
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(middle.pixelColor(92, y), QColor(Qt::white)) << y;
        EXPECT_EQ(middle.pixelColor(93, y), QColor(Qt::blue)) << y;
        EXPECT_EQ(middle.pixelColor(105, y), QColor(Qt::blue)) << y;
        EXPECT_EQ(middle.pixelColor(106, y), QColor(Qt::white)) << y;
    }
    // The triangle below it narrows to its apex at the strip's foot.
    EXPECT_EQ(middle.pixelColor(99, 6), QColor(Qt::darkCyan));
    EXPECT_EQ(middle.pixelColor(93, 7), QColor(Qt::darkCyan));
    EXPECT_EQ(middle.pixelColor(99, 16), QColor(Qt::darkCyan));
    EXPECT_EQ(middle.pixelColor(95, 16), QColor(Qt::white));
    EXPECT_EQ(middle.pixelColor(80, 8), QColor(Qt::white));
    EXPECT_EQ(middle.pixelColor(0, 0), QColor(Qt::white));
    // −3 stands at the right end: the left half of its bar is in the strip.
    const QImage right = PmvMarkerStrip(-3);
    EXPECT_EQ(right.pixelColor(192, 0), QColor(Qt::blue));
    EXPECT_EQ(right.pixelColor(191, 0), QColor(Qt::white));

    // Beyond +3 the marker is not in the strip at all.
    const QImage off = PmvMarkerStrip(3.5);
    for (int x = 0; x < off.width(); ++x)
        for (int y = 0; y < off.height(); ++y)
            ASSERT_EQ(off.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;

    const QImage bar = ComfortColourBar();
    ASSERT_EQ(bar.size(), QSize(kScaleWidth, kColourBarHeight));
    const QColor hot = bar.pixelColor(0, 8), cold = bar.pixelColor(kScaleWidth - 1, 8);
    EXPECT_GT(hot.red(), 200);
    EXPECT_LT(hot.blue(), 50);
    EXPECT_GT(cold.blue(), 200);
    EXPECT_LT(cold.red(), 50);
}

TEST(ComfortPmv, ReportBlocksForSavingAndPrinting)
{
    const PmvReportValues v{.ta = QStringLiteral("22"),
                            .RH = QStringLiteral("60"),
                            .va = QStringLiteral("0.1"),
                            .tr = QStringLiteral("22.0"),
                            .M = 70,
                            .W = QStringLiteral("0"),
                            .Icl = QStringLiteral("0.093"),
                            .PMV = QStringLiteral("-0.50"),
                            .PPD = QStringLiteral("10.30")};
    const QStringList body{
        QStringLiteral(" 室内干球温度(℃)：22"),
        QStringLiteral(" 室内相对湿度(%)：60"),
        QStringLiteral(" 室内空气流速(m/s)：0.1"),
        QStringLiteral(" 室内壁面平均辐射温度(℃)：22.0"),
        QStringLiteral(" 人体能量代谢率(W/m2)：70.00"),
        QStringLiteral(" 人体所作机械功(W)：0"),
        QStringLiteral(" 衣服热阻(m2.K/W)：0.093"),
        QStringLiteral(" 预测平均投票值：-0.50"),
        QStringLiteral(" 预测不满意百分数(％)：10.30"),
        QStringLiteral("━━━━━━━━━━━━━━━━"),
    };
    EXPECT_EQ(PmvSaveLines(v),
              (QStringList{QStringLiteral(" "), QStringLiteral(" ** 热舒适指标PMV值计算结果 **"),
                           QStringLiteral(" ")} +
               body));
    EXPECT_EQ(PmvPrintLines(v),
              (QStringList{QStringLiteral(" "), QStringLiteral("    热舒适指标PMV值计算结果 "),
                           QStringLiteral("    ======================= "), QStringLiteral(" ")} +
               body));
    EXPECT_EQ(body.last().size(), 16);
}
