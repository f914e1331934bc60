// ventacalc-cli process, run as scripts run it: the window's figures for the
// worked cases, the JSON and CSV forms against the core, and the refusals.
#include "airtreat/TreatmentCalc.h"
#include "app/Numbers.h"
#include "psychro/ID_lib.h"
#include "support/CliRun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <gtest/gtest.h>

namespace
{

CliRun Process(const char* args, const QByteArray& input = {})
{
    return RunCli(QStringList{QStringLiteral("process")} +
                      QString::fromUtf8(args).split(QLatin1Char(' '), Qt::SkipEmptyParts),
                  input);
}

// The plain output as label → shown value.
QMap<QString, QString> Shown(const QString& out)
{
    QMap<QString, QString> shown;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        shown.insert(line.section(QLatin1Char(' '), 0, 0), line.section(QLatin1Char(' '), 1));
    return shown;
}

const char* const kPrimarySummer = "1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=25";
const char* const kPrimaryWinter = "2 tW=-15 phiW=70 tN=20 phiN=50 Q=-5 W=2 tO=30 ratio=60";
const char* const kSecondaryWinterPreheated =
    "4 tW=-15 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=1500 G1=1000";
const char* const kSecondaryWinter = "4 tW=-5 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=750 G1=1500";

} // namespace

TEST(ProcessCli, PrintsTheWindowsFigures)
{
    const CliRun r = Process(kPrimarySummer);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{"送风温度(℃): 20.00", "送风相对湿度(％): 81.88",
                           "总送风量(kg/h): 4578.91", "新风比(%): 25.00", "新风量(kg/h): 1144.73",
                           "一次回风量(kg/h): 3434.18", "二次回风量(kg/h); 0.00",
                           "一次回风混合点焓: 66.14", "机器露点温度(℃): 17.96", "制冷量(kw): 22.46",
                           "预加热量(kw): 0.00", "再加热量(kw): 2.68", "总加热量(kw): 2.68"}));

    struct Case {
        const char* args;
        std::vector<std::pair<const char*, const char*>> shown;
    };
    const Case cases[] = {
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 fresh=1000",
         {{"新风比(%):", "21.84"}, {"一次回风量(kg/h):", "3578.91"}, {"制冷量(kw):", "21.22"}}},
        // Upper or lower case names; no fresh-air entry means the window's 25 %.
        {"2 TW=10 phiw=70 tN=20 phiN=50 Q=-5 W=2 tO=30",
         {{"总送风量(kg/h):", "2258.50"},
          {"一次回风混合点焓:", "34.84"},
          {"再加热量(kw):", "7.37"}}},
        {kPrimaryWinter, {{"预加热量(kw):", "10.65"}, {"总加热量(kw):", "24.47"}}},
        {"3 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=25",
         {{"一次回风量(kg/h):", "1987.94"},
          {"二次回风量(kg/h);", "1446.24"},
          {"制冷量(kw):", "19.78"}}},
        {kSecondaryWinter,
         {{"送风温度(℃):", "27.53"}, {"送风相对湿度(％):", "28.90"}, {"再加热量(kw):", "13.80"}}},
        {kSecondaryWinterPreheated, {{"预加热量(kw):", "12.08"}, {"总加热量(kw):", "26.56"}}},
    };
    for (const Case& c : cases) {
        const CliRun run = Process(c.args);
        EXPECT_EQ(run.status, 0) << c.args << run.err.toStdString();
        const QMap<QString, QString> shown = Shown(run.out);
        EXPECT_EQ(shown.size(), kShownResultCount) << c.args;
        for (const auto& [label, value] : c.shown)
            EXPECT_EQ(shown.value(QString::fromUtf8(label)), QString::fromUtf8(value))
                << c.args << " " << label;
    }

    // A library warning goes to standard error; the results still come.
    const CliRun warned = Process("1 tW=34 tsW=35 tN=26 phiN=60 Q=10 W=3 tO=20");
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.err.trimmed(), QStringLiteral("湿球温度不能大于干球温度！"));
    EXPECT_EQ(Shown(warned.out).size(), kShownResultCount);
}

