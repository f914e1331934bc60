#include "airtreat/TreatmentChart.h"

#include "chart/ChartDrawing.h"
#include "chart/ChartGeometry.h"
#include "psychro/ID_lib.h"

#include <QPainter>
#include <map>

namespace
{

// g/kg per kg/kg: the chart and the point table count moisture in g/kg.
constexpr double kGramsPerKilogram = 1000;

// The two-character labels: the letter and an ASCII double-quote mark.
const QString kPreheated = QStringLiteral("W\"");
const QString kReheated = QStringLiteral("O\"");

TreatmentChartStep point(const QString& name, double d, double i, QPoint labelOffset)
{
    TreatmentChartStep step;
    step.name = name;
    step.d = d;
    step.i = i;
    step.labelOffset = labelOffset;
    return step;
}

TreatmentChartStep line(const QStringList& through)
{
    TreatmentChartStep step;
    step.what = TreatmentChartStep::Line;
    step.through = through;
    return step;
}

QPoint pixelOf(const TreatmentChartStep& step)
{
    return ChartGeometry::StateToPixel(step.d * kGramsPerKilogram, step.i);
}

} // namespace

const TableDeclaration& TreatPointTableDeclaration()
{
    // Same columns as the chart window's table; titles keep their leading
    // spaces, which centre the short ones.
    static const TableDeclaration declaration = [] {
        TableDeclaration d = PointTableDeclaration();
        const struct {
            const char16_t* title;
            int width;
        } grid[] = {{u"状态点", 4},   {u"干球温度", 6}, {u"相对湿度", 6},
                    {u"湿球温度", 6}, {u"含湿量", 7},   {u"  焓", 7},
                    {u" 密度", 6},    {u"露点温度", 6}, {u"  分压力", 10}};
        for (int k = 0; k < d.fields.size(); ++k) {
            FieldDeclaration& field = d.fields[k];
            field.title = QString::fromUtf16(grid[k].title);
            field.gridWidth = grid[k].width;
            field.alignment = Qt::AlignHCenter;
            if (field.type == FieldType::Double)
                field.pattern = QStringLiteral("0.00");
        }
        return d;
    }();
    return declaration;
}

std::vector<TreatmentChartStep> TreatmentChartSteps(const TreatmentResult& r)
{
    const bool preheated = r.Kind == 2 || r.Kind == 3;
    const bool reheated = r.Kind == 3 || r.Kind == 4;
    const QPoint above{-6, -20}, aboveRight{-2, -20}, aboveMixing{-6, -18}, belowRight{2, 2},
        aboveLeft{-14, -12};

    std::vector<TreatmentChartStep> steps;
    steps.push_back(point(QStringLiteral("N"), r.dN, r.iN, above));
    steps.push_back(point(QStringLiteral("W"), r.dW, r.iW, aboveRight));
    if (preheated) {
        steps.push_back(point(kPreheated, r.dW, r.iWh, aboveRight));
        steps.push_back(line({QStringLiteral("N"), kPreheated, QStringLiteral("W")}));
    } else {
        steps.push_back(line({QStringLiteral("N"), QStringLiteral("W")}));
    }
    steps.push_back(point(QStringLiteral("C"), r.dC, r.iC, aboveMixing));
    steps.push_back(point(QStringLiteral("L"), r.dL, r.iL, belowRight));
    steps.push_back(line({QStringLiteral("C"), QStringLiteral("L")}));
    steps.push_back(point(QStringLiteral("O"), r.dO, r.iO, aboveLeft));
    steps.push_back(line({QStringLiteral("O"), QStringLiteral("L")}));
    steps.push_back(line({QStringLiteral("O"), QStringLiteral("N")}));
    if (reheated) {
        steps.push_back(point(kReheated, r.dOs, r.iOs, aboveLeft));
        steps.push_back(line({QStringLiteral("O"), kReheated}));
        steps.push_back(line({kReheated, QStringLiteral("N")}));
    }
    return steps;
}

void DrawTreatmentChart(QPainter& painter, const std::vector<TreatmentChartStep>& steps)
{
    std::map<QString, QPoint> pixels;
    for (const TreatmentChartStep& step : steps) {
        if (step.what == TreatmentChartStep::Point) {
            const QPoint at = pixelOf(step);
            pixels[step.name] = at;
            DrawPointMark(painter, at, step.name, step.labelOffset);
            continue;
        }
        for (int k = 1; k < step.through.size(); ++k)
            DrawChartLine(painter, pixels.at(step.through[k - 1]), pixels.at(step.through[k]),
                          ChartColors::Blue);
    }
}

std::vector<StatePoint> TreatmentPointRecords(ID_lib& lib,
                                              const std::vector<TreatmentChartStep>& steps)
{
    std::vector<StatePoint> records;
    for (const TreatmentChartStep& step : steps) {
        if (step.what != TreatmentChartStep::Point)
            continue;
        StateOfProcessPoint(lib, step.d, step.i);
        const MoistAirState& s = lib.CurrentState;
        StatePoint record;
        record.No = step.name.toStdString();
        record.T = s.t;
        record.RH = s.RH;
        record.Ts = s.ts;
        record.D = step.d * kGramsPerKilogram;
        record.I = step.i;
        record.Ruo = s.rho;
        record.Tv = s.tdew;
        record.P = s.pv;
        records.push_back(record);
    }
    return records;
}

PointReportStyle TreatmentReportStyle(ReportTarget target)
{
    return {.title = QStringLiteral("空气处理过程湿空气状态参数"),
            .ruleLength = 13,
            .indent = target == ReportTarget::File ? 4 : 5};
}
