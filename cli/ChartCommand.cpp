// ventacalc-cli chart: the i–d chart written to a PNG, SVG or PDF file, with
// the points of a point file, a treatment process and the comfort zones as
// the chart windows draw them.
#include "app/Numbers.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartGeometry.h"
#include "cli/ChartPicture.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/ProcessArguments.h"
#include "psychro/ID_lib.h"
#include "psychro/StatePointCalc.h"

#include <QMap>

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

bool ChartArgs::has(const char* optionOrFlag) const
{
    const QString word = QString::fromLatin1(optionOrFlag);
    return options.contains(word) || flags.contains(word);
}

ChartArgs ParseChartWords(const QStringList& args, const ChartGrammar& grammar)
{
    ChartArgs a;
    const auto unknown = [&](const QString& word) {
        return UserError(QStringLiteral("无法识别的参数: %1（见 ventacalc-cli %2 --help）")
                             .arg(QuotedInput(word), QLatin1String(grammar.command)));
    };
    const QMap<QString, QString ChartArgs::*> valued{
        {QLatin1String(grammar.outOption), &ChartArgs::out},
        {QStringLiteral("--pressure"), &ChartArgs::pressure},
        {QStringLiteral("--points"), &ChartArgs::points},
        {QStringLiteral("--scale"), &ChartArgs::scale},
        {QStringLiteral("--process"), &ChartArgs::processNumber}};
    QStringList seen;
    for (qsizetype k = 0; k < args.size(); ++k) {
        const QString& word = args[k];
        const bool own = grammar.options.contains(word) || grammar.flags.contains(word);
        if (valued.contains(word) || word == QLatin1String("--zones") || own) {
            if (seen.contains(word))
                throw UserError(QStringLiteral("选项 %1 给出了两次").arg(word));
            seen << word;
        }
        const bool withValue = valued.contains(word) || grammar.options.contains(word);
        if (withValue) {
            if (k + 1 >= args.size())
                throw UserError(QStringLiteral("选项 %1 缺少值").arg(word));
            if (args[k + 1].isEmpty())
                throw UserError(QStringLiteral("选项 %1 的值不能为空").arg(word));
        }
        if (word == QLatin1String("--zones")) {
            a.zones = true;
        } else if (grammar.flags.contains(word)) {
            a.flags << word;
        } else if (grammar.options.contains(word)) {
            a.options.insert(word, args[++k]);
        } else if (valued.contains(word)) {
            a.*valued.value(word) = args[++k];
            a.process = a.process || word == QLatin1String("--process");
            a.pressureGiven = a.pressureGiven || word == QLatin1String("--pressure");
        } else if (a.process && TakeProcessParameter(word, a.given)) {
            continue;
        } else if (grammar.positional && !word.startsWith(QLatin1String("--")) &&
                   !(a.process && word.contains(QLatin1Char('=')))) {
            a.positional << word;
        } else {
            throw unknown(word);
        }
    }
    return a;
}

ChartArgs ParseChartArgs(const QStringList& args)
{
    return ParseChartWords(args, ChartGrammar());
}

namespace
{

int run(const QStringList& args, CliIo& io)
{
    ChartDisplayList list;
    ChartArgs a;
    ChartPictureOptions options;
    std::optional<ProcessComputed> process;
    try {
        a = ParseChartArgs(args);
        if (a.out.isEmpty())
            throw UserError(QStringLiteral("请用 --out 给出输出文件（.png、.svg 或 .pdf）"));
        options = CheckChartPictureOptions(a);
        ID_lib lib;
        ApplyPressureText(lib, a.pressure, InputNaming::Argument);
        CheckChartPressure(lib.AtmPressure);
        list.reset(lib, a.pressure);
        list.setZonesShown(a.zones);
        process = ComputeChartProcess(a, a.pressure);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    return WriteChartPicture(a, options, process, list, io);
}

const CliCommandRegistrar registrar({QStringLiteral("chart"),
                                     QStringLiteral("焓湿图写成图片文件（PNG、SVG、PDF）"),
                                     QString::fromUtf8(kHelp), &run, true});

} // namespace
