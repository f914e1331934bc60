// The air treatment calculator's report block, for the report file and for
// the printer: the window's field texts as they stand, under the title of
// the selected process. Nothing is recomputed or reformatted.
#pragma once

#include "airtreat/TreatmentCalc.h"

#include <QString>
#include <QStringList>

#include <array>

struct TreatmentReportValues {
    TreatmentProcess process = TreatmentProcess::PrimarySummer; // the selected one
    // Edit1..Edit7 as typed: tW, tsW, φW, tN, φN, Q, W. The three outdoor
    // fields are reported whichever the process reads.
    QString tW, tsW, phiW, tN, phiN, Q, W;
    // Edit10..Edit22 as last written by a calculation, in ShownResults' order.
    std::array<QString, kShownResultCount> results;
};

// The refusal of a report asked for after a press of "计算(&C)" that did not
// complete: the result fields still hold an earlier calculation, which does
// not belong to the inputs the block would report.
inline constexpr char TreatmentReportStaleText[] =
    "最近一次计算未能完成，结果栏中的数值不属于当前的输入，请修正输入并重新计算后再保存或打印！";

// Rule, title, empty line, the value lines, rule.
QStringList TreatmentSaveLines(const TreatmentReportValues& values);
// Title, empty line, rule, the value lines, rule.
QStringList TreatmentPrintLines(const TreatmentReportValues& values);
