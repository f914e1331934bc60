// Options the commands would pass over or let a later one override are
// refused, and what a message quotes of the user's or a file's text is cut
// and escaped.
#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "support/CliRun.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QStringList Args(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// No control character but the line end that closes each line.
bool PrintableLines(const QString& text)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        for (const QChar c : line) {
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
                return false;
        }
    }
    return true;
}

} // namespace

TEST(CliOptions, IgnoredOrOverriddenOptionsAreRefusedNamingTheOption)
{
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {Args("state --csv F t=20 rh=50"), "--csv 不能与单独给出的参数同时使用"},
        {Args("state --csv - --json"), "选项 --json 不能与 --csv 一起使用：批量计算输出CSV"},
        {Args("pmv --csv - --json"), "选项 --json 不能与 --csv 一起使用：批量计算输出CSV"},
        {Args("process --csv - --json"), "选项 --json 不能与 --csv 一起使用：批量计算输出CSV"},
        {Args("pipe --csv - --json"), "选项 --json 不能与 --csv 一起使用：批量计算输出CSV"},
        {Args("state --csv - --csv -"), "选项 --csv 给出了两次"},
        {Args("pipe --project a.gzl --project b.gzl"), "选项 --project 给出了两次"},
        {Args("duct --project a.dzl --project b.dzl"), "选项 --project 给出了两次"},
        {Args("state t=20 rh=50 --threads 2"), "选项 --threads 只用于 --csv 批量计算"},
        {Args("pmv ta=22 tr=22 va=0.1 rh=60 --threads 2"), "选项 --threads 只用于 --csv 批量计算"},
        {Args("duct --project a.dzl --threads 2"), "选项 --threads 只用于 --csv 批量计算"},
        {Args("pipe type=A G=1 L=10") << "--data-dir"
                                      << "",
         "选项 --data-dir 的值不能为空"},
        {Args("state t=20 rh=50") << "--csv"
                                  << "",
         "选项 --csv 的值不能为空"},
        {Args("chart --out c.svg") << "--points"
                                   << "",
         "选项 --points 的值不能为空"},
        {Args("state t=20 rh=50 --pressure 90000 --pressure 101325"), "选项 --pressure 给出了两次"},
        {Args("chart --out a.svg --out b.svg"), "选项 --out 给出了两次"},
        {Args("pipe --project a.gzl --xlsx a.xlsx --xlsx b.xlsx"), "选项 --xlsx 给出了两次"},
        {Args("duct --project a.dzl --xlsx a.xlsx --json"),
         "选项 --json 不能与 --xlsx 一起使用：--xlsx 写出计算结果表"},
        {Args("state t=20 rh=50 --json --json"), "选项 --json 给出了两次"},
        {Args("convert 1 atm --json --json"), "选项 --json 给出了两次"},
        {Args("state t=20 rh=50 --pressure"), "选项 --pressure 缺少值"},
        {Args("duct G=1 G=2 DN=500 L=10"), "参数 G 给出了两次"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile csv(dir.filePath(QStringLiteral("F")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("t,rh\n20,50\n");
    csv.close();
    for (const auto& c : cases) {
        QStringList args = c.args;
        args.replaceInStrings(QRegularExpression(QStringLiteral("^F$")), csv.fileName());
        const CliRun r = RunCli(args, "t,rh\n20,50\n");
        const std::string shown = args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, QString()) << shown;
        // The chart's window system may warn first.
        EXPECT_EQ(r.err.trimmed().split(QLatin1Char('\n')).last(), QString::fromUtf8(c.message))
            << shown;
    }
}

// A pipe type with terminal controls, or of 100,000 characters, comes back
// cut to 40 characters with its control characters escaped.
TEST(CliOptions, MessagesQuoteTheUsersTextCutAndEscaped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString controls = QStringLiteral("A\x1b[2J\x07"
                                            "B\nC");
    const QString longType(100000, QLatin1Char('x'));
    const struct {
        QString type;
        const char* message;
    } cases[] = {
        {controls, "管道库中没有管道类型“A\\x1b[2J\\x07B\\nC”！"},
        {longType, nullptr},
        {QStringLiteral("A\r\t\x7f\u009b"), "管道库中没有管道类型“A\\r\\t\\x7f\\x9b”！"},
    };
    for (const auto& c : cases) {
        const CliRun r =
            RunCli({QStringLiteral("pipe"), QStringLiteral("type=") + c.type, QStringLiteral("G=1"),
                    QStringLiteral("L=10"), QStringLiteral("--data-dir"), dir.path()});
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.isEmpty());
        ASSERT_TRUE(r.err.endsWith(QLatin1Char('\n')));
        EXPECT_TRUE(PrintableLines(r.err.chopped(1))) << r.err.toStdString();
        EXPECT_LT(r.err.toUtf8().size(), 200) << r.err.size();
        if (c.message)
            EXPECT_EQ(r.err.trimmed(), QString::fromUtf8(c.message));
        else
            EXPECT_EQ(
                r.err.trimmed(),
                QStringLiteral("管道库中没有管道类型“%1…”！").arg(QString(40, QLatin1Char('x'))));
    }
}

// A number field that holds a megabyte of text with control characters is
// refused with a message that quotes 40 characters of it, escaped.
TEST(CliOptions, LongTextInANumberFieldIsQuotedCutAndEscaped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("t.DB"));
    const TableDeclaration asText{{
        {.name = QStringLiteral("Name"), .type = FieldType::Text, .size = 8},
        {.name = QStringLiteral("Value"), .type = FieldType::Text, .size = 2000000},
    }};
    const QString text = QStringLiteral("\x1b[2J\x07") + QString(1 << 20, QLatin1Char('9'));
    CreateTableFile(path, asText, {{QStringLiteral("A"), text}});

    const TableDeclaration asNumber{{
        {.name = QStringLiteral("Name"), .type = FieldType::Text, .size = 8},
        {.name = QStringLiteral("Value"), .type = FieldType::Double},
    }};
    RecordTableStore table(asNumber);
    table.setPath(path);
    try {
        table.open();
        FAIL() << "a text in a number field was read";
    } catch (const UserError& e) {
        const QString message = e.text();
        EXPECT_LT(message.size(), path.size() + 120) << message.size();
        EXPECT_TRUE(PrintableLines(message));
        EXPECT_TRUE(message.contains(QStringLiteral("“\\x1b[2J\\x07") +
                                     QString(35, QLatin1Char('9')) + QStringLiteral("…”")))
            << message.toStdString();
    }
    EXPECT_FALSE(table.isOpen());
}
