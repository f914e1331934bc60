// ventacalc-cli duct: one round or rectangular duct segment, or one segment
// per row of a CSV file.
#include "app/Clock.h"
#include "app/Numbers.h"
#include "cli/Batch.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/ProjectOutput.h"
#include "cli/RecordOutput.h"
#include "duct/DuctProject.h"
#include "duct/DuctSegment.h"

#include <QMap>

#include <memory>
#include <optional>

namespace
{

const char* const kHelp =
    "用法: ventacalc-cli duct G=<风量> (DN=<直径> | W=<宽度> H=<高度>) L=<管长>\n"
    "                         [xi=<局部阻力系数> n=<数量> [jz=<局部阻力类型>]]\n"
    "                         [rho=1.204] [nu=0.00001506] [K=0.15] [no=1] [--json]\n"
    "      ventacalc-cli duct --csv FILE [--threads N]\n"
    "      ventacalc-cli duct --project FILE.dzl [--xlsx OUT.xlsx | --json]\n"
    "      ventacalc-cli duct --project FILE.dzl [--loops] [--loop 名称=1,2,3 ...]\n"
    "                         [--group 名称,名称 ...] [--json | --xlsx OUT.xlsx]\n"
    "\n"
    "计算一个圆形或矩形风管段的风速、比摩阻、沿程阻力、局部阻力和总阻力，与“风管阻力\n"
    "计算”窗口的“计算和保存”相同（不写入管段表）。\n"
    "\n"
    "参数（任意顺序，参数名不分大小写）:\n"
    "  G      风量 (m³/h)，0～1000000\n"
    "  DN     圆形风管直径 (mm)，须大于2、不大于10000，最多6个字符；计算时减去2mm管壁\n"
    "  W, H   矩形风管的宽度和高度 (mm)，代替 DN，各须大于2、不大于10000，最多6个\n"
    "         字符；各减去2mm管壁后按当量直径 2ab/(a+b) 计算比摩阻\n"
    "  L      管段长度 (m)，0～100000\n"
    "  xi     局部阻力系数，0～1000；与 n 同时给出（只给出一个时拒绝）\n"
    "  n      局部阻力数量，0～1000 的整数\n"
    "  jz     局部阻力类型名称，仅作记录，最多16个字符\n"
    "  rho    空气密度 (kg/m³)，默认 1.204，须大于0\n"
    "  nu     空气运动粘滞系数 (m²/s)，默认 0.00001506，须大于0\n"
    "  K      风管管壁绝对粗糙度 (mm)，默认 0.15，不能小于0\n"
    "  no     管段编号，默认 1，最多12个字符\n"
    "\n"
    "选项:\n"
    "  --json          输出一个JSON对象，键为管段表的字段名 Duct_No G DN W H V Pm L\n"
    "                  JZ_name JZ_K JZ_N ZL_y ZL_j ZL_z（DN W H 为输入的文字），以及所用的\n"
    "                  nu rho K，全精度\n"
    "  --csv FILE      批量计算: FILE 为CSV文件（- 表示标准输入），首行为列名，列名为\n"
    "                  no, G, DN, W, H, L, xi, n, jz, rho, nu, K（含义同上，空格表示未\n"
    "                  给出）。输出CSV到标准输出: 上面 JSON 的各项和 error 列；出错的行\n"
    "                  结果为空、在 error 列给出原因，不中断批量计算。各行在全部处理器核上\n"
    "                  并行计算，输出保持输入的顺序。\n"
    "  --threads N     批量计算所用的线程数，默认为处理器核数\n"
    "  --project FILE  风管阻力工程（.dzl 及其旁边的同名 .DB 管段表）: 按管段表的列标题和\n"
    "                  显示格式列出各管段，每段一行；与 --json 一起时输出JSON数组。\n"
    "                  管段表中有计算不会存入的数值（非有限数、负数、超出范围）时拒绝\n"
    "  --xlsx OUT      与 --project 一起: 写出与窗口“输出到Excel”相同的计算结果表（空气\n"
    "                  参数取自工程文件），已有的文件被替换。工程有环路时（或给出 --loop、\n"
    "                  --group 时），管段表之后另有“环路”工作表\n"
    "  --loops         与 --project 一起: 列出工程的环路（保存在管段表旁边的同名 .HL 文件\n"
    "                  中）: 每个环路的管段、管段数、总阻力 (Pa)、占最大环路的百分比，标出\n"
    "                  最不利环路（总阻力最大者）；每组并联环路的公共管段和各环路不计公共\n"
    "                  管段时与其中最大者的相对差额 (ΔPmax-ΔPi)/ΔPmax，超过限值（默认\n"
    "                  15%，GB 50736-2012）时标出\n"
    "  --loop N=1,2,3  与 --project 一起，可重复: 给出名为 N 的环路及其管段编号（须在管段表\n"
    "                  中，不能重复），加在保存的环路之后；与保存的环路同名时代替它\n"
    "                  （不写入工程）。不给出 --xlsx 时列出环路，同 --loops\n"
    "  --group A,B     与 --project 一起，可重复: 给出一组并联环路（至少两个已有或给出的\n"
    "                  环路），加在保存的并联环路之后\n"
    "                  列出环路时与 --json 一起输出一个JSON对象: \"loops\" 为 {\"name\", "
    "\"segments\"\n"
    "                  （管段编号文字）, \"total\" (Pa，全精度), \"count\", \"share\",\n"
    "                  \"missing\"（管段表中已没有的管段）} 的数组，\"most_unfavourable\" 为\n"
    "                  最不利环路的名称，\"limit\" 为限值，\"groups\" 为 {\"loops\",\n"
    "                  \"common\"（公共管段）, \"differences\"（环路名称: 相对差额，0.2 即\n"
    "                  20%）, \"above_limit\"} 的数组。环路或并联环路不成立时以状态 2 退出\n"
    "\n"
    "输出: 十四行结果，为管段表的列标题和显示格式。\n"
    "输入不完整或不合理（提示与窗口相同，如“请输入风量！”）、或计算失败（“计算失败！”）时，\n"
    "在标准错误输出给出提示、不输出结果并以状态 2 退出。写标准输出失败时以状态 1 退出。\n"
    "\n"
    "例: ventacalc-cli duct G=5000 DN=500 L=10\n"
    "    ventacalc-cli duct G=1000 W=200 H=200 L=10 xi=0.5 n=2 jz=弯头 --json\n"
    "    ventacalc-cli duct --project loop1.dzl --loop A=1,2,3 --loop B=1,4,5\n"
    "                       --group A,B --json\n";

// The names of the key=value parameters, lower case; also the CSV's columns.
const QStringList& parameterKeys()
{
    static const QStringList keys{"no", "g", "dn", "w",   "h",  "l",
                                  "xi", "n", "jz", "rho", "nu", "k"};
    return keys;
}

} // namespace

