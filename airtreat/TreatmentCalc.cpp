#include "airtreat/TreatmentCalc.h"

#include "app/Numbers.h"
#include "psychro/ID_lib.h"
#include "psychro/StatePointCalc.h"

#include <cmath>
#include <initializer_list>

namespace
{

constexpr double kSecondsPerHour = 3600; // kg/h ↔ kg/s

// The enthalpy of moist air, i = 1.01·t + (2501 + 1.84·t)·d (kJ/kg dry air),
// with ID_lib's coefficients: the supply point is placed on that isotherm.
constexpr double kCpDryAir = 1.01;            // kJ/(kg·K), dry air
constexpr double kLatentHeat0 = 2501;         // kJ/kg, vaporisation at 0 ℃
constexpr double kCpVapour = 1.84;            // kJ/(kg·K), water vapour
constexpr double kCoilHumidity = 93;          // %, air leaving the coil or humidifier
constexpr double kSecondaryCoilHumidity = 95; // %, the secondary summer coil

// The secondary summer machine dew point: relaxation on its enthalpy, started
// this far below the supply enthalpy, moved halfway towards the 95 % state
// each pass, until within the tolerance (kJ/kg).
constexpr double kDewPointStartBelowSupply = 5;
constexpr double kDewPointDamping = 0.5;
constexpr double kDewPointTolerance = 0.001;
constexpr int kDewPointCorrectionLimit = 500;

const char* const kPressureNotPositive = "大气压力必须大于0！";
const char* const kEnterOutdoor = "请输入室外空气参数！";
const char* const kEnterIndoor = "请输入室内空气参数！";
const char* const kEnterLoads = "请输入室内热湿负荷！";
const char* const kEnterSupply = "请输入送风温度或新风量！";
const char* const kEnterAirFlows = "请输入二次回风冬季处理过程的风量！";
const char* const kZeroHeat = "余热量不能为0（热湿比无法确定）！";
const char* const kRatioNegative = "新风比不能小于0！";
const char* const kRatioAbove100 = "新风比不能大于100％！";
const char* const kQuantityNegative = "新风量不能小于0！";
const char* const kWinterRatioZero = "一次回风冬季处理过程的新风比不能为0！";
const char* const kWinterQuantityZero = "一次回风冬季处理过程的新风量不能为0！";
const char* const kTotalNotPositive = "总送风量必须大于0！";
const char* const kFreshNotPositive = "新风量必须大于0！";
const char* const kPrimaryNegative = "一次回风量不能小于0！";
const char* const kFreshPrimaryAboveTotal = "新风量与一次回风量之和不能大于总送风量！";
const char* const kSupplyLineParallel =
    "送风温度线与热湿比线平行，无法确定送风状态，请检查送风温度、余热量和余湿量！";
const char* const kSupplyAtRoomState =
    "送风温度不能等于室内温度（送风状态与室内状态相同，无法计算总送风量）！";
const char* const kSupplyOnWrongSide =
    "送风温度与余热量不相容（总送风量为负）：余热量为正时送风温度应低于室内，"
    "为负时应高于室内，请检查送风温度和余热量！";
const char* const kFreshAboveTotal = "新风量不能大于总送风量！";
const char* const kNoMoistureLoad = "余湿量为0时热湿比为无穷大，无法确定二次回风系统的机器露点！";
const char* const kDewPointEnthalpyOfRoom =
    "机器露点的焓与室内相同，无法计算经过表冷器的风量，请检查送风温度！";
const char* const kCoilAirOutside =
    "经过表冷器的风量不在0与总送风量之间（二次回风量为负），请检查送风温度和室内参数！";
const char* const kFreshAboveCoilAir = "新风量不能大于经过表冷器的风量（一次回风量为负）！";
const char* const kSupplyHumidityOutside =
    "送风状态的相对湿度超出0～100％，请检查余热量、余湿量和风量！";
const char* const kResultsOutOfRange = "计算结果超出数值范围，请检查输入数据！";
// A process step that runs the wrong way: the design asks for the opposite treatment.
const char* const kSupplyBelowDewPoint =
    "送风温度%1℃低于机器露点温度%2℃（再加热量为负）：此设计无需再热，而需将空气进一步冷却，"
    "请提高送风温度或检查余热量和余湿量！";
const char* const kMixtureBelowDewPoint =
    "一次回风混合点C的焓%1 kJ/kg低于机器露点L的焓%2 kJ/kg（制冷量为负）：此设计无需冷却，"
    "而需加热，请检查室外参数、新风量和送风温度！";
const char* const kSupplyBelowSecondaryMixture =
    "送风状态O\"的焓%1 kJ/kg低于二次混合点O的焓%2 kJ/kg（再加热量为负）：此设计无需再热，"
    "而需冷却，请检查余热量、余湿量和风量！";
const char* const kTreatedAirNotMoist =
    "经过处理的空气所需的含湿量为%1 g/kg，不大于0：二次回风带入的水分已多于送风所需，"
    "无法确定机器露点，请检查余湿量和风量！";
// A state point of the result that the moist-air library cannot describe.
const char* const kStateOutOfRange = "状态点%1（%2）超出湿空气的计算范围：%3，请检查输入数据！";
const char* const kBeyondSaturation = "相对湿度超出0～100％（含湿量%1 g/kg，焓%2 kJ/kg）";
const char* const kDryBulbOutOfRange = "干球温度%1℃超出-50～100℃";
const char* const kVapourPressureOutOfRange = "水蒸汽分压力超出计算范围（含湿量%1 g/kg）";

// What follows the library's "请检查含湿量！" for the supply state: the user
// typed no moisture content, it came of the room state and the loads at tO.
const char* const kSupplyMoistureNote =
    "（送风温度%1℃时，由室内状态和余热量%2 kW、余湿量%3 kg/h求得的送风含湿量为%4 g/kg：%5）";

// While it lives, the library's message `text` reaches the library's sink
// followed by `note`; every other message is passed on unchanged.
class MessageNote
{
public:
    MessageNote(ID_lib& lib, const char* text, const QString& note)
        : lib_(lib), saved_(lib.messageSink())
    {
        lib_.setMessageSink([saved = saved_, text = std::string(text), note = note.toStdString()](
                                const std::string& message, ID_lib::MessageKind kind) {
            if (saved)
                saved(message == text ? message + note : message, kind);
        });
    }
    ~MessageNote() { lib_.setMessageSink(saved_); }
    MessageNote(const MessageNote&) = delete;
    MessageNote& operator=(const MessageNote&) = delete;

private:
    ID_lib& lib_;
    ID_lib::MessageSink saved_;
};

// Why a calculation stops; an empty message: the library's failure, already
// reported through its sink.
struct Stop {
    QString message;
};

[[noreturn]] void refuse(const QString& text)
{
    throw Stop{text};
}

[[noreturn]] void refuse(const char* text)
{
    refuse(QString::fromUtf8(text));
}

QString shown(double value)
{
    return FormatNumber(value, QStringLiteral("0.00"));
}

constexpr double kGramsPerKilogram = 1000; // the chart's and the messages' g/kg

bool humidityOutside(double RH)
{
    return !(RH >= 0 && RH <= 100);
}

// The refusals that the inputs alone decide, before the library is called.
void checkInputs(const TreatmentInputs& in)
{
    if (!(in.pressure > 0))
        refuse(kPressureNotPositive);
    const ProcessFields fields = FieldsOf(in.process);
    if ((fields.outdoorRH && humidityOutside(in.phiW)) || humidityOutside(in.phiN))
        refuse(ID_lib::HumidityOutOfRangeText);
    if (fields.supply) {
        if (in.Q == 0) // r = W / Q
            refuse(kZeroHeat);
        const bool ratio = in.freshAirEntry == FreshAirEntry::Ratio;
        if (in.freshAir < 0)
            refuse(ratio ? kRatioNegative : kQuantityNegative);
        if (ratio && in.freshAir > 100)
            refuse(kRatioAbove100);
        // The winter mixture is found by dividing by the fresh-air ratio.
        if (in.process == TreatmentProcess::PrimaryWinter && in.freshAir == 0)
            refuse(ratio ? kWinterRatioZero : kWinterQuantityZero);
    }
    if (fields.airFlows) {
        if (!(in.G > 0))
            refuse(kTotalNotPositive);
        if (!(in.GW > 0))
            refuse(kFreshNotPositive);
        if (!(in.G1 >= 0))
            refuse(kPrimaryNegative);
        if (in.GW + in.G1 > in.G)
            refuse(kFreshPrimaryAboveTotal);
    }
}

// One calculation into a record of its own; the caller sees it only complete.
class Calculation
{
public:
    Calculation(ID_lib& lib, const TreatmentInputs& in)
        : lib_(lib), in_(in), s_(lib.CurrentState), failures_(lib.FailureCount())
    {
    }

