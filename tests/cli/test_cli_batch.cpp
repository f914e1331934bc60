// The calculating commands' shared behaviour: failures never printed as
// results, strict JSON, streaming parallel CSV batches, output errors.
#include "cli/Batch.h"
#include "support/CliRun.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace
{

QStringList Args(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

// Refused inputs and failed calculations: status 2, the message on standard
// error, nothing on standard output, with or without --json.
TEST(CliCommands, FailuresExitTwoAndPrintNoResult)
{
    const struct {
        const char* args;
        const char* lastMessage;
    } cases[] = {
        {"state t=-300 rh=50", "计算失败！"},
        {"state t=1000 rh=50", "所给的水蒸汽分压力值超出计算范围！"},
        {"state t=20 rh=50 --pressure 1", "计算失败！"},
        {"state t=-45 rh=50", "所给的水蒸汽分压力值超出计算范围！"}, // dew point below −50 ℃
        {"state t=10 d=40", "输入数据不合理，请检查含湿量！"},
        {"state t=20 rh=100.01", "相对湿度不能小于0或大于100％！"},
        {"state t=20 rh=1e999", "rh：“1e999”不是有效的数值"},
        {"pmv ta=200 tr=22 va=0.1 rh=60", "所给的水蒸汽分压力值超出计算范围！"},
        {"pmv ta=22 tr=22 va=0.1 rh=101", "相对湿度不能小于0或大于100％！"},
        {"pmv ta=22 tr=22 va=0.1 rh=-5", "相对湿度不能小于0或大于100％！"},
    };
    for (const auto& c : cases) {
        for (const bool json : {false, true}) {
            QStringList args = Args(c.args);
            if (json)
                args << QStringLiteral("--json");
            const CliRun r = RunCli(args);
            EXPECT_EQ(r.status, 2) << c.args;
            EXPECT_EQ(r.out, QString()) << c.args;
            EXPECT_EQ(r.err.trimmed().split(QLatin1Char('\n')).last(),
                      QString::fromUtf8(c.lastMessage))
                << c.args << " said " << r.err.toStdString();
        }
    }
}

// A text that is no number is refused naming the argument it was given as.
TEST(CliCommands, ConversionErrorNamesItsArgument)
{
    QTemporaryDir dir;
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"state t=20 rh=50 --pressure 1o1325", "--pressure：“1o1325”不是有效的数值"},
        {"process 1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 TO=2O", "tO：“2O”不是有效的数值"},
        {"pipe type=焊接钢管(GB3092) G=1.0 L=abc --data-dir", "L：“abc”不是有效的数值"},
        {"duct G=5000 DN=500 L=10 xi=0,5 n=2", "xi：“0,5”不是有效的数值"},
        {"pmv ta=22 tr=22 va=.1. rh=60", "va：“.1.”不是有效的数值"},
    };
    for (const auto& c : cases) {
        QStringList args = Args(c.args);
        if (args.last() == QLatin1String("--data-dir"))
            args << dir.path();
        const CliRun r = RunCli(args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.out, QString()) << c.args;
        EXPECT_EQ(r.err.trimmed(), QString::fromUtf8(c.message)) << c.args;
    }
}

// What does print is strict JSON, a warning's result included.
TEST(CliCommands, JsonIsStrict)
{
    for (const char* args : {"state t=20 ts=25 --json", "state t=20 rh=100 --json",
                             "state t=-40 rh=90 --json", "pmv ta=22 tr=22 va=0.1 rh=60 --json"}) {
        const CliRun r = RunCli(Args(args));
        EXPECT_EQ(r.status, 0) << args << r.err.toStdString();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << args << ": " << r.out.toStdString();
        EXPECT_TRUE(doc.isObject()) << args;
        EXPECT_FALSE(r.out.contains(QLatin1String("nan")) || r.out.contains(QLatin1String("inf")))
            << args;
    }
}

TEST(CliCommands, MessagesQuoteInputShortAndEscaped)
{
    const QString hostile = QStringLiteral("x\x1b[2J\n") + QString(100000, QLatin1Char('y'));
    for (const char* command : {"state", "pmv", "convert"}) {
        const CliRun r = RunCli({QString::fromLatin1(command), QStringLiteral("--") + hostile});
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_FALSE(r.err.contains(QChar(0x1b))) << command;
        EXPECT_TRUE(r.err.contains(QStringLiteral("x\\x1b[2J\\nyyy"))) << command;
        EXPECT_LT(r.err.size(), 400) << command;
    }
}

