// The air treatment core: the worked cases of the four processes with their
// intermediate values, the preheating boundary of the primary winter process,
// the refusals, and the reading of the window's fields.
#include "airtreat/TreatmentCalc.h"
#include "airtreat/TreatmentChart.h"
#include "app/Numbers.h"
#include "psychro/ID_lib.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace
{

using P = TreatmentProcess;

TreatmentInputs Summer(P process, double tO = 20, double freshAir = 25,
                       FreshAirEntry entry = FreshAirEntry::Ratio)
{
    return {.process = process,
            .tW = 34,
            .tsW = 28,
            .tN = 26,
            .phiN = 60,
            .Q = 10,
            .W = 3,
            .tO = tO,
            .freshAirEntry = entry,
            .freshAir = freshAir};
}

TreatmentInputs PrimaryWinter(double tW, double ratio)
{
    return {.process = P::PrimaryWinter,
            .tW = tW,
            .phiW = 70,
            .tN = 20,
            .phiN = 50,
            .Q = -5,
            .W = 2,
            .tO = 30,
            .freshAir = ratio};
}

TreatmentInputs SecondaryWinter(double tW, double G, double GW, double G1)
{
    return {.process = P::SecondaryWinter,
            .tW = tW,
            .phiW = 70,
            .tN = 20,
            .phiN = 50,
            .Q = -5,
            .W = 2,
            .G = G,
            .GW = GW,
            .G1 = G1};
}

// The library's messages of one calculation.
struct Messages {
    std::vector<std::pair<std::string, ID_lib::MessageKind>> all;
};

TreatmentOutcome Calculate(const TreatmentInputs& in, Messages* messages = nullptr)
{
    ID_lib lib([messages](const std::string& text, ID_lib::MessageKind kind) {
        if (messages)
            messages->all.emplace_back(text, kind);
    });
    return CalculateTreatment(lib, in);
}

std::map<std::string, double> Values(const TreatmentCalculation& c)
{
    std::map<std::string, double> v;
    for (const ShownResult& row : ShownResults(c))
        v[row.key] = row.value;
    const TreatmentResult& p = c.points;
    const std::pair<const char*, double> more[] = {
        {"iW", p.iW},   {"dW", p.dW}, {"iWh", p.iWh},         {"iN", p.iN},
        {"dN", p.dN},   {"iC", p.iC}, {"dC", p.dC},           {"iL", p.iL},
        {"dL", p.dL},   {"iO", p.iO}, {"dO", p.dO},           {"iOs", p.iOs},
        {"dOs", p.dOs}, {"GL", c.GL}, {"G_kgs", c.figures.G}, {"tL", c.figures.tL}};
    for (const auto& [key, value] : more)
        v[key] = value;
    return v;
}

} // namespace