    TreatmentCalculation run()
    {
        // P1
        lib_.AtmPressure = in_.pressure;
        lib_.PsychroCoefficient = kPsychroCoefficient;
        // P2: a wet bulb above the dry bulb is only a warning.
        if (FieldsOf(in_.process).wetBulb)
            checked(lib_.StateFromT_Ts(in_.tW, in_.tsW));
        else
            checked(lib_.StateFromRH_T(in_.tW, in_.phiW));
        p_.iW = s_.i;
        p_.dW = s_.d;
        // P3
        checked(lib_.StateFromRH_T(in_.tN, in_.phiN));
        p_.iN = s_.i;
        p_.dN = s_.d;

        switch (in_.process) {
        case TreatmentProcess::PrimarySummer:
            supplyAndAirQuantities();
            primarySummer();
            break;
        case TreatmentProcess::PrimaryWinter:
            supplyAndAirQuantities();
            primaryWinter();
            break;
        case TreatmentProcess::SecondarySummer:
            supplyAndAirQuantities();
            secondarySummer();
            break;
        case TreatmentProcess::SecondaryWinter:
            secondaryWinter();
            break;
        }
        checkFinite();
        checkDirections();
        checkStatesInRange();
        c_.points.Calculated = true;
        return c_;
    }

private:
    // A library operation's verdict: a failure message stops the calculation
    // (its text has gone to the sink); so does a False without one.
    void checked(bool completed) const
    {
        if (lib_.FailureCount() != failures_)
            throw Stop{};
        if (!completed)
            refuse(ID_lib::CalculationFailedText);
    }

