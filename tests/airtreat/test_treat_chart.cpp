// The treatment process on the chart: which points and lines each Kind
// draws, the records listed for them, where marks, labels and lines land,
// and the point report's two forms.
#include "airtreat/TreatmentCalc.h"
#include "airtreat/TreatmentChart.h"
#include "app/Numbers.h"
#include "app/TableGridModel.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartGeometry.h"
#include "psychro/ID_lib.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{

// The worked cases of the processes at 101325 Pa.
TreatmentInputs PrimarySummer()
{
    TreatmentInputs in;
    in.process = TreatmentProcess::PrimarySummer;
    in.tW = 34, in.tsW = 28, in.tN = 26, in.phiN = 60, in.Q = 10, in.W = 3, in.tO = 20;
    in.freshAir = 25;
    return in;
}

TreatmentInputs PrimaryWinter(double tW, double ratio)
{
    TreatmentInputs in;
    in.process = TreatmentProcess::PrimaryWinter;
    in.tW = tW, in.phiW = 70, in.tN = 20, in.phiN = 50, in.Q = -5, in.W = 2, in.tO = 30;
    in.freshAir = ratio;
    return in;
}

TreatmentInputs SecondaryWinter(double tW, double GW, double G1)
{
    TreatmentInputs in;
    in.process = TreatmentProcess::SecondaryWinter;
    in.tW = tW, in.phiW = 70, in.tN = 20, in.phiN = 50, in.Q = -5, in.W = 2;
    in.G = 3000, in.GW = GW, in.G1 = G1;
    return in;
}

TreatmentResult Calculate(const TreatmentInputs& in)
{
    ID_lib lib;
    const TreatmentOutcome out = CalculateTreatment(lib, in);
    EXPECT_TRUE(out.calculation.has_value()) << out.refusal.toStdString();
    return out.calculation ? out.calculation->points : TreatmentResult{};
}

ID_lib Library()
{
    ID_lib lib;
    lib.AtmPressure = 101325;
    lib.PsychroCoefficient = kPsychroCoefficient;
    return lib;
}

QStringList Names(const std::vector<TreatmentChartStep>& steps)
{
    QStringList names;
    for (const TreatmentChartStep& step : steps)
        names << (step.what == TreatmentChartStep::Point ? step.name
                                                         : step.through.join(QLatin1Char('-')));
    return names;
}

QString F2(double v)
{
    return FormatNumber(v, QStringLiteral("0.00"));
}

TEST(TreatmentChart, EachKindDrawsItsPointsAndLinesInOrder)
{
    const struct {
        int kind;
        QStringList steps;
    } cases[] = {
        {1, {"N", "W", "N-W", "C", "L", "C-L", "O", "O-L", "O-N"}},
        {2, {"N", "W", "W\"", "N-W\"-W", "C", "L", "C-L", "O", "O-L", "O-N"}},
        {3,
         {"N", "W", "W\"", "N-W\"-W", "C", "L", "C-L", "O", "O-L", "O-N", "O\"", "O-O\"", "O\"-N"}},
        {4, {"N", "W", "N-W", "C", "L", "C-L", "O", "O-L", "O-N", "O\"", "O-O\"", "O\"-N"}},
    };
    for (const auto& c : cases) {
        TreatmentResult result;
        result.Kind = c.kind;
        EXPECT_EQ(Names(TreatmentChartSteps(result)), c.steps) << "Kind " << c.kind;
    }
}

