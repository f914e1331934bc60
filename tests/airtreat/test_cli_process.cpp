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

QStringList Words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

CliRun Process(const char* args, const QByteArray& input = {})
{
    return RunCli(QStringList{QStringLiteral("process")} + Words(args), input);
}

// The core's inputs for the same command line.
TreatmentInputs Inputs(const char* args)
{
    TreatmentInputs in;
    const QStringList words = Words(args);
    in.process = static_cast<TreatmentProcess>(words.first().toInt());
    const QMap<QString, double TreatmentInputs::*> fields{{"tW", &TreatmentInputs::tW},
                                                          {"tsW", &TreatmentInputs::tsW},
                                                          {"phiW", &TreatmentInputs::phiW},
                                                          {"tN", &TreatmentInputs::tN},
                                                          {"phiN", &TreatmentInputs::phiN},
                                                          {"Q", &TreatmentInputs::Q},
                                                          {"W", &TreatmentInputs::W},
                                                          {"tO", &TreatmentInputs::tO},
                                                          {"ratio", &TreatmentInputs::freshAir},
                                                          {"fresh", &TreatmentInputs::freshAir},
                                                          {"G", &TreatmentInputs::G},
                                                          {"GW", &TreatmentInputs::GW},
                                                          {"G1", &TreatmentInputs::G1}};
    for (const QString& word : words.mid(1)) {
        const QString name = word.section(QLatin1Char('='), 0, 0);
        in.*fields.value(name) = word.section(QLatin1Char('='), 1).toDouble();
        if (name == QLatin1String("fresh"))
            in.freshAirEntry = FreshAirEntry::Quantity;
    }
    return in;
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
const char* const kSecondarySummer = "3 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=25";
const char* const kSecondaryWinter = "4 tW=-5 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=750 G1=1500";
const char* const kSecondaryWinterPreheated =
    "4 tW=-15 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=1500 G1=1000";

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

    const std::pair<const char*, const char*> cases[] = {
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 fresh=1000",
         "新风比(%): 21.84|一次回风量(kg/h): 3578.91|制冷量(kw): 21.22"},
        // Names in any case; no fresh-air entry means the window's 25 %. The
        // other cases: JsonCarriesTheCoresValues.
        {"2 TW=10 phiw=70 tN=20 phiN=50 Q=-5 W=2 tO=30",
         "总送风量(kg/h): 2258.50|一次回风混合点焓: 34.84|再加热量(kw): 7.37"},
    };
    for (const auto& [args, expected] : cases) {
        const CliRun run = Process(args);
        EXPECT_EQ(run.status, 0) << args << run.err.toStdString();
        const QMap<QString, QString> shown = Shown(run.out);
        EXPECT_EQ(shown.size(), kShownResultCount) << args;
        for (const QString& line : QString::fromUtf8(expected).split(QLatin1Char('|')))
            EXPECT_EQ(shown.value(line.section(QLatin1Char(' '), 0, 0)),
                      line.section(QLatin1Char(' '), 1))
                << args << " " << line.toStdString();
    }

    // A library warning goes to standard error before the refusal it leads
    // to: the outdoor state lies beyond saturation.
    const CliRun warned = Process("1 tW=34 tsW=35 tN=26 phiN=60 Q=10 W=3 tO=20");
    EXPECT_EQ(warned.status, 2);
    EXPECT_TRUE(
        warned.err.startsWith(QStringLiteral("湿球温度不能大于干球温度！\n状态点W（室外状态）")))
        << warned.err.toStdString();
    EXPECT_EQ(warned.out, QString());
}