    // S1–S4: the supply point O on the room process line at tO, the total
    // supply air and the fresh air.
    void supplyAndAirQuantities()
    {
        const double W = in_.W / kSecondsPerHour; // kg/s
        const double r = W / in_.Q;
        // O on the isotherm tO and on the line (iN − i) / (dN − d) = Q / W.
        const double denominator = 1 - r * (kLatentHeat0 + kCpVapour * in_.tO);
        if (denominator == 0)
            refuse(kSupplyLineParallel);
        p_.dO = (p_.dN - r * (p_.iN - kCpDryAir * in_.tO)) / denominator;
        f_.tO = in_.tO;
        {
            const MessageNote note(
                lib_, ID_lib::CheckMoistureText,
                QString::fromUtf8(kSupplyMoistureNote)
                    .arg(QString::number(in_.tO), QString::number(in_.Q), QString::number(in_.W),
                         shown(p_.dO * kGramsPerKilogram),
                         p_.dO < 0 ? QStringLiteral("小于0") : QStringLiteral("过饱和")));
            checked(lib_.StateFromD_T(in_.tO, p_.dO));
        }
        p_.iO = s_.i;
        f_.phiO = s_.RH;

        // O lies on a line through N, so it meets N exactly when tO = tN;
        // rounding alone must not turn that into a huge supply air quantity.
        if (in_.tO == in_.tN || p_.iN == p_.iO)
            refuse(kSupplyAtRoomState);
        f_.G = in_.Q / (p_.iN - p_.iO);
        if (!(f_.G > 0))
            refuse(kSupplyOnWrongSide);

        if (in_.freshAirEntry == FreshAirEntry::Quantity) {
            f_.GW = in_.freshAir / kSecondsPerHour;
            if (f_.GW > f_.G)
                refuse(kFreshAboveTotal);
            f_.m = f_.GW / f_.G;
        } else {
            f_.m = in_.freshAir / 100;
            f_.GW = f_.G * f_.m;
        }
    }

    // The machine dew point at the supply moisture content and 93 %.
    void coilDewPoint()
    {
        checked(lib_.StateFromD_RH(kCoilHumidity, p_.dO));
        f_.tL = s_.t;
        p_.iL = s_.i;
        p_.dL = s_.d;
    }

    void mixWithOutdoorAir()
    {
        p_.iC = p_.iN + f_.m * (p_.iW - p_.iN);
        p_.dC = p_.dN + f_.m * (p_.dW - p_.dN);
    }

    // Cool and dehumidify the mixture of outdoor and room air to L, reheat to O.
    void primarySummer()
    {
        p_.Kind = 1;
        mixWithOutdoorAir();
        coilDewPoint();
        f_.Q0 = f_.G * (p_.iC - p_.iL);
        f_.G1 = f_.G - f_.GW;
        f_.G2 = 0;
        f_.Qp = 0;
        f_.Qr = f_.G * (p_.iO - p_.iL);
    }

