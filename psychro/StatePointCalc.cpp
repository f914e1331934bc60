#include "psychro/StatePointCalc.h"

#include "app/Numbers.h"

namespace
{

const char* const kEnterValues = "请输入计算参数！";
const char* const kRHRange = ID_lib::HumidityOutOfRangeText;
const char* const kDRangeWithT = "含湿量数据太大或太小！";
const char* const kDRange = "含湿量太大或太小！";
const char* const kIRangeWithT = "焓数据太大或太小！";
const char* const kIRange = "焓太大或太小！";
const char* const kTsRange = "湿球温度太大或太小！";

// Window limits; all inclusive. Moisture content in g/kg as typed.
constexpr double kMaxDWithT = 45;  // g/kg, with dry bulb
constexpr double kMaxD = 50;       // g/kg, with wet bulb, RH or enthalpy
constexpr double kMinI = -30;      // kJ/kg
constexpr double kMaxIWithT = 145; // kJ/kg, with dry bulb
constexpr double kMaxI = 150;      // kJ/kg, with RH or moisture content
constexpr double kMinTs = -30;     // ℃
constexpr double kMaxTs = 50;      // ℃

bool outside(double v, double lo, double hi)
{
    return v < lo || v > hi;
}

void store(MoistAirState& s, GivenValue g)
{
    switch (g.quantity) {
    case Quantity::DryBulb:
        s.t = g.value;
        break;
    case Quantity::WetBulb:
        s.ts = g.value;
        break;
    case Quantity::RH:
        s.RH = g.value;
        break;
    case Quantity::D:
        s.d = g.value / 1000;
        break;
    case Quantity::I:
        s.i = g.value;
        break;
    }
}

} // namespace

void ApplyPressureText(ID_lib& lib, const QString& pressureText, InputNaming naming)
{
    const double pressure = ParseField(PressureInput, pressureText, naming);
    // The formulas divide by the pressure and by (B - pv): zero or a negative
    // pressure gives no physical state.
    if (pressure <= 0)
        throw UserError(QStringLiteral("大气压力必须大于0！"));
    lib.PsychroCoefficient = kPsychroCoefficient;
    lib.AtmPressure = pressure;
}

bool PairOffered(Quantity first, Quantity second)
{
    if (first == second)
        return false;
    const auto tsOrI = [](Quantity q) { return q == Quantity::WetBulb || q == Quantity::I; };
    return !(tsOrI(first) && tsOrI(second));
}

StateCalcResult CalculateState(ID_lib& lib, GivenValue first, GivenValue second)
{
    store(lib.CurrentState, first);
    store(lib.CurrentState, second);
    if (!PairOffered(first.quantity, second.quantity))
        return {QString::fromUtf8(kEnterValues), false};

    // Both orders of a pair are handled alike: look the values up by quantity.
    const auto has = [&](Quantity a, Quantity b) {
        return (first.quantity == a && second.quantity == b) ||
               (first.quantity == b && second.quantity == a);
    };
    const auto value = [&](Quantity q) { return first.quantity == q ? first.value : second.value; };
    const double t = value(Quantity::DryBulb), ts = value(Quantity::WetBulb),
                 rh = value(Quantity::RH), d = value(Quantity::D), i = value(Quantity::I);
    const auto refuse = [](const char* text) {
        return StateCalcResult{QString::fromUtf8(text), false};
    };

    using Q = Quantity;
    bool done = false;
    if (has(Q::DryBulb, Q::WetBulb)) {
        done = lib.StateFromT_Ts(t, ts);
    } else if (has(Q::DryBulb, Q::RH)) {
        if (outside(rh, 0, 100))
            return refuse(kRHRange);
        done = lib.StateFromRH_T(t, rh);
    } else if (has(Q::DryBulb, Q::D)) {
        if (outside(d, 0, kMaxDWithT))
            return refuse(kDRangeWithT);
        done = lib.StateFromD_T(t, d / 1000);
    } else if (has(Q::DryBulb, Q::I)) {
        if (outside(i, kMinI, kMaxIWithT))
            return refuse(kIRangeWithT);
        done = lib.StateFromI_T(t, i);
    } else if (has(Q::WetBulb, Q::RH)) {
        if (outside(ts, kMinTs, kMaxTs))
            return refuse(kTsRange);
        done = lib.StateFromRH_Ts(ts, rh);
    } else if (has(Q::WetBulb, Q::D)) {
        if (outside(d, 0, kMaxD))
            return refuse(kDRange);
        done = lib.StateFromD_Ts(ts, d / 1000);
    } else if (has(Q::RH, Q::D)) {
        if (outside(d, 0, kMaxD))
            return refuse(kDRange);
        if (outside(rh, 0, 100))
            return refuse(kRHRange);
        done = lib.StateFromD_RH(rh, d / 1000);
    } else if (has(Q::RH, Q::I)) {
        if (outside(i, kMinI, kMaxI))
            return refuse(kIRange);
        if (outside(rh, 0, 100))
            return refuse(kRHRange);
        done = lib.StateFromI_RH(rh, i);
    } else { // d and i
        if (outside(i, kMinI, kMaxI))
            return refuse(kIRange);
        if (outside(d, 0, kMaxD))
            return refuse(kDRange);
        done = lib.StateFromI_D(d / 1000, i);
    }
    return {std::nullopt, done};
}

QList<ResultRow> StateResults(const MoistAirState& s)
{
    return {{"干球温度(℃):", s.t},     {"湿球温度(℃)：", s.ts},
            {"相对湿度(%):", s.RH},    {"含湿量(g/kg干空气):", s.d * 1000},
            {"焓(kj/kg干空气):", s.i}, {"露点温度(℃):", s.tdew},
            {"密度(kg/m3):", s.rho},   {"水蒸汽分压力(Pa):", s.pv}};
}

QStringList StateReportLines(const MoistAirState& s)
{
    const auto line = [](const char* label, double v) {
        return QString::fromUtf8(label) + FormatColumn(v, 10, 2);
    };
    return {line(" 干球温度(℃)：", s.t),        line(" 湿球温度(℃)：", s.ts),
            line(" 相对湿度(%)：", s.RH),       line(" 含湿量(g/kg干空气)：", s.d * 1000),
            line(" 焓(kj/kg干空气)：", s.i),    line(" 露点温度(℃)：", s.tdew),
            line(" 密度(kg/m3)：", s.rho),      line(" 水蒸汽分压力(Pa)：", s.pv),
            QStringLiteral("━━━━━━━━━━━━━━━━━")};
}

QStringList StatePrintHeading()
{
    return {QStringLiteral("    湿空气状态参数计算结果"),
            QStringLiteral("    ======================"), QStringLiteral("    "),
            QStringLiteral("━━━━━━━━━━━━━━━━━")};
}
