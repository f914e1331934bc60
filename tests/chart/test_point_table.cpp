#include "app/DataDir.h"
#include "shell/DataSeeds.h"
#include "app/Numbers.h"
#include "app/TableGridModel.h"
#include "chart/PointTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// The two states of the examples: 26 ℃ / 60 % and 20 ℃ / 50 % at 101325 Pa.
StatePoint PointW()
{
    return {"W", 26, 60, 20.36, 12.63, 58.45, 1.17, 17.6, 2016.47};
}

StatePoint PointN()
{
    return {"N", 20, 50, 13.88, 7.26, 38.62, 1.2, 9.27, 1168.54};
}

class PointTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(PointTableFileName);
        CreateTableFile(path, PointTableDeclaration());
        table.setPath(path);
        table.open();
    }

    QStringList names()
    {
        QStringList list;
        for (const StatePoint& point : ReadPoints(table))
            list << QString::fromStdString(point.No);
        return list;
    }

    QTemporaryDir dir;
    QString path;
    RecordTableStore table{PointTableDeclaration()};
};

TEST_F(PointTableTest, GridShowsTheDeclaredColumns)
{
    TableGridModel model(&table);
    QStringList titles;
    QList<int> widths;
    for (int column = 0; column < model.columnCount(); ++column) {
        titles << model.headerData(column, Qt::Horizontal).toString();
        widths << model.columnWidthChars(column);
    }
    EXPECT_EQ(titles, QStringList({"状态点", "干球温度", "相对湿度", "湿球温度", " 含湿量", "   焓",
                                   " 密度", "露点温度", " 分压力"}));
    EXPECT_EQ(widths, QList<int>({6, 6, 6, 6, 6, 8, 6, 6, 8}));

    StorePoint(table, PointN());
    QStringList shown;
    for (int column = 0; column < model.columnCount(); ++column)
        shown << model.data(model.index(0, column)).toString();
    EXPECT_EQ(shown, QStringList({"N", "20.00", "50.00", "13.88", "7.26", "38.62", "1.20", "9.27",
                                  "1168.5"}));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt() &
                  Qt::AlignHorizontal_Mask,
              int(Qt::AlignHCenter));
}

TEST_F(PointTableTest, StoringAnExistingNameEditsItsRecord)
{
    StorePoint(table, PointW());
    StorePoint(table, PointN());
    StatePoint moved = PointW();
    moved.T = 30;
    moved.D = 12.6;
    moved.I = 58.448;
    StorePoint(table, moved);

    const std::vector<StatePoint> points = ReadPoints(table);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].No, "W");
    EXPECT_EQ(points[0].T, 30);
    // Exactly the stored doubles: the chart recognises clicked points by them.
    EXPECT_EQ(points[0].D, 12.6);
    EXPECT_EQ(points[0].I, 58.448);
    EXPECT_EQ(points[1].No, "N");
    EXPECT_EQ(points[1].P, 1168.54);
}

TEST_F(PointTableTest, NamesAreCutToFourCharacters)
{
    StatePoint point = PointW();
    point.No = "ABCDE";
    StorePoint(table, point);
    EXPECT_EQ(names(), QStringList({"ABCD"}));
    // The full name is not found, so storing it again appends a second record.
    EXPECT_FALSE(FindPoint(table, "ABCDE"));
    EXPECT_TRUE(table.eof());
    StorePoint(table, point);
    EXPECT_EQ(names(), QStringList({"ABCD", "ABCD"}));
    EXPECT_TRUE(FindPoint(table, "ABCD"));
}

TEST_F(PointTableTest, FindStopsAtTheFirstExactMatch)
{
    StorePoint(table, PointW());
    for (double t : {21.0, 22.0}) {
        table.append();
        table.setText("No", "N");
        table.setNumber("T", t);
        table.post();
    }
    ASSERT_TRUE(FindPoint(table, "N"));
    EXPECT_EQ(table.currentIndex(), 1);
    EXPECT_EQ(CurrentPoint(table).T, 21);
    // Exact: neither another case nor surrounding blanks match.
    EXPECT_FALSE(FindPoint(table, "n"));
    EXPECT_FALSE(FindPoint(table, "N "));
    EXPECT_FALSE(FindPoint(table, ""));
}

