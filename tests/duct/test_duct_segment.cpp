// Duct friction and one duct segment: the worked round and rectangular cases,
// the local resistance, the refusals, the segment table and loading back.
#include "app/DataDir.h"
#include "duct/DuctSegment.h"
#include "friction/Friction.h"
#include "pipe/WaterFriction.h"
#include "shell/DataSeeds.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace
{

const AirProperties kDefaults;

DuctSegmentInputs roundInputs()
{
    DuctSegmentInputs in;
    in.air = ExactTexts(kDefaults);
    in.segmentNo = QStringLiteral("1");
    in.flow = QStringLiteral("5000");
    in.round = true;
    in.diameter = QStringLiteral("500");
    in.length = QStringLiteral("10");
    return in;
}

DuctSegmentInputs rectangularInputs(const char* width, const char* height, const char* flow)
{
    DuctSegmentInputs in = roundInputs();
    in.round = false;
    in.diameter.clear();
    in.width = QString::fromLatin1(width);
    in.height = QString::fromLatin1(height);
    in.flow = QString::fromLatin1(flow);
    return in;
}

TEST(DuctFriction, ColebrookWhiteForEveryReynoldsNumber)
{
    const AirProperties air;
    // A very low velocity: Re ≈ 33, far below where the water pipe turns laminar.
    const double v = 0.001, d = 0.498;
    const std::optional<double> R = DuctSpecificFriction(v, d, air.K, air.nu, air.rho);
    ASSERT_TRUE(R);
    const ColebrookWhiteResult cw = ColebrookWhite(v * d / air.nu, air.K, d);
    ASSERT_TRUE(cw.converged);
    EXPECT_DOUBLE_EQ(*R, cw.lambda * v * v / (d * 2) * air.rho);
    EXPECT_NE(*R, *PipeSpecificFriction(v, d, air.K, air.nu, air.rho));
    // No flow, no friction; a velocity that is no number fails.
    EXPECT_EQ(DuctSpecificFriction(0, d, air.K, air.nu, air.rho), 0.0);
    EXPECT_FALSE(DuctSpecificFriction(NAN, d, air.K, air.nu, air.rho));
}

TEST(DuctSegment, WorkedCases)
{
    const struct {
        const char* name;
        DuctSegmentInputs in;
        double V, d; // m/s, m (the diameter the friction saw)
    } cases[] = {
        {"round DN 500", roundInputs(), 5000 / (0.498 * 0.498 * 0.25 * std::numbers::pi * 3600),
         0.498},
        {"200 x 200", rectangularInputs("200", "200", "1000"), 1000 / (0.198 * 0.198 * 3600),
         0.198},
        {"400 x 200", rectangularInputs("400", "200", "1000"), 1000 / (0.198 * 0.398 * 3600),
         2 * 0.198 * 0.398 / 0.596},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DuctSegmentOutcome out = CalculateDuctSegment(c.in);
        ASSERT_TRUE(out.segment) << out.refusal.toStdString();
        EXPECT_DOUBLE_EQ(out.segment->V, c.V);
        EXPECT_DOUBLE_EQ(out.segment->Pm, *DuctSpecificFriction(c.V, c.d, 0.15, 0.00001506, 1.204));
        EXPECT_DOUBLE_EQ(out.segment->ZL_y, 10 * out.segment->Pm);
        EXPECT_EQ(out.segment->ZL_j, 0);
        EXPECT_EQ(out.air, kDefaults);
    }
    EXPECT_NEAR(CalculateDuctSegment(cases[0].in).segment->V, 7.13, 0.005);
    EXPECT_NEAR(CalculateDuctSegment(cases[1].in).segment->V, 7.09, 0.005);
    EXPECT_NEAR(2 * 0.198 * 0.398 / 0.596, 0.2644, 5e-5);
    EXPECT_EQ(CalculateDuctSegment(cases[2].in).segment->W, "400");
    EXPECT_TRUE(CalculateDuctSegment(cases[2].in).segment->DN.isEmpty());
}

TEST(DuctSegment, LocalResistanceFromCoefficientAndCount)
{
    DuctSegmentInputs in = rectangularInputs("200", "200", "1000");
    in.fittingName = QStringLiteral("弯头");
    in.coefficient = QStringLiteral("0.5");
    in.count = QStringLiteral("2");
    const DuctSegmentOutcome out = CalculateDuctSegment(in);
    ASSERT_TRUE(out.segment);
    EXPECT_NEAR(out.segment->ZL_j, 30.2, 0.05);
    EXPECT_DOUBLE_EQ(out.segment->ZL_z, out.segment->ZL_y + out.segment->ZL_j);
}

TEST(DuctSegment, RefusalsComputeNothing)
{
    const auto with = [](auto change) {
        DuctSegmentInputs in = roundInputs();
        change(in);
        return in;
    };
    const struct {
        const char* message;
        DuctSegmentInputs in;
    } cases[] = {
        {"请输入管段编号！", with([](auto& in) { in.segmentNo.clear(); })},
        {"请选择管径！", with([](auto& in) { in.diameter.clear(); })},
        {"请选择矩形风管的高度或宽度！", rectangularInputs("400", "", "1000")},
        {"请输入管段长度！", with([](auto& in) { in.length.clear(); })},
        {"请输入风量！", with([](auto& in) { in.flow.clear(); })},
        {"局部阻力数量：“”不是有效的数值", with([](auto& in) { in.coefficient = "0.5"; })},
        {"局部阻力系数：“”不是有效的数值", with([](auto& in) { in.count = "2"; })},
        {"风管管壁绝对粗糙度(mm)：“x”不是有效的数值", with([](auto& in) { in.air.K = "x"; })},
        {"风管尺寸必须大于2mm！", with([](auto& in) { in.diameter = "2"; })},
        {"风管尺寸必须大于2mm！", rectangularInputs("400", "1.5", "1000")},
        {"管段编号不能超过12个字符！", with([](auto& in) { in.segmentNo = "1234567890123"; })},
        {"风管尺寸不能超过6个字符！", with([](auto& in) { in.diameter = "1000.25"; })},
        {"风量不能小于0！", with([](auto& in) { in.flow = "-5000"; })},
        {"管段长度不能小于0！", with([](auto& in) { in.length = "-1"; })},
        {"空气运动粘滞系数必须大于0！", with([](auto& in) { in.air.nu = "0"; })},
        {"空气密度必须大于0！", with([](auto& in) { in.air.rho = "-1.2"; })},
        {"风管管壁绝对粗糙度不能小于0！", with([](auto& in) { in.air.K = "-0.1"; })},
        {"风量不能大于1000000m³/h！", with([](auto& in) { in.flow = "1e308"; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const DuctSegmentOutcome out = CalculateDuctSegment(c.in);
        EXPECT_FALSE(out.segment);
        EXPECT_EQ(out.refusal, QString::fromUtf8(c.message));
    }
    // No flow is a segment of no resistance.
    const DuctSegmentOutcome still = CalculateDuctSegment(with([](auto& in) { in.flow = "0"; }));
    ASSERT_TRUE(still.segment);
    EXPECT_EQ(still.segment->ZL_z, 0);
}

TEST(DuctAir, TextsReadBackAsTheSameNumbers)
{
    const AirProperties odd{0.0000151234, 1.19876, 0.0005};
    EXPECT_EQ(ReadAirProperties(ExactTexts(odd)), odd);
    EXPECT_EQ(ExactTexts(kDefaults).nu, "0.00001506");
    // The dialog's own formats round: K 0.0005 shows as 0.001.
    const AirPropertyTexts shown = ShownTexts(odd);
    EXPECT_EQ(shown.rho, "1.1988");
    EXPECT_EQ(shown.nu, "0.000015123");
    EXPECT_EQ(shown.K, "0.001");
}

TEST(DuctTable, StoredByNumberAndLoadedBack)
{
    QTemporaryDir dir;
    DataDir::setOverride(dir.path());
    RegisterDataSeeds();
    DataDir::ensure();
    ASSERT_TRUE(QFile::exists(dir.filePath("ZL_duct1.DB")));
    RecordTableStore table(DuctSegmentTableDeclaration());
    table.setPath(dir.filePath("ZL_Duct.DB"));
    table.open();
    EXPECT_EQ(table.recordCount(), 0);

    DuctSegmentInputs rect = rectangularInputs("400", "200", "1000");
    rect.segmentNo = "2";
    rect.fittingName = "弯头";
    rect.coefficient = "0.5";
    rect.count = "2";
    StoreDuctSegment(table, *CalculateDuctSegment(roundInputs()).segment);
    StoreDuctSegment(table, *CalculateDuctSegment(rect).segment);
    DuctSegmentInputs again = roundInputs();
    again.flow = "4000";
    StoreDuctSegment(table, *CalculateDuctSegment(again).segment); // edits "1"
    EXPECT_EQ(DuctSegmentNumbers(table), (QStringList{"1", "2"}));

    ASSERT_TRUE(FindDuctSegment(table, "1"));
    const DuctSegmentTexts round = CurrentDuctSegmentTexts(table);
    EXPECT_TRUE(round.round);
    EXPECT_EQ(round.flow, "4000");
    EXPECT_EQ(round.diameter, "500");
    EXPECT_TRUE(round.width.isEmpty() && round.height.isEmpty());
    EXPECT_TRUE(round.coefficient.isEmpty() && round.count.isEmpty()); // zero shows empty

    ASSERT_TRUE(FindDuctSegment(table, "2"));
    const DuctSegmentTexts rectangular = CurrentDuctSegmentTexts(table);
    EXPECT_FALSE(rectangular.round);
    EXPECT_EQ(rectangular.width, "400");
    EXPECT_EQ(rectangular.height, "200");
    EXPECT_EQ(rectangular.fittingName, "弯头");
    EXPECT_EQ(rectangular.coefficient, "0.5");
    EXPECT_EQ(rectangular.count, "2");

    EXPECT_TRUE(DeleteDuctSegment(table, "1"));
    EXPECT_EQ(DuctSegmentNumbers(table), QStringList{"2"});
    DataDir::setOverride(QString());
}

} // namespace
