// The chart's point tools without their window: placing named state points by
// a click or by typed dry bulb and relative humidity, joining two points,
// mixing two streams, heat-moisture-ratio lines and deleting points by name.
//
// ChartPointTools keeps the tools' steps between one action and the next,
// checks what was typed, computes the states through the moist-air library,
// stores and deletes points in the point table and answers with what the
// window has to do: the panel arrangements, the drawings to append to the
// picture, whether the grid shows a newly stored point, the message that
// ended the action. No widgets.
#pragma once

#include "app/RecordTableStore.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartGeometry.h"

#include <QPoint>
#include <QString>
#include <exception>
#include <optional>
#include <vector>

class ID_lib;

// The five tools of the chart's tool bar, left to right.
enum class PointTool { Point, Ratio, TwoPoints, Mixing, Delete };

// The arrangements of the entry panel under the tool bar.
enum class PointPanel {
    PointName,    // "状态点名称:"
    PointValues,  // "点击或输入状态点:", dry bulb and relative humidity
    RoomPoint,    // "室内点名称:", "热湿比:"
    FirstPoint,   // "第一状态点名称:"
    SecondPoint,  // "第二状态点名称:"
    FirstStream,  // "混合点名称:", "第一状态点名称:", "风量(m3/h):"
    SecondStream, // "第二状态点名称:", "风量(m3/h):"
    DeletedPoint, // "被删除状态点名称:"
};

// What an arrangement shows. Rows not named are hidden; a shown mixing-name
// or volume/ratio field starts empty.
struct PointPanelLayout {
    bool mixName = false;        // "混合点名称:" with the mixing point's name field
    const char16_t* nameCaption; // over the name field, shown unless TypedValues
    enum Values { None, TypedValues, FlowOrRatio } values = None;
    const char16_t* valueCaption = nullptr; // over the typed values or the volume/ratio
};
const PointPanelLayout& LayoutOf(PointPanel panel);

// One panel arrangement asked for, with the point name field emptied or its
// text kept.
struct PanelChange {
    PointPanel panel;
    bool nameEmptied = false;
    bool operator==(const PanelChange&) const = default;
};

// One thing a tool draws on the chart, in pixels of ChartGeometry.
struct PointDrawing {
    enum Kind {
        Mark,    // the point mark at `at` named `name`
        Line,    // a user line from `at` to `to`
        Erasure, // the mark at `at` named `name` rubbed out
    } kind = Mark;
    QPoint at;
    QPoint to;
    QString name;
    bool operator==(const PointDrawing&) const = default;
};
// Drawings made together as one step of the display list, in order.
ChartDisplayList::Step DrawingStep(std::vector<PointDrawing> drawings);

// A number field as typed, named as a conversion error names it.
struct TypedNumber {
    QString caption; // the field's caption without its colon
    QString text;
};

// The panel as the user left it when "确定" is pressed.
struct PointEntries {
    std::optional<PointTool> tool; // the tool that is down
    bool nameShown = true;         // the point name field is visible
    QString mixName;               // the mixing point's name
    QString name;                  // the point name
    TypedNumber t, RH;             // dry bulb (℃) and relative humidity (%)
    TypedNumber flowOrRatio;       // air volume (m³/h) or heat-moisture ratio
};

// What the window does after an action, in this order: the panel changes,
// the drawings (each inner list one step of the display list), the grid
// brought to the stored point, then the message or the failure. Whatever
// the action did before its message or failure keeps its effect and is in
// the answer too.
struct PointToolsAnswer {
    std::vector<PanelChange> panels;
    std::vector<std::vector<PointDrawing>> drawings;
    bool pointStored = false; // the table's current record is the point stored
    QString message;          // an error box that ended the action
    // A failure that ended the action (a text that is no number, a table that
    // refused a change); the window rethrows it to its general error box.
    std::exception_ptr failure;
};

class ChartPointTools
{
public:
    // The tools compute with lib (at its pressure as set) and store in table,
    // the chart window's point table; both outlive the tools.
    ChartPointTools(ID_lib& lib, RecordTableStore& table);

    // A tool's button was pressed and is down. Any tool ends a pending click
    // placement: a click then never stores a point under a name given for
    // another tool.
    PointToolsAnswer choose(PointTool tool);
    // "确定": performs the current step of the tool that is down.
    PointToolsAnswer confirm(const PointEntries& entries);
    // A click on the chart at pixel at, with tool down: places the pending
    // point there when one is awaited.
    PointToolsAnswer click(std::optional<PointTool> tool, QPoint at);
    // The window's showing: back to the point tool's first step, the name
    // field's text kept.
    PointToolsAnswer restart();

    int toolStep() const { return toolStep_; }
    bool awaitingClick() const { return awaitingClick_; }
    QString pendingName() const { return pendingName_; }
    QString mixName() const { return mixName_; }
    QPoint lineStart() const { return lineStart_; } // (0, 0): unset
    QPoint lineEnd() const { return lineEnd_; }     // (0, 0): unset
    // Air volumes in m³/h; the ratio tool keeps its ratio in the first.
    double mixFlow1() const { return mixFlow1_; }
    double mixFlow2() const { return mixFlow2_; }
    ChartState firstMixState() const { return firstMixState_; }
    ChartState secondMixState() const { return secondMixState_; }

private:
    struct Press;
    template <class Action> PointToolsAnswer run(Action action);

    bool pointFirstStep(Press& press);
    bool pointTypedValues(Press& press);
    bool twoPointFirst(Press& press);
    bool twoPointSecond(Press& press);
    void joinTwoPoints(Press& press);
    bool mixFirst(Press& press);
    bool mixSecond(Press& press);
    bool mixPoints(Press& press);
    bool ratioLine(Press& press);
    bool deletePointByName(Press& press);

    void completePoint(PointToolsAnswer& answer);
    bool takeText(Press& press, const QString& text, const QString& emptyMessage, QString& into);
    bool takeNumber(Press& press, const TypedNumber& field, const QString& emptyMessage,
                    double& into);
    std::optional<ChartState> findPending(Press& press);
    void storePoint(PointToolsAnswer& answer, const QString& name, double T, double RH,
                    ChartState state);

    ID_lib& lib_;
    RecordTableStore& table_;

    int toolStep_ = 1;
    bool awaitingClick_ = false;
    QString pendingName_;
    QString mixName_;
    QPoint lineStart_;
    QPoint lineEnd_;
    double mixFlow1_ = 0;
    double mixFlow2_ = 0;
    ChartState firstMixState_;
    ChartState secondMixState_;
};