    // Mix, preheat the outdoor air if the mixture would fall below L's
    // enthalpy, humidify adiabatically to L, reheat to O.
    void primaryWinter()
    {
        coilDewPoint();
        // The outdoor enthalpy at which the mixture just reaches iL.
        p_.iWh = p_.iN - (p_.iN - p_.iL) / f_.m;
        if (p_.iW - p_.iWh > 0) {
            p_.Kind = 1;
            f_.Qp = 0;
            mixWithOutdoorAir();
            // L moves up to the mixture's enthalpy at the supply moisture content.
            checked(lib_.StateFromI_D(p_.dO, p_.iC));
            p_.iL = p_.iC;
            f_.tL = s_.t;
            p_.dL = s_.d;
        } else {
            p_.Kind = 2;
            p_.iC = p_.iL; // the mixture of Wh and N lies on L's adiabatic line
            p_.dC = p_.dN + f_.m * (p_.dW - p_.dN);
            f_.Qp = f_.GW * (p_.iWh - p_.iW);
        }
        f_.Qr = f_.G * (p_.iO - p_.iL);
        f_.G1 = f_.G - f_.GW;
        f_.G2 = 0;
    }

    // Part of the room air bypasses the coil: L is where the room process line,
    // extended beyond O, meets 95 %.
    void secondarySummer()
    {
        p_.Kind = 1;
        if (p_.dN == p_.dO)
            refuse(kNoMoistureLoad);
        const double epsilon = (p_.iN - p_.iO) / (p_.dN - p_.dO);
        c_.epsilon = epsilon;

        int counter = 0;
        p_.iL = p_.iO - kDewPointStartBelowSupply;
        for (;;) {
            p_.dL = (epsilon * p_.dN - p_.iN + p_.iL) / epsilon; // the line at iL
            checked(lib_.StateFromD_RH(kSecondaryCoilHumidity, p_.dL));
            f_.tL = s_.t;
            const double i95 = s_.i;
            if (std::fabs(p_.iL - i95) <= kDewPointTolerance)
                break;
            if (counter > kDewPointCorrectionLimit)
                refuse(ID_lib::CalculationFailedText);
            p_.iL = p_.iL + kDewPointDamping * (i95 - p_.iL);
            ++counter;
        }
        c_.dewPointCorrections = counter;

        if (p_.iN == p_.iL)
            refuse(kDewPointEnthalpyOfRoom);
        c_.GL = in_.Q / (p_.iN - p_.iL);
        if (!(c_.GL > 0) || c_.GL > f_.G)
            refuse(kCoilAirOutside);
        if (f_.GW > c_.GL)
            refuse(kFreshAboveCoilAir);
        f_.G1 = c_.GL - f_.GW;
        f_.G2 = f_.G - c_.GL;
        // C mixes the fresh air with the primary return air only.
        p_.iC = (f_.GW * p_.iW + f_.G1 * p_.iN) / (f_.GW + f_.G1);
        p_.dC = (f_.GW * p_.dW + f_.G1 * p_.dN) / (f_.GW + f_.G1);
        f_.Q0 = c_.GL * (p_.iC - p_.iL);
    }

