// GBK text files, the report file's new/append rule and the data directory.
#include "app/DataDir.h"
#include "app/Gbk.h"
#include "app/Numbers.h"
#include "app/TextReport.h"
#include "support/PdfText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(AppGbk, RoundTripsTheProgramsCharacters)
{
    const QString text = QStringLiteral(" 干球温度(℃)：━━ 相对湿度(%)ψ 100％");
    const QByteArray bytes = ToGbk(text);
    EXPECT_EQ(bytes.left(3), QByteArray(" \xB8\xC9", 3)); // 干 is B8C9 in GBK
    EXPECT_EQ(FromGbk(bytes), text);
}

TEST(AppGbk, RefusesWhatGbkCannotHold)
{
    EXPECT_THROW(ToGbk(QStringLiteral("emoji 😀")), UserError);
    EXPECT_THROW(FromGbk(QByteArray("\xB8", 1)), UserError);
}

TEST(AppTextReport, NewFileIsEmptiedByItsFirstSaveThenAppended)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.txt"));
    WriteTextFile(path, {QStringLiteral("old")});

    TextReportFile report;
    report.chooseNew(path);
    report.append({QStringLiteral("一"), QStringLiteral("二")});
    EXPECT_FALSE(report.isNew());
    report.append({QStringLiteral("三")});
    EXPECT_EQ(ReadGbkLines(path), (QStringList{"一", "二", "三"}));
    EXPECT_EQ(readAll(path), ToGbk(QStringLiteral("一\r\n二\r\n三\r\n")));

    // Choosing "new" with the same name again starts over.
    report.chooseNew(path);
    report.append({QStringLiteral("四")});
    EXPECT_EQ(ReadGbkLines(path), QStringList{"四"});
}

TEST(AppTextReport, ExistingFileKeepsItsText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.txt"));
    WriteTextFile(path, {QStringLiteral("earlier")});
    TextReportFile report;
    report.chooseExisting(path);
    report.append({QStringLiteral("block")});
    EXPECT_EQ(ReadGbkLines(path), (QStringList{"earlier", "block"}));
}

TEST(AppTextReport, LongPathIsUsedWhole)
{
    QTemporaryDir dir;
    const QString sub = dir.filePath(QString(60, QLatin1Char('a')));
    QDir().mkpath(sub);
    const QString path = sub + QStringLiteral("/report_with_a_long_name.txt");
    ASSERT_GT(path.size(), 80);
    TextReportFile report;
    report.chooseNew(path);
    report.append({QStringLiteral("x")});
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(path.left(80)));
}

TEST(AppTextReport, UnwritableFileIsAnErrorAndStaysNew)
{
    TextReportFile report;
    report.chooseNew(QStringLiteral("/nonexistent-dir/r.txt"));
    EXPECT_THROW(report.append({QStringLiteral("x")}), UserError);
    EXPECT_TRUE(report.isNew());
    TextReportFile existing;
    existing.chooseExisting(QStringLiteral("/nonexistent-dir/r.txt"));
    EXPECT_THROW(existing.append({QStringLiteral("x")}), UserError);
}

TEST(AppDataDir, SeedsMissingFilesAndNeverOverwrites)
{
    QTemporaryDir dir;
    DataDir::setOverride(dir.filePath(QStringLiteral("data")));
    // The registry is program-wide: the writer must outlive this test.
    static int written = 0;
    written = 0;
    DataDir::registerSeed(QStringLiteral("seed_test.txt"), [](const QString& path) {
        ++written;
        WriteTextFile(path, {QStringLiteral("seed")});
    });
    DataDir::ensure();
    EXPECT_EQ(written, 1);
    EXPECT_EQ(ReadGbkLines(DataDir::file(QStringLiteral("seed_test.txt"))), QStringList{"seed"});

    WriteTextFile(DataDir::file(QStringLiteral("seed_test.txt")), {QStringLiteral("user's")});
    DataDir::ensure();
    EXPECT_EQ(written, 1);
    EXPECT_EQ(ReadGbkLines(DataDir::file(QStringLiteral("seed_test.txt"))), QStringList{"user's"});
    EXPECT_FALSE(QFile::exists(DataDir::file(QStringLiteral("seed_test.txt.part"))));
    DataDir::setOverride(QString());
}
