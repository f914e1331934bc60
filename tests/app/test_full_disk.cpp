// Every writer of the program on a full disk: the old file keeps every byte,
// nothing half written is left beside it, and the message names the file and
// says the disk is full. The disk is a small tmpfs mounted for the test (the
// CI runs as root); where mounting is not allowed the tests are skipped.
#include "app/CheckedFile.h"
#include "app/DataDir.h"
#include "app/FailureReasons.h"
#include "app/RecordTableStore.h"
#include "app/ResultsWorkbook.h"
#include "app/SegmentProject.h"
#include "app/TextReport.h"
#include "chart/ChartDisplayList.h"
#include "chart/ChartExport.h"
#include "duct/DuctProject.h"
#include "duct/DuctSegment.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/PipeProject.h"
#include "pipe/PipeSegment.h"
#include "psychro/ID_lib.h"
#include "shell/DataSeeds.h"
#include "support/CliRun.h"
#include "weather/WeatherBinFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Small enough to fill at once, large enough for every file the rows keep.
constexpr const char* kDiskSize = "size=4m";
// What is left free when a row writes: one page, so a write starts, runs out
// of room in the middle and a writer that does not check leaves 4,096 bytes.
constexpr qint64 kLeftFree = 4096;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

std::vector<PipeTypeRecord> someTypes(int count)
{
    std::vector<PipeTypeRecord> types;
    for (int k = 0; k < count; ++k) {
        PipeTypeRecord type;
        type.name = QStringLiteral("焊接钢管%1").arg(k);
        type.K = 0.2;
        type.sizes = {{15, 21.25, 2.75, 15.75}, {20, 26.75, 2.75, 21.25}, {25, 33.5, 3.25, 27}};
        types.push_back(type);
    }
    return types;
}

// Duct segments as a calculation stores them, numbered from 1.
std::vector<std::vector<QVariant>> someDuctSegments(int count)
{
    std::vector<std::vector<QVariant>> records;
    for (int i = 0; i < count; ++i)
        records.push_back({QString::number(i + 1), 5000.0, "500", QVariant(), QVariant(), 7.13, 1.0,
                           10.0, QStringLiteral("弯头"), 0.5, 2.0, 10.0, 30.0, 40.0});
    return records;
}

// Bin tables of a year spread over 70 ℃ and 30 g/kg: larger than the room left.
WeatherBinTables someBinTables()
{
    WeatherBinTables tables;
    tables.station = QStringLiteral("Testville, Hebei, CHN");
    for (int t = -30; t < 40; ++t) {
        for (int d = 0; d < 30; ++d)
            tables.cells.push_back({t, d, 3});
        tables.dryBulb.push_back({t, 90, t * 0.8});
    }
    tables.hours = 70 * 90;
    return tables;
}

ChartDisplayList someChart()
{
    ID_lib lib;
    lib.AtmPressure = 101325;
    lib.PsychroCoefficient = 0.0006725;
    ChartDisplayList list;
    list.reset(lib, QStringLiteral("101325"));
    return list;
}

class FullDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(outside_.isValid());
        mountPoint_ = outside_.filePath(QStringLiteral("disk"));
        ASSERT_TRUE(QDir().mkpath(mountPoint_));
        if (::mount("tmpfs", QFile::encodeName(mountPoint_).constData(), "tmpfs", 0, kDiskSize) !=
            0)
            GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                         << "); the full-disk writers are tested where the tests run as root";
        mounted_ = true;
    }
    void TearDown() override
    {
        if (mounted_)
            ::umount2(QFile::encodeName(mountPoint_).constData(), MNT_DETACH);
    }

    QString onDisk(const QString& name) const { return mountPoint_ + QLatin1Char('/') + name; }
    QString beside(const QString& name) const { return outside_.filePath(name); }

    // Fills the disk up to kLeftFree bytes with a file of its own.
    void fill()
    {
        QFile filler(onDisk(QStringLiteral("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
        ASSERT_TRUE(filler.resize(std::max<qint64>(0, filler.size() - kLeftFree)));
    }
    void unfill() { QFile::remove(onDisk(QStringLiteral("filler"))); }

    // Names on the disk other than the filler.
    QStringList files() const
    {
        QStringList names =
            QDir(mountPoint_)
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        names.removeAll(QStringLiteral("filler"));
        return names;
    }

    QTemporaryDir outside_;
    QString mountPoint_;
    bool mounted_ = false;
};

} // namespace

// One row per writer: what it replaces (created while the disk had room) and
// the write that the full disk stops.
TEST_F(FullDisk, EveryWriterKeepsTheOldFileAndSaysTheDiskIsFull)
{
    const QByteArray bigText(20000, 'a');
    const QStringList bigLines(200,
                               QStringLiteral("干球温度(℃)：     20.00  相对湿度(%)：   50.00"));
    const QString templateTable = beside(QStringLiteral("template.DB"));
    std::vector<RecordTableStore::Record> manySegments;
    for (std::vector<QVariant>& values : someDuctSegments(1500))
        manySegments.push_back({0, std::move(values)});
    CreateTableFile(templateTable, PipeSegmentTableDeclaration());

    struct Row {
        const char* name;
        QString file;
        std::function<void(const QString&)> makeOld; // empty: the file does not exist before
        std::function<void(const QString&)> write;
    };
    const auto oldText = [](const QString& path) { writeAll(path, QByteArray(3000, 'o')); };
    const auto oldCatalogue = [](const QString& path) { WritePipeCatalogue(path, someTypes(6)); };
    const std::vector<Row> rows = {
        {"replace", QStringLiteral("a.bin"), oldText,
         [&](const QString& path) { ReplaceFile(path, bigText); }},
        {"text file (report after 新建, point list)", QStringLiteral("a.txt"), oldText,
         [&](const QString& path) { WriteTextFile(path, bigLines); }},
        {"report append", QStringLiteral("b.txt"), oldText,
         [&](const QString& path) {
             TextReportFile report;
             report.chooseExisting(path);
             report.append(bigLines);
         }},
        {"report append to a new file",
         QStringLiteral("new.txt"),
         {},
         [&](const QString& path) { AppendToFile(path, bigText); }},
        {"pipe.dat rewritten unchanged", QStringLiteral("pipe.dat"), oldCatalogue,
         [](const QString& path) {
             const PipeTypeRecord type = ReadPipeCatalogue(path).at(2);
             SavePipeType(path, type.name, QStringLiteral("0.2"), PipeSizeList(type.sizes), 2);
         }},
        {"pipe type deleted", QStringLiteral("pipe2.dat"), oldCatalogue,
         [](const QString& path) { DeletePipeType(path, 0); }},
        {"project file", QStringLiteral("p.gzl"), oldText,
         [&](const QString& path) { WriteProjectFile(path, bigLines); }},
        {"template copy over a table", QStringLiteral("p.DB"),
         [](const QString& path) { CreateTableFile(path, PipeSegmentTableDeclaration()); },
         [&](const QString& path) { CopyTableFile(templateTable, path); }},
        {"new table (seeding)",
         QStringLiteral("seed.DB"),
         {},
         [&](const QString& path) {
             std::vector<std::vector<QVariant>> records(
                 300, std::vector<QVariant>(PipeSegmentTableDeclaration().fields.size(),
                                            QVariant(QStringLiteral("1"))));
             CreateTableFile(path, PipeSegmentTableDeclaration(), records);
         }},
        {"results workbook", QStringLiteral("r.xlsx"), oldText,
         [](const QString& path) {
             WriteResultsWorkbook(path, PipeWorkbookLayout(), {}, PipeSegmentTableDeclaration(),
                                  {});
         }},
        // Its rows go to a scratch file beside it as they are written.
        {"results workbook of many segments", QStringLiteral("r.xlsx"), oldText,
         [&](const QString& path) {
             WriteDuctWorkbook(path, {}, DuctSegmentTableDeclaration(),
                               LoadedRecords(manySegments));
         }},
        // Room again while the rows are written: the rows lost before still
        // fail the workbook.
        {"results workbook, room again meanwhile", QStringLiteral("r.xlsx"), oldText,
         [&](const QString& path) {
             int reads = 0;
             WriteDuctWorkbook(path, {}, DuctSegmentTableDeclaration(),
                               [&](const RecordVisitor& visit) {
                                   ++reads;
                                   for (size_t k = 0; k < manySegments.size(); ++k) {
                                       visit(manySegments[k]);
                                       if (reads == 2 && k == 1000)
                                           unfill();
                                   }
                               });
         }},
        {"weather bin tables as CSV", QStringLiteral("bins.csv"), oldText,
         [](const QString& path) { WriteBinTablesCsv(path, someBinTables()); }},
        {"weather bin tables as a workbook of two sheets", QStringLiteral("bins.xlsx"), oldText,
         [](const QString& path) { WriteBinTablesWorkbook(path, someBinTables()); }},
        {"chart SVG", QStringLiteral("c.svg"), oldText,
         [](const QString& path) { WriteChartFile(path, someChart(), ChartFileFormat::Svg); }},
        {"chart PDF", QStringLiteral("c.pdf"), oldText,
         [](const QString& path) { WriteChartFile(path, someChart(), ChartFileFormat::Pdf); }},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = onDisk(row.file);
        if (row.makeOld)
            row.makeOld(path);
        const QByteArray before = readAll(path);
        const QStringList namesBefore = files();
        fill();
        QString message;
        try {
            row.write(path);
        } catch (const UserError& e) {
            message = e.text();
        }
        EXPECT_TRUE(message.contains(QStringLiteral("磁盘已满"))) << message.toStdString();
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        EXPECT_EQ(readAll(path), before);
        EXPECT_EQ(files(), namesBefore); // no temporary, no half new file
        unfill();
        // With room again the same write succeeds.
        EXPECT_NO_THROW(row.write(path));
        QFile::remove(path);
    }
}

// ventacalc-cli's outputs: status 1, the file as it was, the reason.
TEST_F(FullDisk, CliOutputsFailWithStatusOneAndKeepTheOldFile)
{
    const QString project = beside(QStringLiteral("a.dzl"));
    WriteProjectFile(project, DuctProjectLines(AirProperties{}));
    // Enough segments that the workbook's rows need more than the room left.
    CreateTableFile(beside(QStringLiteral("a.DB")), DuctSegmentTableDeclaration(),
                    someDuctSegments(1500));
    const std::vector<std::pair<QString, QStringList>> rows = {
        {QStringLiteral("r.xlsx"), {"duct", "--project", project, "--xlsx"}},
        {QStringLiteral("c.svg"), {"chart", "--out"}},
        {QStringLiteral("c.pdf"), {"chart", "--out"}},
    };
    for (const auto& [name, args] : rows) {
        SCOPED_TRACE(name.toStdString());
        const QString path = onDisk(name);
        writeAll(path, QByteArray(3000, 'o'));
        fill();
        const CliRun run = RunCli(args + QStringList{path});
        unfill();
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(NotSavedMessage(path, QStringLiteral("磁盘已满"))))
            << run.err.toStdString();
        EXPECT_EQ(readAll(path), QByteArray(3000, 'o'));
        EXPECT_EQ(files(), QStringList{name});
        QFile::remove(path);
    }
}

