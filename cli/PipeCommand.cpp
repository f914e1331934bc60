// ventacalc-cli pipe: one water pipe segment from the catalogue and the
// coefficient table of the data directory, or one segment per row of a CSV
// file.
#include "app/Clock.h"
#include "app/CsvReader.h"
#include "app/DataDir.h"
#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "cli/Batch.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/ProjectOutput.h"
#include "cli/RecordOutput.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeProject.h"
#include "pipe/PipeSegment.h"
#include "shell/DataSeeds.h"

#include <QCoreApplication>
#include <QMap>

#include <memory>
#include <optional>

namespace
{

const char* const kHelp =
    "用法: ventacalc-cli pipe type=<管道类型> [t1=95] [t2=70] G=<流量> | Q=<热负荷>\n"
    "                         [DN=<管径> | v=<流速> | auto [Rmax=200]] L=<管长>\n"
    "                         [jz=<局部阻力类型> n=<数量>] [no=1] [--data-dir DIR] [--json]\n"
    "      ventacalc-cli pipe --csv FILE [--data-dir DIR] [--threads N]\n"
    "      ventacalc-cli pipe --project FILE.gzl [--xlsx OUT.xlsx | --json] [--data-dir DIR]\n"
    "      ventacalc-cli pipe --project FILE.gzl [--loops] [--loop 名称=1,2,3 ...]\n"
    "                         [--group 名称,名称 ...] [--json | --xlsx OUT.xlsx]\n"
    "\n"
    "计算一个水管段的流速、比摩阻、沿程阻力、局部阻力和总阻力，与“水管道阻力计算”\n"
    "窗口的“计算和保存”相同（不写入管段表）。\n"
    "\n"
    "参数（任意顺序，参数名不分大小写）:\n"
    "  type   管道类型，须为管道库 pipe.dat 中的名称，如 焊接钢管(GB3092)\n"
    "  t1     供水温度 (℃)，默认 95，须在0～200℃之间\n"
    "  t2     回水温度 (℃)，默认 70，须在0～200℃之间；平均水温须在0～100℃之间\n"
    "  G      流量 (m³/h)，须大于0、不大于100000\n"
    "  Q      热负荷 (W)，代替 G，须大于0、不大于10000000000，供回水温度不能相同\n"
    "  DN     按公称直径 (mm) 选管，须为该管道类型的管径之一\n"
    "  v      按流速 (m/s) 选管: 取内径与所需直径相对偏差最小的管径，偏差相同时取大者\n"
    "  auto   自动选取管径（不给出 DN 和 v 时亦然）: 按管径从小到大，取比摩阻小于\n"
    "         Rmax 的第一个管径，都不满足时取最大管径\n"
    "  Rmax   自动选取管径的最大比摩阻 (Pa/m)，默认 200，须大于0\n"
    "  L      管段长度 (m)，0～100000\n"
    "  jz     局部阻力类型，须为局部阻力系数表 JZ_pipe.DB 中的名称\n"
    "  n      局部阻力数量，0～1000 的整数；n=0 时不计局部阻力\n"
    "  no     管段编号，默认 1，最多12个字符\n"
    "\n"
    "选项:\n"
    "  --data-dir DIR  数据目录（默认为程序的数据目录）；其中缺少的数据文件先按程序启动时\n"
    "                  的方式创建，已有的文件不会改写\n"
    "  --json          输出一个JSON对象，键为管段表的字段名 Pipe_No G Q DN V Pm L JZ_name\n"
    "                  JZ JZ_N ZL_y ZL_j ZL_z（Q 为 kW），以及水的运动粘度 nu (m²/s)、\n"
    "                  密度 rho (kg/m³) 和管道粗糙度 K (mm)，全精度\n"
    "  --csv FILE      批量计算: FILE 为CSV文件（- 表示标准输入），首行为列名，列名为\n"
    "                  no, type, t1, t2, G, Q, DN, v, Rmax, L, jz, n（含义同上，空格表示\n"
    "                  未给出；DN 和 v 都未给出时自动选取管径）。输出CSV到标准输出: 上面\n"
    "                  JSON 的各项和 error 列；出错的行结果为空、在 error 列给出原因，不中断\n"
    "                  批量计算。列名行中没有可识别的列名时拒绝整个文件。各行在全部处理器\n"
    "                  核上并行计算，输出保持输入的顺序。\n"
    "  --threads N     批量计算所用的线程数，默认为处理器核数\n"
    "  --project FILE  水管道阻力工程（.gzl 及其旁边的同名 .DB 管段表）: 按管段表的列标题\n"
    "                  和显示格式列出各管段，每段一行；与 --json 一起时输出JSON数组。\n"
    "                  管段表中有计算不会存入的数值（非有限数、负数、超出范围）时拒绝\n"
    "  --xlsx OUT      与 --project 一起: 写出与窗口“输出到Excel”相同的计算结果表，水的\n"
    "                  参数按工程文件中的管道类型和供回水温度求得；已有的文件被替换。工程\n"
    "                  有环路时（或给出 --loop、--group 时），管段表之后另有“环路”工作表\n"
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
    "输出: 十三行结果，为管段表的列标题和显示格式。\n"
    "输入不完整或不合理（提示与窗口相同，如“请输入流量！”）、或计算失败（“计算失败！”）时，\n"
    "在标准错误输出给出提示、不输出结果并以状态 2 退出。数据目录或其中的文件无法读写\n"
    "（如 pipe.dat 已损坏）、或写标准输出失败时以状态 1 退出。\n"
    "\n"
    "例: ventacalc-cli pipe type=焊接钢管(GB3092) t1=95 t2=70 G=1.0 DN=25 L=10 jz=闸阀 n=2\n"
    "    ventacalc-cli pipe type=焊接钢管(GB3092) Q=28198 auto Rmax=100 L=10 --json\n"
    "    ventacalc-cli pipe --project loop1.gzl --loop A=1,2,3 --loop B=1,4,5\n"
    "                       --group A,B --json\n";

// The names of the key=value parameters, lower case; also the CSV's columns.
const QStringList& parameterKeys()
{
    static const QStringList keys{"no", "type", "t1",   "t2", "g",  "q",
                                  "dn", "v",    "rmax", "l",  "jz", "n"};
    return keys;
}

// The window's defaults for the fields the command lets out.
const QString kSupplyDefault = QStringLiteral("95");
const QString kReturnDefault = QStringLiteral("70");
const QString kSegmentDefault = QStringLiteral("1");

} // namespace

