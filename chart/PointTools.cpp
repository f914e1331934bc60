#include "chart/PointTools.h"

#include "app/Numbers.h"
#include "chart/ChartConstructions.h"
#include "chart/ChartDrawing.h"
#include "chart/PointTable.h"
#include "psychro/ID_lib.h"

#include <utility>

namespace
{

using G = ChartGeometry;
using Layout = PointPanelLayout;

const QString kNoSuchPoint = QStringLiteral("图上没有该状态点，请先画上！");
const QString kEnterPointName = QStringLiteral("请输入状态点名！");
const QString kEnterFlow = QStringLiteral("请输入风量！");

bool BothSet(QPoint a, QPoint b)
{
    return a.x() != 0 && a.y() != 0 && b.x() != 0 && b.y() != 0;
}

} // namespace

const PointPanelLayout& LayoutOf(PointPanel panel)
{
    static const Layout kPointName{.nameCaption = u"状态点名称:"};
    static const Layout kPointValues{.nameCaption = u"点击或输入状态点:",
                                     .values = Layout::TypedValues,
                                     .valueCaption = u"干球温度(C):"};
    static const Layout kRoomPoint{
        .nameCaption = u"室内点名称:", .values = Layout::FlowOrRatio, .valueCaption = u"热湿比:"};
    static const Layout kFirstPoint{.nameCaption = u"第一状态点名称:"};
    static const Layout kSecondPoint{.nameCaption = u"第二状态点名称:"};
    static const Layout kFirstStream{.mixName = true,
                                     .nameCaption = u"第一状态点名称:",
                                     .values = Layout::FlowOrRatio,
                                     .valueCaption = u"风量(m3/h):"};
    static const Layout kSecondStream{.nameCaption = u"第二状态点名称:",
                                      .values = Layout::FlowOrRatio,
                                      .valueCaption = u"风量(m3/h):"};
    static const Layout kDeletedPoint{.nameCaption = u"被删除状态点名称:"};
    switch (panel) {
    case PointPanel::PointName:
        return kPointName;
    case PointPanel::PointValues:
        return kPointValues;
    case PointPanel::RoomPoint:
        return kRoomPoint;
    case PointPanel::FirstPoint:
        return kFirstPoint;
    case PointPanel::SecondPoint:
        return kSecondPoint;
    case PointPanel::FirstStream:
        return kFirstStream;
    case PointPanel::SecondStream:
        return kSecondStream;
    case PointPanel::DeletedPoint:
        break;
    }
    return kDeletedPoint;
}

ChartDisplayList::Step DrawingStep(std::vector<PointDrawing> drawings)
{
    return [drawings = std::move(drawings)](QPainter& p) {
        for (const PointDrawing& drawing : drawings) {
            switch (drawing.kind) {
            case PointDrawing::Mark:
                DrawPointMark(p, drawing.at, drawing.name);
                break;
            case PointDrawing::Line:
                DrawChartLine(p, drawing.at, drawing.to);
                break;
            case PointDrawing::Erasure:
                ErasePointMark(p, drawing.at, drawing.name);
                break;
            }
        }
    };
}

// One "确定": what was typed and the answer being made.
struct ChartPointTools::Press {
    const PointEntries& entries;
    PointToolsAnswer& answer;
};

ChartPointTools::ChartPointTools(ID_lib& lib, RecordTableStore& table) : lib_(lib), table_(table) {}

// The action's effects up to a failure are answered with the failure.
template <class Action> PointToolsAnswer ChartPointTools::run(Action action)
{
    PointToolsAnswer answer;
    try {
        action(answer);
    } catch (...) {
        answer.failure = std::current_exception();
    }
    return answer;
}

// ---- Tools ---------------------------------------------------------------

PointToolsAnswer ChartPointTools::choose(PointTool tool)
{
    return run([&](PointToolsAnswer& answer) {
        awaitingClick_ = false;
        switch (tool) {
        case PointTool::Point:
            answer.panels.push_back({PointPanel::PointName});
            toolStep_ = 1;
            break;
        case PointTool::Ratio:
            answer.panels.push_back({PointPanel::RoomPoint});
            break;
        case PointTool::TwoPoints:
            answer.panels.push_back({PointPanel::FirstPoint});
            toolStep_ = 1;
            break;
        case PointTool::Mixing:
            answer.panels.push_back({PointPanel::FirstStream, true});
            toolStep_ = 1;
            break;
        case PointTool::Delete:
            answer.panels.push_back({PointPanel::DeletedPoint});
            break;
        }
    });
}

PointToolsAnswer ChartPointTools::restart()
{
    return run([&](PointToolsAnswer& answer) {
        answer.panels.push_back({PointPanel::PointName});
        awaitingClick_ = false;
        toolStep_ = 1;
    });
}

// A point is placed: the point tool's first step again, for the next name.
void ChartPointTools::completePoint(PointToolsAnswer& answer)
{
    answer.panels.push_back({PointPanel::PointName, true});
    awaitingClick_ = false;
    toolStep_ = 1;
}

// ---- The mouse -----------------------------------------------------------