// The seven worked cases at 101325 Pa: every shown figure to its two
// decimals, the intermediate values to the decimals given there.
TEST(TreatmentCalc, WorkedCases)
{
    struct Case {
        TreatmentInputs in;
        int kind;
        const char* expected; // key=value ...; two decimals: as the window shows it
    };
    const Case cases[] = {
        {Summer(P::PrimarySummer), 1,
         "phiO=81.88 G=4578.91 GW=1144.73 G1=3434.18 G2=0.00 iC=66.14 tL=17.96 Q0=22.46 "
         "Qp=0.00 Qr=2.68 Qtotal=2.68 iW=89.2053 dW=0.021402 iN=58.4493 dN=0.012629 "
         "dO=0.011974 iO=50.5871 G_kgs=1.27192 iC=66.1383 dC=0.014822 iL=48.4825 tL=17.9607"},
        {Summer(P::PrimarySummer, 20, 1000, FreshAirEntry::Quantity), 1,
         "m=21.84 G1=3578.91 iC=65.17 Q0=21.22 Qr=2.68"},
        {PrimaryWinter(10, 25), 1,
         "phiO=24.22 G=2258.50 GW=564.62 G1=1693.87 iC=34.84 tL=18.50 Q0=0.00 Qp=0.00 "
         "Qr=7.37"},
        {PrimaryWinter(-15, 60), 2,
         "GW=1355.10 G1=903.40 iC=24.56 tL=8.44 Qp=10.65 Qr=13.82 Qtotal=24.47"},
        {Summer(P::SecondarySummer), 1,
         "phiO=81.88 G=4578.91 GW=1144.73 G1=1987.94 G2=1446.24 iC=69.69 tL=17.23 Q0=19.78 "
         "Qp=0.00 Qr=0.00 Qtotal=0.00 iL=46.9575 dL=0.011671 GL=0.87019"},
        {SecondaryWinter(-5, 3000, 750, 1500), 4,
         "tO=27.53 phiO=28.90 m=25.00 G2=750.00 iC=24.54 tL=8.43 Qp=0.00 Qr=13.80 "
         "Qtotal=13.80"},
        {SecondaryWinter(-15, 3000, 1500, 1000), 3,
         "m=50.00 G2=500.00 iC=24.97 tL=8.64 Qp=12.08 Qr=14.47 Qtotal=26.56 iOs=44.6167 "
         "dOs=0.006590 dL=0.006457 iO=27.2477 iW=-13.1158 iWh=15.8787"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        Messages messages;
        const TreatmentOutcome out = Calculate(c.in, &messages);
        ASSERT_TRUE(out.calculation.has_value()) << out.refusal.toStdString();
        EXPECT_TRUE(messages.all.empty());
        EXPECT_TRUE(out.calculation->points.Calculated);
        EXPECT_EQ(out.calculation->points.Kind, c.kind);
        const auto values = Values(*out.calculation);
        for (const QString& pair : QString::fromLatin1(c.expected).split(QLatin1Char(' '))) {
            const std::string key = pair.section(QLatin1Char('='), 0, 0).toStdString();
            const QString text = pair.section(QLatin1Char('='), 1);
            const int decimals = static_cast<int>(text.size() - text.indexOf(QLatin1Char('.')) - 1);
            const double v = values.at(key);
            if (decimals == 2)
                EXPECT_EQ(FormatNumber(v, QStringLiteral("0.00")), text) << key;
            else
                EXPECT_NEAR(v, text.toDouble(), 0.5 * std::pow(10.0, -decimals)) << key;
        }
    }
}

// Process 3's line slope is Q / W (O was placed on it) and its dew point
// settles after 18 halvings of the gap.
TEST(TreatmentCalc, SecondarySummerRelaxation)
{
    const TreatmentOutcome out = Calculate(Summer(P::SecondarySummer));
    ASSERT_TRUE(out.calculation.has_value());
    EXPECT_NEAR(out.calculation->epsilon, 10 / (3.0 / 3600), 1e-6);
    EXPECT_EQ(out.calculation->dewPointCorrections, 18);
}

// Preheating in the primary winter process is needed unless iW − iWh > 0
// strictly: at equality the preheating branch runs with Qp 0, just below it
// the plain mixture.
TEST(TreatmentCalc, PrimaryWinterPreheatingBoundary)
{
    // iL of the 93 % point does not depend on the fresh air; only the
    // preheating branch keeps it, so take it from outdoor air alone.
    const TreatmentOutcome preheated = Calculate(PrimaryWinter(10, 100));
    ASSERT_TRUE(preheated.calculation.has_value());
    ASSERT_EQ(preheated.calculation->points.Kind, 2);
    const double iN = preheated.calculation->points.iN, iW = preheated.calculation->points.iW,
                 iL = preheated.calculation->points.iL;
    // The ratio (in %) at which iWh = iN − (iN − iL) / m equals iW, searched
    // among its neighbouring doubles for one that hits it exactly.
    double ratio = 100 * (iN - iL) / (iN - iW);
    int steps = 0;
    while (iW - (iN - (iN - iL) / (ratio / 100)) != 0 && steps++ < 100000)
        ratio = std::nextafter(ratio, iW - (iN - (iN - iL) / (ratio / 100)) > 0 ? 1e9 : 0.0);
    ASSERT_EQ(iW - (iN - (iN - iL) / (ratio / 100)), 0) << "no ratio hits iWh = iW exactly";

    const TreatmentOutcome equal = Calculate(PrimaryWinter(10, ratio));
    ASSERT_TRUE(equal.calculation.has_value());
    EXPECT_EQ(equal.calculation->points.Kind, 2);
    EXPECT_EQ(equal.calculation->points.iWh, equal.calculation->points.iW);
    EXPECT_EQ(equal.calculation->figures.Qp, 0);
    EXPECT_EQ(equal.calculation->points.iC, equal.calculation->points.iL);

    // Less fresh air mixes above iL: no preheating, L moved up to the mixture.
    const TreatmentOutcome below = Calculate(PrimaryWinter(10, ratio * (1 - 1e-9)));
    ASSERT_TRUE(below.calculation.has_value());
    EXPECT_EQ(below.calculation->points.Kind, 1);
    EXPECT_EQ(below.calculation->points.iL, below.calculation->points.iC);
}

// Every impossible or degenerate design is refused with the message naming
// its cause, and the library's failures stop the calculation (their text went
// to the sink); no partial result comes back.
TEST(TreatmentCalc, RefusalsGiveNoResult)
{
    const auto with = [](TreatmentInputs in, auto change) {
        change(in);
        return in;
    };
    struct Case {
        TreatmentInputs in;
        const char* message;
        bool fromLibrary; // the library's failure, shown through its sink
    };
    const Case cases[] = {
        {with(SecondaryWinter(-5, 3000, 750, 1500), [](auto& in) { in.phiN = 160; }),
         "相对湿度不能小于0或大于100％！", false},
        {with(PrimaryWinter(10, 25), [](auto& in) { in.phiW = 100.5; }),
         "相对湿度不能小于0或大于100％！", false},
        {Summer(P::PrimarySummer, 30),
         "送风温度与余热量不相容（总送风量为负）：余热量为正时送风温度应低于室内，"
         "为负时应高于室内，请检查送风温度和余热量！",
         false},
        {Summer(P::PrimarySummer, 26),
         "送风温度不能等于室内温度（送风状态与室内状态相同，无法计算总送风量）！", false},
        {with(Summer(P::PrimarySummer), [](auto& in) { in.Q = 0; }),
         "余热量不能为0（热湿比无法确定）！", false},
        // The isotherm 0 ℃ parallel to the room process line.
        {with(Summer(P::PrimarySummer, 0), [](auto& in) { in.Q = 2501, in.W = 3600; }),
         "送风温度线与热湿比线平行，无法确定送风状态，请检查送风温度、余热量和余湿量！", false},
        {Summer(P::PrimarySummer, 20, 100.01), "新风比不能大于100％！", false},
        {Summer(P::SecondarySummer, 20, -1), "新风比不能小于0！", false},
        {Summer(P::PrimarySummer, 20, -1, FreshAirEntry::Quantity), "新风量不能小于0！", false},
        {Summer(P::PrimarySummer, 20, 4600, FreshAirEntry::Quantity), "新风量不能大于总送风量！",
         false},
        {PrimaryWinter(10, 0), "一次回风冬季处理过程的新风比不能为0！", false},
        {with(PrimaryWinter(10, 0), [](auto& in) { in.freshAirEntry = FreshAirEntry::Quantity; }),
         "一次回风冬季处理过程的新风量不能为0！", false},
        {with(Summer(P::SecondarySummer), [](auto& in) { in.W = 0; }),
         "余湿量为0时热湿比为无穷大，无法确定二次回风系统的机器露点！", false},
        {Summer(P::SecondarySummer, 20, 3200, FreshAirEntry::Quantity),
         "新风量不能大于经过表冷器的风量（一次回风量为负）！", false},
        // A supply between 95 % and saturation puts L above O: coil air above the total.
        {Summer(P::SecondarySummer, 17),
         "经过表冷器的风量不在0与总送风量之间（二次回风量为负），请检查送风温度和室内参数！",
         false},
        {SecondaryWinter(-5, 0, 750, 1500), "总送风量必须大于0！", false},
        {SecondaryWinter(-5, 3000, 0, 1500), "新风量必须大于0！", false},
        {SecondaryWinter(-5, 3000, 750, -1), "一次回风量不能小于0！", false},
        {SecondaryWinter(-5, 3000, 1500, 1501), "新风量与一次回风量之和不能大于总送风量！", false},
        {with(SecondaryWinter(-5, 3000, 750, 1500), [](auto& in) { in.W = -20; }),
         "送风状态的相对湿度超出0～100％，请检查余热量、余湿量和风量！", false},
        {with(Summer(P::PrimarySummer), [](auto& in) { in.pressure = 0; }), "大气压力必须大于0！",
         false},
        {with(Summer(P::PrimarySummer), [](auto& in) { in.Q = 1e308; }),
         "计算结果超出数值范围，请检查输入数据！", false},
        {Summer(P::PrimarySummer, 10),
         "输入数据不合理，请检查含湿量！（送风温度10℃时，由室内状态和余热量10 kW、余湿量3 "
         "kg/h求得的送风含湿量为10.89 g/kg：过饱和）",
         true},
        {with(PrimaryWinter(10, 25), [](auto& in) { in.tW = 200; }),
         "所给的水蒸汽分压力值超出计算范围！", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Messages messages;
        const TreatmentOutcome out = Calculate(c.in, &messages);
        EXPECT_FALSE(out.calculation.has_value());
        EXPECT_EQ(out.refusal, c.fromLibrary ? QString() : QString::fromUtf8(c.message));
        ASSERT_EQ(messages.all.empty(), !c.fromLibrary);
        if (c.fromLibrary) {
            EXPECT_EQ(messages.all.back().first, c.message);
            EXPECT_EQ(messages.all.back().second, ID_lib::MessageKind::Failure);
        }
    }
}

// The library asks to check a moisture content the user never typed: its
// message is followed by the inputs the supply moisture content came of.
TEST(TreatmentCalc, SupplyMoistureMessageSaysWhatItCameOf)
{
    TreatmentInputs wet = Summer(P::PrimarySummer, 10);
    TreatmentInputs negative = Summer(P::PrimarySummer);
    negative.W = 13; // the room line crosses the isotherm below d = 0
    const struct {
        TreatmentInputs in;
        const char* message;
    } cases[] = {
        {wet, "输入数据不合理，请检查含湿量！（送风温度10℃时，由室内状态和余热量10 kW、余湿量3 "
              "kg/h求得的送风含湿量为10.89 g/kg：过饱和）"},
        {negative, "输入数据不合理，请检查含湿量！（送风温度20℃时，由室内状态和余热量10 "
                   "kW、余湿量13 kg/h求得的送风含湿量为-14.16 g/kg：小于0）"},
    };
    for (const auto& c : cases) {
        Messages messages;
        EXPECT_FALSE(Calculate(c.in, &messages).calculation.has_value());
        ASSERT_EQ(messages.all.size(), 1u);
        EXPECT_EQ(messages.all[0].first, c.message);
    }
}

// A library warning is no failure: a wet bulb above the dry bulb is reported
// and the calculation goes on, but an outdoor state beyond saturation is no
// state to draw, so the design is then refused for that point.
TEST(TreatmentCalc, LibraryWarningDoesNotStop)
{
    TreatmentInputs in = Summer(P::PrimarySummer);
    in.tsW = 35;
    Messages messages;
    const TreatmentOutcome out = Calculate(in, &messages);
    EXPECT_FALSE(out.calculation.has_value());
    EXPECT_TRUE(out.refusal.startsWith(
        QStringLiteral("状态点W（室外状态）超出湿空气的计算范围：相对湿度超出0～100％")))
        << out.refusal.toStdString();
    ASSERT_EQ(messages.all.size(), 1u);
    EXPECT_EQ(messages.all[0].first, "湿球温度不能大于干球温度！");
    EXPECT_EQ(messages.all[0].second, ID_lib::MessageKind::Warning);
}

// Saturated outdoor air (wet bulb = dry bulb) is a state on the line, not
// beyond it, however its enthalpy rounds: accepted, and listed by the view
// at its own dry bulb and 100 %.
TEST(TreatmentCalc, SaturatedOutdoorAirIsAState)
{
    ID_lib viewLib;
    viewLib.AtmPressure = 101325;
    viewLib.PsychroCoefficient = kPsychroCoefficient;
    for (double t : {28.0, 30.0, 33.0, 34.0, 35.5}) {
        SCOPED_TRACE(t);
        TreatmentInputs in = Summer(P::PrimarySummer);
        in.tW = in.tsW = t;
        const TreatmentOutcome out = Calculate(in);
        ASSERT_TRUE(out.calculation.has_value()) << out.refusal.toStdString();
        const StatePoint w =
            TreatmentPointRecords(viewLib, TreatmentChartSteps(out.calculation->points))[1];
        ASSERT_EQ(w.No, "W");
        EXPECT_NEAR(w.RH, 100, 1e-6);
        EXPECT_NEAR(w.T, t, 1e-6);
    }
}

// The window's reading: per group the empty test before any reading, in the
// window's order, and only the fields the process uses.
TEST(TreatmentCalc, ReadingTheFields)
{
    using T = TreatmentFieldTexts;
    const std::pair<const char*, QString T::*> names[] = {
        {"p", &T::pressure}, {"tW", &T::tW},         {"tsW", &T::tsW}, {"phiW", &T::phiW},
        {"tN", &T::tN},      {"phiN", &T::phiN},     {"Q", &T::Q},     {"W", &T::W},
        {"tO", &T::tO},      {"fresh", &T::freshAir}};
    struct Case {
        P process;
        const char* changes; // name=text ... over the filled fields
        const char* error;   // empty: read
    };
    const Case cases[] = {
        {P::PrimarySummer, "tW= tsW= tN= phiN= Q= W= tO= fresh=", "请输入室外空气参数！"},
        // Both outdoor fields are tested before either is read.
        {P::PrimarySummer, "tW=x tsW=", "请输入室外空气参数！"},
        {P::PrimaryWinter, "phiW=", "请输入室外空气参数！"},
        {P::PrimaryWinter, "tsW=", ""},
        {P::SecondarySummer, "phiN=", "请输入室内空气参数！"},
        {P::PrimarySummer, "W=", "请输入室内热湿负荷！"},
        {P::PrimarySummer, "fresh=", "请输入送风温度或新风量！"},
        {P::SecondaryWinter, "tO=abc fresh=", ""},
        {P::PrimarySummer, "Q=_", "余热量(kw)：“ ”不是有效的数值"}, // _ stands for a lone space
        {P::PrimarySummer, "p=0", "大气压力必须大于0！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changes);
        T texts{"101325", "34", "28", "70", "26", "60", "10", "3", "20", "25"};
        for (const QString& change : QString::fromUtf8(c.changes).split(QLatin1Char(' '))) {
            for (const auto& [name, field] : names) {
                if (change.section(QLatin1Char('='), 0, 0) == QLatin1String(name))
                    texts.*field = change.section(QLatin1Char('='), 1)
                                       .replace(QLatin1Char('_'), QLatin1Char(' '));
            }
        }
        TreatmentInputs in;
        in.process = c.process;
        in.tO = -7; // untouched unless the process reads it
        try {
            ReadTreatmentFields(texts, in);
            EXPECT_STREQ(c.error, "");
            EXPECT_EQ(in.W, 3);
            EXPECT_EQ(in.tO, FieldsOf(c.process).supply ? 20 : -7);
        } catch (const UserError& e) {
            EXPECT_EQ(e.text(), QString::fromUtf8(c.error));
        }
    }

    TreatmentInputs in;
    EXPECT_THROW(ReadAirFlows({"3000", "", "1500"}, in), UserError);
    ReadAirFlows({"3000", "750", "1500"}, in);
    EXPECT_EQ(in.G + in.GW + in.G1, 5250);
}

// Designs drawn at random over the ranges engineers enter, with a fixed seed:
// every design the calculation accepts is physically consistent. Each duty
// runs the way its process step treats the air, the air quantities are not
// negative, and every point the chart view lists is a state of the library's
// range, as the view itself completes it.
TEST(TreatmentCalc, AcceptedDesignsArePhysical)
{
    std::mt19937 random(20261209);
    const auto uniform = [&random](double lo, double hi) {
        return lo + (hi - lo) * (random() / 4294967296.0);
    };
    ID_lib viewLib([](const std::string& text, ID_lib::MessageKind) {
        ADD_FAILURE() << "the view's library reported " << text;
    });
    viewLib.AtmPressure = 101325;
    viewLib.PsychroCoefficient = kPsychroCoefficient;

    constexpr int kDesigns = 3000;
    int accepted = 0;
    for (int n = 0; n < kDesigns; ++n) {
        TreatmentInputs in;
        in.process = static_cast<P>(1 + random() % 4);
        const bool summer = in.process == P::PrimarySummer || in.process == P::SecondarySummer;
        if (summer) {
            in.tW = uniform(24, 40);
            in.tsW = in.tW - uniform(-1, 14);
            in.tN = uniform(20, 28);
            in.phiN = uniform(35, 75);
            in.Q = uniform(-5, 60);
            in.W = uniform(-2, 25);
            in.tO = uniform(10, 26);
        } else {
            in.tW = uniform(-30, 20);
            in.phiW = uniform(20, 100);
            in.tN = uniform(15, 25);
            in.phiN = uniform(25, 65);
            in.Q = uniform(-40, 15);
            in.W = uniform(-2, 15);
            in.tO = uniform(18, 45);
        }
        in.freshAirEntry = random() % 2 ? FreshAirEntry::Ratio : FreshAirEntry::Quantity;
        in.freshAir = in.freshAirEntry == FreshAirEntry::Ratio ? uniform(0, 100) : uniform(0, 6000);
        in.G = uniform(500, 12000);
        in.GW = in.G * uniform(0.02, 0.7);
        in.G1 = (in.G - in.GW) * uniform(0, 1);

        const TreatmentOutcome out = Calculate(in);
        if (!out.calculation)
            continue;
        ++accepted;
        SCOPED_TRACE(testing::Message()
                     << "design " << n << ", process " << static_cast<int>(in.process));
        const TreatmentFigures& f = out.calculation->figures;
        EXPECT_GT(f.G, 0);
        EXPECT_GE(f.GW, 0);
        EXPECT_GE(f.G1, 0);
        EXPECT_GE(f.G2, 0);
        EXPECT_GE(f.m, 0);
        EXPECT_LE(f.m, 1);
        // Each duty is 0 where its process has none.
        EXPECT_GE(f.Q0, 0) << "cooling";
        EXPECT_GE(f.Qp, 0) << "preheating";
        EXPECT_GE(f.Qr, 0) << "reheating";
        for (const StatePoint& point :
             TreatmentPointRecords(viewLib, TreatmentChartSteps(out.calculation->points))) {
            EXPECT_GT(point.RH, 0) << point.No;
            EXPECT_LE(point.RH, 100) << point.No;
            EXPECT_GE(point.T, -50) << point.No;
            EXPECT_LE(point.T, 100) << point.No;
        }
        if (HasFailure())
            break; // one design's faults are enough to read
    }
    // Both verdicts are common over these ranges, so the sweep tests something.
    EXPECT_GT(accepted, kDesigns / 5);
    EXPECT_LT(accepted, kDesigns * 4 / 5);
}
