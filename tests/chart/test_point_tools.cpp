// The chart's point tools without their window: each tool's steps and panels,
// the refusals with their messages, and the points they store against the
// moist-air library.
#include "app/Numbers.h"
#include "chart/PointTable.h"
#include "chart/PointTools.h"
#include "psychro/ID_lib.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <variant>

namespace
{

using G = ChartGeometry;

// An action of the user: a tool pressed, "确定" with the panel's texts, or a
// click on the chart with the point tool down.
struct Click {
    QPoint at;
};
using Action = std::variant<PointTool, PointEntries, Click>;

PointEntries Ok(PointTool tool, const QString& name, const QString& flowOrRatio = {},
                const QString& mixName = {})
{
    PointEntries e;
    e.tool = tool;
    e.name = name;
    e.mixName = mixName;
    e.flowOrRatio = {QStringLiteral("风量(m3/h)"), flowOrRatio};
    return e;
}

PointEntries Typed(const QString& t, const QString& RH)
{
    PointEntries e = Ok(PointTool::Point, {});
    e.nameShown = false;
    e.t = {QStringLiteral("干球温度(C)"), t};
    e.RH = {QStringLiteral("相对湿度(%)"), RH};
    return e;
}

class PointToolsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(PointTableFileName);
        CreateTableFile(path, PointTableDeclaration());
        table.setPath(path);
        table.open();
        lib.AtmPressure = 101325;
        lib.PsychroCoefficient = 0.0006725;
        fresh();
    }
    // Two points on the chart, A at d 10 g/kg, i 40 kJ/kg and B at 14, 60,
    // and the tools at their start.
    void fresh()
    {
        DeleteAllPoints(table);
        StorePoint(table, {"A", 0, 0, 0, 10, 40});
        StorePoint(table, {"B", 0, 0, 0, 14, 60});
        tools.emplace(lib, table);
    }

    PointToolsAnswer act(const Action& action)
    {
        if (const auto* tool = std::get_if<PointTool>(&action))
            return tools->choose(*tool);
        if (const auto* entries = std::get_if<PointEntries>(&action))
            return tools->confirm(*entries);
        return tools->click(PointTool::Point, std::get<Click>(action).at);
    }
    // Every action but the last, each answered without a message; the last's answer.
    PointToolsAnswer play(const std::vector<Action>& actions)
    {
        for (std::size_t k = 0; k + 1 < actions.size(); ++k) {
            const PointToolsAnswer a = act(actions[k]);
            EXPECT_TRUE(a.message.isEmpty() && !a.failure) << k << ": " << a.message.toStdString();
        }
        return act(actions.back());
    }
    StatePoint point(const char* name)
    {
        EXPECT_TRUE(FindPoint(table, QString::fromLatin1(name))) << name;
        return CurrentPoint(table);
    }

    QTemporaryDir dir;
    RecordTableStore table{PointTableDeclaration()};
    ID_lib lib;
    std::optional<ChartPointTools> tools;
};

using Drawn = std::vector<std::vector<PointDrawing>>;
Drawn Mark(QPoint at, const char* name, PointDrawing::Kind kind = PointDrawing::Mark)
{
    return {{{kind, at, {}, name}}};
}
Drawn Line(QPoint from, QPoint to)
{
    return {{{PointDrawing::Line, from, to, {}}}};
}

