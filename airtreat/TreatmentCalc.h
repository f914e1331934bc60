// Air treatment processes of a central air-conditioning system on the i–d
// chart: primary and secondary return air, summer and winter. From the outdoor
// and indoor design states, the room's residual heat and moisture and the
// supply conditions, the characteristic state points (W outdoor, N room,
// C primary mixing point, L machine dew point, O supply or secondary mixing
// point, Wh preheated outdoor air, Os supply of the secondary winter process),
// the air quantities and the cooling and heating duties.
//
// Reference: the primary/secondary return-air processes of Chinese
// air-conditioning design practice (GB 50736); every moist-air state comes
// from ID_lib at the local pressure.
//
// Using it from the calculator window (Form_Air_treat) and its air-flow
// dialog (Form_G):
//   TreatmentInputs in;
//   in.process = <the checked RadioButton1..4>;
//   in.freshAirEntry = RadioButton6 checked ? FreshAirEntry::Quantity : FreshAirEntry::Ratio;
//   ReadTreatmentFields({pressure text, Edit1..Edit9 texts}, in); // empty-field messages,
//                                                                 // ConversionError
//   if (in.process == TreatmentProcess::SecondaryWinter) {
//       <show Form_G modally>;
//       ReadAirFlows({Edit1, Edit2, Edit3 of Form_G}, in);
//   }
//   const TreatmentOutcome out = CalculateTreatment(lib, in);
//   if (!out.calculation) {
//       if (!out.refusal.isEmpty()) <error box out.refusal>;
//       return; // nothing written; a library failure has shown its own box
//   }
//   <the program's TreatmentResult> = out.calculation->points; // Calculated is set
//   const auto rows = ShownResults(*out.calculation); // Edit10..Edit22, "0.00"
//   <each result field enabled as ResultShownFor(in.process, row)>
// The fields a process reads (for enabling Edit2, Edit3, Edit8, Edit9) are
// FieldsOf(process). The report block is in airtreat/TreatmentReport.h.
#pragma once

#include "app/Numbers.h"

#include <QString>

#include <array>
#include <optional>

class ID_lib;

enum class TreatmentProcess {
    PrimarySummer = 1,   // 一次回风系统的夏季处理过程
    PrimaryWinter = 2,   // 一次回风系统的冬季处理过程
    SecondarySummer = 3, // 二次回风系统的夏季处理过程
    SecondaryWinter = 4, // 二次回风系统的冬季处理过程
};

// How the fresh-air entry is read: "新风量(kg/h)" or "新风比(％):".
enum class FreshAirEntry { Quantity, Ratio };

// The inputs of one calculation, in the window's units.
struct TreatmentInputs {
    TreatmentProcess process = TreatmentProcess::PrimarySummer;
    double pressure = 101325; // local atmospheric pressure, Pa
    double tW = 0;            // outdoor dry bulb, ℃
    double tsW = 0;           // outdoor wet bulb, ℃ (processes 1 and 3)
    double phiW = 0;          // outdoor relative humidity, % (processes 2 and 4)
    double tN = 0;            // room dry bulb, ℃
    double phiN = 0;          // room relative humidity, %
    double Q = 0;             // residual heat, kW, with its sign (a heat loss is negative)
    double W = 0;             // residual moisture, kg/h as entered
    double tO = 0;            // supply temperature, ℃ (processes 1–3)
    FreshAirEntry freshAirEntry = FreshAirEntry::Ratio;
    double freshAir = 25; // kg/h or %, as freshAirEntry says (processes 1–3)
    // Process 4, from the air-flow dialog, kg/h: total supply, fresh and
    // primary return air.
    double G = 0, GW = 0, G1 = 0;
};

// Which of the process-dependent inputs a process reads.
struct ProcessFields {
    bool wetBulb;   // tsW (Edit2)
    bool outdoorRH; // φW (Edit3)
    bool supply;    // tO and the fresh-air entry (Edit8, Edit9 and its two buttons)
    bool airFlows;  // G, GW, G1 from the air-flow dialog
};
ProcessFields FieldsOf(TreatmentProcess process);

// The process's caption, e.g. "一次回风系统的夏季处理过程".
QString ProcessCaption(TreatmentProcess process);

// The fields as the window holds them.
struct TreatmentFieldTexts {
    QString pressure; // the local pressure dialog's field
    QString tW, tsW, phiW, tN, phiN, Q, W, tO, freshAir;
};
struct AirFlowTexts {
    QString G, GW, G1;
};

// The window's reading of its fields, in its order: the pressure, then per
// group a test that neither field of the process is empty and the reading of
// both. Only the process's fields are tested and read. Throws UserError with
// the group's message ("请输入室外空气参数！", "请输入室内空气参数！",
// "请输入室内热湿负荷！", "请输入送风温度或新风量！", or "大气压力必须大于0！")
// or ConversionError naming the field of a text that is not a number (by the
// window's caption or the command line's argument). Sets in's values;
// in.process and in.freshAirEntry must be set beforehand.
void ReadTreatmentFields(const TreatmentFieldTexts& texts, TreatmentInputs& in,
                         InputNaming naming = InputNaming::Caption);
