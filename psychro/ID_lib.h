// Moist-air property library: the state of moist air at the local pressure
// from any two of its quantities, after the practice of Chinese HVAC design
// (℃, kg/kg dry air, kJ/kg dry air, Pa; Goff–Gratch type saturation pressure
// over water; wet bulb by the psychrometer equation).
#pragma once

#include <functional>
#include <string>

// The library's quantities of one state. d is kg water per kg dry air here;
// windows show it in g/kg.
struct MoistAirState {
    double t = 0;    // dry-bulb temperature, ℃
    double ts = 0;   // wet-bulb temperature, ℃
    double tdew = 0; // dew-point temperature, ℃
    double d = 0;    // moisture content, kg/kg dry air
    double RH = 0;   // relative humidity, %
    double i = 0;    // specific enthalpy, kJ/kg dry air
    double pv = 0;   // partial pressure of water vapour, Pa
    double rho = 0;  // density of the moist air, kg/m³
};

// One named state as the chart's point table stores it (d in g/kg).
struct StatePoint {
    std::string No; // name, up to 4 characters
    double T = 0, RH = 0, Ts = 0, D = 0, I = 0, Ruo = 0, Tv = 0, P = 0;
};

// The psychrometer's coefficient A (1/K) that every calculating window sets
// before each calculation; no other value is used.
constexpr double kPsychroCoefficient = 0.0006725;

class ID_lib
{
public:
    // A failure leaves the operation's result unusable (a field at 0, an
    // unconverged value); a warning leaves a sound state.
    enum class MessageKind { Failure, Warning };
    // Receives the library's fixed messages (UTF-8), e.g. "计算失败！", with
    // their kind. The program's sink shows an error box; a test's sink records
    // the texts.
    using MessageSink = std::function<void(const std::string&, MessageKind)>;
    // The failure of an iteration that found no result.
    static constexpr const char* CalculationFailedText = "计算失败！";
    // The refusal of a relative humidity below 0 or above 100 %.
    static constexpr const char* HumidityOutOfRangeText = "相对湿度不能小于0或大于100％！";
    // The failure of StateFromD_T for a moisture content that gives a
    // relative humidity below 0 or above 100 %.
    static constexpr const char* CheckMoistureText = "输入数据不合理，请检查含湿量！";

    explicit ID_lib(MessageSink sink = {});
    void setMessageSink(MessageSink sink);
    const MessageSink& messageSink() const { return sink_; }
    // Failure messages given so far: a caller compares the count before and
    // after an operation to learn whether its result can be used.
    int FailureCount() const { return failures_; }

    // Program-wide parameters; callers set both before every calculation.
    double AtmPressure = 0;        // B, Pa
    double PsychroCoefficient = 0; // A, 1/K (always kPsychroCoefficient)
    // Result of the last state operation, and where callers leave the two
    // given quantities beforehand.
    MoistAirState CurrentState;

    // Value operations.
    double SaturationPressure(double t) const;     // Pa
    double SaturationTemperature(double pv) const; // ℃; 0 after a failure
    double WetBulbFromT_Pv(double pv, double t) const;
    double DryBulbFromRH_Ts(double ts, double RH) const;
    double DryBulbFromI_RH(double RH, double i); // also writes CurrentState.d
    double DewPointFromD(double d) const;        // d in kg/kg
    // The enthalpy every state operation gives the state (t, d), bit for
    // bit, d in kg/kg, for any d (no saturation check).
    double EnthalpyFromT_D(double t, double d) const;

    // State operations: True when the state was completed.
    bool StateFromT_Ts(double t, double ts);
    bool StateFromRH_T(double t, double RH);
    bool StateFromD_T(double t, double d);
    bool StateFromI_T(double t, double i);
    bool StateFromRH_Ts(double ts, double RH);
    bool StateFromD_Ts(double ts, double d);
    bool StateFromD_RH(double RH, double d);
    bool StateFromI_RH(double RH, double i);
    bool StateFromI_D(double d, double i);

    // The vapour pressure StateFromRH_T(t, RH) leaves in CurrentState.pv, bit
    // for bit, with the failure messages that operation gives, for a caller
    // that reads nothing else of the state. Writes nothing in CurrentState.
    double VapourPressureFromRH_T(double t, double RH) const;

private:
    friend void UseReferenceSaturationPressure(ID_lib& lib, bool reference);
    void fail(const char* text) const;
    void warn(const char* text) const;
    MessageSink sink_;
    mutable int failures_ = 0;
    bool referenceSaturationPressure_ = false; // see psychro/SaturationPressure.h
};
