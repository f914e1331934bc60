// ventacalc-cli chart: the i–d chart written to a PNG, SVG or PDF file, with
// the points of a point file, a treatment process and the comfort zones as
// the chart windows draw them.
#include "airtreat/TreatmentChart.h"
#include "app/Fonts.h"
#include "app/Numbers.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartDrawing.h"
#include "chart/ChartExport.h"
#include "chart/ChartGeometry.h"
#include "chart/PointTable.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/ProcessArguments.h"
#include "psychro/ID_lib.h"
#include "psychro/StatePointCalc.h"

#include <QMap>
#include <QPainter>

namespace
{

const char* const kHelp =
    "用法: ventacalc-cli chart --out FILE.(png|svg|pdf) [--pressure PA] [--points FILE.DB]\n"
    "                          [--process <过程> <参数>=<值> ...] [--zones] [--scale N]\n"
    "\n"
    "把湿空气焓湿图写成图片文件，与“湿空气焓湿图”窗口画出的图相同。\n"
    "\n"
    "选项:\n"
    "  --out FILE     输出文件；格式由扩展名决定: .png 图片，.svg 矢量图形，.pdf 一页\n"
    "                 PDF文档（矢量，文字仍为文字）。文件先写到同目录下的临时文件，\n"
    "                 写完后再替换，失败时原有文件不变。图中只有图框、标注和画上的\n"
    "                 点与线，四周留少许空白\n"
    "  --pressure PA  当地大气压 (Pa)，默认 101325，须在30000～150000之间；图中按给出\n"
    "                 的文字标注\n"
    "  --points FILE  画上状态点文件（焓湿图窗口保存的 .DB 文件）中的各点和点名，\n"
    "                 与窗口打开状态点文件时画出的相同；文件不会被修改\n"
    "  --process N    画上空气处理过程 N（1～4）的状态点和处理过程线，与“处理过程图”\n"
    "                 相同；其后给出该过程的参数 <参数>=<值>，参数及其含义与\n"
    "                 ventacalc-cli process 相同（见 ventacalc-cli process --help）\n"
    "  --zones        画上舒适区: GB 50736-2012 舒适性空调的室内设计参数范围（冬季\n"
    "                 Ⅰ级 22～24℃ 相对湿度≥30%，Ⅱ级 18～22℃；夏季Ⅰ级 24～26℃\n"
    "                 相对湿度40～60%，Ⅱ级 26～28℃ 相对湿度≤70%）\n"
    "  --scale N      PNG图片的放大倍数，1～4 的整数，默认 2（图形原尺寸的 N 倍）\n"
    "\n"
    "成功时标准输出没有内容。扩展名不是 .png、.svg、.pdf，缺少 --out，大气压或处理\n"
    "过程的参数被拒绝，--scale 用于PNG以外的文件，或画图时计算库报告计算失败时，在\n"
    "标准错误输出给出提示、不写出文件并以状态 2 退出；状态点文件无法读取或输出文件\n"
    "无法写入时以状态 1 退出。处理过程的警告写到标准错误输出，图照常写出。\n"
    "\n"
    "例: ventacalc-cli chart --out chart.svg --zones\n"
    "    ventacalc-cli chart --out points.png --points 工程.DB --scale 3\n"
    "    ventacalc-cli chart --out process.pdf --process 1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3\n"
    "      tO=20 ratio=25\n";

} // namespace

ChartArgs ParseChartArgs(const QStringList& args)
{
    ChartArgs a;
    const auto unknown = [](const QString& word) {
        return UserError(QStringLiteral("无法识别的参数: %1（见 ventacalc-cli chart --help）")
                             .arg(QuotedInput(word)));
    };
    const QMap<QString, QString ChartArgs::*> valued{
        {QStringLiteral("--out"), &ChartArgs::out},
        {QStringLiteral("--pressure"), &ChartArgs::pressure},
        {QStringLiteral("--points"), &ChartArgs::points},
        {QStringLiteral("--scale"), &ChartArgs::scale},
        {QStringLiteral("--process"), &ChartArgs::processNumber}};
    QStringList seen;
    for (qsizetype k = 0; k < args.size(); ++k) {
        const QString& word = args[k];
        if (valued.contains(word) || word == QLatin1String("--zones")) {
            if (seen.contains(word))
                throw UserError(QStringLiteral("选项 %1 给出了两次").arg(word));
            seen << word;
        }
        if (word == QLatin1String("--zones")) {
            a.zones = true;
        } else if (valued.contains(word)) {
            if (k + 1 >= args.size())
                throw UserError(QStringLiteral("选项 %1 缺少值").arg(word));
            if (args[k + 1].isEmpty())
                throw UserError(QStringLiteral("选项 %1 的值不能为空").arg(word));
            a.*valued.value(word) = args[++k];
            a.process = a.process || word == QLatin1String("--process");
        } else if (!a.process || !TakeProcessParameter(word, a.given)) {
            throw unknown(word);
        }
    }
    return a;
}

namespace
{

int run(const QStringList& args, CliIo& io)
{
    ChartDisplayList list;
    ChartArgs a;
    ChartFileFormat format = ChartFileFormat::Png;
    int scale = kDefaultPngScale;
    std::optional<ProcessComputed> process;
    try {
        a = ParseChartArgs(args);
        if (a.out.isEmpty())
            throw UserError(QStringLiteral("请用 --out 给出输出文件（.png、.svg 或 .pdf）"));
        const std::optional<ChartFileFormat> named = ChartFileFormatOf(a.out);
        if (!named)
            throw UserError(QStringLiteral("无法识别输出文件“%1”的格式：扩展名应为 .png、.svg "
                                           "或 .pdf")
                                .arg(QuotedInput(a.out)));
        format = *named;
        if (!a.scale.isEmpty()) {
            if (format != ChartFileFormat::Png)
                throw UserError(QStringLiteral("--scale 只用于PNG图片"));
            bool ok = false;
            scale = a.scale.toInt(&ok);
            if (!ok || scale < kLeastPngScale || scale > kGreatestPngScale)
                throw UserError(QStringLiteral("放大倍数“%1”应为%2到%3之间的整数")
                                    .arg(QuotedInput(a.scale))
                                    .arg(kLeastPngScale)
                                    .arg(kGreatestPngScale));
        }
        ID_lib lib;
        ApplyPressureText(lib, a.pressure, InputNaming::Argument);
        CheckChartPressure(lib.AtmPressure);
        list.reset(lib, a.pressure);
        list.setZonesShown(a.zones);
        if (a.process) {
            ProcessCalculator calculator(a.pressure);
            process = calculator.compute(a.processNumber, a.given);
            if (!process->calculation)
                return Refuse(io, process->messages.join(QLatin1Char('\n')));
        }
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }

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
        for (const QString& warning : WriteChartFile(a.out, list, format, scale))
            io.err << warning << "\n";
    } catch (const UserError& e) {
        io.err << e.text() << "\n";
        return ExitFailure;
    }
    return ExitOk;
}

const CliCommandRegistrar registrar({QStringLiteral("chart"),
                                     QStringLiteral("焓湿图写成图片文件（PNG、SVG、PDF）"),
                                     QString::fromUtf8(kHelp), &run, true});

} // namespace
