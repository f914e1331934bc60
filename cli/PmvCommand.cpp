// ventacalc-cli pmv: the thermal comfort indices PMV and PPD of a room for a
// person of given activity and clothing.
#include "app/Numbers.h"
#include "cli/Commands.h"
#include "comfort/Pmv.h"
#include "psychro/ID_lib.h"

#include <QMap>

#include <charconv>
#include <limits>

namespace
{

const char* const kHelp =
    "用法: ventacalc-cli pmv ta=<℃> tr=<℃> va=<m/s> rh=<%> [activity=<活动> | m=<W/m2>]\n"
    "                        [w=<W/m2>] [icl=<m2.K/W>] [--json]\n"
    "\n"
    "按人体热平衡方程（ISO 7730）计算热舒适指标 PMV 和 PPD，与“热舒适指标PMV值计算”窗口相同。\n"
    "\n"
    "参数（任意顺序）:\n"
    "  ta        室内干球温度 (℃)，必填\n"
    "  tr        平均辐射温度 (℃)，必填\n"
    "  va        空气流速 (m/s)，必填，须大于0\n"
    "  rh        相对湿度 (%)，必填\n"
    "  activity  活动方式，窗口下拉框中的文字之一，默认“坐着活动”:\n"
    "              躺着 (46)  坐着休息 (58)  站着休息 (70)  坐着活动 (70)\n"
    "              站着活动(轻) (93)  站着活动(中) (116)  中等活动(重) (165)\n"
    "            表外的文字代谢率按0处理，将被拒绝\n"
    "  m         直接给出人体能量代谢率 (W/m2)，须大于0；不能与 activity 同时给出\n"
    "  w         人体所作机械功，默认 0\n"
    "  icl       衣服热阻 (m2.K/W)，默认 0.093，不能小于0\n"
    "\n"
    "选项:\n"
    "  --json    输出JSON对象 {\"pmv\": ..., \"ppd\": ...}，全精度（17位有效数字）\n"
    "\n"
    "输出: 两行，与窗口相同的标签和两位小数:\n"
    "  预测平均投票值PMV：<PMV>\n"
    "  预测不满意百分数PPD:<PPD>\n"
    "输入不是数值、超出允许范围或迭代不收敛（“计算失败！”）时，在标准错误输出给出\n"
    "窗口的提示并以状态 2 退出。\n"
    "\n"
    "例: ventacalc-cli pmv ta=22 tr=22 va=0.1 rh=60 activity=坐着活动 w=0 icl=0.0775\n";

int run(const QStringList& args, CliIo& io)
{
    static const QStringList known{QStringLiteral("ta"),       QStringLiteral("tr"),
                                   QStringLiteral("va"),       QStringLiteral("rh"),
                                   QStringLiteral("activity"), QStringLiteral("m"),
                                   QStringLiteral("w"),        QStringLiteral("icl")};
    bool json = false;
    QMap<QString, QString> given;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json")) {
            json = true;
            continue;
        }
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? arg : arg.left(eq).toLower();
        if (eq < 0 || !known.contains(key))
            return Refuse(
                io, QStringLiteral("无法识别的参数: %1（见 ventacalc-cli pmv --help）").arg(arg));
        if (given.contains(key))
            return Refuse(io, QStringLiteral("参数 %1 给出了两次").arg(key));
        given.insert(key, arg.mid(eq + 1));
    }
    for (const char* required : {"ta", "tr", "va", "rh"}) {
        if (!given.contains(QLatin1String(required)))
            return Refuse(io, QStringLiteral("缺少参数 %1=（见 ventacalc-cli pmv --help）")
                                  .arg(QLatin1String(required)));
    }
    if (given.contains(QStringLiteral("activity")) && given.contains(QStringLiteral("m")))
        return Refuse(io, QStringLiteral("activity 与 m 只能给出一个"));

    PmvInput in;
    try {
        // The window's order of reading its fields, and its initial texts
        // for what is not given.
        in.ta = ParseNumber(given.value(QStringLiteral("ta")));
        in.RH = ParseNumber(given.value(QStringLiteral("rh")));
        in.va = ParseNumber(given.value(QStringLiteral("va")));
        in.tr = ParseNumber(given.value(QStringLiteral("tr")));
        in.W = ParseNumber(given.value(QStringLiteral("w"), QStringLiteral("0")));
        in.Icl = ParseNumber(given.value(QStringLiteral("icl"), QStringLiteral("0.093")));
        in.M = given.contains(QStringLiteral("m"))
                   ? ParseNumber(given.value(QStringLiteral("m")))
                   : MetabolicRateOf(
                         given.value(QStringLiteral("activity"), QStringLiteral("坐着活动")));
    } catch (const ConversionError& e) {
        return Refuse(io, e.text());
    }
    if (const auto error = PmvInputError(in))
        return Refuse(io, *error);

    ID_lib lib([&io](const std::string& m) { io.err << QString::fromStdString(m) << "\n"; });
    const auto result = CalculatePmv(lib, in);
    if (!result)
        return Refuse(io, PmvFailedText);

    if (json) {
        io.out << "{\"pmv\": " << FullPrecision(result->PMV)
               << ", \"ppd\": " << FullPrecision(result->PPD) << "}\n";
    } else {
        io.out << "预测平均投票值PMV：" << FormatNumber(result->PMV, QStringLiteral("0.00")) << "\n"
               << "预测不满意百分数PPD:" << FormatNumber(result->PPD, QStringLiteral("0.00"))
               << "\n";
    }
    return ExitOk;
}

const CliCommandRegistrar registrar({QStringLiteral("pmv"), QStringLiteral("热舒适指标 PMV 和 PPD"),
                                     QString::fromUtf8(kHelp), &run});

} // namespace