// Each step's panel, drawing and next step: the tools, placing a point by
// typed values and by click, a line, the streams, ratio lines (5 g/kg toward
// drier air whatever the ratio's sign, the panel kept for the next ratio),
// deleting. Every mark drawn is a point stored, every erasure a point deleted.
TEST_F(PointToolsTest, ToolsStepThroughTheirPanels)
{
    using P = PointPanel;
    using T = PointTool;
    const QPoint a = G::StateToPixel(10, 40), b = G::StateToPixel(14, 60);
    const struct {
        std::vector<Action> actions;
        std::vector<PanelChange> panels; // of the last action
        Drawn drawings;                  // of the last action
        int step;                        // afterwards
    } cases[] = {
        {{T::Point}, {{P::PointName}}, {}, 1},
        {{T::Ratio}, {{P::RoomPoint}}, {}, 1},
        {{T::TwoPoints}, {{P::FirstPoint}}, {}, 1},
        {{T::Mixing}, {{P::FirstStream, true}}, {}, 1},
        {{T::Delete}, {{P::DeletedPoint}}, {}, 1},
        {{Ok(T::Point, "W")}, {{P::PointValues}}, {}, 2},
        {{Ok(T::Point, "W"), Typed("26", "60")}, {{P::PointName, true}}, Mark({229, 179}, "W"), 1},
        {{Ok(T::Point, "W"), Click{{300, 200}}}, {{P::PointName, true}}, Mark({300, 200}, "W"), 1},
        {{Ok(T::Point, "W"), T::Ratio, Click{{300, 200}}}, {}, {}, 2},
        {{T::TwoPoints, Ok(T::TwoPoints, "A"), T::Delete}, {{P::DeletedPoint}}, {}, 2},
        {{T::TwoPoints, Ok(T::TwoPoints, "A")}, {{P::SecondPoint, true}}, {}, 2},
        {{T::TwoPoints, Ok(T::TwoPoints, "A"), Ok(T::TwoPoints, "B")},
         {{P::FirstPoint, true}},
         Line(a, b),
         1},
        {{T::Mixing, Ok(T::Mixing, "A", "1", "M")}, {{P::SecondStream, true}}, {}, 2},
        {{T::Ratio, Ok(T::Ratio, "A", "10000")}, {}, Line(a, G::StateToPixel(5, -10)), 1},
        {{T::Ratio, Ok(T::Ratio, "B", "-2000")}, {}, Line(b, G::StateToPixel(9, 70)), 1},
        {{T::Delete, Ok(T::Delete, "A")},
         {{P::DeletedPoint, true}},
         Mark(a, "A", PointDrawing::Erasure),
         1},
        {{T::Delete, Ok(T::Delete, "Z")}, {{P::DeletedPoint, true}}, {}, 1},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto& c = cases[k];
        SCOPED_TRACE(k);
        fresh();
        const PointToolsAnswer answer = play(c.actions);
        EXPECT_TRUE(answer.message.isEmpty()) << answer.message.toStdString();
        EXPECT_FALSE(answer.failure);
        EXPECT_EQ(answer.panels, c.panels);
        EXPECT_EQ(answer.drawings, c.drawings);
        EXPECT_EQ(tools->toolStep(), c.step);
        EXPECT_EQ(tools->awaitingClick(), c.panels == std::vector<PanelChange>{{P::PointValues}});
        int records = 2;
        for (const auto& step : answer.drawings)
            records +=
                (step[0].kind == PointDrawing::Mark) - (step[0].kind == PointDrawing::Erasure);
        EXPECT_EQ(table.recordCount(), records);
        EXPECT_EQ(answer.pointStored, records > 2);
        // The window's showing: the point tool's first step, whatever came before.
        EXPECT_EQ(tools->restart().panels, std::vector<PanelChange>{PanelChange{P::PointName}});
        EXPECT_EQ(tools->toolStep(), 1);
        EXPECT_FALSE(tools->awaitingClick());
    }
}

// A refusal shows its message and ends the press: nothing stored, drawn or
// rearranged, the step kept; what the section set before its check stays.
TEST_F(PointToolsTest, RefusalsNameWhatIsMissing)
{
    using T = PointTool;
    const QString noSuchPoint = QStringLiteral("图上没有该状态点，请先画上！");
    const QString noName = QStringLiteral("请输入状态点名！");
    const QString noFlow = QStringLiteral("请输入风量！");
    const struct {
        std::vector<Action> actions;
        QString message;
        int step;
        bool lineStarted; // at the first point
    } cases[] = {
        {{Ok(T::Point, "")}, noName, 1, false},
        {{Ok(T::Point, "W"), Typed("26", "")}, "请输入状态点参数！", 2, false},
        {{T::TwoPoints, Ok(T::TwoPoints, "")}, noName, 1, false},
        {{T::TwoPoints, Ok(T::TwoPoints, "Z")}, noSuchPoint, 1, false},
        {{T::TwoPoints, Ok(T::TwoPoints, "A"), Ok(T::TwoPoints, "Z")}, noSuchPoint, 2, true},
        {{T::Mixing, Ok(T::Mixing, "A", "1000")}, "请输入混合点名！", 1, false},
        {{T::Mixing, Ok(T::Mixing, "", "1000", "M")}, noName, 1, false},
        {{T::Mixing, Ok(T::Mixing, "A", "", "M")}, noFlow, 1, false},
        {{T::Mixing, Ok(T::Mixing, "Z", "1000", "M")}, noSuchPoint, 1, false},
        {{T::Mixing, Ok(T::Mixing, "A", "1", "M"), Ok(T::Mixing, "B", "")}, noFlow, 2, true},
        {{T::Ratio, Ok(T::Ratio, "", "10000")}, "请输入室内状态点名！", 1, false},
        {{T::Ratio, Ok(T::Ratio, "A", "")}, "请输入热湿比！", 1, false},
        {{T::Ratio, Ok(T::Ratio, "Z", "10000")}, noSuchPoint, 1, false},
        {{T::Delete, Ok(T::Delete, "")}, "请输入被删除状态点名称！", 1, false},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const auto& c = cases[k];
        SCOPED_TRACE(testing::Message() << k << ": " << c.message.toStdString());
        fresh();
        const PointToolsAnswer answer = play(c.actions);
        EXPECT_EQ(answer.message, c.message);
        EXPECT_FALSE(answer.failure);
        EXPECT_TRUE(answer.panels.empty());
        EXPECT_TRUE(answer.drawings.empty());
        EXPECT_FALSE(answer.pointStored);
        EXPECT_EQ(table.recordCount(), 2);
        EXPECT_EQ(tools->toolStep(), c.step);
        EXPECT_EQ(tools->lineStart(), c.lineStarted ? G::StateToPixel(10, 40) : QPoint());
        EXPECT_EQ(tools->lineEnd(), QPoint());
    }
}

