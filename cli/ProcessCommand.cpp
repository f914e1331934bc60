// ventacalc-cli process: one air treatment process (primary or secondary
// return air, summer or winter) from the design data, or one per row of a
// CSV file.
#include "airtreat/TreatmentCalc.h"
#include "app/Numbers.h"
#include "cli/Batch.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/ProcessArguments.h"
#include "psychro/ID_lib.h"
#include "psychro/StatePointCalc.h"

#include <QMap>

#include <algorithm>
#include <memory>
#include <optional>

namespace
{

const char* const kHelp =
    "用法: ventacalc-cli process <过程> <参数>=<值> ... [--pressure PA] [--json]\n"
    "      ventacalc-cli process --csv FILE [--pressure PA] [--threads N]\n"
    "\n"
    "计算空调系统的空气处理过程，与“空气处理过程计算器”窗口相同。\n"
    "\n"
    "过程:\n"
    "  1  一次回风系统的夏季处理过程\n"
    "  2  一次回风系统的冬季处理过程\n"
    "  3  二次回风系统的夏季处理过程\n"
    "  4  二次回风系统的冬季处理过程\n"
    "\n"
    "参数（任意顺序，参数名不分大小写）:\n"
    "  tW     室外计算干球温度 (℃)，各过程\n"
    "  tsW    夏季室外计算湿球温度 (℃)，过程 1、3\n"
    "  phiW   冬季空调室外计算相对湿度 (%)，过程 2、4，0～100\n"
    "  tN     室内设计干球温度 (℃)，各过程\n"
    "  phiN   室内设计相对湿度 (%)，各过程，0～100\n"
    "  Q      余热量 (kW)，带符号（冬季热损失为负），过程 1～3 不能为0\n"
    "  W      余湿量 (kg/h)，各过程\n"
    "  tO     送风温度 (℃)，过程 1～3\n"
    "  ratio  新风比 (%)，过程 1～3，0～100；不给出 ratio 和 fresh 时为 25\n"
    "  fresh  新风量 (kg/h)，过程 1～3，代替 ratio（两者只能给出一个）\n"
    "  G      总送风量 (kg/h)，过程 4，须大于0\n"
    "  GW     新风量 (kg/h)，过程 4，须大于0\n"
    "  G1     一次回风量 (kg/h)，过程 4，不能小于0，GW + G1 不能大于 G\n"
    "  给出过程不使用的参数时拒绝计算。\n"
    "\n"
    "选项:\n"
    "  --pressure PA  当地大气压 (Pa)，默认 101325\n"
    "  --json         输出一个JSON对象，全精度: process、Kind（焓湿图上的过程类型:\n"
    "                 1 无预热，2 一次回风冬季有预热，3 二次回风冬季有预热，\n"
    "                 4 二次回风冬季无预热），十三项结果 tO phiO G m GW G1 G2 iC tL Q0 Qp Qr\n"
    "                 Qtotal（窗口的单位: ℃、%、kg/h、kJ/kg、kW），以及状态点 W N C L O\n"
    "                 （Kind 为 2、3 时另有预热后的新风 Wh，Kind 为 3、4 时另有送风状态 Os；\n"
    "                 过程 4 的 O 为再热前的二次混合点），每点为 {\"d\": g/kg干空气,\n"
    "                 \"i\": kJ/kg干空气}\n"
    "  --csv FILE     批量计算: FILE 为CSV文件（- 表示标准输入），首行为列名，列名为\n"
    "                 process 和上面的参数名；每行一个算例，空格表示未给出。输出CSV到\n"
    "                 标准输出: process、Kind、十三项结果、各状态点的 W_d W_i N_d N_i C_d\n"
    "                 C_i L_d L_i O_d O_i Wh_d Wh_i Os_d Os_i（该过程没有的点为空）和\n"
    "                 error 列；出错的行结果为空、在 error 列给出原因，不中断批量计算。\n"
    "                 列名行中没有可识别的列名时拒绝整个文件。各行在全部处理器核上并行\n"
    "                 计算，输出保持输入的顺序。\n"
    "  --threads N    批量计算所用的线程数，默认为处理器核数\n"
    "\n"
    "输出: 十三行结果，窗口的标签，两位小数。\n"
    "缺少参数时给出窗口的提示（如“请输入室外空气参数！”）。输入不是数值、设计不合理\n"
    "（相对湿度超出0～100、送风温度在室内温度的另一侧、新风量大于总送风量、送风温度低于\n"
    "机器露点即再加热量为负、制冷量为负、状态点超出湿空气的计算范围等）或计算失败时，\n"
    "在标准错误输出给出提示、不输出结果并以状态 2 退出；计算库的警告（如湿球温度大于\n"
    "干球温度）也写到标准错误输出。写标准输出失败时以状态 1 退出。\n"
    "\n"
    "例: ventacalc-cli process 1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=25\n"
    "    ventacalc-cli process 2 tW=10 phiW=70 tN=20 phiN=50 Q=-5 W=2 tO=30 fresh=1000\n"
    "    ventacalc-cli process 4 tW=-5 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=750 G1=1500\n";

// The state points the chart draws, with the names scripts use.
struct NamedPoint {
    const char* name;
    double d, i; // g/kg, kJ/kg
};

QList<NamedPoint> drawnPoints(const TreatmentResult& p)
{
    QList<NamedPoint> points{{"W", p.dW * 1000, p.iW},
                             {"N", p.dN * 1000, p.iN},
                             {"C", p.dC * 1000, p.iC},
                             {"L", p.dL * 1000, p.iL},
                             {"O", p.dO * 1000, p.iO}};
    if (p.Kind == 2 || p.Kind == 3)
        points.append({"Wh", p.dW * 1000, p.iWh});
    if (p.Kind == 3 || p.Kind == 4)
        points.append({"Os", p.dOs * 1000, p.iOs});
    return points;
}

QString jsonObject(TreatmentProcess process, const TreatmentCalculation& c)
{
    QStringList parts{QStringLiteral("\"process\": %1").arg(static_cast<int>(process)),
                      QStringLiteral("\"Kind\": %1").arg(c.points.Kind)};
    for (const ShownResult& row : ShownResults(c))
        parts << QStringLiteral("\"%1\": %2").arg(QLatin1String(row.key), FullPrecision(row.value));
    for (const NamedPoint& point : drawnPoints(c.points))
        parts << QStringLiteral("\"%1\": {\"d\": %2, \"i\": %3}")
                     .arg(QLatin1String(point.name), FullPrecision(point.d),
                          FullPrecision(point.i));
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

// The CSV's point columns, in order; a point the process does not draw stays empty.
const char* const kPointColumns[] = {"W", "N", "C", "L", "O", "Wh", "Os"};

QStringList csvOutputColumns()
{
    QStringList columns{QStringLiteral("process"), QStringLiteral("Kind")};
    TreatmentCalculation none;
    for (const ShownResult& row : ShownResults(none))
        columns << QLatin1String(row.key);
    for (const char* point : kPointColumns)
        columns << QLatin1String(point) + QStringLiteral("_d")
                << QLatin1String(point) + QStringLiteral("_i");
    return columns;
}

class ProcessBatchWorker : public BatchWorker
{
public:
    explicit ProcessBatchWorker(const QString& pressure) : calculator_(pressure) {}

    // inputs: process, then ProcessParameterKeys().
    BatchOutcome compute(const QStringList& inputs) override
    {
        QMap<QString, QString> given;
        for (qsizetype k = 1; k < inputs.size(); ++k) {
            if (!inputs[k].isEmpty()) // an empty cell is a value not given
                given.insert(ProcessParameterKeys()[k - 1], inputs[k]);
        }
        const ProcessComputed result = calculator_.compute(inputs.value(0), given);
        BatchOutcome outcome{{}, result.messages.join(QLatin1Char(' '))};
        if (!result.calculation)
            return outcome;
        const TreatmentCalculation& c = *result.calculation;
        outcome.results << QString::number(c.points.Kind);
        for (const ShownResult& row : ShownResults(c))
            outcome.results << FullPrecision(row.value);
        const QList<NamedPoint> drawn = drawnPoints(c.points);
        for (const char* name : kPointColumns) {
            const auto point =
                std::find_if(drawn.begin(), drawn.end(),
                             [name](const NamedPoint& p) { return qstrcmp(p.name, name) == 0; });
            if (point == drawn.end())
                outcome.results << QString() << QString();
            else
                outcome.results << FullPrecision(point->d) << FullPrecision(point->i);
        }
        return outcome;
    }

private:
    ProcessCalculator calculator_;
};

} // namespace

CommandWords ParseProcessWords(const QStringList& args)
{
    const CommandWords words = ParseCommandWords(args, {"process",
                                                        ProcessParameterKeys(),
                                                        {"--pressure", "--csv", "--threads"},
                                                        {"--json"},
                                                        true});
    CheckBatchWords(words);
    return words;
}

namespace
{

int run(const QStringList& args, CliIo& io)
{
    CommandWords words;
    try {
        words = ParseProcessWords(args);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    const QString pressure =
        words.options.value(QStringLiteral("--pressure"), QStringLiteral("101325"));
    const QString csvPath = words.options.value(QStringLiteral("--csv"));
    const QString threads = words.options.value(QStringLiteral("--threads"), QStringLiteral("0"));
    const bool json = words.has("--json");
    const QStringList& positional = words.positional;
    const QMap<QString, QString>& given = words.given;
    try {
        // The pressure is checked once, before any row.
        ProcessCalculator calculator(pressure);
        if (!csvPath.isEmpty()) {
            if (!given.isEmpty() || !positional.isEmpty())
                return Refuse(io, QStringLiteral("--csv 不能与单独给出的过程和参数同时使用"));
            const BatchCommand batch{
                QStringList{QStringLiteral("process")} + ProcessParameterKeys(),
                csvOutputColumns(),
                {0},
                [pressure] { return std::make_unique<ProcessBatchWorker>(pressure); }};
            return RunCsvBatch(csvPath, batch, ParseThreadCount(threads), io);
        }
        if (positional.size() > 1)
            return Refuse(io,
                          QStringLiteral("无法识别的参数: %1（见 ventacalc-cli process --help）")
                              .arg(QuotedInput(positional[1])));
        const ProcessComputed result = calculator.compute(positional.value(0), given);
        if (!result.calculation)
            return Refuse(io, result.messages.join(QLatin1Char('\n')));
        for (const QString& warning : result.messages)
            io.err << warning << "\n";
        if (json) {
            io.out << jsonObject(result.process, *result.calculation) << "\n";
        } else {
            for (const ShownResult& row : ShownResults(*result.calculation))
                io.out << QString::fromUtf8(row.label) << " "
                       << FormatNumber(row.value, QStringLiteral("0.00")) << "\n";
        }
        return ExitOk;
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
}

const CliCommandRegistrar registrar({QStringLiteral("process"),
                                     QStringLiteral("空气处理过程（一次、二次回风，夏季、冬季）"),
                                     QString::fromUtf8(kHelp), &run});

} // namespace
