#include "comfort/Pmv.h"

#include "app/Numbers.h"
#include "psychro/ID_lib.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>

namespace
{

const std::array<PmvActivity, 7> kActivities{{
    {QStringLiteral("躺着"), 46},
    {QStringLiteral("坐着休息"), 58},
    {QStringLiteral("站着休息"), 70},
    {QStringLiteral("坐着活动"), 70},
    {QStringLiteral("站着活动(轻)"), 93},
    {QStringLiteral("站着活动(中)"), 116},
    {QStringLiteral("中等活动(重)"), 165},
}};

// The room air is taken at standard pressure whatever the local pressure is.
constexpr double kStandardPressure = 101325; // Pa
constexpr double kKelvinOffset = 273;        // ISO 7730 rounds 273.15 to 273
// Radiation between clothing and surroundings: emissivity 0.97 × Stefan–
// Boltzmann 5.67e-8 × effective radiating fraction 0.72 of the body surface.
constexpr double kRadiation = 3.96e-8;            // W/(m²·K⁴)
constexpr double kSkinTemperatureAtRest = 35.7;   // ℃, falls 0.028 K per W/m² of M − W
constexpr double kSkinTemperaturePerLoad = 0.028; // K·m²/W
constexpr double kForcedConvection = 12.1;        // W/(m²·K) per √(m/s)
constexpr double kNaturalConvection = 2.38;       // W/(m²·K) per K^0.25
// Below this internal heat production (M − W, W/m²) a person in comfort does
// not sweat, so the sweating loss is zero rather than negative.
constexpr double kSweatingThreshold = 58.15; // W/m², 1 met
constexpr double kTclTolerance = 0.0001;     // K
constexpr int kTclPassLimit = 500;           // further passes after the first

double Fourth(double x)
{
    const double s = x * x;
    return s * s;
}

QString ReportTitle()
{
    return QStringLiteral(" ** 热舒适指标PMV值计算结果 **");
}

QStringList ReportBody(const PmvReportValues& v)
{
    return {
        QStringLiteral(" 室内干球温度(℃)：") + v.ta,
        QStringLiteral(" 室内相对湿度(%)：") + v.RH,
        QStringLiteral(" 室内空气流速(m/s)：") + v.va,
        QStringLiteral(" 室内壁面平均辐射温度(℃)：") + v.tr,
        QStringLiteral(" 人体能量代谢率(W/m2)：") + FormatNumber(v.M, QStringLiteral("0.00")),
        QStringLiteral(" 人体所作机械功(W)：") + v.W,
        QStringLiteral(" 衣服热阻(m2.K/W)：") + v.Icl,
        QStringLiteral(" 预测平均投票值：") + v.PMV,
        QStringLiteral(" 预测不满意百分数(％)：") + v.PPD,
        QString(16, QChar(0x2501)), // ━
    };
}

} // namespace

std::span<const PmvActivity> PmvActivities()
{
    return kActivities;
}

double MetabolicRateOf(const QString& activityText)
{
    const auto it = std::find_if(kActivities.begin(), kActivities.end(),
                                 [&](const PmvActivity& a) { return a.text == activityText; });
    return it == kActivities.end() ? 0 : it->M;
}

std::optional<QString> PmvInputError(const PmvInput& in)
{
    // The room air's vapour pressure needs a humidity the moist-air library
    // accepts; va starts the clothing temperature at ta + 1/va and enters as
    // √va; M scales every loss; a negative insulation has no physical meaning.
    if (!(in.RH >= 0 && in.RH <= 100))
        return QString::fromUtf8(ID_lib::HumidityOutOfRangeText);
    if (!(in.va > 0))
        return QStringLiteral("空气流速必须大于0！");
    if (!(in.M > 0))
        return QStringLiteral("人体能量代谢率必须大于0！");
    if (!(in.Icl >= 0))
        return QStringLiteral("衣服热阻不能小于0！");
    return std::nullopt;
}

namespace
{

// The heat balance of the clothing: for an estimate tcl, the surface
// temperature that conduction through the clothing allows when the surface
// loses heat by radiation and convection at tcl, and the convection
// coefficient used.
struct ClothingBalance {
    double ta, tr4, MW, Icl, fcl, hcf;
    // Up to this |tcl − ta| (K) natural convection stays below hcf, so hc is
    // hcf without the fourth root: 2.38·|tcl − ta|^0.25 ≤ hcf·(1 − 2.4e-10)
    // there, the margin 1e-9 of the bound covering its own roundings and the
    // root's. Negative: the root is always taken, as it is for an infinite
    // |tcl − ta|.
    double forcedUpTo = -1;

