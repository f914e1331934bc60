// The segment calculation: the worked DN 25 case, each way of sizing with its
// tie and end rules, the coefficient by DN, storing by segment number, and
// every refusal leaving nothing to store.
#include "app/Numbers.h"
#include "pipe/PipeSegment.h"
#include "pipe/WaterFriction.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace
{

const QString kGB3092 = "焊接钢管(GB3092)";

// Sizes from DN, Di, DN, Di, ...: the calculation reads nothing else.
std::vector<PipeSize> Sizes(std::initializer_list<double> pairs)
{
    std::vector<PipeSize> list;
    for (auto it = pairs.begin(); it != pairs.end(); it += 2)
        list.push_back({int(it[0]), 0, 0, it[1]});
    return list;
}

// The shipped welded steel series, the same with DN 8 and 10 before it, and
// types built for particular cases.
std::vector<PipeTypeRecord> Catalogue()
{
    const std::vector<PipeSize> gb3092 = Sizes(
        {15, 15.75, 20, 21.25, 25, 27, 32, 35.75, 40, 41, 50, 53, 70, 68, 80, 80.5, 100, 106});
    std::vector<PipeSize> small = Sizes({8, 9, 10, 12.5});
    small.insert(small.end(), gb3092.begin(), gb3092.end());
    return {{kGB3092, 0.2, gb3092},
            {"各种DN", 0.2, small},
            {"空", 0.2, {}},
            {"负粗糙度", -1000, Sizes({25, 27})}};
}

std::vector<LocalResistance> Coefficients()
{
    return {{"闸阀", {1.5, 0.5, 0.5, 0.5, 0.5, 0.5}}, {"逐列", {1, 2, 3, 4, 5, 6}}};
}

// Supply 95, return 70, 1.0 m³/h through DN 25, 10 m.
PipeSegmentInputs Dn25()
{
    PipeSegmentInputs in;
    in.pipeType = kGB3092;
    in.supplyTemp = "95";
    in.returnTemp = "70";
    in.segmentNo = "1";
    in.flow = "1.0";
    in.sizeEntry = SizeEntry::Nominal;
    in.nominal = "25";
    in.length = "10";
    return in;
}

PipeSegmentOutcome Calculate(const PipeSegmentInputs& in,
                             std::vector<PipeTypeRecord> catalogue = Catalogue())
{
    return CalculatePipeSegment(in, MemorySegmentData(std::move(catalogue), Coefficients()));
}

PipeSegment Segment(const PipeSegmentInputs& in,
                    std::vector<PipeTypeRecord> catalogue = Catalogue())
{
    const PipeSegmentOutcome out = Calculate(in, std::move(catalogue));
    EXPECT_TRUE(out.segment) << out.refusal.toStdString();
    return out.segment.value_or(PipeSegment{});
}

TEST(PipeSegmentCalc, Dn25WorkedCase)
{
    PipeSegmentInputs in = Dn25();
    in.fittingName = "闸阀";
    in.fittingCount = "2";
    const PipeSegmentOutcome out = Calculate(in);
    ASSERT_TRUE(out.segment) << out.refusal.toStdString();
    const PipeSegment& s = *out.segment;
    EXPECT_DOUBLE_EQ(s.V, 4 * 1.0 / (3600 * 0.027 * 0.027 * 3.1415926));
    EXPECT_EQ(FormatNumber(s.V, "0.000"), "0.485");
    EXPECT_EQ(FormatNumber(s.Q, "0.0"), "28.2"); // 28198 W
    EXPECT_NEAR(s.Q * 1000, 28198, 1);
    EXPECT_EQ(s.G, 1.0);
    EXPECT_EQ(s.DN, 25);
    ASSERT_TRUE(out.water);
    EXPECT_DOUBLE_EQ(out.water->nu, 0.35725e-6);
    EXPECT_NEAR(out.water->rho, 969.81, 0.005);
    EXPECT_EQ(out.water->K, 0.2);
    EXPECT_EQ(s.Pm, PipeSpecificFriction(s.V, 0.027, 0.2, out.water->nu, out.water->rho));
    EXPECT_EQ(s.ZL_y, 10 * s.Pm);
    EXPECT_EQ(s.JZ, 0.5);
    EXPECT_DOUBLE_EQ(s.ZL_j, 2 * 0.5 * out.water->rho * s.V * s.V / 2);
    EXPECT_EQ(s.ZL_z, s.ZL_y + s.ZL_j);
}

TEST(PipeSegmentCalc, HeatLoadGivesBackTheFlow)
{
    const PipeSegment byFlow = Segment(Dn25());
    PipeSegmentInputs in = Dn25();
    in.flowEntry = FlowEntry::HeatLoad;
    in.flow = QString::number(byFlow.Q * 1000, 'g', 17);
    const PipeSegment byLoad = Segment(in);
    EXPECT_NEAR(byLoad.G, 1.0, 1e-12);
    EXPECT_NEAR(byLoad.Q, byFlow.Q, 1e-12);
    in.flow = "28198";
    EXPECT_NEAR(Segment(in).G, 1.0, 1e-4);
}

// A type whose two middle sizes lie 4 mm either side of the diameter D that
// the target velocity needs: the relative deviations are then exactly equal
// (D ± 4 is exact for 20 ≤ D < 28).
TEST(PipeSegmentCalc, VelocityTakesTheNearerSizeAndTheLargerOnATie)
{
    const double u = 0.5;
    const double G = 1.0;
    const double D = 1000 * std::sqrt(4 * G / (std::numbers::pi * u * 3600));
    ASSERT_TRUE(D >= 20 && D < 28) << D;
    const auto type = [&](double smaller, double larger) {
        return std::vector<PipeTypeRecord>{
            {"试", 0.2, Sizes({10, 10, 20, smaller, 25, larger, 50, 50})}};
    };
    PipeSegmentInputs in = Dn25();
    in.pipeType = "试";
    in.sizeEntry = SizeEntry::Velocity;
    in.flow = "1";
    const struct {
        const char* what;
        double smaller, larger;
        const char* velocity;
        double DN;
    } cases[] = {
        {"tie", D - 4, D + 4, "0.5", 25},
        {"larger further", D - 4, D + 4.001, "0.5", 20},
        {"smaller further", D - 4.001, D + 4, "0.5", 25},
        {"below the smallest", D - 4, D + 4, "100", 10},
        {"above the largest", D - 4, D + 4, "0.01", 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        in.velocity = c.velocity;
        const PipeSegment s = Segment(in, type(c.smaller, c.larger));
        EXPECT_EQ(s.DN, c.DN);
        // The stored velocity is the chosen size's, not the target.
        const double Di = c.DN == 20 ? c.smaller : c.DN == 25 ? c.larger : c.DN;
        EXPECT_DOUBLE_EQ(s.V, 4 * 1.0 / (3600 * Di * Di / 1e6 * 3.1415926));
    }
}

TEST(PipeSegmentCalc, AutomaticTakesTheFirstSizeBelowTheLimitElseTheLargest)
{
    // 2.5 m³/h: DN 32 has R ≈ 211.92 Pa/m, DN 40 ≈ 103.6 Pa/m.
    PipeSegmentInputs in = Dn25();
    in.flow = "2.5";
    in.nominal = "32";
    ASSERT_NEAR(Segment(in).Pm, 211.92, 0.005);
    in.sizeEntry = SizeEntry::Automatic;
    const struct {
        QString maxFriction;
        double DN;
    } cases[] = {{"200", 40}, {"211.9", 40}, {"212", 32}, {"1e9", 15}, {"0.001", 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.maxFriction.toStdString());
        in.maxFriction = c.maxFriction;
        EXPECT_EQ(Segment(in).DN, c.DN);
    }
}

// ξ by the segment's DN (the DN50 column for any size but 15 to 40), and
// the counts and names that give no local resistance.
TEST(PipeSegmentCalc, LocalResistanceBySizeCountAndName)
{
    const struct {
        const char *DN, *name, *count;
        double JZ, JZ_N;
    } cases[] = {
        {"8", "逐列", "3", 6, 3},      {"10", "逐列", "3", 6, 3}, {"15", "逐列", "3", 1, 3},
        {"20", "逐列", "3", 2, 3},     {"25", "逐列", "3", 3, 3}, {"32", "逐列", "3", 4, 3},
        {"40", "逐列", "3", 5, 3},     {"50", "逐列", "3", 6, 3}, {"70", "逐列", "3", 6, 3},
        {"25", "", "0", 0, 0},         // "0" with no type passes
        {"25", "", "", 0, 0},          // nothing given
        {"25", "闸阀", "0", 0, 0},     // a type counted zero times
        {"25", "不存在", "0.0", 0, 0}, // a name the table does not hold, counted 0
        {"25", "闸阀", "2.0", 0.5, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.DN) + "/" + c.name + "/" + c.count);
        PipeSegmentInputs in = Dn25();
        in.pipeType = "各种DN";
        in.nominal = c.DN;
        in.fittingName = c.name;
        in.fittingCount = c.count;
        const PipeSegmentOutcome out = Calculate(in);
        ASSERT_TRUE(out.segment);
        const PipeSegment& s = *out.segment;
        EXPECT_EQ(s.DN, ParseNumber(c.DN));
        EXPECT_EQ(s.JZ, c.JZ);
        EXPECT_EQ(s.JZ_N, c.JZ_N);
        EXPECT_DOUBLE_EQ(s.ZL_j, c.JZ_N * c.JZ * out.water->rho * s.V * s.V / 2);
        EXPECT_EQ(s.JZ_name, c.name); // kept as typed
        EXPECT_EQ(s.ZL_z, s.ZL_y + s.ZL_j);
    }
}

TEST(PipeSegmentCalc, RefusalsComputeNothing)
{
    const auto with = [](auto change) {
        PipeSegmentInputs in = Dn25();
        change(in);
        return in;
    };
    const struct {
        const char* message;
        PipeSegmentInputs in;
        bool waterSet; // the checks passed before the refusal
    } cases[] = {
        {"请选择管道类型！", PipeSegmentInputs{}, false},
        {"请选择管道类型！", with([](auto& in) { in.pipeType.clear(); }), false},
        {"请输入供水温度！", with([](auto& in) { in.supplyTemp.clear(); }), false},
        {"请输入回水温度！", with([](auto& in) { in.returnTemp.clear(); }), false},
        {"请输入管道编号！", with([](auto& in) { in.segmentNo.clear(), in.length.clear(); }),
         false},
        {"请输入流速！", with([](auto& in) { in.sizeEntry = SizeEntry::Velocity; }), false},
        {"请选择管径！", with([](auto& in) { in.nominal.clear(); }), false},
        {"请输入管段长度！", with([](auto& in) { in.length.clear(); }), false},
        {"请输入局部阻力数量！", with([](auto& in) { in.fittingName = "闸阀"; }), false},
        {"请选择局部阻力类型！", with([](auto& in) { in.fittingCount = "0.0"; }), false},
        {"请输入流量！", with([](auto& in) { in.flow.clear(); }), false},
        {"请输入热负荷！",
         with([](auto& in) { in.flowEntry = FlowEntry::HeatLoad, in.flow.clear(); }), false},
        {"管段编号不能超过12个字符！",
         with([](auto& in) { in.segmentNo = "一二三四五六七八九十甲乙丙"; }), false},
        {"局部阻力类型名称不能超过16个字符！",
         with([](auto& in) { in.fittingName = "12345678901234567", in.fittingCount = "1"; }),
         false},
        {"供水温度(℃)：“9５”不是有效的数值", with([](auto& in) { in.supplyTemp = "9５"; }), false},
        {"平均水温必须在0～100℃之间！", with([](auto& in) { in.supplyTemp = "-70"; }), false},
        {"平均水温必须在0～100℃之间！", with([](auto& in) { in.supplyTemp = "131"; }), false},
        {"流量必须大于0！", with([](auto& in) { in.flow = "0"; }), false},
        {"流量必须大于0！", with([](auto& in) { in.flow = "-1"; }), false},
        {"热负荷必须大于0！",
         with([](auto& in) { in.flowEntry = FlowEntry::HeatLoad, in.flow = "0"; }), false},
        {"流速必须大于0！",
         with([](auto& in) { in.sizeEntry = SizeEntry::Velocity, in.velocity = "0"; }), false},
        {"管段长度不能小于0！", with([](auto& in) { in.length = "-1"; }), false},
        {"局部阻力数量不能小于0！",
         with([](auto& in) { in.fittingName = "闸阀", in.fittingCount = "-2"; }), false},
        {"供水温度与回水温度相同，无法由热负荷计算流量！",
         with([](auto& in) { in.flowEntry = FlowEntry::HeatLoad, in.supplyTemp = "70"; }), false},
        {"管道库中没有管道类型“无此管”！", with([](auto& in) { in.pipeType = "无此管"; }), false},
        {"管道类型“空”没有管径数据！",
         with([](auto& in) { in.pipeType = "空", in.sizeEntry = SizeEntry::Automatic; }), false},
        {"管道类型“焊接钢管(GB3092)”中没有DN65的管径！", with([](auto& in) { in.nominal = "65"; }),
         true},
        {"计算失败！", with([](auto& in) { in.pipeType = "负粗糙度"; }), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const PipeSegmentOutcome out = Calculate(c.in);
        EXPECT_FALSE(out.segment);
        EXPECT_EQ(out.refusal, QString::fromUtf8(c.message));
        EXPECT_EQ(out.water.has_value(), c.waterSet);
    }
    // A mean of exactly 100 ℃ is inside the table.
    EXPECT_TRUE(Calculate(with([](auto& in) { in.supplyTemp = "130"; })).segment);
}

TEST(PipeSegmentTable, StoringBySegmentNumberEditsInPlaceOrAppends)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ZL_pipe.DB");
    CreateTableFile(path, PipeSegmentTableDeclaration());
    RecordTableStore table(PipeSegmentTableDeclaration());
    table.setPath(path);
    table.open();

    PipeSegmentInputs in = Dn25();
    StorePipeSegment(table, Segment(in));
    in.segmentNo = "2";
    StorePipeSegment(table, Segment(in));
    in.segmentNo = "1";
    in.nominal = "32";
    in.fittingName = "闸阀";
    in.fittingCount = "2";
    const PipeSegment updated = Segment(in);
    StorePipeSegment(table, updated);
    EXPECT_EQ(SegmentNumbers(table), QStringList({"1", "2"}));
    ASSERT_TRUE(FindSegment(table, "1"));
    EXPECT_EQ(CurrentSegment(table), updated);

    // What a grid click loads into the fields.
    const SegmentFieldTexts texts = CurrentSegmentTexts(table);
    EXPECT_EQ(texts.segmentNo, "1");
    EXPECT_EQ(texts.flow, "1");
    EXPECT_EQ(texts.nominal, "32");
    EXPECT_EQ(texts.length, "10");
    EXPECT_EQ(texts.fittingName, "闸阀");
    EXPECT_EQ(texts.fittingCount, "2");

    table.close();
    table.open();
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_TRUE(DeleteSegment(table, "1"));
    EXPECT_FALSE(DeleteSegment(table, "1"));
    EXPECT_EQ(SegmentNumbers(table), QStringList({"2"}));
}

} // namespace