TEST(CliCommands, LostOutputIsAFailure)
{
    for (const char* args : {"state t=20 rh=50", "convert 1 atm", "state --csv -"}) {
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(VENTACALC_CLI_PATH), Args(args));
        p.write("t,rh\n20,50\n");
        p.closeWriteChannel();
        ASSERT_TRUE(p.waitForFinished(30000)) << args;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << args;
        EXPECT_EQ(p.exitCode(), 1) << args;
        EXPECT_TRUE(p.readAllStandardError().contains("无法写入标准输出")) << args;
    }
}

TEST(CliBatch, RowsEndAtAnyLineEndAndFailuresFillOnlyTheirErrorColumn)
{
    const struct {
        const char* name;
        QStringList args;
        QByteArray input;
        QStringList rows; // a row ending in "…" is compared by its beginning
    } cases[] = {
        {"CR alone",
         Args("state --csv -"),
         "t,rh\r20,50\r-45,50\r",
         {"t,ts,rh,d,i,tdew,rho,pv,error", "20,13.88…",
          ",,,,,,,,所给的水蒸汽分压力值超出计算范围！"}},
        {"warning keeps its result",
         Args("state --csv -"),
         "t,ts\n20,25\n",
         {"t,ts,rh,d,i,tdew,rho,pv,error", "20,25,150.08…"}},
        {"pmv rows echo their inputs",
         Args("pmv --csv -"),
         "ta,tr,va,rh\r\n22,22,0.1,60\r\n200,22,0.1,60\r\n22,22,0.1,101\r\n",
         {"ta,tr,va,rh,activity,m,w,icl,pmv,ppd,error", "22,22,0.1,60,,,,,-0.50…",
          "200,22,0.1,60,,,,,,,计算失败！ 所给的水蒸汽分压力值超出计算范围！",
          "22,22,0.1,101,,,,,,,相对湿度不能小于0或大于100％！"}},
    };
    for (const auto& c : cases) {
        const CliRun r = RunCli(c.args, c.input);
        EXPECT_EQ(r.status, 0) << c.name << r.err.toStdString();
        const QStringList rows = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(rows.size(), c.rows.size()) << c.name << ": " << r.out.toStdString();
        for (qsizetype k = 0; k < rows.size(); ++k) {
            const QString& want = c.rows[k];
            if (want.endsWith(QStringLiteral("…")))
                EXPECT_TRUE(rows[k].startsWith(want.chopped(1)))
                    << c.name << ": " << rows[k].toStdString();
            else
                EXPECT_EQ(rows[k], want) << c.name;
            EXPECT_FALSE(rows[k].contains(QLatin1String("nan")) ||
                         rows[k].contains(QLatin1String("inf")));
        }
    }
}

TEST(CliBatch, HeaderWithoutAKnownColumnRefusesTheFile)
{
    for (const char* command : {"state", "pmv"}) {
        const CliRun r =
            RunCli({QString::fromLatin1(command), QStringLiteral("--csv"), QStringLiteral("-")},
                   "temperature,humidity\n20,50\n");
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_EQ(r.out, QString()) << command;
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("CSV文件的列名行中没有可识别的列名")))
            << command;
    }
}

TEST(CliBatch, ParallelOutputIsByteIdenticalToSerial)
{
    QRandomGenerator random(20261208);
    QByteArray input = "t,rh,d\n";
    for (int row = 0; row < 4000; ++row) {
        // Mostly sound states, some refused or failing, some blank lines.
        const double t = -60 + 170 * random.generateDouble();
        const double rh = -5 + 110 * random.generateDouble();
        input += row % 97 == 0
                     ? QByteArray("\n")
                     : QByteArray::number(t, 'f', 2) + ',' + QByteArray::number(rh, 'f', 1) + ",\n";
    }
    const CliRun serial = RunCli(Args("state --csv - --threads 1"), input);
    ASSERT_EQ(serial.status, 0) << serial.err.toStdString();
    EXPECT_GT(serial.out.count(QLatin1Char('\n')), 3900);
    for (const char* threads : {"2", "3", "0"}) {
        const CliRun parallel =
            RunCli(Args("state --csv - --threads") << QString::fromLatin1(threads), input);
        EXPECT_EQ(parallel.status, 0);
        EXPECT_TRUE(parallel.out == serial.out) << "threads " << threads;
    }
}

