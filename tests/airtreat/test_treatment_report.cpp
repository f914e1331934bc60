// The air treatment report block: its lines per process, for the file and the
// printer, from the window's texts as they stand.
#include "airtreat/TreatmentCalc.h"
#include "airtreat/TreatmentReport.h"
#include "app/Numbers.h"
#include "psychro/ID_lib.h"

#include <gtest/gtest.h>

namespace
{

using P = TreatmentProcess;

// The window's texts after the primary summer example, with the fresh-air
// entry given as a quantity or a ratio.
TreatmentReportValues AfterPrimarySummer(FreshAirEntry entry, double freshAir)
{
    TreatmentInputs in;
    in.tW = 34;
    in.tsW = 28;
    in.tN = 26;
    in.phiN = 60;
    in.Q = 10;
    in.W = 3;
    in.tO = 20;
    in.freshAirEntry = entry;
    in.freshAir = freshAir;
    ID_lib lib;
    const TreatmentOutcome out = CalculateTreatment(lib, in);
    EXPECT_TRUE(out.calculation.has_value());
    TreatmentReportValues v;
    v.tW = QStringLiteral("34");
    v.tsW = QStringLiteral("28");
    v.phiW = QString(); // not read by the summer processes; reported as it stands
    v.tN = QStringLiteral("26");
    v.phiN = QStringLiteral("60");
    v.Q = QStringLiteral("10");
    v.W = QStringLiteral("3");
    if (out.calculation) {
        const auto rows = ShownResults(*out.calculation);
        for (int k = 0; k < kShownResultCount; ++k)
            v.results[k] = FormatNumber(rows[k].value, QStringLiteral("0.00"));
    }
    return v;
}

const QString kRule = QString(18, QChar(0x2501));

} // namespace

TEST(TreatmentReport, PrimarySummerBlockCharacterForCharacter)
{
    const TreatmentReportValues v = AfterPrimarySummer(FreshAirEntry::Ratio, 25);
    const QStringList values{
        QStringLiteral(" 室外计算干球温度(℃): 34"),
        QStringLiteral(" 夏季室外计算湿球温度(℃): 28"),
        QStringLiteral(" 冬季空调室外计算相对湿度(％): "),
        QStringLiteral(" 设计室内干球温度(℃): 26"),
        QStringLiteral(" 设计室内相对湿度(％): 60"),
        QStringLiteral(" 余热量(kw): 10"),
        QStringLiteral(" 余湿量(kg/h): 3"),
        QStringLiteral(" 送风温度(℃): 20.00"),
        QStringLiteral(" 送风相对湿度(％): 81.88"),
        QStringLiteral(" 总送风量(kg/h): 4578.91"),
        QStringLiteral(" 新风量(kg/h): 1144.73"),
        QStringLiteral(" 新风比(%): 25.00"),
        QStringLiteral(" 一次回风量(kg/h): 3434.18"),
        QStringLiteral(" 一次回风混合点焓: 66.14"),
        QStringLiteral(" 机器露点温度(℃): 17.96"),
        QStringLiteral(" 制冷量(kw): 22.46"),
        QStringLiteral(" 再加热量(kw): 2.68"),
        QStringLiteral(" 总加热量(kw): 2.68"),
    };
    const QString title = QStringLiteral("  ** 一次回风系统的夏季处理过程 ** ");
    const QStringList saved = TreatmentSaveLines(v);
    EXPECT_EQ(saved.size(), 22);
    EXPECT_EQ(saved, QStringList({kRule, title, QString()}) + values + QStringList{kRule});
    EXPECT_EQ(TreatmentPrintLines(v),
              QStringList({title, QString(), kRule}) + values + QStringList{kRule});
}

// The block follows the selected process, whatever process the results came
// from; the ratio line reports the result field, after the quantity line.
TEST(TreatmentReport, LinesPerProcess)
{
    const TreatmentReportValues fromQuantity = AfterPrimarySummer(FreshAirEntry::Quantity, 1000);
    struct Case {
        P process;
        int valueLines;
        const char* title;
        const char* lastValueLine;
    };
    const Case cases[] = {
        {P::PrimarySummer, 18, "  ** 一次回风系统的夏季处理过程 ** ", " 总加热量(kw): 2.68"},
        {P::PrimaryWinter, 18, "  ** 一次回风系统的冬季处理过程 ** ", " 总加热量(kw): 2.68"},
        {P::SecondarySummer, 17, "  ** 二次回风系统的夏季处理过程 ** ", " 制冷量(kw): 21.22"},
        {P::SecondaryWinter, 19, "  ** 二次回风系统的冬季处理过程 ** ", " 总加热量(kw): 2.68"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.process));
        TreatmentReportValues v = fromQuantity;
        v.process = c.process;
        const QStringList lines = TreatmentSaveLines(v);
        ASSERT_EQ(lines.size(), c.valueLines + 4);
        EXPECT_EQ(lines[1], QString::fromUtf8(c.title));
        EXPECT_EQ(lines[lines.size() - 2], QString::fromUtf8(c.lastValueLine));
        const qsizetype quantity = lines.indexOf(QStringLiteral(" 新风量(kg/h): 1000.00"));
        ASSERT_GE(quantity, 0);
        EXPECT_EQ(lines[quantity + 1], QStringLiteral(" 新风比(%): 21.84"));
        const bool secondaryReturn = lines.contains(QStringLiteral(" 二次回风量(kg/h): 0.00"));
        EXPECT_EQ(secondaryReturn,
                  c.process == P::SecondarySummer || c.process == P::SecondaryWinter);
        EXPECT_EQ(lines.contains(QStringLiteral(" 预加热量(kw): 0.00")),
                  c.process == P::PrimaryWinter || c.process == P::SecondaryWinter);
    }
}