// A table file the store writes into: a record that does not fit is refused
// with the reason, and the file still opens with what it held.
TEST_F(FullDisk, StoredRecordThatDoesNotFitIsRefusedAndTheTableKept)
{
    const QString path = onDisk(QStringLiteral("ZL_pipe.DB"));
    CreateTableFile(path, PipeSegmentTableDeclaration());
    RecordTableStore table(PipeSegmentTableDeclaration());
    table.setPath(path);
    table.open();
    table.append();
    table.setText(QStringLiteral("Pipe_No"), QStringLiteral("1"));
    table.post();
    fill();
    // Enough records that the table must grow past the one free page.
    QString message;
    try {
        for (int k = 0; k < 200; ++k) {
            table.append();
            table.setText(QStringLiteral("Pipe_No"), QString(16, QLatin1Char('n')));
            table.setText(QStringLiteral("JZ_name"), QString(16, QLatin1Char('j')));
            table.post();
        }
    } catch (const UserError& e) {
        message = e.text();
    }
    EXPECT_TRUE(message.contains(QStringLiteral("磁盘已满"))) << message.toStdString();
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    table.close();
    unfill();
    table.open();
    EXPECT_GE(table.recordCount(), 1);
    table.first();
    EXPECT_EQ(table.text(QStringLiteral("Pipe_No")), QStringLiteral("1"));
}

// A data file whose seed does not fit is not left behind cut off: it is
// missing, so the next start seeds it again.
TEST_F(FullDisk, SeedThatDoesNotFitIsSeededAgainLater)
{
    RegisterDataSeeds();
    DataDir::setOverride(onDisk(QStringLiteral("VADE")));
    ASSERT_TRUE(QDir().mkpath(onDisk(QStringLiteral("VADE"))));
    fill();
    EXPECT_THROW(DataDir::ensure(), UserError);
    const QString catalogue = DataDir::file(QString::fromLatin1(PipeCatalogueFileName));
    if (QFileInfo::exists(catalogue)) { // a seed that did fit is whole
        EXPECT_NO_THROW(ReadPipeCatalogue(catalogue));
    }
    unfill();
    EXPECT_NO_THROW(DataDir::ensure());
    EXPECT_FALSE(ReadPipeCatalogue(catalogue).empty());
    for (const QString& name :
         QDir(DataDir::path()).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot))
        EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << name.toStdString(); // no work left
    DataDir::setOverride(QString());
}

