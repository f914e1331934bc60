// Thermal comfort of a moderate indoor climate: the predicted mean vote (PMV)
// and the predicted percentage of dissatisfied (PPD) by Fanger's heat balance.
//
// Reference: ISO 7730, Ergonomics of the thermal environment — analytical
// determination of thermal comfort using PMV and PPD indices, clause 4 and
// Annex D. The vapour pressure of the room air comes from the moist-air
// library, at standard pressure.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

class ID_lib;

// One entry of the activity drop-down: its exact text and metabolic rate.
struct PmvActivity {
    QString text;
    double M; // metabolic rate, W/m² of body surface
};

// The drop-down's list, in its order.
std::span<const PmvActivity> PmvActivities();

// The metabolic rate of the activity text as typed; a text outside the list
// gives 0 (which the input check then refuses).
double MetabolicRateOf(const QString& activityText);

// The person and the room.
struct PmvInput {
    double ta = 0;  // air temperature, ℃
    double RH = 0;  // relative humidity, %
    double va = 0;  // relative air velocity, m/s
    double tr = 0;  // mean radiant temperature, ℃
    double M = 0;   // metabolic rate, W/m²
    double W = 0;   // external work, taken per m² of body surface like M
    double Icl = 0; // clothing insulation, m²·K/W
};

// The message naming the first field whose value makes the heat balance
// meaningless (RH outside 0–100, va ≤ 0, M ≤ 0, Icl < 0, in the window's
// field order), or
// nullopt when the input can be computed.
std::optional<QString> PmvInputError(const PmvInput& in);

inline const QString PmvFailedText = QStringLiteral("计算失败！");

struct PmvResult {
    double PMV = 0;
    double PPD = 0; // %
    double tcl = 0; // clothing surface temperature, ℃
    double hc = 0;  // convective heat transfer coefficient, W/(m²·K)
    int passes = 0; // passes to settle tcl (beyond 501: the bisection took over)
};

// What the calculation leaves of the room air in the library.
enum class PmvRoomAir {
    WholeState,        // its whole state, in lib.CurrentState
    VapourPressureOnly // nothing: only the vapour pressure is worked out
};

// PMV and PPD of the input, or nullopt when the moist-air library failed on
// the room state (lib.FailureCount() has grown; its message went to lib's
// sink) or the heat balance has no finite solution (values far beyond any
// climate; the caller shows PmvFailedText). Both kinds of room give the same
// results and the same messages, bit for bit.
// The input must have passed PmvInputError. Sets lib's parameters to standard
// pressure; with WholeState leaves the room air's state in lib.CurrentState
// (for a window whose neighbours read it), otherwise does not write it.
std::optional<PmvResult> CalculatePmv(ID_lib& lib, const PmvInput& in,
                                      PmvRoomAir room = PmvRoomAir::WholeState);

// Whether the clothing temperature's search takes its short cuts (the
// default): the relaxation stops as soon as it can no longer settle, and the
// convection coefficient skips the fourth root where forced convection
// surely prevails. Off, it works as it did without them, all 501 passes
// included. For the tests and the benchmark: the results are the same bits.
// Affects every thread.
void UsePmvShortCuts(bool use);

// The sensation scale's marker position: pixels from the left edge of the
// 198-pixel strip, +3 (hot) at the left, 0 at 99, −3 (cold) at 198.
int PmvMarkerX(double pmv);

// The values of one report as the window holds them: field texts as typed,
// except M, which is the metabolic rate of the last calculation.
struct PmvReportValues {
    QString ta, RH, va, tr;
    double M = 0;
    QString W, Icl;
    QString PMV, PPD; // the result fields' texts
};

// The report block appended to the report file.
QStringList PmvSaveLines(const PmvReportValues& v);
// The same block under the printed heading.
QStringList PmvPrintLines(const PmvReportValues& v);
