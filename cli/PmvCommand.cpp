// ventacalc-cli pmv: the thermal comfort indices PMV and PPD of a room for a
// person of given activity and clothing.
#include "app/Numbers.h"
#include "cli/Batch.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "comfort/Pmv.h"
#include "psychro/ID_lib.h"

#include <QMap>

#include <memory>
#include <optional>

namespace
{

const char* const kHelp =
    "用法: ventacalc-cli pmv ta=<℃> tr=<℃> va=<m/s> rh=<%> [activity=<活动> | m=<W/m2>]\n"
    "                        [w=<W/m2>] [icl=<m2.K/W>] [--json]\n"
    "      ventacalc-cli pmv --csv FILE [--threads N]\n"
    "\n"
    "按人体热平衡方程（ISO 7730）计算热舒适指标 PMV 和 PPD，与“热舒适指标PMV值计算”窗口相同。\n"
    "\n"
    "参数（任意顺序）:\n"
    "  ta        室内干球温度 (℃)，必填\n"
    "  tr        平均辐射温度 (℃)，必填\n"
    "  va        空气流速 (m/s)，必填，须大于0\n"
    "  rh        相对湿度 (%)，必填，0～100\n"
    "  activity  活动方式，窗口下拉框中的文字之一，默认“坐着活动”:\n"
    "              躺着 (46)  坐着休息 (58)  站着休息 (70)  坐着活动 (70)\n"
    "              站着活动(轻) (93)  站着活动(中) (116)  中等活动(重) (165)\n"
    "            表外的文字代谢率按0处理，将被拒绝\n"
    "  m         直接给出人体能量代谢率 (W/m2)，须大于0；不能与 activity 同时给出\n"
    "  w         人体所作机械功，默认 0\n"
    "  icl       衣服热阻 (m2.K/W)，默认 0.093，不能小于0\n"
    "\n"
    "选项:\n"
    "  --json    输出JSON对象 {\"pmv\": ..., \"ppd\": ...}，全精度\n"
    "  --csv FILE  批量计算: FILE 为CSV文件（- 表示标准输入），首行为列名，列名为上面的\n"
    "            参数名；输出CSV到标准输出: 各参数（照原样）、pmv、ppd 和 error 列，\n"
    "            出错的行 pmv、ppd 为空、在 error 列给出原因，不中断批量计算。\n"
    "            列名行中没有可识别的列名时拒绝整个文件。各行在全部处理器核上并行计算。\n"
    "  --threads N 批量计算所用的线程数，默认为处理器核数\n"
    "\n"
    "输出: 两行，与窗口相同的标签和两位小数:\n"
    "  预测平均投票值PMV：<PMV>\n"
    "  预测不满意百分数PPD:<PPD>\n"
    "输入不是数值、超出允许范围、室内空气状态无法计算或迭代不收敛（“计算失败！”）时，\n"
    "在标准错误输出给出窗口的提示、不输出结果并以状态 2 退出。写标准输出失败时以状态 1 退出。\n"
    "\n"
    "例: ventacalc-cli pmv ta=22 tr=22 va=0.1 rh=60 activity=坐着活动 w=0 icl=0.0775\n";

const QStringList& keys()
{
    static const QStringList known{QStringLiteral("ta"),       QStringLiteral("tr"),
                                   QStringLiteral("va"),       QStringLiteral("rh"),
                                   QStringLiteral("activity"), QStringLiteral("m"),
                                   QStringLiteral("w"),        QStringLiteral("icl")};
    return known;
}

} // namespace

CommandWords ParsePmvWords(const QStringList& args)
{
    const CommandWords words =
        ParseCommandWords(args, {"pmv", keys(), {"--csv", "--threads"}, {"--json"}});
    CheckBatchWords(words);
    return words;
}