PointToolsAnswer ChartPointTools::click(std::optional<PointTool> tool, QPoint at)
{
    return run([&](PointToolsAnswer& answer) {
        if (!awaitingClick_)
            return;
        const ChartState s = G::PixelToState(at.x(), at.y());
        lib_.StateFromI_D(s.d / 1000, s.i);
        storePoint(answer, pendingName_, lib_.CurrentState.t, lib_.CurrentState.RH, s);
        answer.drawings.push_back({{PointDrawing::Mark, at, {}, pendingName_}});
        if (tool == PointTool::Point && toolStep_ == 2)
            completePoint(answer);
    });
}

// ---- "确定" ---------------------------------------------------------------

// The sections run in this order, each when its tool and step call for it; a
// message ends the press, keeping what the sections before it did. A first
// step that succeeds is not followed by its second step in the same press.
PointToolsAnswer ChartPointTools::confirm(const PointEntries& entries)
{
    return run([&](PointToolsAnswer& answer) {
        Press press{entries, answer};
        const auto down = [&](PointTool tool) { return entries.tool == tool; };
        if (down(PointTool::Point)) {
            if (toolStep_ == 1 && entries.nameShown) {
                if (!pointFirstStep(press))
                    return;
            } else if (toolStep_ == 2 && awaitingClick_ && !pointTypedValues(press)) {
                return;
            }
        }
        if (down(PointTool::TwoPoints) &&
            !(toolStep_ == 1 ? twoPointFirst(press) : twoPointSecond(press)))
            return;
        if (BothSet(lineStart_, lineEnd_))
            joinTwoPoints(press);

        if (down(PointTool::Mixing) && !(toolStep_ == 1 ? mixFirst(press) : mixSecond(press)))
            return;
        if (BothSet(lineStart_, lineEnd_) && !mixPoints(press))
            return;

        if (down(PointTool::Ratio) && !ratioLine(press))
            return;
        if (down(PointTool::Delete))
            deletePointByName(press);
    });
}

// A: the name of the point to place; then a click or typed values place it.
bool ChartPointTools::pointFirstStep(Press& press)
{
    if (!takeText(press, press.entries.name, kEnterPointName, pendingName_))
        return false;
    awaitingClick_ = true;
    press.answer.panels.push_back({PointPanel::PointValues});
    toolStep_ = 2;
    return true;
}

// B: the point from its dry bulb and relative humidity.
bool ChartPointTools::pointTypedValues(Press& press)
{
    const PointEntries& e = press.entries;
    if (e.t.text.isEmpty() || e.RH.text.isEmpty()) {
        press.answer.message = QStringLiteral("请输入状态点参数！");
        return false;
    }
    const double t = ParseField(e.t.caption, e.t.text);
    const double RH = ParseField(e.RH.caption, e.RH.text);
    lib_.CurrentState.t = t;
    lib_.CurrentState.RH = RH;
    lib_.StateFromRH_T(t, RH);
    const ChartState s{lib_.CurrentState.d * 1000, lib_.CurrentState.i};
    storePoint(press.answer, pendingName_, t, RH, s);
    press.answer.drawings.push_back({{PointDrawing::Mark, G::StateToPixel(s), {}, pendingName_}});
    completePoint(press.answer);
    return true;
}

// C: the first point of a line.
bool ChartPointTools::twoPointFirst(Press& press)
{
    lineStart_ = QPoint();
    if (!takeText(press, press.entries.name, kEnterPointName, pendingName_))
        return false;
    const std::optional<ChartState> first = findPending(press);
    if (!first)
        return false;
    lineStart_ = G::StateToPixel(*first);
    press.answer.panels.push_back({PointPanel::SecondPoint, true});
    awaitingClick_ = false;
    toolStep_ = 2;
    return true;
}

// D: the second point of a line.
bool ChartPointTools::twoPointSecond(Press& press)
{
    lineEnd_ = QPoint();
    if (!takeText(press, press.entries.name, kEnterPointName, pendingName_))
        return false;
    const std::optional<ChartState> second = findPending(press);
    if (!second)
        return false;
    lineEnd_ = G::StateToPixel(*second);
    press.answer.panels.push_back({PointPanel::FirstPoint, true});
    toolStep_ = 1;
    return true;
}

// E
void ChartPointTools::joinTwoPoints(Press& press)
{
    press.answer.drawings.push_back({{PointDrawing::Line, lineStart_, lineEnd_, {}}});
    lineStart_ = lineEnd_ = QPoint();
}

// F: the mixing point's name and the first stream.
bool ChartPointTools::mixFirst(Press& press)
{
    const PointEntries& e = press.entries;
    lineStart_ = QPoint();
    if (!takeText(press, e.mixName, QStringLiteral("请输入混合点名！"), mixName_) ||
        !takeText(press, e.name, kEnterPointName, pendingName_) ||
        !takeNumber(press, e.flowOrRatio, kEnterFlow, mixFlow1_))
        return false;
    const std::optional<ChartState> first = findPending(press);
    if (!first)
        return false;
    firstMixState_ = *first;
    lineStart_ = G::StateToPixel(*first);
    press.answer.panels.push_back({PointPanel::SecondStream, true});
    awaitingClick_ = false;
    toolStep_ = 2;
    return true;
}

