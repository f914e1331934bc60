// GBK text files, the report file's new/append rule and the data directory.
#include "app/DataDir.h"
#include "app/Gbk.h"
#include "app/Numbers.h"
#include "app/TextReport.h"
#include "support/PdfText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace
{
QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) << path.toStdString();
    f.write(bytes);
}

// Every entry of dir whose name (hidden or not) starts with prefix: a file's
// bytes, a link as "-> " and its target relative to dir, a directory as "dir".
std::map<std::string, std::string> entries(const QString& dir, const QString& prefix = QString())
{
    std::map<std::string, std::string> found;
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo& entry : QDir(dir).entryInfoList(all)) {
        if (!entry.fileName().startsWith(prefix) &&
            !entry.fileName().startsWith(QLatin1Char('.') + prefix))
            continue;
        found[entry.fileName().toStdString()] =
            (entry.isSymLink() ? "-> " + QDir(dir).relativeFilePath(entry.symLinkTarget()).toUtf8()
             : entry.isDir()   ? QByteArray("dir")
                               : readAll(entry.filePath()))
                .toStdString();
    }
    return found;
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
    // What has no GBK form, a lead byte without its trail byte, and GBK's
    // user-defined areas (private use on one system, undefined on another),
    // which every build refuses alike.
    for (const QString& text : {QStringLiteral("emoji 😀"), QStringLiteral("\uE000"),
                                QStringLiteral("\uE4C6"), QStringLiteral("\uF8F5")})
        EXPECT_THROW(ToGbk(text), UserError) << text.toStdString();
    for (const QByteArray& bytes :
         {QByteArray("\xB8", 1), QByteArray("\xAA\xA1", 2), QByteArray("\xF8\xA1", 2),
          QByteArray("\xA1\x40", 2), QByteArray("\xFF", 1)})
        EXPECT_THROW(FromGbk(bytes), UserError) << bytes.toHex().toStdString();
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

// Seeding adds the missing file and nothing else: the data directory is
// compared whole afterwards, hidden work files included, and the directory a
// link leads into (elsewhere/) must stay empty.
TEST(AppDataDir, SeedingTouchesNothingButTheMissingFile)
{
    using Entries = std::map<std::string, std::string>;
    const QString name = QStringLiteral("seed_kept.txt");
    // The registry is program-wide: the writer must outlive this test.
    DataDir::registerSeed(name, [](const QString& path) { writeAll(path, "seed"); });
    const struct {
        const char* name;
        std::function<void(const QString& data)> prepare;
        bool refused;
        Entries data;
    } cases[] = {
        {"a file of the user's named like a work file",
         [](const QString& data) {
             writeAll(data + QStringLiteral("/seed_kept.txt.part"), "user's own");
         },
         false,
         {{"seed_kept.txt", "seed"}, {"seed_kept.txt.part", "user's own"}}},
        {"a link that leads nowhere",
         [](const QString& data) {
             QFile::link(QStringLiteral("../elsewhere/missing.txt"),
                         data + QStringLiteral("/seed_kept.txt"));
         },
         true,
         {{"seed_kept.txt", "-> ../elsewhere/missing.txt"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
        ASSERT_TRUE(QDir().mkpath(data) && QDir().mkpath(elsewhere));
        c.prepare(data);
        DataDir::setOverride(data);
        try {
            DataDir::ensure();
            EXPECT_FALSE(c.refused);
        } catch (const UserError& error) {
            EXPECT_TRUE(c.refused) << error.what();
            EXPECT_TRUE(error.text().contains(DataDir::file(name))) << error.what();
        }
        DataDir::setOverride(QString());
        EXPECT_EQ(entries(data, QStringLiteral("seed_kept")), c.data);
        EXPECT_EQ(entries(elsewhere), Entries{});
    }
}