TEST_F(PointTableTest, DeletingRemovesOnlyTheNamedPoint)
{
    StorePoint(table, PointW());
    StorePoint(table, PointN());
    EXPECT_FALSE(DeletePoint(table, "X"));
    EXPECT_EQ(names(), QStringList({"W", "N"}));
    EXPECT_TRUE(DeletePoint(table, "W"));
    EXPECT_EQ(names(), QStringList({"N"}));

    StorePoint(table, PointW());
    DeleteAllPoints(table);
    EXPECT_EQ(table.recordCount(), 0);
    table.close();
    table.open();
    EXPECT_EQ(table.recordCount(), 0);
}

const QStringList kReportHeader = {
    " ",
    "                      湿空气状态参数计算",
    "                      ━━━━━━━━━",
    " ",
    " 大气压力：101325Pa",
    " -----------------------------------------------------------------",
    "        干球   湿球   相对  含湿量     焓      密度   露点  水蒸气",
    " 状态点 温度   温度   湿度 (g/kg干) (kj/kg干) (m3/kg) 温度  分压力",
    "        (℃)   (℃)    (%)                            (℃)   (Pa) ",
    " -----------------------------------------------------------------",
};

TEST_F(PointTableTest, ReportOfAnEmptyTableHasElevenLines)
{
    const QStringList lines = PointReportLines(ReadPoints(table), "101325");
    QStringList expected = kReportHeader;
    expected << " -----------------------------------------------------------------";
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines.size(), 11);
}

TEST_F(PointTableTest, ReportListsThePointsInTableOrder)
{
    StorePoint(table, PointW());
    StorePoint(table, PointN());
    StatePoint cut = PointN();
    cut.No = "LONGER";
    cut.T = -5;
    StorePoint(table, cut);

    const QStringList lines = PointReportLines(ReadPoints(table), "101325");
    ASSERT_EQ(lines.size(), 14);
    for (int i = 0; i < kReportHeader.size(); ++i)
        EXPECT_EQ(lines[i], kReportHeader[i]) << "line " << i + 1;
    EXPECT_EQ(lines[10], "    W  26.00  20.36  60.00   12.63   58.45    1.17   17.60  2016.5");
    EXPECT_EQ(lines[11], "    N  20.00  13.88  50.00   7.26   38.62    1.20   9.27  1168.5");
    EXPECT_EQ(lines[12], "    LONG  -5.00  13.88  50.00   7.26   38.62    1.20   9.27  1168.5");
    EXPECT_EQ(lines[13], " -----------------------------------------------------------------");
}

TEST_F(PointTableTest, ReportShowsThePressureTextAsTyped)
{
    EXPECT_EQ(PointReportLines({}, "101325")[4], " 大气压力：101325Pa");
    EXPECT_EQ(PointReportLines({}, " 9.8e4")[4], " 大气压力： 9.8e4Pa");
}

TEST_F(PointTableTest, SavedPointsOpenAgainFromTheCopy)
{
    StorePoint(table, PointW());
    StorePoint(table, PointN());
    // "保存状态点": close, copy the scratch file, continue on the copy.
    const QString saved = dir.filePath("mine.DB");
    table.close();
    CopyTableFile(path, saved);
    table.setPath(saved);
    table.open();
    DeletePoint(table, "W");

    // The scratch table keeps both; the saved file has what was done to it.
    RecordTableStore scratch(PointTableDeclaration());
    scratch.setPath(path);
    scratch.open();
    EXPECT_EQ(ReadPoints(scratch).size(), 2u);

    RecordTableStore reopened(PointTableDeclaration());
    reopened.setPath(saved);
    reopened.open();
    const std::vector<StatePoint> points = ReadPoints(reopened);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].No, "N");
    EXPECT_EQ(points[0].D, 7.26);
    EXPECT_EQ(points[0].I, 38.62);
    EXPECT_EQ(points[0].Tv, 9.27);
}

TEST_F(PointTableTest, SeedingCreatesTheScratchTableOnlyWhenMissing)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    DataDir::setOverride(data.path());
    RegisterDataSeeds();
    RegisterDataSeeds(); // a second registration changes nothing
    DataDir::ensure();
    const QString seeded = DataDir::file(PointTableFileName);
    ASSERT_TRUE(QFile::exists(seeded));

    RecordTableStore points(PointTableDeclaration());
    points.setPath(seeded);
    points.open();
    EXPECT_EQ(points.recordCount(), 0);
    QStringList fields;
    for (int i = 0; i < points.fieldCount(); ++i)
        fields << points.fieldName(i);
    EXPECT_EQ(fields, QStringList({"No", "T", "RH", "Ts", "D", "I", "Ruo", "Tv", "P"}));
    StorePoint(points, PointW());
    points.close();

    DataDir::ensure();
    points.open();
    EXPECT_EQ(points.recordCount(), 1);
}

} // namespace