CommandWords ParsePipeWords(const QStringList& args)
{
    const CommandWords words =
        ParseCommandWords(args, {"pipe",
                                 parameterKeys(),
                                 {"--data-dir", "--csv", "--threads", "--project", "--xlsx"},
                                 {"--json", "auto", LoopsFlag},
                                 false,
                                 LoopOptions});
    CheckBatchWords(words);
    return words;
}

namespace
{

// The inputs of one segment from the given texts (parameterKeys() → text;
// empty or missing is not given). Throws UserError for contradicting ones.
PipeSegmentInputs inputsFrom(const QMap<QString, QString>& given, bool automatic)
{
    const auto value = [&](const char* key, const QString& fallback = QString()) {
        const QString text = given.value(QLatin1String(key));
        return text.isEmpty() ? fallback : text;
    };
    PipeSegmentInputs in;
    in.naming = InputNaming::Argument;
    in.segmentNo = value("no", kSegmentDefault);
    in.pipeType = value("type");
    in.supplyTemp = value("t1", kSupplyDefault);
    in.returnTemp = value("t2", kReturnDefault);
    const QString G = value("g");
    const QString Q = value("q");
    if (!G.isEmpty() && !Q.isEmpty())
        throw UserError(QStringLiteral("流量 G 与热负荷 Q 只能给出一个"));
    in.flowEntry = Q.isEmpty() ? FlowEntry::Flow : FlowEntry::HeatLoad;
    in.flow = Q.isEmpty() ? G : Q;

    in.nominal = value("dn");
    in.velocity = value("v");
    const int ways = int(!in.nominal.isEmpty()) + int(!in.velocity.isEmpty()) + int(automatic);
    if (ways > 1)
        throw UserError(QStringLiteral("DN、v 和 auto 只能给出一个"));
    in.sizeEntry = !in.nominal.isEmpty()    ? SizeEntry::Nominal
                   : !in.velocity.isEmpty() ? SizeEntry::Velocity
                                            : SizeEntry::Automatic;
    const QString Rmax = value("rmax");
    if (!Rmax.isEmpty()) {
        if (in.sizeEntry != SizeEntry::Automatic)
            throw UserError(QStringLiteral("Rmax 只用于自动选取管径"));
        in.maxFriction = Rmax;
    }
    in.length = value("l");
    in.fittingName = value("jz");
    in.fittingCount = value("n");
    return in;
}

// The data directory's catalogue and coefficients, seeding what is missing
// first as the program does at start. Throws UserError.
PipeSegmentData readData(const QString& dataDir)
{
    if (dataDir.isEmpty()) {
        // The program's own per-user data directory.
        QCoreApplication::setOrganizationName(QStringLiteral("Ventacalc"));
        QCoreApplication::setApplicationName(QStringLiteral("Ventacalc"));
    } else {
        DataDir::setOverride(dataDir);
    }
    RegisterDataSeeds();
    DataDir::ensure();
    std::vector<PipeTypeRecord> catalogue =
        ReadPipeCatalogue(DataDir::file(QString::fromLatin1(PipeCatalogueFileName)));
    RecordTableStore coefficients(LocalResistanceTableDeclaration());
    coefficients.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
    std::vector<LocalResistance> fittings = ReadLocalResistances(coefficients);
    return MemorySegmentData(std::move(catalogue), std::move(fittings));
}

struct Computed {
    PipeSegment segment;
    WaterState water;
};

// The JSON and CSV values: the table's fields, then the water.
QStringList fieldNames()
{
    QStringList names;
    for (const FieldDeclaration& field : PipeSegmentTableDeclaration().fields)
        names << field.name;
    return names << QStringLiteral("nu") << QStringLiteral("rho") << QStringLiteral("K");
}

QList<QVariant> values(const Computed& c)
{
    const PipeSegment& s = c.segment;
    return {s.Pipe_No, s.G,    s.Q,    s.DN,   s.V,    s.Pm,       s.L,         s.JZ_name,
            s.JZ,      s.JZ_N, s.ZL_y, s.ZL_j, s.ZL_z, c.water.nu, c.water.rho, c.water.K};
}

// A segment's result or the window's message. A result with a number that is
// not finite never leaves the command.
struct Outcome {
    std::optional<Computed> computed;
    QString refusal;
};

Outcome calculateSegment(const PipeSegmentInputs& in, const PipeSegmentData& data)
{
    const PipeSegmentOutcome out = CalculatePipeSegment(in, data);
    if (!out.segment)
        return {std::nullopt, out.refusal};
    return {Computed{*out.segment, *out.water}, QString()};
}

class PipeBatchWorker : public BatchWorker
{
public:
    explicit PipeBatchWorker(PipeSegmentData data) : data_(std::move(data)) {}