    // The air quantities are given; the supply state Os follows from the
    // room's heat and moisture balance, L from the moisture the treated air
    // must have for its mixture with the secondary return air to reach Os.
    void secondaryWinter()
    {
        f_.G = in_.G / kSecondsPerHour;
        f_.GW = in_.GW / kSecondsPerHour;
        f_.G1 = in_.G1 / kSecondsPerHour;
        f_.G2 = f_.G - f_.GW - f_.G1;
        c_.GL = f_.GW + f_.G1;
        f_.m = f_.GW / f_.G;

        const double W = in_.W / kSecondsPerHour; // kg/s
        p_.iOs = p_.iN - in_.Q / f_.G;
        p_.dOs = p_.dN - W / f_.G;
        checked(lib_.StateFromI_D(p_.dOs, p_.iOs));
        // The library leaves t and RH at 0, without a message, for a state
        // beyond saturation or with negative moisture; a real RH of 0 needs dOs = 0.
        if (s_.RH == 0 && p_.dOs != 0)
            refuse(kSupplyHumidityOutside);
        f_.tO = s_.t;
        f_.phiO = s_.RH;
        p_.dO = p_.dOs;

        p_.dL = (p_.dO * f_.G - p_.dN * f_.G2) / c_.GL;
        if (!(p_.dL > 0))
            refuse(QString::fromUtf8(kTreatedAirNotMoist).arg(shown(p_.dL * kGramsPerKilogram)));
        checked(lib_.StateFromD_RH(kCoilHumidity, p_.dL));
        p_.iL = s_.i;
        f_.tL = s_.t;
        // Chart point O: the treated air mixed with the secondary return air,
        // before reheating.
        p_.iO = (p_.iN * f_.G2 + p_.iL * c_.GL) / f_.G;

        p_.iC = p_.iL;
        p_.dC = p_.dN + (p_.dW - p_.dN) * f_.GW / (f_.G1 + f_.GW);
        // The fresh-air enthalpy at which the primary mixture just reaches iC.
        p_.iWh = ((f_.G1 + f_.GW) * p_.iC - p_.iN * f_.G1) / f_.GW;
        if (p_.iW - p_.iWh > 0) {
            p_.Kind = 4;
            f_.Qp = 0;
        } else {
            p_.Kind = 3;
            f_.Qp = (p_.iWh - p_.iW) * f_.GW;
        }
        f_.Qr = (p_.iOs - p_.iO) * f_.G;
    }

    // Inputs far beyond any design can overflow a figure or a shown value.
    void checkFinite() const
    {
        const auto finite = [](std::initializer_list<double> values) {
            for (double v : values)
                if (!std::isfinite(v))
                    return false;
            return true;
        };
        bool ok = finite({p_.iW, p_.dW, p_.iWh, p_.iN, p_.dN, p_.iC, p_.dC, p_.iL, p_.dL, p_.iO,
                          p_.dO, p_.iOs, p_.dOs, c_.GL, c_.epsilon});
        for (const ShownResult& row : ShownResults(c_))
            ok = ok && std::isfinite(row.value);
        if (!ok)
            refuse(kResultsOutOfRange);
    }

    // Each duty in the direction its process step treats the air: the coil
    // cools (processes 1 and 3), the reheater heats (1, 2 and 4). The
    // preheater heats by construction: it runs only when iWh ≥ iW.
    void checkDirections() const
    {
        const TreatmentProcess process = in_.process;
        const bool cooled = process == TreatmentProcess::PrimarySummer ||
                            process == TreatmentProcess::SecondarySummer;
        if (cooled && f_.Q0 < 0)
            refuse(QString::fromUtf8(kMixtureBelowDewPoint).arg(shown(p_.iC), shown(p_.iL)));
        if (f_.Qr >= 0)
            return;
        if (process == TreatmentProcess::SecondaryWinter)
            refuse(
                QString::fromUtf8(kSupplyBelowSecondaryMixture).arg(shown(p_.iOs), shown(p_.iO)));
        // O and L share the supply moisture content: iO < iL means tO < tL.
        refuse(QString::fromUtf8(kSupplyBelowDewPoint).arg(shown(f_.tO), shown(f_.tL)));
    }

    // Every point the chart view draws and lists must be a state the library
    // describes: the view completes each from (d, i) with StateFromI_D, which
    // zeroes a state beyond saturation or with negative moisture, and whose
    // dew point is found only for vapour pressures of -50 to 100 ℃; the same
    // bisection's range bounds the dry bulb. The library is asked on a silent
    // instance of its own, so that its verdict shows no message.
    void checkStatesInRange() const
    {
        ID_lib probe;
        probe.AtmPressure = in_.pressure;
        probe.PsychroCoefficient = kPsychroCoefficient;
        const auto check = [&probe](const char* label, const char* meaning, double d, double i) {
            const QString reason = outOfRangeReason(probe, d, i);
            if (!reason.isEmpty())
                refuse(QString::fromUtf8(kStateOutOfRange)
                           .arg(QString::fromUtf8(label), QString::fromUtf8(meaning), reason));
        };
        check("W", "室外状态", p_.dW, p_.iW);
        check("N", "室内状态", p_.dN, p_.iN);
        if (p_.Kind == 2 || p_.Kind == 3)
            check("W\"", "预热后的新风", p_.dW, p_.iWh);
        check("C", "一次回风混合点", p_.dC, p_.iC);
        check("L", "机器露点", p_.dL, p_.iL);
        check("O", in_.process == TreatmentProcess::SecondaryWinter ? "二次回风混合点" : "送风状态",
              p_.dO, p_.iO);
        if (p_.Kind == 3 || p_.Kind == 4)
            check("O\"", "送风状态", p_.dOs, p_.iOs);
    }