CommandWords ParseDuctWords(const QStringList& args)
{
    const CommandWords words =
        ParseCommandWords(args, {"duct",
                                 parameterKeys(),
                                 {"--csv", "--threads", "--project", "--xlsx"},
                                 {"--json", LoopsFlag},
                                 false,
                                 LoopOptions});
    CheckBatchWords(words);
    return words;
}

namespace
{

// The inputs of one segment from the given texts (parameterKeys() → text;
// empty or missing is not given). Throws UserError for contradicting ones.
DuctSegmentInputs inputsFrom(const QMap<QString, QString>& given)
{
    const auto value = [&](const char* key, const QString& fallback = QString()) {
        const QString text = given.value(QLatin1String(key));
        return text.isEmpty() ? fallback : text;
    };
    const AirPropertyTexts defaults = ExactTexts(AirProperties{});
    DuctSegmentInputs in;
    in.naming = InputNaming::Argument;
    in.air = {value("rho", defaults.rho), value("nu", defaults.nu), value("k", defaults.K)};
    in.segmentNo = value("no", QStringLiteral("1"));
    in.flow = value("g");
    in.diameter = value("dn");
    in.width = value("w");
    in.height = value("h");
    in.round = !in.diameter.isEmpty();
    if (in.round && (!in.width.isEmpty() || !in.height.isEmpty()))
        throw UserError(QStringLiteral("DN 与 W、H 只能给出一种"));
    in.length = value("l");
    in.fittingName = value("jz");
    in.coefficient = value("xi");
    in.count = value("n");
    return in;
}

QStringList fieldNames()
{
    QStringList names;
    for (const FieldDeclaration& field : DuctSegmentTableDeclaration().fields)
        names << field.name;
    return names << QStringLiteral("nu") << QStringLiteral("rho") << QStringLiteral("K");
}

QList<QVariant> values(const DuctSegment& s, const AirProperties& air)
{
    return {s.Duct_No, s.G,    s.DN,   s.W,    s.H,    s.V,    s.Pm,    s.L,  s.JZ_name,
            s.JZ_K,    s.JZ_N, s.ZL_y, s.ZL_j, s.ZL_z, air.nu, air.rho, air.K};
}

class DuctBatchWorker : public BatchWorker
{
public:
    BatchOutcome compute(const QStringList& inputs) override
    {
        QMap<QString, QString> given;
        for (qsizetype k = 0; k < inputs.size(); ++k)
            given.insert(parameterKeys()[k], inputs[k]);
        try {
            const DuctSegmentOutcome out = CalculateDuctSegment(inputsFrom(given));
            if (!out.segment)
                return {{}, out.refusal};
            return {CsvRecord(values(*out.segment, *out.air)), {}};
        } catch (const UserError& e) {
            return {{}, e.text()};
        }
    }
};

// A project's segments, or its results workbook with the project's air.
int runProject(const CommandWords& words, CliIo& io)
{
    const QString project = words.options.value(QStringLiteral("--project"));
    if (project.isEmpty() || !words.given.isEmpty() ||
        words.options.contains(QStringLiteral("--csv")))
        return Refuse(io, QStringLiteral("--project 只能与 --xlsx、--json、--loops、--loop 和 "
                                         "--group 一起使用，且须给出 --project"));
    LoopsRequest loops;
    try {
        loops = ParseLoopsRequest(words);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    ProjectCommand command;
    command.declaration = &DuctSegmentTableDeclaration();
    command.lineCount = DuctProjectLineCount;
    command.checkRecord = &CheckDuctSegmentRecord;
    command.numberField = QStringLiteral("Duct_No");
    command.workbook = [](const QStringList& lines) -> ProjectCommand::Writer {
        const AirProperties air = DuctProjectFromLines(lines);
        return [air](const QString& xlsx, const TableDeclaration& declaration,
                     const RecordSource& records, const QString& projectFileName,
                     const SegmentLoops& loops) {
            WriteDuctWorkbook(xlsx,
                              {TimeOfDayText(currentClock().timeOfDay()), projectFileName, air},
                              declaration, records, loops);
        };
    };
    return RunProjectCommand(command, project, words.options.value(QStringLiteral("--xlsx")),
                             words.flags.contains(QStringLiteral("--json")), loops, io);
}

int runDuct(const QStringList& args, CliIo& io)
{
    CommandWords words;
    try {
        words = ParseDuctWords(args);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    if (words.options.contains(QStringLiteral("--project")) ||
        words.options.contains(QStringLiteral("--xlsx")) || words.has(LoopsFlag) ||
        words.has("--loop") || words.has("--group"))
        return runProject(words, io);
    const QMap<QString, QString>& given = words.given;
    const QString csvPath = words.options.value(QStringLiteral("--csv"));
    const QString threads = words.options.value(QStringLiteral("--threads"), QStringLiteral("0"));
    const bool json = words.flags.contains(QStringLiteral("--json"));

    try {
        if (!csvPath.isEmpty()) {
            if (!given.isEmpty())
                throw UserError(QStringLiteral("--csv 的各行自带管段参数，不能再在命令行给出"));
            const BatchCommand batch{parameterKeys(), fieldNames(), {}, [] {
                                         return std::make_unique<DuctBatchWorker>();
                                     }};
            return RunCsvBatch(csvPath, batch, ParseThreadCount(threads), io);
        }
        const DuctSegmentOutcome out = CalculateDuctSegment(inputsFrom(given));
        if (!out.segment)
            return Refuse(io, out.refusal);
        if (json)
            io.out << JsonRecord(fieldNames(), values(*out.segment, *out.air)) << "\n";
        else
            PrintRecord(io, DuctSegmentTableDeclaration(), values(*out.segment, *out.air));
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    return ExitOk;
}

const CliCommandRegistrar registrar({QStringLiteral("duct"), QStringLiteral("计算一个风管段的阻力"),
                                     QString::fromUtf8(kHelp), &runDuct});

} // namespace
