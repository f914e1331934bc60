// Saturation pressure on [−50, 100] ℃ from Taylor polynomials of the formula
// (psychro/GoffGratch.h) about the points of a 1/16 K grid: a table read and
// twelve long double operations where the formula takes three powers of ten
// and a logarithm.
#include "psychro/GoffGratch.h"
#include "psychro/SaturationPressure.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace
{

using ext = long double;
using namespace GoffGratch;

constexpr ext kLn10 = 2.302585092994045684017991454684364208L;

// Nodes t0 = −50 + k/16 ℃, k = 0…2400. A t is taken about its nearest node,
// so |t − t0| ≤ 1/32 K.
constexpr double kFirstNode = -50;
constexpr double kLastNode = 100;
constexpr int kNodesPerKelvin = 16;
constexpr int kNodes = static_cast<int>(kLastNode - kFirstNode) * kNodesPerKelvin + 1;

// Error of the polynomial against the formula's exact value (the formula
// worked out in exact arithmetic from the long double constants and t), in
// long double ulps of the result:
// - Truncation: ps changes by at most 11.4 %/K (at −50 ℃), so the terms left
//   out after s^6 sum to < 2^-73 of ps for |s| ≤ 1/32 K: nothing.
// - The constant term, ps(t0): at most 9.4 ulps (see PressureAtNode), 2.6
//   the largest seen over all 2401 nodes against a 113-bit evaluation.
// - The other coefficients are worked out in plain long double, a few ulps
//   each; together they make < 0.4 % of ps (|s·c1| ≤ 0.0036·ps), so their
//   errors stay below 0.02 ulps. c2 … c6 are kept as doubles: the terms
//   they multiply are below 7·10^-6 of ps, 2^-53 of that < 0.02 ulps.
// - Estrin's scheme (see SaturationPressureSeries): c0 + c1·s and the last
//   addition round once each (≤ 1 ulp together); the products and the
//   terms from s^2 on are < 0.4 % of ps, their errors < 0.01 ulps.
// In all at most 12 ulps; 3.0 the largest seen over two million
// temperatures against a 113-bit evaluation (with Horner's scheme).
constexpr int kDegree = 6;

// One node's polynomial and guard, filled on first use. Two cache lines.
// The coefficients of (t − t0)^k, Pa/K^k: c0 and c1 in long double, the
// others as doubles (a double loads at a fraction of a long double's cost;
// the terms from s^2 on are below 7·10^-6 of ps, so rounding their
// coefficients to double moves ps by less than 0.02 ulps).
struct alignas(64) Node {
    ext c0 = 0, c1 = 0;
    double higher[kDegree - 1] = {}; // c2 … c6
    std::atomic<int> state{0};       // kEmpty, kFilling, kReady
    int guardUlps = 0;               // see SaturationPressureSeries(t, guardUlps)
};
constexpr int kEmpty = 0, kFilling = 1, kReady = 2;

// Zero until used: static storage that the system hands over page by page,
// as points are reached (a batch of indoor states touches a few hundred).
Node nodes[kNodes];
// The node's powers of ten, filled with its polynomial; read only by the
// exactly rounded form that takes over near a rounding boundary.
SaturationNodePowers nodePowers[kNodes];

// A long double sum or product with its rounding error: the value hi + lo.
struct Pair {
    ext hi, lo;
};

Pair TwoSum(ext a, ext b)
{
    const ext sum = a + b;
    const ext b1 = sum - a;
    return {sum, (a - (sum - b1)) + (b - b1)};
}

// fma rounds a·b − p once, and that difference is a long double: exact.
Pair TwoProduct(ext a, ext b)
{
    const ext product = a * b;
    return {product, std::fma(a, b, -product)};
}

Pair Plus(Pair a, Pair b)
{
    const Pair sum = TwoSum(a.hi, b.hi);
    return {sum.hi, sum.lo + a.lo + b.lo};
}

// What the higher coefficients need at a node, besides ps itself.
struct NodeValues {
    ext x;         // T / 273.16 K
    ext firstPow;  // 10^(b3·(x − 1))
    ext secondPow; // 10^(b4·(1 − 1/x))
    ext ps;        // Pa
};

// The formula at t0 with x, 1/x, the a1 and a2 products and the sum E
// carried as pairs (to about 2^-120), so that the errors of a plain
// evaluation (x and 1/x rounded, up to 82 ulps of ps between them at −50 ℃,
// and the four roundings of the sum) are gone. Left: log10l (≤ 2 ulps of
// log10 x, ≤ 2.7·2^-64 in E at 100 ℃), the two small power terms (< 0.2·2^-64
// in E), and powl (≤ 1 ulp) with the last products (≤ 1 ulp): 10^E turns an
// error δ in E into ln 10·δ of ps, so at most 2.3·2.9 + 2 + 1 ≤ 9.4 ulps.
NodeValues PressureAtNode(double t0, SaturationNodePowers* powers)
{
    const Pair kelvin = TwoSum(t0, kZeroCelsius);
    const ext x1 = kelvin.hi / kTriplePoint;
    const Pair back = TwoProduct(x1, kTriplePoint);
    // kelvin.hi − back.hi is exact: the two lie within a few ulps.
    const ext x2 = ((kelvin.hi - back.hi) - back.lo + kelvin.lo) / kTriplePoint;

    const ext r1 = 1 / x1;
    const Pair unit = TwoProduct(x1, r1);
    const ext r2 = r1 * ((1 - unit.hi) - unit.lo - x2 * r1);
    // 1 − r1 is exact, r1 lying in [0.73, 1.23].
    const ext w = 1 - r1;

    Pair a1Term = TwoProduct(kA1, w);
    a1Term.lo -= kA1 * r2;
    Pair a2Term = TwoProduct(kA2, std::log10(x1));
    a2Term.lo += kA2 * (x2 / (x1 * kLn10));
    // Below 0.01: long double is ample.
    const ext firstPow = std::pow(10.0L, kB3 * (x1 - 1));
    const ext secondPow = std::pow(10.0L, kB4 * w);
    const ext corrections = kA3 * (1 - firstPow) + kA4 * (secondPow - 1);

    Pair E = Plus(a1Term, {-a2Term.hi, -a2Term.lo});
    E = Plus(E, {corrections, 0});
    E = Plus(E, {kE0, 0});
    E = TwoSum(E.hi, E.lo);
    // 10^(hi + lo) = 10^hi · (1 + ln 10·lo), lo being below 2^-60.
    const ext exponentPow = std::pow(10.0L, E.hi);
    const Pair ps = TwoProduct(kStandardAtm, exponentPow);
    if (powers)
        *powers = {kB3 * (x1 - 1), firstPow, kB4 * w, secondPow, E.hi, exponentPow};
    return {x1, firstPow, secondPow, ps.hi + (ps.lo + ps.hi * (kLn10 * E.lo))};
}

// A bound, in units of 2^-64, on how far the reference form's E (plain long
// double operations, psychro/ID_lib.cpp) lies from the exact E at x, term by
// term as for −50 ℃ in kSaturationSeriesGuardUlps: x's two roundings times
// x·|dE/dx|; 1/x's rounding times |dE/d(1/x)|/x; each product and sum
// rounded by at most 2^-64 of its size; log10l's 2 ulps, at most 2^-62 of
// log10 x, times a2; the small power terms (their powl ulps, their
// arguments' and 1 − power's roundings, all times a3 or a4) under 0.5.
ext ReferenceExponentErrorUnits(ext x)
{
    const ext first = std::pow(10.0L, kB3 * (x - 1));
    const ext second = std::pow(10.0L, kB4 * (1 - 1 / x));
    const ext slope = kA1 / (x * x) - kA2 / (x * kLn10) - kA3 * kLn10 * kB3 * first +
                      kA4 * kLn10 * kB4 * second / (x * x);
    const ext inverseShare = (kA1 + kA4 * kLn10 * kB4 * second) / x;
    const ext a1Term = kA1 * (1 - 1 / x), a2Term = kA2 * std::log10(x);
    const ext s1 = a1Term - a2Term, s2 = s1 + kA3 * (1 - first), s3 = s2 + kA4 * (second - 1),
              s4 = s3 + kE0;
    const ext roundings = std::fabs(a1Term) + std::fabs(a2Term) + std::fabs(s1) + std::fabs(s2) +
                          std::fabs(s3) + std::fabs(s4);
    return 2 * x * std::fabs(slope) + inverseShare + roundings + 4 * std::fabs(a2Term) + 0.5L;
}

// The guard for the temperatures nearest t0: the reference form's distance
// from the exact value (ln 10 times its E's, plus powl's ulp, ≤ 2 ulps of ps,
// and the last product's rounding), taken at both ends of t0's interval with
// 1 % to spare for the terms' change in between (x changes by 1.2·10^-4
// there), plus the series' own 12 ulps, plus 2. Never above the guard that
// holds for all temperatures. 135 at −50 ℃, it falls to 89…91 between 0 and
// 40 ℃: 40 % fewer results leave the series there than with 144.
int GuardUlpsAt(double t0)
{
    ext largest = 0;
    for (double end : {t0 - 1.0 / 32, t0 + 1.0 / 32}) {
        const ext x = (end + kZeroCelsius) / kTriplePoint;
        largest = std::max(largest, kLn10 * ReferenceExponentErrorUnits(x) + 3);
    }
    const int guard = static_cast<int>(std::ceil(largest * 1.01L)) + 12 + 2;
    return std::min(guard, kSaturationSeriesGuardUlps);
}

// The Taylor coefficients of ps(t0 + s) in s, by arithmetic on truncated
// series: with x(s) = x0 + s/273.16,
//   1/x = Σ (1/x0)·q^k s^k, q = −1/(273.16·x0);
//   ln x − ln x0 = −Σ q^k s^k / k;
//   10^(b3·(x − 1)) = firstPow · exp(ln 10·b3·s/273.16);
//   g = 10^(b4·(1 − 1/x)) and ps = ps(t0)·10^(E(s) − E(t0)) are exp(u) of a
//   series u with u(0) = 0, from g' = u'·g: k·g_k = Σ_{j=1..k} j·u_j·g_{k−j}.
void FillCoefficients(ext* coefficients, SaturationNodePowers& powers, double t0)
{
    const NodeValues at = PressureAtNode(t0, &powers);
    const ext q = -1 / (kTriplePoint * at.x);
    ext inverse[kDegree + 1], logarithm[kDegree + 1], first[kDegree + 1], second[kDegree + 1],
        exponent[kDegree + 1];
    inverse[0] = 1 / at.x;
    first[0] = at.firstPow;
    second[0] = at.secondPow;
    ext power = 1;
    for (int k = 1; k <= kDegree; ++k) {
        inverse[k] = inverse[k - 1] * q;
        power *= q;
        logarithm[k] = -power / k / kLn10;
        first[k] = first[k - 1] * (kLn10 * kB3 / kTriplePoint) / k;
        ext sum = 0;
        for (int j = 1; j <= k; ++j)
            sum += j * (-kLn10 * kB4 * inverse[j]) * second[k - j];
        second[k] = sum / k;
        exponent[k] = -kA1 * inverse[k] - kA2 * logarithm[k] - kA3 * first[k] + kA4 * second[k];
    }
    coefficients[0] = at.ps;
    for (int k = 1; k <= kDegree; ++k) {
        ext sum = 0;
        for (int j = 1; j <= k; ++j)
            sum += j * (kLn10 * exponent[j]) * coefficients[k - j];
        coefficients[k] = sum / k;
    }
}

// True when node k is ready to be read, filling it first if nobody has; false
// while another thread fills it (the caller works the value out otherwise).
// Kept out of line: it runs once per node, its callers for every value.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
bool Ready(Node& node, int k)
{
    int state = kEmpty;
    if (!node.state.compare_exchange_strong(state, kFilling, std::memory_order_acquire))
        return state == kReady;
    const double t0 = kFirstNode + static_cast<double>(k) / kNodesPerKelvin;
    ext coefficients[kDegree + 1];
    FillCoefficients(coefficients, nodePowers[k], t0);
    node.c0 = coefficients[0];
    node.c1 = coefficients[1];
    for (int i = 2; i <= kDegree; ++i)
        node.higher[i - 2] = static_cast<double>(coefficients[i]);
    node.guardUlps = GuardUlpsAt(t0);
    node.state.store(kReady, std::memory_order_release);
    return true;
}

} // namespace