// One object per case, every figure and point at the core's full precision,
// Wh and Os only where Kind draws them.
TEST(ProcessCli, JsonCarriesTheCoresValues)
{
    const std::pair<const char*, QStringList> cases[] = {
        {kPrimarySummer, {}},       {kPrimaryWinter, {"Wh"}},
        {kSecondarySummer, {}},     {kSecondaryWinterPreheated, {"Wh", "Os"}},
        {kSecondaryWinter, {"Os"}},
    };
    for (const auto& [args, extraPoints] : cases) {
        SCOPED_TRACE(args);
        const CliRun r = RunCli(QStringList{QStringLiteral("process")} + Words(args) +
                                QStringList{QStringLiteral("--json")});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();

        ID_lib lib;
        const TreatmentInputs in = Inputs(args);
        const TreatmentOutcome expected = CalculateTreatment(lib, in);
        ASSERT_TRUE(expected.calculation.has_value());
        const TreatmentResult& p = expected.calculation->points;
        EXPECT_EQ(json.value(QStringLiteral("process")).toInt(), static_cast<int>(in.process));
        EXPECT_EQ(json.value(QStringLiteral("Kind")).toInt(), p.Kind);
        for (const ShownResult& row : ShownResults(*expected.calculation))
            EXPECT_EQ(json.value(QLatin1String(row.key)).toDouble(), row.value) << row.key;
        const QMap<QString, std::pair<double, double>> points{
            {"W", {p.dW, p.iW}}, {"N", {p.dN, p.iN}},   {"C", {p.dC, p.iC}},   {"L", {p.dL, p.iL}},
            {"O", {p.dO, p.iO}}, {"Wh", {p.dW, p.iWh}}, {"Os", {p.dOs, p.iOs}}};
        const QStringList drawn = QStringList{"W", "N", "C", "L", "O"} + extraPoints;
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
                           "1,34,28,,26,60,10,3,30,25,,,,\n";
    const CliRun r = Process("--csv - --threads 2", csv);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("process,Kind,tO,phiO,G,m,GW,G1,G2,iC,tL,Q0,Qp,Qr,Qtotal,"
                                       "W_d,W_i,N_d,N_i,C_d,C_i,L_d,L_i,O_d,O_i,Wh_d,Wh_i,Os_d,"
                                       "Os_i,error"));
    const QStringList header = lines[0].split(QLatin1Char(','));
    const auto cell = [&](int row, const char* column) {
        return lines[row].split(QLatin1Char(',')).value(header.indexOf(QLatin1String(column)));
    };
    for (const auto& [row, args] : {std::pair{1, kPrimarySummer}, {2, kSecondaryWinterPreheated}}) {
        const QJsonObject json =
            QJsonDocument::fromJson(
                RunCli(QStringList{"process"} + Words(args) + QStringList{"--json"}).out.toUtf8())
                .object();
        EXPECT_EQ(cell(row, "process"), Words(args).first());
        EXPECT_EQ(cell(row, "Kind").toInt(), json.value(QStringLiteral("Kind")).toInt());
        EXPECT_EQ(cell(row, "Qtotal").toDouble(), json.value(QStringLiteral("Qtotal")).toDouble());
        EXPECT_EQ(cell(row, "Os_d").isEmpty(), !json.contains(QStringLiteral("Os")));
        EXPECT_EQ(cell(row, "error"), QString());
    }
    EXPECT_EQ(cell(3, "G"), QString());
    EXPECT_TRUE(cell(3, "error").contains(QStringLiteral("总送风量为负")));

    EXPECT_EQ(Process("--csv - --threads 1", csv).out, r.out);
}

