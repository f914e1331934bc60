// ISO 7730 Annex D's PMV/PPD, written out in the standard's own form
// (temperatures in units of 100 K, its own start value and update, the
// sweating loss only above 58.15 W/m²), sharing nothing with the comfort core
// but what the caller gives: the vapour pressure PA (Pa), the stop rule for
// the clothing temperature's iteration (the standard's is 0.00015, in 100 K)
// and the passes after which it gives up (the standard's 150).
#pragma once

#include "comfort/Pmv.h"

#include <cmath>
#include <optional>

struct IsoPmvResult {
    double PMV, PPD;
};

inline std::optional<IsoPmvResult> IsoAnnexDPmv(const PmvInput& in, double PA, double stop,
                                                int passes)
{
    const double ICL = in.Icl, M = in.M, W = in.W, MW = M - W;
    const double FCL = ICL <= 0.078 ? 1 + 1.29 * ICL : 1.05 + 0.645 * ICL;
    const double HCF = 12.1 * std::sqrt(in.va);
    const double TAA = in.ta + 273, TRA = in.tr + 273;
    const double TCLA = TAA + (35.5 - in.ta) / (3.5 * ICL + 0.1);
    const double P1 = ICL * FCL, P2 = P1 * 3.96, P3 = P1 * 100, P4 = P1 * TAA;
    const double P5 = 308.7 - 0.028 * MW + P2 * std::pow(TRA / 100, 4);
    double XN = TCLA / 100, XF = TCLA / 50, HC = 0;
    for (int N = 0; std::abs(XN - XF) > stop; ++N) {
        if (N > passes)
            return std::nullopt;
        XF = (XF + XN) / 2;
        const double HCN = 2.38 * std::pow(std::abs(100 * XF - TAA), 0.25);
        HC = HCF > HCN ? HCF : HCN;
        XN = (P5 + P4 * HC - P2 * std::pow(XF, 4)) / (100 + P3 * HC);
    }
    const double TCL = 100 * XN - 273;
    const double HL1 = 3.05 * 0.001 * (5733 - 6.99 * MW - PA);
    const double HL2 = MW > 58.15 ? 0.42 * (MW - 58.15) : 0;
    const double HL3 = 1.7 * 0.00001 * M * (5867 - PA);
    const double HL4 = 0.0014 * M * (34 - in.ta);
    const double HL5 = 3.96 * FCL * (std::pow(XN, 4) - std::pow(TRA / 100, 4));
    const double HL6 = FCL * HC * (TCL - in.ta);
    const double TS = 0.303 * std::exp(-0.036 * M) + 0.028;
    const double PMV = TS * (MW - HL1 - HL2 - HL3 - HL4 - HL5 - HL6);
    return IsoPmvResult{PMV, 100 - 95 * std::exp(-0.03353 * std::pow(PMV, 4) - 0.2179 * PMV * PMV)};
}