// Targets that are not regular files are refused before anything is
// written, and a workbook is never written over its project's table, through
// a link too (the CLI's project rows refuse a device and the project file).
TEST(CheckedFile, RefusesTargetsThatAreNoRegularFileOrTheProjectsOwn)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.xlsx"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString project = dir.filePath(QStringLiteral("loop1.gzl"));
    writeAll(project, "DN\r\n95\r\n70\r\n");
    const QString table = dir.filePath(QStringLiteral("loop1.DB"));
    CreateTableFile(table, PipeSegmentTableDeclaration());
    const QString link = dir.filePath(QStringLiteral("link.DB"));
    ASSERT_TRUE(QFile::link(table, link));

    const auto entries = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QStringList namesBefore = QDir(dir.path()).entryList(entries);
    struct Row {
        const char* name;
        std::function<void()> write;
        QString expected;
    };
    const std::vector<Row> rows = {
        {"replace a fifo", [&] { ReplaceFile(fifo, "x"); }, QStringLiteral("命名管道")},
        {"append to a fifo", [&] { AppendToFile(fifo, "x"); }, QStringLiteral("命名管道")},
        {"workbook over a folder",
         [&] {
             WriteResultsWorkbook(folder, PipeWorkbookLayout(), {}, PipeSegmentTableDeclaration(),
                                  {});
         },
         QStringLiteral("文件夹")},
        {"workbook over the project's table", [&] { RefuseProjectFileAsOutput(link, project); },
         QStringLiteral("管段数据表")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QString message;
        try {
            row.write();
        } catch (const UserError& e) {
            message = e.text();
        }
        EXPECT_TRUE(message.contains(row.expected)) << message.toStdString();
    }
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(QDir(dir.path()).entryList(entries), namesBefore); // nothing added
}

// What the system and the table engine report, as the messages say it.
TEST(FailureReasons, SystemAndTableEngineFailuresReadInChinese)
{
    const std::vector<std::pair<QString, QString>> rows = {
        {SystemErrorReason(ENOSPC), QStringLiteral("磁盘已满")},
        {SystemErrorReason(EROFS), QStringLiteral("磁盘或文件系统只读")},
        {SystemErrorReason(EACCES), QStringLiteral("没有权限")},
        {SystemErrorReason(EISDIR), QStringLiteral("这是一个文件夹，不是文件")},
        {SystemErrorReason(12345), QStringLiteral("系统错误（错误号12345）")},
        {TableEngineReason(SQLITE_READONLY), QStringLiteral("文件只读，不能写入")},
        {TableEngineReason(SQLITE_FULL), QStringLiteral("磁盘已满")},
        {TableEngineReason(SQLITE_IOERR_WRITE, ENOSPC), QStringLiteral("磁盘已满")},
        {TableEngineReason(SQLITE_CORRUPT), QStringLiteral("文件已损坏")},
        {TableEngineReason(SQLITE_NOTADB), QStringLiteral("不是数据表文件")},
        {TableEngineReason(SQLITE_BUSY), QStringLiteral("文件正被其他程序使用（已锁定）")},
        {TableEngineReason(SQLITE_CANTOPEN, EACCES), QStringLiteral("文件无法打开（没有权限）")},
    };
    for (const auto& [reason, expected] : rows)
        EXPECT_EQ(reason, expected);

    // Messages of the store keep the file's name with the reason.
    QTemporaryDir dir;
    const QString notADb = dir.filePath(QStringLiteral("a.DB"));
    writeAll(notADb, QByteArray(4096, 'z'));
    const QString folder = dir.filePath(QStringLiteral("b.DB"));
    QDir().mkpath(folder);
    for (const auto& [path, expected] : std::vector<std::pair<QString, QString>>{
             {notADb, QStringLiteral("无法打开数据表“%1”：不是数据表文件").arg(notADb)},
             {folder,
              QStringLiteral("无法打开数据表“%1”：这是一个文件夹，不是文件").arg(folder)}}) {
        RecordTableStore table(PipeSegmentTableDeclaration());
        table.setPath(path);
        try {
            table.open();
            ADD_FAILURE() << "opened " << path.toStdString();
        } catch (const UserError& e) {
            EXPECT_EQ(e.text(), expected);
        }
    }
}