// A text that is no number is a failure named by its field's caption; the
// names taken before it are kept.
TEST_F(PointToolsTest, TextsThatAreNoNumbersFailTheAction)
{
    PointToolsAnswer answer = play({Ok(PointTool::Point, "W"), Typed("26", "abc")});
    ASSERT_TRUE(answer.failure);
    try {
        std::rethrow_exception(answer.failure);
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("相对湿度(%)：“abc”不是有效的数值"));
    }
    EXPECT_EQ(tools->toolStep(), 2);
    answer = play({PointTool::Mixing, Ok(PointTool::Mixing, "A", "x", "M")});
    EXPECT_TRUE(answer.failure);
    EXPECT_EQ(tools->mixName(), QStringLiteral("M"));
    EXPECT_EQ(tools->pendingName(), QStringLiteral("A"));
    EXPECT_EQ(tools->toolStep(), 1);
    EXPECT_EQ(table.recordCount(), 2);
}

// The states stored, against the library's own: typed values, a click, the
// mixing point weighted by the volumes; a stored name edits its record.
TEST_F(PointToolsTest, StoresTheLibrarysStates)
{
    ID_lib reference = lib;
    const auto expectPoint = [&](const char* name, double T, double RH, double d, double i) {
        SCOPED_TRACE(name);
        const StatePoint p = point(name);
        EXPECT_DOUBLE_EQ(p.T, T);
        EXPECT_DOUBLE_EQ(p.RH, RH);
        EXPECT_DOUBLE_EQ(p.D, d);
        EXPECT_DOUBLE_EQ(p.I, i);
        EXPECT_DOUBLE_EQ(p.Ts, reference.CurrentState.ts);
        EXPECT_DOUBLE_EQ(p.Ruo, reference.CurrentState.rho);
        EXPECT_DOUBLE_EQ(p.Tv, reference.CurrentState.tdew);
        EXPECT_DOUBLE_EQ(p.P, reference.CurrentState.pv);
    };

    EXPECT_TRUE(play({Ok(PointTool::Point, "W"), Typed("26", "60")}).pointStored);
    reference.CurrentState.t = 26; // the library's calling contract
    reference.CurrentState.RH = 60;
    reference.StateFromRH_T(26, 60);
    expectPoint("W", 26, 60, reference.CurrentState.d * 1000, reference.CurrentState.i);

    // A click stores the pixel's own state, the same name editing its record.
    EXPECT_TRUE(play({Ok(PointTool::Point, "W"), Click{{229, 179}}}).pointStored);
    const ChartState s = G::PixelToState(229, 179);
    reference.StateFromI_D(s.d / 1000, s.i);
    expectPoint("W", reference.CurrentState.t, reference.CurrentState.RH, s.d, s.i);
    EXPECT_EQ(table.recordCount(), 3);

    // A (1000 m³/h) with B (3000 m³/h): three quarters of the way to B.
    const PointToolsAnswer mixed = play({PointTool::Mixing, Ok(PointTool::Mixing, "A", "1000", "M"),
                                         Ok(PointTool::Mixing, "B", "3000")});
    EXPECT_TRUE(mixed.pointStored);
    reference.StateFromI_D(13.0 / 1000, 55);
    expectPoint("M", reference.CurrentState.t, reference.CurrentState.RH, 13, 55);
    const std::vector<std::vector<PointDrawing>> drawn{
        {{PointDrawing::Line, G::StateToPixel(10, 40), G::StateToPixel(14, 60), {}},
         {PointDrawing::Mark, G::StateToPixel(13, 55), {}, "M"}}};
    EXPECT_EQ(mixed.drawings, drawn);
    const std::vector<PanelChange> firstStreamAgain{{PointPanel::FirstStream, true}};
    EXPECT_EQ(mixed.panels, firstStreamAgain);
    EXPECT_EQ(tools->lineStart(), QPoint());
    EXPECT_EQ(tools->lineEnd(), QPoint());

    // Volumes summing to zero: the second step is done, the mixing refused.
    const PointToolsAnswer refused =
        play({Ok(PointTool::Mixing, "A", "1000", "Z"), Ok(PointTool::Mixing, "B", "-1000")});
    EXPECT_EQ(refused.message, QStringLiteral("风量之和不能为0！"));
    EXPECT_EQ(refused.panels, firstStreamAgain);
    EXPECT_TRUE(refused.drawings.empty());
    EXPECT_FALSE(refused.pointStored);
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_EQ(tools->lineStart(), QPoint());
    EXPECT_EQ(tools->lineEnd(), QPoint());
}

} // namespace