namespace
{

// One room and person: PMV and PPD, or the message that refused or failed it.
struct PmvOutcome {
    std::optional<PmvResult> result;
    QString error; // one message a line
};

// given maps keys() to texts; a key that is absent takes the window's
// initial text.
PmvOutcome calculate(const QMap<QString, QString>& given)
{
    for (const char* required : {"ta", "tr", "va", "rh"}) {
        if (!given.contains(QLatin1String(required)))
            return {{},
                    QStringLiteral("缺少参数 %1=（见 ventacalc-cli pmv --help）")
                        .arg(QLatin1String(required))};
    }
    const auto text = [&given](const char* key, const char* initial) {
        return given.value(QLatin1String(key), QString::fromUtf8(initial));
    };
    if (given.contains(QStringLiteral("activity")) && given.contains(QStringLiteral("m")))
        return {{}, QStringLiteral("activity 与 m 只能给出一个")};

    // A text that is no number is named by its argument.
    const auto number = [&text](const char* key, const char* initial) {
        return ParseField(QLatin1String(key), text(key, initial));
    };
    PmvInput in;
    try {
        // The window's order of reading its fields.
        in.ta = number("ta", "");
        in.RH = number("rh", "");
        in.va = number("va", "");
        in.tr = number("tr", "");
        in.W = number("w", "0");
        in.Icl = number("icl", "0.093");
        in.M = given.contains(QStringLiteral("m")) ? number("m", "")
                                                   : MetabolicRateOf(text("activity", "坐着活动"));
    } catch (const ConversionError& e) {
        return {{}, e.text()};
    }
    if (const auto error = PmvInputError(in))
        return {{}, *error};

    QStringList failures;
    ID_lib lib([&failures](const std::string& m, ID_lib::MessageKind) {
        failures << QString::fromStdString(m);
    });
    auto result = CalculatePmv(lib, in, PmvRoomAir::VapourPressureOnly);
    if (!result)
        return {{}, failures.isEmpty() ? PmvFailedText : failures.join(QLatin1Char('\n'))};
    return {result, {}};
}

class PmvBatchWorker : public BatchWorker
{
public:
    BatchOutcome compute(const QStringList& inputs) override
    {
        QMap<QString, QString> given;
        for (qsizetype k = 0; k < inputs.size(); ++k) {
            if (!inputs[k].isEmpty()) // an empty cell is a value not given
                given.insert(keys()[k], inputs[k]);
        }
        const PmvOutcome outcome = calculate(given);
        if (!outcome.result)
            return {{}, QString(outcome.error).replace(QLatin1Char('\n'), QLatin1Char(' '))};
        return {{FullPrecision(outcome.result->PMV), FullPrecision(outcome.result->PPD)}, {}};
    }
};

int run(const QStringList& args, CliIo& io)
{
    CommandWords words;
    try {
        words = ParsePmvWords(args);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    const bool json = words.has("--json");
    const QString csvPath = words.options.value(QStringLiteral("--csv"));
    const QString threads = words.options.value(QStringLiteral("--threads"), QStringLiteral("0"));
    const QMap<QString, QString>& given = words.given;
    if (!csvPath.isEmpty()) {
        if (!given.isEmpty())
            return Refuse(io, QStringLiteral("--csv 不能与单独给出的参数同时使用"));
        QList<int> echoed;
        for (int k = 0; k < keys().size(); ++k)
            echoed << k;
        echoed << -1 << -1;
        const BatchCommand batch{keys(),
                                 keys() + QStringList{QStringLiteral("pmv"), QStringLiteral("ppd")},
                                 echoed, [] { return std::make_unique<PmvBatchWorker>(); }};
        try {
            return RunCsvBatch(csvPath, batch, ParseThreadCount(threads), io);
        } catch (const UserError& e) {
            return Refuse(io, e.text());
        }
    }
    const PmvOutcome outcome = calculate(given);
    if (!outcome.result)
        return Refuse(io, outcome.error);
    const PmvResult& result = *outcome.result;
    if (json) {
        io.out << "{\"pmv\": " << FullPrecision(result.PMV)
               << ", \"ppd\": " << FullPrecision(result.PPD) << "}\n";
    } else {
        io.out << "预测平均投票值PMV：" << FormatNumber(result.PMV, QStringLiteral("0.00")) << "\n"
               << "预测不满意百分数PPD:" << FormatNumber(result.PPD, QStringLiteral("0.00"))
               << "\n";
    }
    return ExitOk;
}

const CliCommandRegistrar registrar({QStringLiteral("pmv"), QStringLiteral("热舒适指标 PMV 和 PPD"),
                                     QString::fromUtf8(kHelp), &run});

} // namespace