    BatchOutcome compute(const QStringList& inputs) override
    {
        QMap<QString, QString> given;
        for (qsizetype k = 0; k < inputs.size(); ++k)
            given.insert(parameterKeys()[k], inputs[k]);
        const Outcome outcome = calculateSegment(inputsFrom(given, false), data_);
        if (!outcome.computed)
            return {{}, outcome.refusal};
        return {CsvRecord(values(*outcome.computed)), {}};
    }

private:
    PipeSegmentData data_; // read-only lookups: shared by every worker
};

// A project's segments, or its results workbook with the water of the
// project's pipe type and temperatures.
int runProject(const CommandWords& words, CliIo& io)
{
    const QString project = words.options.value(QStringLiteral("--project"));
    if (project.isEmpty() || !words.given.isEmpty() ||
        words.flags.contains(QStringLiteral("auto")) ||
        words.options.contains(QStringLiteral("--csv")))
        return Refuse(io,
                      QStringLiteral("--project 只能与 --xlsx、--json、--loops、--loop、--group "
                                     "和 --data-dir 一起使用，且须给出 --project"));
    LoopsRequest loops;
    try {
        loops = ParseLoopsRequest(words);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    PipeSegmentData data;
    try {
        data = readData(words.options.value(QStringLiteral("--data-dir")));
    } catch (const UserError& e) {
        io.err << e.text() << "\n";
        return ExitFailure;
    }
    ProjectCommand command;
    command.declaration = &PipeSegmentTableDeclaration();
    command.lineCount = PipeProjectLineCount;
    command.checkRecord = &CheckPipeSegmentRecord;
    command.numberField = QStringLiteral("Pipe_No");
    command.workbook = [&data](const QStringList& lines) -> ProjectCommand::Writer {
        PipeWorkbookHeading heading;
        heading.settings = PipeProjectFromLines(lines);
        const PipeWaterOutcome water =
            PipeWater(heading.settings.pipeType, heading.settings.supplyTemp,
                      heading.settings.returnTemp, data);
        if (!water.water)
            throw UserError(water.refusal);
        heading.water = *water.water;
        heading.meanTemperature = water.meanTemperature;
        return [heading](const QString& xlsx, const TableDeclaration& declaration,
                         const RecordSource& records, const QString& projectFileName,
                         const SegmentLoops& loops) mutable {
            heading.time = TimeOfDayText(currentClock().timeOfDay());
            heading.projectFileName = projectFileName;
            WritePipeWorkbook(xlsx, heading, declaration, records, loops);
        };
    };
    return RunProjectCommand(command, project, words.options.value(QStringLiteral("--xlsx")),
                             words.flags.contains(QStringLiteral("--json")), loops, io);
}

int runPipe(const QStringList& args, CliIo& io)
{
    CommandWords words;
    try {
        words = ParsePipeWords(args);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    if (words.options.contains(QStringLiteral("--project")) ||
        words.options.contains(QStringLiteral("--xlsx")) || words.has(LoopsFlag) ||
        words.has("--loop") || words.has("--group"))
        return runProject(words, io);
    const QMap<QString, QString>& given = words.given;
    const QString dataDir = words.options.value(QStringLiteral("--data-dir"));
    const QString csvPath = words.options.value(QStringLiteral("--csv"));
    const QString threads = words.options.value(QStringLiteral("--threads"), QStringLiteral("0"));
    const bool json = words.flags.contains(QStringLiteral("--json"));
    const bool automatic = words.flags.contains(QStringLiteral("auto"));

    PipeSegmentInputs in;
    int threadCount = 0;
    try {
        if (csvPath.isEmpty())
            in = inputsFrom(given, automatic);
        else if (!given.isEmpty() || automatic)
            throw UserError(QStringLiteral("--csv 的各行自带管段参数，不能再在命令行给出"));
        else
            threadCount = ParseThreadCount(threads);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    PipeSegmentData data;
    try {
        data = readData(dataDir);
    } catch (const UserError& e) {
        io.err << e.text() << "\n";
        return ExitFailure;
    }

    if (!csvPath.isEmpty()) {
        const BatchCommand batch{parameterKeys(), fieldNames(), {}, [data] {
                                     return std::make_unique<PipeBatchWorker>(data);
                                 }};
        return RunCsvBatch(csvPath, batch, threadCount, io);
    }
    const Outcome outcome = calculateSegment(in, data);
    if (!outcome.computed)
        return Refuse(io, outcome.refusal);
    if (json) {
        io.out << JsonRecord(fieldNames(), values(*outcome.computed)) << "\n";
        return ExitOk;
    }
    PrintRecord(io, PipeSegmentTableDeclaration(), values(*outcome.computed));
    return ExitOk;
}

const CliCommandRegistrar registrar({QStringLiteral("pipe"), QStringLiteral("计算一个水管段的阻力"),
                                     QString::fromUtf8(kHelp), &runPipe});

} // namespace