// Output that is lost after the first block's rows began (the header went
// through) still ends the batch as a failure.
TEST(CliBatch, RowsLostOnTheirWayOutAreAFailure)
{
    // Takes the first 64 bytes and refuses the rest, as a device that filled up.
    class FillingDevice : public QIODevice
    {
    public:
        FillingDevice() { open(QIODevice::WriteOnly); }

    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char*, qint64 size) override
        {
            const qint64 taken = std::min(size, 64 - written_);
            written_ += taken;
            return taken > 0 ? taken : -1;
        }

    private:
        qint64 written_ = 0;
    };
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("rows.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("t,rh\n");
    for (int row = 0; row < 100; ++row)
        file.write("20,50\n");
    file.close();
    FillingDevice output;
    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    QTextStream out(&output), err(&errors);
    CliIo io{out, err};
    EXPECT_EQ(RunCsvBatch(file.fileName(), StateCsvBatch(QStringLiteral("101325"), 1024), 1, io),
              ExitFailure);
    err.flush();
    EXPECT_TRUE(errors.data().contains("无法写入标准输出"));
}

// Repeated rows come from the workers' caches: the output is byte for byte
// what computing every row gives, with any cache size and thread count, and
// plain rows (read as bytes) give what the same rows quoted (read as text) do.
TEST(CliBatch, CachedRowsAreByteIdenticalToComputedOnes)
{
    // Sound states, warnings, failures and refused rows; -0 and 0 differ in
    // their output, so a cache keyed on == would be caught.
    QList<QStringList> pool{
        {"-0", "", "50", "", ""},   {"0", "", "50", "", ""},       {"0.0", "", "50", "", ""},
        {"-0.0", "", "50", "", ""}, {"20", "25", "", "", ""},      {"-300", "", "50", "", ""},
        {"1000", "", "50", "", ""}, {"20", "", "abc", "", ""},     {"20", "", "1e999", "", ""},
        {"20", "", "", "", ""},     {"20", "15", "50", "", ""},    {"10", "", "", "40", ""},
        {"", "", "", "8", "40"},    {" 21.5 ", "", "1e1", "", ""}, {"+5", "", ".5", "", ""},
        {"", "18", "70", "", ""},   {"20", "", "0x10", "", ""},    {"20", "", "100.01", "", ""},
    };
    QRandomGenerator random(20261209);
    for (int k = 0; k < 300; ++k) {
        // Rounded weather-like rows and a few full-precision ones.
        const double t = -20 + 0.1 * random.bounded(600);
        const double rh = 5 + random.bounded(95);
        pool.append({QString::number(t, 'f', 1), "", QString::number(rh, 'f', 0), "", ""});
        if (k % 10 == 0)
            pool.append({QString::number(t + random.generateDouble(), 'g', 17), "",
                         QString::number(rh - random.generateDouble(), 'g', 17), "", ""});
    }
    QByteArray plain = "t,ts,rh,d,i\n";
    QByteArray quoted = plain;
    for (int row = 0; row < 5000; ++row) {
        const QStringList& fields = pool[random.bounded(pool.size())];
        plain += fields.join(QLatin1Char(',')).toUtf8() + '\n';
        quoted += '"' + fields.join(QStringLiteral("\",\"")).toUtf8() + "\"\n";
    }
    QTemporaryDir dir;
    const auto run = [&dir](const QByteArray& input, size_t cacheRows, int threads) {
        QFile file(dir.filePath(QStringLiteral("rows.csv")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(input) == input.size());
        file.close();
        QBuffer output, errors;
        output.open(QIODevice::WriteOnly);
        errors.open(QIODevice::WriteOnly);
        QTextStream out(&output), err(&errors);
        CliIo io{out, err};
        EXPECT_EQ(RunCsvBatch(file.fileName(), StateCsvBatch(QStringLiteral("101325"), cacheRows),
                              threads, io),
                  ExitOk);
        out.flush();
        return output.data();
    };
    const QByteArray computed = run(quoted, 0, 1);
    EXPECT_EQ(computed.count('\n'), 5001);
    EXPECT_TRUE(computed.contains("\n-0,") && computed.contains("\n0,"));
    for (const QByteArray* input : {&quoted, &plain}) {
        for (const size_t cacheRows : {size_t(0), size_t(16), size_t(1) << 16}) {
            for (const int threads : {1, 2, 3}) {
                EXPECT_TRUE(run(*input, cacheRows, threads) == computed)
                    << (input == &plain ? "plain" : "quoted") << " rows, cache " << cacheRows
                    << ", threads " << threads;
            }
        }
    }
}