// One object per case, every figure and point at the core's full precision,
// Wh and Os only where Kind draws them.
TEST(ProcessCli, JsonCarriesTheCoresValues)
{
    struct Case {
        const char* args;
        TreatmentInputs in;
        QStringList extraPoints;
    };
    const auto inputs = [](TreatmentProcess p, double tW, double phiW, double G, double GW,
                           double G1) {
        TreatmentInputs in;
        in.process = p;
        in.tW = tW;
        in.phiW = phiW;
        in.tN = 20;
        in.phiN = 50;
        in.Q = -5;
        in.W = 2;
        in.tO = 30;
        in.freshAir = 60;
        in.G = G;
        in.GW = GW;
        in.G1 = G1;
        return in;
    };
    TreatmentInputs summer;
    summer.tW = 34;
    summer.tsW = 28;
    summer.tN = 26;
    summer.phiN = 60;
    summer.Q = 10;
    summer.W = 3;
    summer.tO = 20;
    const Case cases[] = {
        {kPrimarySummer, summer, {}},
        {kPrimaryWinter, inputs(TreatmentProcess::PrimaryWinter, -15, 70, 0, 0, 0), {"Wh"}},
        {kSecondaryWinterPreheated,
         inputs(TreatmentProcess::SecondaryWinter, -15, 70, 3000, 1500, 1000),
         {"Wh", "Os"}},
        {kSecondaryWinter,
         inputs(TreatmentProcess::SecondaryWinter, -5, 70, 3000, 750, 1500),
         {"Os"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun r = RunCli(QStringList{QStringLiteral("process")} +
                                QString::fromUtf8(c.args).split(QLatin1Char(' ')) +
                                QStringList{QStringLiteral("--json")});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();

        ID_lib lib;
        const TreatmentOutcome expected = CalculateTreatment(lib, c.in);
        ASSERT_TRUE(expected.calculation.has_value());
        const TreatmentResult& p = expected.calculation->points;
        EXPECT_EQ(json.value(QStringLiteral("process")).toInt(), static_cast<int>(c.in.process));
        EXPECT_EQ(json.value(QStringLiteral("Kind")).toInt(), p.Kind);
        for (const ShownResult& row : ShownResults(*expected.calculation))
            EXPECT_EQ(json.value(QLatin1String(row.key)).toDouble(), row.value) << row.key;
        const QMap<QString, std::pair<double, double>> points{
            {"W", {p.dW, p.iW}}, {"N", {p.dN, p.iN}},   {"C", {p.dC, p.iC}},   {"L", {p.dL, p.iL}},
            {"O", {p.dO, p.iO}}, {"Wh", {p.dW, p.iWh}}, {"Os", {p.dOs, p.iOs}}};
        const QStringList drawn = QStringList{"W", "N", "C", "L", "O"} + c.extraPoints;
        for (auto it = points.begin(); it != points.end(); ++it) {
            const QJsonObject point = json.value(it.key()).toObject();
            EXPECT_EQ(json.contains(it.key()), drawn.contains(it.key())) << it.key().toStdString();
            if (drawn.contains(it.key())) {
                EXPECT_EQ(point.value(QStringLiteral("d")).toDouble(), it->first * 1000);
                EXPECT_EQ(point.value(QStringLiteral("i")).toDouble(), it->second);
            }
        }
        EXPECT_EQ(json.size(), 2 + kShownResultCount + drawn.size());
    }
}

// One case per row, the process first; a refused row only fills its error
// column; the output does not depend on the threads.
TEST(ProcessCli, CsvBatch)
{
    const QByteArray csv = "Process,tW,tsW,phiW,tN,phiN,Q,W,tO,ratio,fresh,G,GW,G1\n"
                           "1,34,28,,26,60,10,3,20,25,,,,\n"
                           "4,-15,,70,20,50,-5,2,,,,3000,1500,1000\n"
                           "1,34,28,,26,60,10,3,30,25,,,,\n"
                           "3,34,28,,26,60,10,3,20,,1000,,,\n";
    const CliRun r = RunCli({QStringLiteral("process"), QStringLiteral("--csv"),
                             QStringLiteral("-"), QStringLiteral("--threads"), QStringLiteral("2")},
                            csv);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("process,Kind,tO,phiO,G,m,GW,G1,G2,iC,tL,Q0,Qp,Qr,Qtotal,"
                                       "W_d,W_i,N_d,N_i,C_d,C_i,L_d,L_i,O_d,O_i,Wh_d,Wh_i,Os_d,"
                                       "Os_i,error"));
    const QStringList header = lines[0].split(QLatin1Char(','));
    const auto cell = [&](int row, const char* column) {
        return lines[row].split(QLatin1Char(',')).value(header.indexOf(QLatin1String(column)));
    };

    const CliRun first = Process(kPrimarySummer, {});
    const CliRun json =
        RunCli({QStringLiteral("process"), QStringLiteral("4"), QStringLiteral("tW=-15"),
                QStringLiteral("phiW=70"), QStringLiteral("tN=20"), QStringLiteral("phiN=50"),
                QStringLiteral("Q=-5"), QStringLiteral("W=2"), QStringLiteral("G=3000"),
                QStringLiteral("GW=1500"), QStringLiteral("G1=1000"), QStringLiteral("--json")});
    const QJsonObject fourth = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(cell(1, "process"), QStringLiteral("1"));
    EXPECT_EQ(cell(1, "Kind"), QStringLiteral("1"));
    EXPECT_EQ(FormatNumber(cell(1, "Q0").toDouble(), QStringLiteral("0.00")),
              Shown(first.out).value(QStringLiteral("制冷量(kw):")));
    EXPECT_EQ(cell(1, "Wh_i"), QString());
    EXPECT_EQ(cell(1, "error"), QString());
    EXPECT_EQ(cell(2, "process"), QStringLiteral("4"));
    EXPECT_EQ(cell(2, "Kind"), QStringLiteral("3"));
    EXPECT_EQ(cell(2, "Qp").toDouble(), fourth.value(QStringLiteral("Qp")).toDouble());
    EXPECT_EQ(cell(2, "Os_d").toDouble(),
              fourth.value(QStringLiteral("Os")).toObject().value(QStringLiteral("d")).toDouble());
    EXPECT_EQ(cell(3, "process"), QStringLiteral("1"));
    EXPECT_EQ(cell(3, "G"), QString());
    EXPECT_TRUE(cell(3, "error").contains(QStringLiteral("总送风量为负")));
    EXPECT_EQ(FormatNumber(cell(4, "m").toDouble(), QStringLiteral("0.00")),
              QStringLiteral("21.84"));

    const CliRun single =
        RunCli({QStringLiteral("process"), QStringLiteral("--csv"), QStringLiteral("-"),
                QStringLiteral("--threads"), QStringLiteral("1")},
               csv);
    EXPECT_EQ(single.out, r.out);
}

// Refusals exit 2 with the window's message (or the reason) on standard
// error and nothing on standard output.
TEST(ProcessCli, Refusals)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=30",
         "送风温度与余热量不相容（总送风量为负）：余热量为正时送风温度应低于室内，"
         "为负时应高于室内，请检查送风温度和余热量！"},
        {"4 tW=-5 phiW=70 tN=20 phiN=160 Q=-5 W=2 G=3000 GW=750 G1=1500",
         "相对湿度不能小于0或大于100％！"},
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=120", "新风比不能大于100％！"},
        {"4 tW=-5 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=1500 G1=1600",
         "新风量与一次回风量之和不能大于总送风量！"},
        {"1 tW=34 tsW=28 tN=26 Q=10 W=3 tO=20", "请输入室内空气参数！"},
        {"2 tW=10 tN=20 phiN=50 Q=-5 W=2 tO=30", "请输入室外空气参数！"},
        {"4 tW=-5 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=750",
         "请输入二次回风冬季处理过程的风量！"},
        {"1 tW=abc tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20", "“abc”不是有效的数值"},
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=10", "输入数据不合理，请检查含湿量！"},
        {"2 tW=10 tsW=28 phiW=70 tN=20 phiN=50 Q=-5 W=2 tO=30",
         "过程2不使用参数 tsW（见 ventacalc-cli process --help）"},
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=25 fresh=1000",
         "ratio 与 fresh 只能给出一个"},
        {"9 tW=34", "处理过程应为1、2、3或4，而不是“9”"},
        {"tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20",
         "请给出处理过程 1～4（见 ventacalc-cli process --help）"},
        {"1 tW=34 tW=35", "参数 tW 给出了两次"},
        {"1 speed=3", "无法识别的参数: speed=3（见 ventacalc-cli process --help）"},
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 --pressure 0", "大气压力必须大于0！"},
    };
    for (const auto& [args, message] : cases) {
        const CliRun r = Process(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, QString()) << args;
        EXPECT_EQ(r.err.trimmed(), QString::fromUtf8(message)) << args;
    }

    const CliRun help = Process("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"tW", "tsW", "phiW", "tN", "phiN", "ratio", "fresh", "GW", "G1",
                             "--json", "--csv", "--threads", "--pressure", "Qtotal", "Os_d"})
        EXPECT_TRUE(help.out.contains(QLatin1String(word))) << word;
}