namespace
{

// t's node, ready to be read; null outside [−50, 100] ℃ and while another
// thread fills it.
inline int ReadyNodeOf(double t)
{
    // The error bounds count in ulps of the x87 format.
    if constexpr (std::numeric_limits<ext>::digits != 64)
        return -1;
    if (!(t >= kFirstNode && t <= kLastNode)) // NaN too
        return -1;
    // (t + 50)·16 lies in [0, 2400] (rounding is monotonic and both ends are
    // exact); a t rounded to the farther node is only 1e-14 K farther from it.
    const int k = static_cast<int>((t - kFirstNode) * kNodesPerKelvin + 0.5);
    Node& node = nodes[k];
    if (node.state.load(std::memory_order_acquire) != kReady && !Ready(node, k))
        return -1;
    return k;
}

// The series at t and its point's guard.
inline ext EvaluateSeries(double t, int& guardUlps)
{
    const int k = ReadyNodeOf(t);
    if (k < 0)
        return std::numeric_limits<ext>::quiet_NaN();
    // Exact in double: t and t0 lie within 1/32 K of each other (and 1e-14),
    // t0 a multiple of 1/16, so t − t0 is a multiple of t's ulp, fewer than
    // 2^53 of them (and t itself when t0 = 0). Worked out before it enters
    // the x87 registers, so that only one value crosses over.
    const double t0 = kFirstNode + static_cast<double>(k) / kNodesPerKelvin;
    const ext s = t - t0;
    const Node& node = nodes[k];
    const double* c = node.higher;
    guardUlps = node.guardUlps;
    // Estrin's scheme: three short chains instead of one of twelve
    // operations. c0 + c1·s rounds once (½ ulp), and so does the last
    // addition; the rest is below 0.4 % of ps.
    const ext s2 = s * s;
    const ext low = node.c0 + node.c1 * s;
    const ext middle = c[0] + c[1] * s;
    const ext high = (c[2] + c[3] * s) + c[4] * s2;
    return low + s2 * (middle + s2 * high);
}

} // namespace

long double SaturationPressureSeries(double t, int* guardUlps)
{
    int guard = kSaturationSeriesGuardUlps;
    const ext ps = EvaluateSeries(t, guard);
    if (guardUlps)
        *guardUlps = guard;
    return ps;
}

long double SaturationPressureSeries(double t)
{
    return SaturationPressureSeries(t, nullptr);
}

double SaturationPressureSeriesRounded(double t)
{
    int guard = kSaturationSeriesGuardUlps;
    const ext ps = EvaluateSeries(t, guard); // NaN when it has none
    return RoundsLikeItsNeighbours(ps, guard) ? static_cast<double>(ps)
                                              : std::numeric_limits<double>::quiet_NaN();
}

const SaturationNodePowers* SaturationNodePowersAt(double t)
{
    const int k = ReadyNodeOf(t);
    return k < 0 ? nullptr : &nodePowers[k];
}
