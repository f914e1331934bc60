// The window program's command line, run as a user would: the parser's own
// words are Chinese whatever the locale.
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

TEST(CommandLine, HelpAndRefusalsAreInChineseInAnyLocale)
{
    const struct {
        QStringList arguments;
        int status;
        std::vector<const char*> says;
    } rows[] = {
        {{"--help"},
         0,
         {"用法：", "选项：", "在命令行选项上显示帮助。", "--data-dir <DIR>", "[FILE]", "参数：",
          "水管阻力工程（.gzl）或风管阻力工程（.dzl）"}},
        {{"--bogus"}, 1, {"未知选项“bogus”。"}},
        // One project at a time: neither file is opened.
        {{"甲.gzl", "乙 工程.dzl"}, 2, {"只能给出一个工程文件"}},
    };
    for (const char* lang : {"zh_CN.UTF-8", "C"}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(lang) + " " + row.arguments.join(' ').toStdString());
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(QStringLiteral("LC_ALL"));
            env.remove(QStringLiteral("LANGUAGE"));
            env.insert(QStringLiteral("LANG"), QString::fromLatin1(lang));
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(VENTACALC_PATH), row.arguments);
            ASSERT_TRUE(p.waitForFinished(30000));
            EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(p.exitCode(), row.status);
            const QString said = QString::fromUtf8(p.readAllStandardOutput()) +
                                 QString::fromUtf8(p.readAllStandardError());
            for (const char* words : row.says)
                EXPECT_TRUE(said.contains(QString::fromUtf8(words))) << said.toStdString();
            for (const char* english : {"Usage:", "Options:", "Unknown option", "Displays"})
                EXPECT_FALSE(said.contains(QLatin1String(english))) << said.toStdString();
        }
    }
}