// The air-flow dialog's three fields: "请输入二次回风冬季处理过程的风量！" when
// any is empty; a text that is no number is named as in the dialog.
void ReadAirFlows(const AirFlowTexts& texts, TreatmentInputs& in,
                  InputNaming naming = InputNaming::Caption);

// The state points of the last calculation, which the treatment chart view
// draws; the program keeps one. Enthalpies kJ/kg dry air, moisture contents
// kg/kg dry air.
struct TreatmentResult {
    double iW = 0, dW = 0;   // outdoor state W
    double iWh = 0;          // preheated outdoor air Wh (moisture dW); Kind 2 and 3
    double iN = 0, dN = 0;   // room state N
    double iC = 0, dC = 0;   // primary mixing point C
    double iL = 0, dL = 0;   // machine dew point L
    double iO = 0, dO = 0;   // chart point O: supply state (processes 1–3) or the
                             // secondary mixing point before reheating (process 4)
    double iOs = 0, dOs = 0; // supply state Os of process 4
    // 1: processes 1 and 3, process 2 without preheating; 2: process 2 with
    // preheating (Wh drawn); 3: process 4 with preheating (Wh and Os);
    // 4: process 4 without preheating (Os).
    int Kind = 0;
    // Set only by a completed calculation; the window clears it when shown.
    bool Calculated = false;
};

// The working quantities the window shows; 0 where a process does not compute one.
struct TreatmentFigures {
    double tO = 0;   // supply temperature, ℃
    double phiO = 0; // supply relative humidity, %
    double G = 0;    // total supply air, kg/s
    double m = 0;    // fresh-air ratio, fraction
    double GW = 0;   // fresh air, kg/s
    double G1 = 0;   // primary return air, kg/s
    double G2 = 0;   // secondary return air, kg/s
    double tL = 0;   // machine dew point temperature, ℃
    double Q0 = 0;   // cooling capacity, kW
    double Qp = 0;   // preheating, kW
    double Qr = 0;   // reheating, kW
};

// One complete calculation.
struct TreatmentCalculation {
    TreatmentResult points; // Calculated is true
    TreatmentFigures figures;
    // Secondary return air: the air through the coil (kg/s), and in process 3
    // the heat-moisture ratio of the room process line (kJ/kg per kg/kg) and
    // the corrections the machine dew point's relaxation made.
    double GL = 0;
    double epsilon = 0;
    int dewPointCorrections = 0;
};

// Either a complete calculation or why there is none. With neither, the
// moist-air library failed and its message has gone to the library's sink.
struct TreatmentOutcome {
    std::optional<TreatmentCalculation> calculation;
    QString refusal; // the error box's text when the calculation was refused
};

// The calculation of in.process. Sets lib's AtmPressure and
// PsychroCoefficient and leaves its last state in lib.CurrentState; nothing
// else is written. Inputs that give no physical design (a humidity outside
// 0–100, a supply temperature on the wrong side of the room, negative or
// impossible air quantities, zero divisors) are refused with a message
// naming the cause; so is a design whose process runs the wrong way (a
// negative cooling or reheating duty: a supply below the machine dew point
// wants cooling, not reheating) or whose drawn state points leave the range
// the library describes (beyond saturation, a dry bulb or dew point outside
// -50–100 ℃). A failure message of the library stops the calculation, a
// warning does not.
TreatmentOutcome CalculateTreatment(ID_lib& lib, const TreatmentInputs& in);

// The whole state of a point of the process from its d (kg/kg) and i
// (kJ/kg), left in lib.CurrentState as the chart view lists it:
// StateFromI_D, except that a point on the saturation line (outdoor air with
// tsW = tW), which the rounding of its enthalpy can put a hair beyond the
// line, is completed on it. False for a point beyond saturation or with
// negative moisture, which the library leaves at t = RH = ts = 0.
bool StateOfProcessPoint(ID_lib& lib, double d, double i);

// The thirteen results in the window's order (Edit10..Edit22) and units.
struct ShownResult {
    const char* label; // the window's label, e.g. "总送风量(kg/h):"
    const char* key;   // the name of the value for scripts, e.g. "G"
    double value;      // kg/h, %, kW as the window shows it
};
constexpr int kShownResultCount = 13;
std::array<ShownResult, kShownResultCount> ShownResults(const TreatmentCalculation& calculation);

// Whether the process computes the result of that row (0 = Edit10): the
// window greys the others (they show 0.00) and the report leaves them out.
bool ResultShownFor(TreatmentProcess process, int row);