// Designs whose process runs the wrong way or leaves the library's range:
// the core gives no result and the refusal, the command exits 2 with the
// same text on standard error and prints nothing.
TEST(ProcessCli, ImpossibleDesignsAreRefused)
{
    const std::pair<const char*, const char*> cases[] = {
        // The supply lies between the 93 % dew point and saturation.
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=17 ratio=25",
         "送风温度17.00℃低于机器露点温度17.53℃（再加热量为负）：此设计无需再热，而需将空气进一步"
         "冷却，请提高送风温度或检查余热量和余湿量！"},
        // A winter process under a cooling load.
        {"2 tW=10 phiW=70 tN=20 phiN=50 Q=5 W=2 tO=15 ratio=25",
         "送风温度15.00℃低于机器露点温度18.26℃（再加热量为负）：此设计无需再热，而需将空气进一步"
         "冷却，请提高送风温度或检查余热量和余湿量！"},
        {"4 tW=34 phiW=70 tN=26 phiN=60 Q=10 W=3 G=3000 GW=750 G1=1500",
         "送风状态O\"的焓46.45 kJ/kg低于二次混合点O的焓48.98 kJ/kg（再加热量为负）：此设计无需"
         "再热，而需冷却，请检查余热量、余湿量和风量！"},
        // A heat loss so large that the supply would be at 608.67 ℃.
        {"4 tW=-15 phiW=70 tN=20 phiN=50 Q=-500 W=2 G=3000 GW=1500 G1=1000",
         "状态点O\"（送风状态）超出湿空气的计算范围：干球温度608.67℃超出-"
         "50～100℃，请检查输入数据！"},
        // Outdoor air so cool that the mixture lies below the coil's dew point.
        {"1 tW=10 tsW=8 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=80",
         "一次回风混合点C的焓31.46 kJ/kg低于机器露点L的焓48.48 kJ/kg（制冷量为负）：此设计无需"
         "冷却，而需加热，请检查室外参数、新风量和送风温度！"},
        {"3 tW=10 tsW=8 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=40",
         "一次回风混合点C的焓38.72 kJ/kg低于机器露点L的焓46.96 kJ/kg（制冷量为负）：此设计无需"
         "冷却，而需加热，请检查室外参数、新风量和送风温度！"},
        // The humidified mixture at L's enthalpy beyond saturation.
        {"4 tW=-15 phiW=70 tN=20 phiN=50 Q=-5 W=15 G=3000 GW=1500 G1=1000",
         "状态点C（一次回风混合点）超出湿空气的计算范围：相对湿度超出0～100％（含湿量3.40 g/kg，"
         "焓-10.32 kJ/kg），请检查输入数据！"},
        // Too little treated air to take up the room's moisture.
        {"4 tW=-15 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=100 G1=0",
         "经过处理的空气所需的含湿量为-12.74 g/kg，不大于0：二次回风带入的水分已多于送风所需，"
         "无法确定机器露点，请检查余湿量和风量！"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args);
        ID_lib lib;
        const TreatmentOutcome core = CalculateTreatment(lib, Inputs(args));
        EXPECT_FALSE(core.calculation.has_value());
        EXPECT_EQ(core.refusal, QString::fromUtf8(message));
        const CliRun r = Process(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, QString());
        EXPECT_EQ(r.err.trimmed(), QString::fromUtf8(message));
    }
}

// Refusals exit 2 with the window's message (or the reason) on standard
// error and nothing on standard output.
TEST(ProcessCli, Refusals)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=30",
         "送风温度与余热量不相容（总送风量为负）：余热量为正时送风温度应低于室内，"
         "为负时应高于室内，请检查送风温度和余热量！"},
        {"1 tW=34 tsW=28 tN=26 Q=10 W=3 tO=20", "请输入室内空气参数！"},
        {"1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=10",
         "输入数据不合理，请检查含湿量！（送风温度10℃时，由室内状态和余热量10 kW、余湿量3 "
         "kg/h求得的送风含湿量为10.89 g/kg：过饱和）"},
        {"2 tW=10 tsW=28 phiW=70 tN=20 phiN=50 Q=-5 W=2 tO=30",
         "过程2不使用参数 tsW（见 ventacalc-cli process --help）"},
        {"1 tW=34 ratio=25 fresh=1000", "ratio 与 fresh 只能给出一个"},
        {"9 tW=34", "处理过程应为1、2、3或4，而不是“9”"},
        {"tW=34", "请给出处理过程 1～4（见 ventacalc-cli process --help）"},
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
    for (const char* word : {"tsW", "phiW", "phiN", "ratio", "fresh", "GW", "G1", "--json", "--csv",
                             "--threads", "--pressure", "Qtotal", "Os_d"})
        EXPECT_TRUE(help.out.contains(QLatin1String(word))) << word;
}