// Each label at its own side of its point; W" at W's moisture and the
// preheated enthalpy, O" at the process-4 supply state.
TEST(TreatmentChart, PointsSitAtTheirStatesWithTheirLabelOffsets)
{
    TreatmentResult r;
    r.Kind = 3;
    r.dN = 0.001, r.iN = 1, r.dW = 0.002, r.iW = 2, r.iWh = 3, r.dC = 0.004, r.iC = 4;
    r.dL = 0.005, r.iL = 5, r.dO = 0.006, r.iO = 6, r.dOs = 0.007, r.iOs = 7;
    const struct {
        const char* name;
        double d, i;
        QPoint offset;
    } expected[] = {
        {"N", 0.001, 1, {-6, -20}},    {"W", 0.002, 2, {-2, -20}}, {"W\"", 0.002, 3, {-2, -20}},
        {"C", 0.004, 4, {-6, -18}},    {"L", 0.005, 5, {2, 2}},    {"O", 0.006, 6, {-14, -12}},
        {"O\"", 0.007, 7, {-14, -12}},
    };
    std::vector<TreatmentChartStep> points;
    for (const TreatmentChartStep& step : TreatmentChartSteps(r))
        if (step.what == TreatmentChartStep::Point)
            points.push_back(step);
    ASSERT_EQ(points.size(), std::size(expected));
    for (std::size_t k = 0; k < points.size(); ++k) {
        SCOPED_TRACE(expected[k].name);
        EXPECT_EQ(points[k].name, QString::fromUtf8(expected[k].name));
        EXPECT_EQ(points[k].d, expected[k].d);
        EXPECT_EQ(points[k].i, expected[k].i);
        EXPECT_EQ(points[k].labelOffset, expected[k].offset);
    }
}

// The records of the worked cases: the names in order, and the states the
// cases give (room 26 ℃ / 60 %, supply 20 ℃ / 81.88 %, dew point at 93 %,
// mixing enthalpy 66.14).
TEST(TreatmentChart, RecordsOfTheWorkedCases)
{
    ID_lib lib = Library();
    const std::vector<StatePoint> summer =
        TreatmentPointRecords(lib, TreatmentChartSteps(Calculate(PrimarySummer())));
    QStringList names;
    for (const StatePoint& p : summer)
        names << QString::fromStdString(p.No);
    ASSERT_EQ(names, QStringList({"N", "W", "C", "L", "O"}));
    // Empty where the cases give no figure.
    const struct {
        const char *T, *RH, *D, *I;
    } expected[] = {
        {"26.00", "60.00", "12.63", "58.45"}, // N: the room
        {"34.00", "", "21.40", "89.21"},      // W: 34 ℃, wet bulb 28 ℃
        {"", "", "14.82", "66.14"},           // C: the mixing enthalpy shown
        {"17.96", "93.00", "11.97", "48.48"}, // L: the machine dew point
        {"20.00", "81.88", "11.97", "50.59"}, // O: the supply state
    };
    const auto check = [](double value, const char* shown) {
        if (*shown) {
            EXPECT_EQ(F2(value), QString::fromUtf8(shown));
        }
    };
    for (std::size_t k = 0; k < summer.size(); ++k) {
        SCOPED_TRACE(summer[k].No);
        check(summer[k].T, expected[k].T);
        check(summer[k].RH, expected[k].RH);
        check(summer[k].D, expected[k].D);
        check(summer[k].I, expected[k].I);
    }
    EXPECT_EQ(F2(summer[1].Ts), QStringLiteral("28.00"));

    // Process 4 with preheating lists seven points; process 2 without
    // preheating has L at the mixture's enthalpy, well below 93 %.
    const std::vector<StatePoint> secondary = TreatmentPointRecords(
        lib, TreatmentChartSteps(Calculate(SecondaryWinter(-15, 1500, 1000))));
    names.clear();
    for (const StatePoint& p : secondary)
        names << QString::fromStdString(p.No);
    EXPECT_EQ(names, QStringList({"N", "W", "W\"", "C", "L", "O", "O\""}));

    const TreatmentResult winter = Calculate(PrimaryWinter(10, 25));
    ASSERT_EQ(winter.Kind, 1);
    const std::vector<StatePoint> primary = TreatmentPointRecords(lib, TreatmentChartSteps(winter));
    ASSERT_EQ(primary[3].No, "L");
    EXPECT_EQ(F2(primary[3].RH), QStringLiteral("48.27"));
}

