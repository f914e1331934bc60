// The pipe type catalogue pipe.dat: its byte layout, the editor's operations
// on it, and damaged files refused and left as they are.
#include "app/Gbk.h"
#include "app/Numbers.h"
#include "pipe/PipeCatalogue.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace
{

// The peak resident memory in kB (0 where the system does not tell: the
// Windows build under wine).
long PeakKilobytes()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const UserError& error) {
        return error.text();
    }
    return QString();
}

PipeSizeList Sizes(std::initializer_list<PipeSize> sizes)
{
    PipeSizeList list;
    for (const PipeSize& size : sizes)
        list.put(size);
    return list;
}

class CatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("pipe.dat");
        WritePipeCatalogue(path, {{"甲", 0.2, {{15, 21.25, 2.75, 15.75}}},
                                  {"乙", 0.5, {}},
                                  {"丙", 0.01, {{20, 25, 2.3, 20.4}, {25, 32, 2.9, 26.2}}}});
    }

    QTemporaryDir dir;
    QString path;
};

TEST(PipeCatalogueFormat, FieldsSitAtTheirOffsetsLittleEndian)
{
    const PipeTypeRecord type{"焊接钢管", 0.2, {{15, 21.25, 2.75, 15.75}, {25, 33.5, 3.25, 27}}};
    const QByteArray record = EncodePipeTypeRecord(type);
    ASSERT_EQ(record.size(), 1168);
    const char* data = record.constData();
    const auto doubleAt = [&](int at) {
        const quint64 bits = qFromLittleEndian<quint64>(data + at);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    EXPECT_EQ(quint8(data[0]), 8); // four characters of two GBK bytes
    EXPECT_EQ(QByteArray(data + 1, 8), ToGbk("焊接钢管"));
    EXPECT_EQ(qFromLittleEndian<qint32>(data + 32), 15);
    EXPECT_EQ(qFromLittleEndian<qint32>(data + 36), 25);
    EXPECT_EQ(doubleAt(192 + 8), 33.5); // De
    EXPECT_EQ(doubleAt(512 + 8), 27);   // Di
    EXPECT_EQ(doubleAt(832 + 8), 3.25); // E
    EXPECT_EQ(qFromLittleEndian<qint32>(data + 1152), 2);
    EXPECT_EQ(doubleAt(1160), 0.2);
    // Everything else is zero: unused name bytes, padding, sizes after N.
    QByteArray rest = record;
    for (const auto& [at, size] :
         {std::pair{0, 9}, {32, 8}, {192, 16}, {512, 16}, {832, 16}, {1152, 4}, {1160, 8}})
        std::memset(rest.data() + at, 0, size_t(size));
    EXPECT_EQ(rest, QByteArray(1168, '\0'));
    EXPECT_EQ(ParsePipeCatalogue(record + record, "x"), (std::vector{type, type}));
}

TEST_F(CatalogueTest, SizesEnteredInAnyOrderAreStoredAscending)
{
    const PipeSizeList sizes =
        Sizes({SizeFromDialog("50", "60", "3.5"), SizeFromDialog("20", "26.75", "2.75"),
               SizeFromDialog("32", "42.25", "3.25")});
    EXPECT_EQ(sizes.nominalTexts(), QStringList({"50", "20", "32"}));
    EXPECT_EQ(SavePipeType(path, "新管", "0.2", sizes, -1), 3);
    const PipeTypeRecord stored = ReadPipeCatalogue(path).at(3);
    EXPECT_EQ(NominalDiameterTexts(stored), QStringList({"20", "32", "50"}));
    EXPECT_EQ(stored.sizes[1], (PipeSize{32, 42.25, 3.25, 35.75}));
}

TEST_F(CatalogueTest, SavingOverwritesTheChosenRecordOrGrowsByOneRecord)
{
    const QByteArray before = ReadAll(path);
    // The record chosen at "编辑": replaced in place, the others keep every
    // byte.
    EXPECT_EQ(SavePipeType(path, "乙", "0.25", Sizes({{40, 48, 3.5, 41}}), 1), 1);
    QByteArray after = ReadAll(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(1168), before.left(1168));
    EXPECT_EQ(after.mid(2 * 1168), before.mid(2 * 1168));
    EXPECT_EQ(ReadPipeCatalogue(path).at(1), (PipeTypeRecord{"乙", 0.25, {{40, 48, 3.5, 41}}}));
    // A new name: exactly one record more, at the end.
    EXPECT_EQ(SavePipeType(path, "丁", "0", PipeSizeList(), -1), 3);
    after = ReadAll(path);
    EXPECT_EQ(after.size(), before.size() + 1168);
    EXPECT_EQ(PipeTypeNames(ReadPipeCatalogue(path)), QStringList({"甲", "乙", "丙", "丁"}));
}

TEST_F(CatalogueTest, DeletingTheFirstOfThreeKeepsTheOtherTwoWhole)
{
    const QByteArray before = ReadAll(path);
    DeletePipeType(path, 0);
    EXPECT_EQ(ReadAll(path), before.mid(1168));
    EXPECT_EQ(ErrorOf([&] { DeletePipeType(path, 2); }), "请选择管道类型！");
    EXPECT_EQ(ErrorOf([&] { DeletePipeType(path, -1); }), "请选择管道类型！");
    EXPECT_EQ(ReadAll(path).size(), 2 * 1168);
}

TEST_F(CatalogueTest, LongNameIsCutBetweenCharactersAndFoundAgain)
{
    // 16 Chinese characters: 32 GBK bytes. Cut at 30 bytes the name keeps 15
    // characters; "A" first makes the 30-byte mark fall inside a character,
    // which is then dropped whole.
    const QString chinese = QString("双面螺旋缝埋弧焊钢管加厚型规格系列");
    const QString mixed = "A" + chinese;
    EXPECT_EQ(StoredPipeTypeName(chinese), chinese.left(15));
    EXPECT_EQ(StoredPipeTypeName(mixed), mixed.left(15)); // 29 bytes
    EXPECT_EQ(StoredPipeTypeName("short"), "short");
    EXPECT_EQ(SavePipeType(path, mixed, "0.2", PipeSizeList(), -1), 3);
    const qsizetype size = ReadAll(path).size();
    EXPECT_EQ(SavePipeType(path, mixed, "0.3", PipeSizeList(), 3), 3);
    // Added again, the long name meets the type it was cut to.
    EXPECT_EQ(ErrorOf([&] { SavePipeType(path, mixed, "0.4", PipeSizeList(), -1); }),
              "管道类型“" + mixed.left(15) + "”已经存在，请另取名称！");
    EXPECT_EQ(ReadAll(path).size(), size);
    const PipeTypeRecord stored = ReadPipeCatalogue(path).at(3);
    EXPECT_EQ(stored.name, mixed.left(15));
    EXPECT_EQ(stored.K, 0.3);
}

TEST_F(CatalogueTest, DamagedFileIsRefusedNamingTheRecordAndLeftUntouched)
{
    const QByteArray good = ReadAll(path);
    const auto patched = [&](int at, QByteArray bytes) {
        QByteArray damaged = good;
        damaged.replace(1168 + at, bytes.size(), bytes);
        return damaged;
    };
    QByteArray count41(4, '\0');
    qToLittleEndian<qint32>(41, count41.data());
    const struct {
        const char* what;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"short by a byte", good.chopped(1), "长度3503字节不是1168字节的整数倍"},
        {"name length 31", patched(0, QByteArray(1, 31)), "第2条记录已损坏：名称长度为31字节"},
        {"41 sizes", patched(1152, count41), "第2条记录已损坏：管径数为41"},
        {"negative count", patched(1152, QByteArray(4, '\xff')), "第2条记录已损坏：管径数为-1"},
        {"half a character", patched(0, QByteArray(1, 1)), "第2条记录已损坏：名称不是"},
        {"NaN roughness", patched(1160, QByteArray("\0\0\0\0\0\0\xf8\x7f", 8)),
         "第2条记录已损坏：粗糙度或管径"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAll(path, c.bytes);
        const QString read = ErrorOf([&] { ReadPipeCatalogue(path); });
        EXPECT_TRUE(read.contains(path)) << read.toStdString();
        EXPECT_TRUE(read.contains(QString::fromUtf8(c.message))) << read.toStdString();
        EXPECT_EQ(ErrorOf([&] { SavePipeType(path, "甲", "0.2", PipeSizeList(), 0); }), read);
        EXPECT_EQ(ErrorOf([&] { DeletePipeType(path, 0); }), read);
        EXPECT_EQ(ReadAll(path), c.bytes);
    }

    // A 2 GB file (sparse: nothing is written) is refused by its size, before
    // it is read: the program's peak memory does not grow by the file.
    const long before = PeakKilobytes();
    {
        QFile huge(path);
        ASSERT_TRUE(huge.resize(qint64(2) << 30));
    }
    const QString read = ErrorOf([&] { ReadPipeCatalogue(path); });
    EXPECT_TRUE(read.contains("已损坏：长度2147483648字节，超过1000种管道")) << read.toStdString();
    EXPECT_EQ(ErrorOf([&] { SavePipeType(path, "甲", "0.2", PipeSizeList(), -1); }), read);
    EXPECT_LT(PeakKilobytes() - before, 100 * 1024) << "kB more at the peak";
    EXPECT_EQ(QFileInfo(path).size(), qint64(2) << 30);
}

TEST_F(CatalogueTest, AFullCatalogueTakesNoNewType)
{
    // Nameless empty records: a file of them reads, and a full one is still
    // edited, but a thousand and first type would make it unreadable.
    WriteAll(path, QByteArray(1000 * 1168, '\0'));
    EXPECT_EQ(ErrorOf([&] { SavePipeType(path, "新管", "0.2", {}, -1); }),
              "管道库最多1000种管道！");
    EXPECT_EQ(SavePipeType(path, "新管", "0.2", {}, 999), 999);
    EXPECT_EQ(ReadPipeCatalogue(path).size(), size_t(1000));
}

TEST_F(CatalogueTest, EditorRefusalsWriteNothing)
{
    EXPECT_EQ(SizeFromDialog("25", "33.5", "3.25"), (PipeSize{25, 33.5, 3.25, 27}));
    PipeSizeList forty;
    for (int DN = 1; DN <= 40; ++DN)
        forty.put({DN, 10.0 + DN, 1, 8.0 + DN});
    EXPECT_EQ(forty.put({7, 30, 2, 26}), 6); // the same DN is edited, not added
    const QByteArray before = ReadAll(path);
    const struct {
        std::function<void()> action;
        const char* message;
    } refused[] = {
        {[] { SizeFromDialog("", "", ""); }, "请输入管道公称直径！"},
        {[] { SizeFromDialog("25", "", ""); }, "请输入管道外径！"},
        {[] { SizeFromDialog("25", "33.5", ""); }, "请输入管道壁厚！"},
        {[] { SizeFromDialog("25.5", "33.5", "3"); }, "管道公称直径(mm)：“25.5”不是有效的整数"},
        {[] { SizeFromDialog("0", "33.5", "3"); }, "管道公称直径必须大于0！"},
        {[] { SizeFromDialog("25", "0", "0"); }, "管道外径必须大于0！"},
        {[] { SizeFromDialog("25", "33.5", "-1"); }, "管道壁厚不能小于0！"},
        {[] { SizeFromDialog("25", "33.5", "16.75"); },
         "管道外径须大于两倍壁厚（内径必须大于0）！"},
        {[&] {
             forty.put({41, 60, 1, 58});
         },
         "每种管道最多40种管径！"},
        {[&] { forty.remove(40); }, "请选择管径！"},
        {[&] { SavePipeType(path, "", "0.2", {}, -1); }, "请输入管道名称！"},
        {[&] { SavePipeType(path, "新管", "", {}, -1); }, "请输入管壁粗糙度！"},
        {[&] { SavePipeType(path, "新管", "-0.1", {}, -1); }, "管道粗糙度不能小于0！"},
        {[&] { SavePipeType(path, "新管", "abc", {}, -1); }, "管道粗糙度(mm)：“abc”不是有效的数值"},
        {[&] { SavePipeType(path, "管☃", "0.2", {}, -1); },
         "管道名称“管☃”含有无法以GBK编码保存的字符！"},
        // A name is a type's identity: never a second record of it, whether
        // added or renamed to.
        {[&] { SavePipeType(path, "乙", "0.2", {}, -1); }, "管道类型“乙”已经存在，请另取名称！"},
        {[&] { SavePipeType(path, "甲", "0.2", {}, 2); }, "管道类型“甲”已经存在，请另取名称！"},
        {[&] { SavePipeType(path, "新管", "0.2", {}, 3); }, "请选择管道类型！"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(ErrorOf(c.action), QString::fromUtf8(c.message));
    }
    EXPECT_EQ(ReadAll(path), before);
    forty.remove(0); // later sizes move down
    EXPECT_EQ(forty.count(), 39);
    EXPECT_EQ(forty.at(0).DN, 2);
}

} // namespace