// G: the second stream.
bool ChartPointTools::mixSecond(Press& press)
{
    const PointEntries& e = press.entries;
    lineEnd_ = QPoint();
    if (!takeText(press, e.name, kEnterPointName, pendingName_) ||
        !takeNumber(press, e.flowOrRatio, kEnterFlow, mixFlow2_))
        return false;
    const std::optional<ChartState> second = findPending(press);
    if (!second)
        return false;
    secondMixState_ = *second;
    lineEnd_ = G::StateToPixel(*second);
    press.answer.panels.push_back({PointPanel::FirstStream, true});
    toolStep_ = 1;
    return true;
}

// H: the mixing point, on the line between the two streams.
bool ChartPointTools::mixPoints(Press& press)
{
    const std::optional<ChartState> mix =
        MixingPoint(firstMixState_, mixFlow1_, secondMixState_, mixFlow2_);
    // The two ends serve this mixing only, whatever becomes of it: a failed
    // one leaves no line for the next press to draw.
    const QPoint first = std::exchange(lineStart_, QPoint());
    const QPoint second = std::exchange(lineEnd_, QPoint());
    if (!mix) {
        press.answer.message = QStringLiteral("风量之和不能为0！");
        return false;
    }
    lib_.StateFromI_D(mix->d / 1000, mix->i);
    // Stored before it is drawn: a point the table refuses (volumes so large
    // that their sum overflows) leaves no mark.
    storePoint(press.answer, mixName_, lib_.CurrentState.t, lib_.CurrentState.RH, *mix);
    press.answer.drawings.push_back({{PointDrawing::Line, first, second, {}},
                                     {PointDrawing::Mark, G::StateToPixel(*mix), {}, mixName_}});
    return true;
}

// I: the heat-moisture-ratio line through a room point; the panel stays, so
// that several ratios can be drawn through one point.
bool ChartPointTools::ratioLine(Press& press)
{
    const PointEntries& e = press.entries;
    lineStart_ = QPoint();
    if (!takeText(press, e.name, QStringLiteral("请输入室内状态点名！"), pendingName_) ||
        !takeNumber(press, e.flowOrRatio, QStringLiteral("请输入热湿比！"), mixFlow1_))
        return false;
    const std::optional<ChartState> room = findPending(press);
    if (!room)
        return false;
    lineStart_ = G::StateToPixel(RatioLineEnd(*room, mixFlow1_));
    press.answer.drawings.push_back({{PointDrawing::Line, G::StateToPixel(*room), lineStart_, {}}});
    return true;
}

// J: a name that is not in the table is passed over without a message.
bool ChartPointTools::deletePointByName(Press& press)
{
    const QString& name = press.entries.name;
    if (name.isEmpty()) {
        press.answer.message = QStringLiteral("请输入被删除状态点名称！");
        return false;
    }
    if (FindPoint(table_, name)) {
        const StatePoint point = CurrentPoint(table_);
        pendingName_ = QString::fromStdString(point.No);
        const QPoint at = G::StateToPixel(point.D, point.I);
        // Deleted before it is erased: a point the table keeps keeps its mark.
        table_.remove();
        press.answer.drawings.push_back({{PointDrawing::Erasure, at, {}, pendingName_}});
    }
    press.answer.panels.push_back({PointPanel::DeletedPoint, true});
    return true;
}

// ---- Reading the entries and the table ------------------------------------

// A field's text, or its message when it is empty.
bool ChartPointTools::takeText(Press& press, const QString& text, const QString& emptyMessage,
                               QString& into)
{
    if (text.isEmpty()) {
        press.answer.message = emptyMessage;
        return false;
    }
    into = text;
    return true;
}

// A field's number, or its message when it is empty (a text that is no
// number throws ConversionError).
bool ChartPointTools::takeNumber(Press& press, const TypedNumber& field,
                                 const QString& emptyMessage, double& into)
{
    if (field.text.isEmpty()) {
        press.answer.message = emptyMessage;
        return false;
    }
    into = ParseField(field.caption, field.text);
    return true;
}

// The pending name's point, or the message that it is not on the chart.
std::optional<ChartState> ChartPointTools::findPending(Press& press)
{
    if (!FindPoint(table_, pendingName_)) {
        press.answer.message = kNoSuchPoint;
        return std::nullopt;
    }
    const StatePoint point = CurrentPoint(table_);
    return ChartState{point.D, point.I};
}

// Stores name with T and RH as given and the rest of the library's current
// state, at s.
void ChartPointTools::storePoint(PointToolsAnswer& answer, const QString& name, double T, double RH,
                                 ChartState s)
{
    StatePoint point;
    point.No = name.toStdString();
    point.T = T;
    point.RH = RH;
    point.Ts = lib_.CurrentState.ts;
    point.D = s.d;
    point.I = s.i;
    point.Ruo = lib_.CurrentState.rho;
    point.Tv = lib_.CurrentState.tdew;
    point.P = lib_.CurrentState.pv;
    StorePoint(table_, point);
    answer.pointStored = true;
}
