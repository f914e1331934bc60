// The state-point calculation behind the state-point calculator and
// `ventacalc-cli state`: which library operation a pair of known quantities
// calls, the range checks before it, and the report block of the result.
#pragma once

#include "app/Numbers.h"
#include "psychro/ID_lib.h"

#include <QString>
#include <QStringList>
#include <optional>

enum class Quantity { DryBulb, WetBulb, RH, D, I };

// Given values as the user enters them: ℃, %, g/kg dry air, kJ/kg dry air.
struct GivenValue {
    Quantity quantity;
    double value;
};

// The local pressure: the one field of the local-pressure dialog, a window of
// its own beside every calculator.
inline constexpr NamedInput PressureInput{"当地大气压设置中的当地大气压(Pa)", "--pressure"};

// Sets the library's parameters for a calculation: AtmPressure from the local
// pressure text (Pa) and PsychroCoefficient 0.0006725. Throws ConversionError
// naming PressureInput for a text that is not a number and
// UserError("大气压力必须大于0！") for a pressure of zero or below; nothing is
// set then.
void ApplyPressureText(ID_lib& lib, const QString& pressureText,
                       InputNaming naming = InputNaming::Caption);

// Which quantities of the second group a choice in the first group leaves
// enabled (and the other way round): not the same one, and wet bulb and
// enthalpy exclude each other because that pair is not offered.
bool PairOffered(Quantity first, Quantity second);

struct StateCalcResult {
    // The message of a failed range check, or of a pair that is not offered
    // ("请输入计算参数！"); the library was not called then.
    std::optional<QString> refusal;
    // The library operation's own verdict (false after its input check
    // failed; its message went to its sink).
    bool completed = false;
};

// Stores both given values in CurrentState (d in kg/kg), applies the range
// checks of the pair and calls its library operation. AtmPressure and
// PsychroCoefficient must be set by the caller.
StateCalcResult CalculateState(ID_lib& lib, GivenValue first, GivenValue second);

// The eight result quantities in the order the calculator shows them:
// t, ts, RH, d (g/kg), i, tdew, rho, pv.
struct ResultRow {
    const char* label; // the calculator's label
    double value;
};
QList<ResultRow> StateResults(const MoistAirState& state);

// The report block: eight value lines (value:10:2) and a closing rule.
QStringList StateReportLines(const MoistAirState& state);
// The heading printed before the block.
QStringList StatePrintHeading();
