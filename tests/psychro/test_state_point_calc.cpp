// The state-point calculation: pairs in both orders, the window's range
// checks with their inclusive limits, and the report block.
#include "app/Numbers.h"
#include "psychro/StatePointCalc.h"

#include <gtest/gtest.h>

namespace
{

struct Calc : ::testing::Test {
    QStringList messages;
    QList<ID_lib::MessageKind> kinds;
    ID_lib lib{[this](const std::string& m, ID_lib::MessageKind kind) {
        messages << QString::fromStdString(m);
        kinds << kind;
    }};
    void SetUp() override { ApplyPressureText(lib, QStringLiteral("101325")); }

    QStringList shown() const
    {
        QStringList out;
        for (const ResultRow& r : StateResults(lib.CurrentState))
            out << FormatNumber(r.value, QStringLiteral("0.00"));
        return out;
    }
};

using Q = Quantity;
const QStringList kAt20And50{"20.00", "13.88", "50.00", "7.26", "38.62", "9.27", "1.20", "1168.54"};

} // namespace

TEST_F(Calc, DryBulbAndHumidityInEitherOrder)
{
    auto r = CalculateState(lib, {Q::DryBulb, 20}, {Q::RH, 50});
    EXPECT_FALSE(r.refusal);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(shown(), kAt20And50);

    lib.CurrentState = {};
    r = CalculateState(lib, {Q::RH, 50}, {Q::DryBulb, 20});
    EXPECT_FALSE(r.refusal);
    EXPECT_EQ(shown(), kAt20And50);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Calc, EveryPairReproducesTheStateItCameFrom)
{
    ASSERT_FALSE(CalculateState(lib, {Q::DryBulb, 26}, {Q::RH, 60}).refusal);
    const MoistAirState ref = lib.CurrentState;
    const double d = ref.d * 1000;
    const QList<QPair<GivenValue, GivenValue>> pairs{{{Q::DryBulb, ref.t}, {Q::WetBulb, ref.ts}},
                                                     {{Q::DryBulb, ref.t}, {Q::D, d}},
                                                     {{Q::I, ref.i}, {Q::DryBulb, ref.t}},
                                                     {{Q::WetBulb, ref.ts}, {Q::RH, ref.RH}},
                                                     {{Q::D, d}, {Q::WetBulb, ref.ts}},
                                                     {{Q::RH, ref.RH}, {Q::D, d}},
                                                     {{Q::I, ref.i}, {Q::RH, ref.RH}},
                                                     {{Q::D, d}, {Q::I, ref.i}}};
    for (const auto& [first, second] : pairs) {
        lib.CurrentState = {};
        const auto r = CalculateState(lib, first, second);
        ASSERT_FALSE(r.refusal);
        EXPECT_TRUE(r.completed);
        // The iterations stop within 0.001 ℃ and the bisection within
        // 0.0012 ℃: a few hundredths is the agreement to expect.
        EXPECT_NEAR(lib.CurrentState.t, ref.t, 0.05);
        EXPECT_NEAR(lib.CurrentState.RH, ref.RH, 0.3);
        EXPECT_NEAR(lib.CurrentState.d * 1000, d, 0.02);
        EXPECT_NEAR(lib.CurrentState.i, ref.i, 0.06);
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Calc, LimitsAreInclusive)
{
    EXPECT_FALSE(CalculateState(lib, {Q::DryBulb, 20}, {Q::RH, 100}).refusal);
    EXPECT_EQ(CalculateState(lib, {Q::DryBulb, 20}, {Q::RH, 100.01}).refusal,
              QStringLiteral("相对湿度不能小于0或大于100％！"));
    EXPECT_EQ(CalculateState(lib, {Q::DryBulb, 20}, {Q::RH, -0.01}).refusal,
              QStringLiteral("相对湿度不能小于0或大于100％！"));

    // Enthalpy: 145 with dry bulb, 150 with humidity or moisture content.
    EXPECT_FALSE(CalculateState(lib, {Q::DryBulb, 40}, {Q::I, 145}).refusal);
    EXPECT_EQ(CalculateState(lib, {Q::DryBulb, 40}, {Q::I, 146}).refusal,
              QStringLiteral("焓数据太大或太小！"));
    EXPECT_FALSE(CalculateState(lib, {Q::RH, 50}, {Q::I, 146}).refusal);
    EXPECT_EQ(CalculateState(lib, {Q::RH, 50}, {Q::I, 150.5}).refusal,
              QStringLiteral("焓太大或太小！"));
    EXPECT_EQ(CalculateState(lib, {Q::D, 10}, {Q::I, -30.5}).refusal,
              QStringLiteral("焓太大或太小！"));

    // Moisture content: 45 g/kg with dry bulb, 50 with wet bulb.
    EXPECT_EQ(CalculateState(lib, {Q::DryBulb, 40}, {Q::D, 46}).refusal,
              QStringLiteral("含湿量数据太大或太小！"));
    messages.clear();
    EXPECT_FALSE(CalculateState(lib, {Q::WetBulb, 30}, {Q::D, 46}).refusal);
    EXPECT_EQ(CalculateState(lib, {Q::WetBulb, 30}, {Q::D, 50.01}).refusal,
              QStringLiteral("含湿量太大或太小！"));

    EXPECT_EQ(CalculateState(lib, {Q::WetBulb, 50.5}, {Q::RH, 50}).refusal,
              QStringLiteral("湿球温度太大或太小！"));
    EXPECT_FALSE(CalculateState(lib, {Q::WetBulb, -30}, {Q::RH, 50}).refusal);
}

TEST_F(Calc, ChecksRunInOrderAndKeepTheGivenValues)
{
    // Both values out of range: the moisture content is judged first.
    EXPECT_EQ(CalculateState(lib, {Q::RH, 120}, {Q::D, 60}).refusal,
              QStringLiteral("含湿量太大或太小！"));
    EXPECT_DOUBLE_EQ(lib.CurrentState.RH, 120);
    EXPECT_DOUBLE_EQ(lib.CurrentState.d, 0.06);
    // With enthalpy and humidity the enthalpy is judged first.
    EXPECT_EQ(CalculateState(lib, {Q::I, 200}, {Q::RH, 120}).refusal,
              QStringLiteral("焓太大或太小！"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Calc, PairsNotOfferedAskForInput)
{
    EXPECT_FALSE(PairOffered(Q::RH, Q::RH));
    EXPECT_FALSE(PairOffered(Q::WetBulb, Q::I));
    EXPECT_FALSE(PairOffered(Q::I, Q::WetBulb));
    EXPECT_TRUE(PairOffered(Q::WetBulb, Q::D));
    lib.CurrentState.pv = 123;
    const auto r = CalculateState(lib, {Q::DryBulb, 20}, {Q::DryBulb, 25});
    EXPECT_EQ(r.refusal, QStringLiteral("请输入计算参数！"));
    EXPECT_DOUBLE_EQ(lib.CurrentState.pv, 123);
}

TEST_F(Calc, LibraryWarningStillGivesTheState)
{
    const auto r = CalculateState(lib, {Q::DryBulb, 20}, {Q::WetBulb, 25});
    EXPECT_FALSE(r.refusal);
    EXPECT_EQ(messages, QStringList{"湿球温度不能大于干球温度！"});
    EXPECT_GT(lib.CurrentState.RH, 100);
}

TEST_F(Calc, LowerPressureChangesTheState)
{
    ApplyPressureText(lib, QStringLiteral("90000"));
    CalculateState(lib, {Q::DryBulb, 20}, {Q::RH, 50});
    const MoistAirState low = lib.CurrentState;
    ApplyPressureText(lib, QStringLiteral("101325"));
    CalculateState(lib, {Q::DryBulb, 20}, {Q::RH, 50});
    EXPECT_GT(low.d, lib.CurrentState.d);
    EXPECT_GT(low.i, lib.CurrentState.i);
    EXPECT_LT(low.rho, lib.CurrentState.rho);
    EXPECT_LT(low.ts, lib.CurrentState.ts);
    EXPECT_DOUBLE_EQ(low.pv, lib.CurrentState.pv); // pv = Ps(t)·RH, whatever B
}

TEST_F(Calc, PressureTextMustBeAPositiveNumber)
{
    lib.AtmPressure = 101325;
    EXPECT_THROW(ApplyPressureText(lib, QStringLiteral("abc")), ConversionError);
    EXPECT_THROW(ApplyPressureText(lib, QString()), ConversionError);
    try {
        ApplyPressureText(lib, QStringLiteral("0"));
        ADD_FAILURE();
    } catch (const UserError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("大气压力必须大于0！"));
    }
    EXPECT_THROW(ApplyPressureText(lib, QStringLiteral("-5")), UserError);
    EXPECT_DOUBLE_EQ(lib.AtmPressure, 101325);
}

TEST_F(Calc, ReportBlockCharacterForCharacter)
{
    CalculateState(lib, {Q::DryBulb, 20}, {Q::RH, 50});
    const QStringList lines = StateReportLines(lib.CurrentState);
    EXPECT_EQ(lines, (QStringList{" 干球温度(℃)：     20.00", " 湿球温度(℃)：     13.88",
                                  " 相对湿度(%)：     50.00", " 含湿量(g/kg干空气)：      7.26",
                                  " 焓(kj/kg干空气)：     38.62", " 露点温度(℃)：      9.27",
                                  " 密度(kg/m3)：      1.20", " 水蒸汽分压力(Pa)：   1168.54",
                                  QString(17, QChar(0x2501))}));
    EXPECT_EQ(StatePrintHeading(),
              (QStringList{"    湿空气状态参数计算结果", "    ======================", "    ",
                           QString(17, QChar(0x2501))}));
}

// The library says which of its messages leave no usable state; callers
// decide on the kind, never on the text.
TEST_F(Calc, LibraryMessagesAreFailuresOrWarnings)
{
    using K = ID_lib::MessageKind;
    const struct {
        const char* name;
        GivenValue first, second;
        const char* pressure;
        QList<K> kinds;
    } cases[] = {
        {"wet bulb above dry bulb", {Q::DryBulb, 20}, {Q::WetBulb, 25}, "101325", {K::Warning}},
        {"sound state", {Q::DryBulb, 20}, {Q::RH, 50}, "101325", {}},
        {"dew point below the range", {Q::DryBulb, -45}, {Q::RH, 50}, "101325", {K::Failure}},
        {"no wet bulb at 1000 ℃", {Q::DryBulb, 1000}, {Q::RH, 50}, "101325",
         {K::Failure, K::Failure}},
        {"pressure of 1 Pa", {Q::DryBulb, 20}, {Q::RH, 50}, "1", {K::Failure}},
        {"d beyond saturation", {Q::DryBulb, 20}, {Q::D, 40}, "101325", {K::Failure}},
    };
    for (const auto& c : cases) {
        messages.clear();
        kinds.clear();
        ApplyPressureText(lib, QString::fromUtf8(c.pressure));
        const int before = lib.FailureCount();
        CalculateState(lib, c.first, c.second);
        EXPECT_EQ(kinds, c.kinds) << c.name << ": " << messages.join(' ').toStdString();
        EXPECT_EQ(lib.FailureCount() - before, c.kinds.count(K::Failure)) << c.name;
    }
}