    // Empty when the library completes (d, i) to a state of its range.
    static QString outOfRangeReason(ID_lib& probe, double d, double i)
    {
        const int before = probe.FailureCount();
        const bool described = StateOfProcessPoint(probe, d, i);
        const int failed = probe.FailureCount() - before;
        const MoistAirState s = probe.CurrentState;
        if (!described)
            return QString::fromUtf8(kBeyondSaturation).arg(shown(d * kGramsPerKilogram), shown(i));
        probe.SaturationTemperature(probe.SaturationPressure(s.t));
        if (probe.FailureCount() - before != failed)
            return QString::fromUtf8(kDryBulbOutOfRange).arg(shown(s.t));
        if (failed)
            return QString::fromUtf8(kVapourPressureOutOfRange).arg(shown(d * kGramsPerKilogram));
        return {};
    }

    ID_lib& lib_;
    const TreatmentInputs& in_;
    const MoistAirState& s_; // what each library operation leaves
    const int failures_;
    TreatmentCalculation c_;
    TreatmentResult& p_ = c_.points;
    TreatmentFigures& f_ = c_.figures;
};

// The fields as the window captions them and the command line names them.
constexpr NamedInput kOutdoorDryBulb{"室外计算干球温度(℃)", "tW"};
constexpr NamedInput kOutdoorWetBulb{"夏季室外计算湿球温度(℃)", "tsW"};
constexpr NamedInput kOutdoorRH{"冬季空调室外计算相对湿度(％)", "phiW"};
constexpr NamedInput kRoomDryBulb{"设计干球温度(℃)", "tN"};
constexpr NamedInput kRoomRH{"设计相对湿度(％)", "phiN"};
constexpr NamedInput kHeatLoad{"余热量(kw)", "Q"};
constexpr NamedInput kMoistureLoad{"余湿量(kg/h)", "W"};
constexpr NamedInput kSupplyTemperature{"送风温度(℃)", "tO"};
constexpr NamedInput kFreshAirQuantity{"新风量(kg/h)", "fresh"};
constexpr NamedInput kFreshAirRatio{"新风比(％)", "ratio"};
// The air-flow dialog is a window of its own, shown after the main window's
// fields are read.
constexpr NamedInput kTotalAir{"二次回风冬季处理过程的风量设置中的总送风量(kg/h)", "G"};
constexpr NamedInput kFreshAir{"二次回风冬季处理过程的风量设置中的新风量(kg/h)", "GW"};
constexpr NamedInput kPrimaryAir{"二次回风冬季处理过程的风量设置中的一次回风量(kg/h)", "G1"};

void requireBoth(const QString& a, const QString& b, const char* message)
{
    if (a.isEmpty() || b.isEmpty())
        throw UserError(QString::fromUtf8(message));
}

} // namespace

ProcessFields FieldsOf(TreatmentProcess process)
{
    switch (process) {
    case TreatmentProcess::PrimarySummer:
    case TreatmentProcess::SecondarySummer:
        return {true, false, true, false};
    case TreatmentProcess::PrimaryWinter:
        return {false, true, true, false};
    case TreatmentProcess::SecondaryWinter:
        break;
    }
    return {false, true, false, true};
}

QString ProcessCaption(TreatmentProcess process)
{
    switch (process) {
    case TreatmentProcess::PrimarySummer:
        return QStringLiteral("一次回风系统的夏季处理过程");
    case TreatmentProcess::PrimaryWinter:
        return QStringLiteral("一次回风系统的冬季处理过程");
    case TreatmentProcess::SecondarySummer:
        return QStringLiteral("二次回风系统的夏季处理过程");
    case TreatmentProcess::SecondaryWinter:
        break;
    }
    return QStringLiteral("二次回风系统的冬季处理过程");
}

