#include "cli/ChartPicture.h"

#include "airtreat/TreatmentChart.h"
#include "app/Fonts.h"
#include "app/Numbers.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartGeometry.h"
#include "chart/PointTable.h"
#include "psychro/StatePointCalc.h"

#include <QPainter>

ChartPictureOptions CheckChartPictureOptions(const ChartArgs& a)
{
    ChartPictureOptions options;
    const std::optional<ChartFileFormat> named = ChartFileFormatOf(a.out);
    if (!named)
        throw UserError(QStringLiteral("无法识别输出文件“%1”的格式：扩展名应为 .png、.svg "
                                       "或 .pdf")
                            .arg(QuotedInput(a.out)));
    options.format = *named;
    if (!a.scale.isEmpty()) {
        if (options.format != ChartFileFormat::Png)
            throw UserError(QStringLiteral("--scale 只用于PNG图片"));
        bool ok = false;
        options.scale = a.scale.toInt(&ok);
        if (!ok || options.scale < kLeastPngScale || options.scale > kGreatestPngScale)
            throw UserError(QStringLiteral("放大倍数“%1”应为%2到%3之间的整数")
                                .arg(QuotedInput(a.scale))
                                .arg(kLeastPngScale)
                                .arg(kGreatestPngScale));
    }
    return options;
}

std::optional<ProcessComputed> ComputeChartProcess(const ChartArgs& a, const QString& pressureText)
{
    if (!a.process)
        return std::nullopt;
    ProcessCalculator calculator(pressureText);
    ProcessComputed process = calculator.compute(a.processNumber, a.given);
    if (!process.calculation)
        throw UserError(process.messages.join(QLatin1Char('\n')));
    return process;
}

int WriteChartPicture(const ChartArgs& a, const ChartPictureOptions& options,
                      const std::optional<ProcessComputed>& process, ChartDisplayList& list,
                      CliIo& io)
{
    InstallFontSubstitutions();
    if (!a.points.isEmpty()) {
        std::vector<StatePoint> points;
        try {
            RecordTableStore table(PointTableDeclaration());
            table.setPath(a.points);
            table.open();
            points = ReadPoints(table);
        } catch (const UserError& e) {
            io.err << e.text() << "\n";
            return ExitFailure;
        }
        list.append([points](QPainter& p) {
            for (const StatePoint& point : points)
                DrawPointMark(p, ChartGeometry::StateToPixel(point.D, point.I),
                              QString::fromStdString(point.No));
        });
    }
    if (process) {
        for (const QString& warning : process->messages)
            io.err << warning << "\n";
        const std::vector<TreatmentChartStep> steps =
            TreatmentChartSteps(process->calculation->points);
        list.append([steps](QPainter& p) { DrawTreatmentChart(p, steps); });
    }

    // A grid the library could not compute is no chart: drawn once first,
    // so that nothing is written when it fails.
    QStringList failures;
    ChartImageAt(list, kLeastPngScale, &failures);
    if (!failures.isEmpty())
        return Refuse(io, failures.join(QLatin1Char('\n')));
    try {
        for (const QString& warning : WriteChartFile(a.out, list, options.format, options.scale))
            io.err << warning << "\n";
    } catch (const UserError& e) {
        io.err << e.text() << "\n";
        return ExitFailure;
    }
    return ExitOk;
}