// Marks red with a white centre, labels blanking their cells, process lines
// blue: checked on the pixels the chart's mapping gives.
TEST(TreatmentChart, DrawsMarksLabelsAndBlueLines)
{
    const TreatmentResult r = Calculate(PrimarySummer());
    const std::vector<TreatmentChartStep> steps = TreatmentChartSteps(r);
    QImage image(ChartGeometry::ImageSize, QImage::Format_RGB32);
    image.fill(Qt::black); // label cells show up as white on it
    {
        QPainter painter(&image);
        DrawTreatmentChart(painter, steps);
    }
    for (const TreatmentChartStep& step : steps) {
        if (step.what != TreatmentChartStep::Point)
            continue;
        SCOPED_TRACE(step.name.toStdString());
        const QPoint at = ChartGeometry::StateToPixel(step.d * 1000, step.i);
        // The ring, where no line drawn after it crosses.
        int red = 0;
        for (const QPoint side : {QPoint(-2, 0), QPoint(1, 0), QPoint(0, -2), QPoint(0, 1)})
            red += image.pixel(at + side) == ChartColors::Red;
        EXPECT_GE(red, 2);
        // The label's cell starts at its offset and is filled white.
        const QPoint cell = at + step.labelOffset;
        EXPECT_EQ(image.pixel(cell), ChartColors::White);
        EXPECT_NE(image.pixel(cell - QPoint(1, 1)), ChartColors::White);
    }
    // Halfway along the cooling line C–L, away from marks and labels.
    const QPoint middle = (ChartGeometry::StateToPixel(r.dC * 1000, r.iC) +
                           ChartGeometry::StateToPixel(r.dL * 1000, r.iL)) /
                          2;
    int blue = 0;
    for (int dy = -1; dy <= 1; ++dy)
        blue += image.pixel(middle + QPoint(0, dy)) == ChartColors::Blue;
    EXPECT_EQ(blue, 1);
}

TEST(TreatmentChart, ReportTitleRuleAndIndentForFileAndPrinter)
{
    StatePoint n{"N", 26, 60, 20.36, 12.63, 58.45, 1.17, 17.6, 2016.47};
    const QStringList file =
        PointReportLines({n}, QStringLiteral("101325"), TreatmentReportStyle(ReportTarget::File));
    const QStringList printed = PointReportLines({n}, QStringLiteral("101325"),
                                                 TreatmentReportStyle(ReportTarget::Printer));
    const QString centre(22, QLatin1Char(' '));
    for (const QStringList& lines : {file, printed}) {
        ASSERT_EQ(lines.size(), 12);
        EXPECT_EQ(lines[1], centre + QStringLiteral("空气处理过程湿空气状态参数"));
        EXPECT_EQ(lines[2], centre + QString(13, QChar(u'━')));
    }
    EXPECT_EQ(file[10],
              QStringLiteral("    N  26.00  20.36  60.00   12.63   58.45    1.17   17.60  2016.5"));
    EXPECT_EQ(printed[10], QLatin1Char(' ') + file[10]);
}

// The view's grid: its own titles and widths, every number "0.00", centred.
TEST(TreatmentChart, GridShowsEveryNumberWithTwoDecimalsCentred)
{
    QStringList titles;
    QList<int> widths;
    for (const FieldDeclaration& field : TreatPointTableDeclaration().fields) {
        titles << field.title;
        widths << field.gridWidth;
        EXPECT_EQ(field.alignment, Qt::AlignHCenter);
    }
    EXPECT_EQ(titles, QStringList({"状态点", "干球温度", "相对湿度", "湿球温度", "含湿量", "  焓",
                                   " 密度", "露点温度", "  分压力"}));
    EXPECT_EQ(widths, QList<int>({4, 6, 6, 6, 7, 7, 6, 6, 10}));
    const FieldDeclaration& P = TreatPointTableDeclaration().fields.last();
    EXPECT_EQ(TableGridModel::displayText(P, 1168.54), QStringLiteral("1168.54"));
}

} // namespace