void ReadTreatmentFields(const TreatmentFieldTexts& t, TreatmentInputs& in, InputNaming naming)
{
    const auto read = [naming](const NamedInput& input, const QString& text) {
        return ParseField(input, text, naming);
    };
    in.pressure = read(PressureInput, t.pressure);
    if (!(in.pressure > 0))
        throw UserError(QString::fromUtf8(kPressureNotPositive));
    const ProcessFields fields = FieldsOf(in.process);
    const QString& outdoorSecond = fields.wetBulb ? t.tsW : t.phiW;
    requireBoth(t.tW, outdoorSecond, kEnterOutdoor);
    in.tW = read(kOutdoorDryBulb, t.tW);
    if (fields.wetBulb)
        in.tsW = read(kOutdoorWetBulb, t.tsW);
    else
        in.phiW = read(kOutdoorRH, t.phiW);
    requireBoth(t.tN, t.phiN, kEnterIndoor);
    in.tN = read(kRoomDryBulb, t.tN);
    in.phiN = read(kRoomRH, t.phiN);
    requireBoth(t.Q, t.W, kEnterLoads);
    in.Q = read(kHeatLoad, t.Q);
    in.W = read(kMoistureLoad, t.W);
    if (fields.supply) {
        requireBoth(t.tO, t.freshAir, kEnterSupply);
        in.tO = read(kSupplyTemperature, t.tO);
        in.freshAir =
            read(in.freshAirEntry == FreshAirEntry::Quantity ? kFreshAirQuantity : kFreshAirRatio,
                 t.freshAir);
    }
}

void ReadAirFlows(const AirFlowTexts& t, TreatmentInputs& in, InputNaming naming)
{
    if (t.G.isEmpty() || t.GW.isEmpty() || t.G1.isEmpty())
        throw UserError(QString::fromUtf8(kEnterAirFlows));
    in.G = ParseField(kTotalAir, t.G, naming);
    in.GW = ParseField(kFreshAir, t.GW, naming);
    in.G1 = ParseField(kPrimaryAir, t.G1, naming);
}

TreatmentOutcome CalculateTreatment(ID_lib& lib, const TreatmentInputs& in)
{
    try {
        checkInputs(in);
        return {Calculation(lib, in).run(), {}};
    } catch (const Stop& stop) {
        return {std::nullopt, stop.message};
    }
}

bool StateOfProcessPoint(ID_lib& lib, double d, double i)
{
    // StateFromI_D leaves RH at 0 only for a state it zeroed or for dry air.
    const auto zeroed = [&lib, d] { return lib.CurrentState.RH == 0 && d != 0; };
    lib.StateFromI_D(d, i);
    if (!zeroed())
        return true;
    // Far above the enthalpy's rounding (about 1e-14 kJ/kg) and far below
    // what "0.00" shows: moves the dry bulb by 1e-9 K.
    constexpr double kSaturationRounding = 1e-9; // kJ/kg
    lib.StateFromI_D(d, i + kSaturationRounding);
    return !zeroed();
}

std::array<ShownResult, kShownResultCount> ShownResults(const TreatmentCalculation& c)
{
    const TreatmentFigures& f = c.figures;
    return {{{"送风温度(℃):", "tO", f.tO},
             {"送风相对湿度(％):", "phiO", f.phiO},
             {"总送风量(kg/h):", "G", f.G * kSecondsPerHour},
             {"新风比(%):", "m", f.m * 100},
             {"新风量(kg/h):", "GW", f.GW * kSecondsPerHour},
             {"一次回风量(kg/h):", "G1", f.G1 * kSecondsPerHour},
             {"二次回风量(kg/h);", "G2", f.G2 * kSecondsPerHour},
             {"一次回风混合点焓:", "iC", c.points.iC},
             {"机器露点温度(℃):", "tL", f.tL},
             {"制冷量(kw):", "Q0", f.Q0},
             {"预加热量(kw):", "Qp", f.Qp},
             {"再加热量(kw):", "Qr", f.Qr},
             {"总加热量(kw):", "Qtotal", f.Qp + f.Qr}}};
}

bool ResultShownFor(TreatmentProcess process, int row)
{
    // Per row, the processes that compute it (bit k−1 for process k): the
    // secondary return air only with a bypass, cooling in summer, preheating
    // in winter, and no reheating in the secondary summer process.
    constexpr unsigned kAll = 0b1111;
    constexpr unsigned kShownFor[kShownResultCount] = {
        kAll, kAll, kAll, kAll, kAll, kAll, 0b1100, kAll, kAll, 0b0101, 0b1010, 0b1011, 0b1011};
    if (row < 0 || row >= kShownResultCount)
        return false;
    return (kShownFor[row] >> (static_cast<int>(process) - 1)) & 1u;
}