    double hcAt(double tcl) const
    {
        // |tcl − ta|: a clothing surface cooler than hot surroundings gains
        // heat by natural convection like any other.
        const double difference = std::abs(tcl - ta);
        if (difference <= forcedUpTo) // never NaN
            return hcf;
        return std::max(kNaturalConvection * std::pow(difference, 0.25), hcf);
    }
    double next(double tcl) const
    {
        return kSkinTemperatureAtRest - kSkinTemperaturePerLoad * MW -
               Icl * (kRadiation * fcl * (Fourth(tcl + kKelvinOffset) - tr4) +
                      fcl * hcAt(tcl) * (tcl - ta));
    }
};

struct SettledTcl {
    double tcl;
    int passes;
};

// Whether the short cuts are taken (relaxTcl giving up as soon as it cannot
// settle any more, hcAt skipping the root); either way the same results.
std::atomic<bool> shortCuts{true};

// Relaxation with a damping of one half from ta + 1/va, stopping when the
// balance moves the estimate by at most kTclTolerance; it usually settles in
// 3 to 8 passes.
//
// A pass is a function of the estimate alone, so it stops early, without a
// result, only where no later pass of the 501 can settle:
// - an estimate that is not finite: NaN stays NaN through the balance and the
//   average, ±∞ turns into NaN in one pass (∞ − ∞, 0·∞), and the settling
//   test fails for both;
// - an estimate met before (found by Brent's power-of-two checkpoints): from
//   there the passes repeat the same estimates, none of which settled.
// A growing oscillation is not enough. Where Icl·fcl·hcf > 3 the balance
// falls by more than 3 K per K everywhere above −273 ℃, so every pass there
// lands on the other side of the root and farther from it; but below −273 ℃
// the fourth power rises again and the balance can throw an estimate back up
// towards the root. Heavy clothing in moving air (2 clo, 0.5 m/s) overflows
// after 15 passes; balances at the edge of settling may take a few hundred
// before they overflow or repeat, or never do either within the 501.
std::optional<SettledTcl> relaxTcl(const ClothingBalance& b, double start)
{
    const bool stopEarly = shortCuts.load(std::memory_order_relaxed);
    double tcl = start;
    double checkpoint = start;
    int sinceCheckpoint = 0, checkpointSpan = 1;
    for (int pass = 0; pass <= kTclPassLimit; ++pass) {
        const double next = b.next(tcl);
        if (std::abs(tcl - next) <= kTclTolerance)
            return SettledTcl{tcl, pass + 1};
        tcl = (tcl + next) / 2; // infinities and NaN never settle
        if (stopEarly) {
            if (!std::isfinite(tcl) || tcl == checkpoint)
                return std::nullopt;
            if (++sinceCheckpoint == checkpointSpan) {
                checkpoint = tcl;
                sinceCheckpoint = 0;
                checkpointSpan *= 2;
            }
        }
    }
    return std::nullopt;
}

// Heavy clothing (from about 1.2 clo, 0.186 m²·K/W) in moving air makes the
// relaxation overshoot further on every pass. The balance has one root all
// the same: tcl − next(tcl) rises strictly with tcl, is ≤ 0 at the lowest of
// ta, tr and the skin temperature and ≥ 0 at the highest, so halving that
// bracket finds it.
std::optional<SettledTcl> bisectTcl(const ClothingBalance& b, double ta, double tr)
{
    const double skin = kSkinTemperatureAtRest - kSkinTemperaturePerLoad * b.MW;
    double lo = std::min({ta, tr, skin});
    double hi = std::max({ta, tr, skin});
    const auto residual = [&](double tcl) { return tcl - b.next(tcl); };
    // Below absolute zero the fourth power no longer rises with tcl.
    const double atLo = residual(lo), atHi = residual(hi);
    if (!std::isfinite(atLo) || !std::isfinite(atHi) || atLo > 0 || atHi < 0 ||
        lo + kKelvinOffset < 0)
        return std::nullopt;
    int passes = 0;
    while (hi - lo > kTclTolerance / 100) {
        const double mid = (lo + hi) / 2;
        if (mid == lo || mid == hi)
            break;
        (residual(mid) > 0 ? hi : lo) = mid;
        ++passes;
    }
    return SettledTcl{(lo + hi) / 2, passes};
}

} // namespace

