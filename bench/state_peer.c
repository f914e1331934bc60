/* The peer of `ventacalc-cli state --csv` in the benchmark: a plain C loop
 * over a CSV file of (t, rh) rows, computing each state the way a small
 * psychrometric library in C does, straight from the ASHRAE Handbook —
 * Fundamentals (2017), chapter 1, and writing the same columns with printf.
 *   saturation pressure: Hyland–Wexler, eq. 5 (over ice, −100…0 ℃) and
 *                        eq. 6 (over water, 0…200 ℃)
 *   humidity ratio:      eq. 20 (0.621945 pw / (p − pw))
 *   enthalpy:            eq. 32 (kJ/kg dry air)
 *   wet bulb:            eq. 33 / 35 solved by bisection to 0.001 K
 *   dew point:           Newton–Raphson on ln pws(T) = ln pw to 0.001 K
 *   density:             (1 + W) / v with v from eq. 26
 * Usage: state_peer FILE [PRESSURE_PA] > out.csv
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const double kZeroC = 273.15;    /* K */
static const double kTolerance = 0.001; /* K, both solvers */
static const int kMaxIterations = 100;

/* pws(T) in Pa for T in K (Hyland–Wexler). */
static double SatPressure(double tK)
{
    if (tK <= kZeroC) {
        return exp(-5.6745359e3 / tK + 6.3925247 - 9.677843e-3 * tK + 6.2215701e-7 * tK * tK +
                   2.0747825e-9 * tK * tK * tK - 9.484024e-13 * tK * tK * tK * tK +
                   4.1635019 * log(tK));
    }
    return exp(-5.8002206e3 / tK + 1.3914993 - 4.8640239e-2 * tK + 4.1764768e-5 * tK * tK -
               1.4452093e-8 * tK * tK * tK + 6.5459673 * log(tK));
}

/* d ln pws / dT in 1/K. */
static double DLnSatPressure(double tK)
{
    if (tK <= kZeroC) {
        return 5.6745359e3 / (tK * tK) - 9.677843e-3 + 2 * 6.2215701e-7 * tK +
               3 * 2.0747825e-9 * tK * tK - 4 * 9.484024e-13 * tK * tK * tK + 4.1635019 / tK;
    }
    return 5.8002206e3 / (tK * tK) - 4.8640239e-2 + 2 * 4.1764768e-5 * tK -
           3 * 1.4452093e-8 * tK * tK + 6.5459673 / tK;
}

static double HumRatio(double pw, double p)
{
    return 0.621945 * pw / (p - pw);
}

/* Humidity ratio from dry bulb and wet bulb (℃), eq. 33 above freezing, 35 below. */
static double HumRatioFromWetBulb(double t, double tw, double p)
{
    const double wsStar = HumRatio(SatPressure(tw + kZeroC), p);
    if (tw >= 0)
        return ((2501 - 2.326 * tw) * wsStar - 1.006 * (t - tw)) / (2501 + 1.86 * t - 4.186 * tw);
    return ((2830 - 0.24 * tw) * wsStar - 1.006 * (t - tw)) / (2830 + 1.86 * t - 2.1 * tw);
}

static double DewPoint(double t, double pw)
{
    const double lnPw = log(pw);
    double tK = t + kZeroC;
    for (int k = 0; k < kMaxIterations; ++k) {
        const double next = tK - (log(SatPressure(tK)) - lnPw) / DLnSatPressure(tK);
        const double step = fabs(next - tK);
        tK = next;
        if (step <= kTolerance)
            break;
    }
    return tK - kZeroC;
}

static double WetBulb(double t, double w, double tdew, double p)
{
    double lo = tdew, hi = t, tw = (lo + hi) / 2;
    for (int k = 0; k < kMaxIterations && hi - lo > kTolerance; ++k) {
        if (HumRatioFromWetBulb(t, tw, p) > w)
            hi = tw;
        else
            lo = tw;
        tw = (lo + hi) / 2;
    }
    return tw;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: state_peer FILE [PRESSURE_PA]\n");
        return 2;
    }
    const double p = argc > 2 ? atof(argv[2]) : 101325;
    FILE* in = fopen(argv[1], "r");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    char line[4096];
    if (!fgets(line, sizeof line, in))
        return 2;
    printf("t,ts,rh,d,i,tdew,rho,pv,error\n");
    while (fgets(line, sizeof line, in)) {
        char* end;
        const double t = strtod(line, &end);
        if (*end != ',') {
            printf(",,,,,,,,bad row\n");
            continue;
        }
        const double rh = strtod(end + 1, NULL);
        const double pw = rh / 100 * SatPressure(t + kZeroC);
        const double w = HumRatio(pw, p);
        const double h = 1.006 * t + w * (2501 + 1.86 * t);
        const double tdew = DewPoint(t, pw);
        const double tw = WetBulb(t, w, tdew, p);
        const double v = 0.287042 * (t + kZeroC) * (1 + 1.607858 * w) / (p / 1000);
        printf("%.17g,%.17g,%.17g,%.17g,%.17g,%.17g,%.17g,%.17g,\n", t, tw, rh, w * 1000, h, tdew,
               (1 + w) / v, pw);
    }
    if (ferror(in) || fflush(stdout) != 0)
        return 1;
    return 0;
}