void UsePmvShortCuts(bool use)
{
    shortCuts.store(use, std::memory_order_relaxed);
}

std::optional<PmvResult> CalculatePmv(ID_lib& lib, const PmvInput& in, PmvRoomAir room)
{
    lib.PsychroCoefficient = kPsychroCoefficient;
    lib.AtmPressure = kStandardPressure;
    const int failures = lib.FailureCount();
    double pa = 0; // Pa
    if (room == PmvRoomAir::WholeState) {
        lib.CurrentState.t = in.ta;
        lib.CurrentState.RH = in.RH;
        lib.StateFromRH_T(in.ta, in.RH);
        pa = lib.CurrentState.pv;
    } else {
        pa = lib.VapourPressureFromRH_T(in.ta, in.RH);
    }
    // A room state the library could not complete has no vapour pressure to
    // build a vote on; its message has gone to the library's sink.
    if (lib.FailureCount() != failures)
        return std::nullopt;

    const double MW = in.M - in.W; // internal heat production, W/m²
    const double fcl = in.Icl <= 0.078 ? 1 + 1.29 * in.Icl : 1.05 + 0.645 * in.Icl;
    ClothingBalance balance{in.ta, Fourth(in.tr + kKelvinOffset),       MW, in.Icl,
                            fcl,   kForcedConvection * std::sqrt(in.va)};
    const double forcedUpTo = Fourth(balance.hcf / kNaturalConvection) * (1 - 1e-9);
    if (shortCuts.load(std::memory_order_relaxed) && std::isfinite(forcedUpTo))
        balance.forcedUpTo = forcedUpTo;
    auto settled = relaxTcl(balance, in.ta + 1 / in.va);
    if (!settled) {
        settled = bisectTcl(balance, in.ta, in.tr);
        if (!settled)
            return std::nullopt;
        settled->passes += kTclPassLimit + 1;
    }

    PmvResult r;
    r.tcl = settled->tcl;
    r.hc = balance.hcAt(r.tcl);
    r.passes = settled->passes;
    // Thermal load: internal heat production less the losses by skin
    // diffusion, sweating, latent and dry respiration, radiation and
    // convection (W/m²).
    const double diffusion = 0.00305 * (5733 - 6.99 * MW - pa);
    const double sweating = MW < kSweatingThreshold ? 0 : 0.42 * (MW - kSweatingThreshold);
    const double latentRespiration = 1.7e-5 * in.M * (5867 - pa);
    const double dryRespiration = 0.0014 * in.M * (34 - in.ta);
    const double radiation = kRadiation * fcl * (Fourth(r.tcl + kKelvinOffset) - balance.tr4);
    const double convection = fcl * r.hc * (r.tcl - in.ta);
    const double L =
        MW - diffusion - sweating - latentRespiration - dryRespiration - radiation - convection;
    r.PMV = (0.303 * std::exp(-0.036 * in.M) + 0.028) * L;
    r.PPD = 100 - 95 * std::exp(-0.03353 * Fourth(r.PMV) - 0.2179 * r.PMV * r.PMV);
    // A climate beyond any physical range (a vapour pressure that overflows)
    // can still leave no number to show.
    if (!std::isfinite(r.PMV) || !std::isfinite(r.PPD))
        return std::nullopt;
    return r;
}

int PmvMarkerX(double pmv)
{
    // Beyond ±3 the marker leaves the strip; keep the pixel position within a
    // range that still lies outside it, so huge votes cannot overflow.
    const double x = std::clamp(99 - 33 * pmv, -1000.0, 1000.0);
    return static_cast<int>(std::lround(std::isnan(x) ? 1000.0 : x));
}

QStringList PmvSaveLines(const PmvReportValues& v)
{
    return QStringList{QStringLiteral(" "), ReportTitle(), QStringLiteral(" ")} + ReportBody(v);
}

QStringList PmvPrintLines(const PmvReportValues& v)
{
    return QStringList{QStringLiteral(" "), QStringLiteral("    热舒适指标PMV值计算结果 "),
                       QStringLiteral("    ======================= "), QStringLiteral(" ")} +
           ReportBody(v);
}
