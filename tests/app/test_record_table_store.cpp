#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "app/TableGridModel.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

// A small table of the shapes the windows use: a short name and two numbers.
TableDeclaration SampleDeclaration()
{
    return {{
        {.name = "Name",
         .type = FieldType::Text,
         .size = 4,
         .title = "名称",
         .gridWidth = 6,
         .alignment = Qt::AlignHCenter},
        {.name = "Flow",
         .type = FieldType::Double,
         .size = 0,
         .title = " 风量",
         .gridWidth = 8,
         .pattern = "0.00",
         .alignment = Qt::AlignRight},
        {.name = "Loss",
         .type = FieldType::Double,
         .size = 0,
         .title = "阻力",
         .gridWidth = 6,
         .alignment = Qt::AlignLeft},
    }};
}

// A second connection to a table file, as another program would hold it.
class RawConnection
{
public:
    explicit RawConnection(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~RawConnection() { sqlite3_close(db_); }
    int exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* db_ = nullptr;
};

class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("sample.DB");
        CreateTableFile(path, SampleDeclaration());
        table.setPath(path);
        table.open();
    }

    void appendRow(const QString& name, double flow)
    {
        table.append();
        table.setText("Name", name);
        table.setNumber("Flow", flow);
        table.post();
    }

    QStringList names()
    {
        QStringList list;
        for (table.first(); !table.eof(); table.next())
            list << table.text("Name");
        return list;
    }

    QString errorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const UserError& error) {
            return error.text();
        }
        return QString();
    }

    QTemporaryDir dir;
    QString path;
    RecordTableStore table{SampleDeclaration()};
};

TEST_F(StoreTest, FieldNamedInAnotherCaseIsFound)
{
    table.append();
    table.setText("NAME", "W");
    table.setNumber("flow", 1000);
    table.post();
    EXPECT_EQ(table.text("name"), "W");
    EXPECT_EQ(table.number("FLOW"), 1000);
    EXPECT_EQ(table.declaration().indexOf("fLoW"), 1);
    EXPECT_EQ(table.fieldCount(), 3);
    EXPECT_EQ(table.fieldName(2), "Loss");
    EXPECT_EQ(table.textAt(0), "W");
    EXPECT_NE(errorOf([&] { table.text("Flux"); }).indexOf("Flux"), -1);
}

TEST_F(StoreTest, EmptyTableIsAtEndRightAfterFirst)
{
    table.first();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(table.currentIndex(), -1);
    // No current record to read or edit.
    EXPECT_THROW(table.text("Name"), UserError);
    EXPECT_THROW(table.edit(), UserError);
    EXPECT_THROW(table.remove(), UserError);
}

TEST_F(StoreTest, OpeningAnOpenTableLeavesItOpenAndPositioned)
{
    appendRow("A", 1);
    appendRow("B", 2);
    appendRow("C", 3);
    table.first();
    table.next();
    table.open();
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(table.currentIndex(), 1);
    EXPECT_EQ(table.text("Name"), "B");

    // A fresh open starts on the first record.
    table.close();
    table.open();
    EXPECT_EQ(table.text("Name"), "A");
    // The path of an open table cannot change under it.
    EXPECT_THROW(table.setPath(dir.filePath("other.DB")), UserError);
}

TEST_F(StoreTest, TextIsConvertedWhenWrittenIntoNumberFields)
{
    table.append();
    table.setText("Name", "W");
    table.setText("Flow", " 12.5 ");
    table.setText("Loss", "3e2");
    table.post();
    EXPECT_EQ(table.number("Flow"), 12.5);
    EXPECT_EQ(table.number("Loss"), 300);
    EXPECT_EQ(table.text("Loss"), "300");

    // A number written into a text field is its shortest text, cut to size.
    table.edit();
    table.setNumber("Name", 26);
    table.post();
    EXPECT_EQ(table.text("Name"), "26");
    table.edit();
    table.setNumber("Name", 1168.54);
    table.post();
    EXPECT_EQ(table.text("Name"), "1168");
    // ... and a text field read as a number parses it.
    EXPECT_EQ(table.number("Name"), 1168);
}

TEST_F(StoreTest, NonNumberIntoNumberFieldFailsAndStoresNothing)
{
    appendRow("A", 1);
    table.edit();
    table.setText("Name", "B");
    EXPECT_THROW(table.setText("Flow", "abc"), ConversionError);
    // The half-made change is dropped, not posted by the next move.
    EXPECT_FALSE(table.isEditing());
    table.first();
    EXPECT_EQ(table.text("Name"), "A");
    EXPECT_EQ(table.number("Flow"), 1);

    table.append();
    table.setText("Name", "C");
    EXPECT_THROW(table.setText("Flow", "1,5"), ConversionError);
    table.first();
    EXPECT_EQ(table.recordCount(), 1);
    table.close();
    table.open();
    EXPECT_EQ(table.recordCount(), 1);
}

TEST_F(StoreTest, NotANumberIsRefusedAndStoresNothing)
{
    // SQLite keeps NaN as nothing: the record would read back 0 once reopened.
    appendRow("A", 1);
    table.edit();
    table.setNumber("Loss", 2);
    EXPECT_NE(errorOf([&] { table.setNumber("Flow", std::nan("")); }).indexOf("Flow"), -1);
    EXPECT_FALSE(table.isEditing());
    table.append();
    table.setText("Name", "B");
    EXPECT_THROW(table.setNumber("Loss", std::nan("")), UserError);
    table.first();
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.number("Loss"), 0);

    // Infinities are numbers SQLite keeps.
    table.edit();
    table.setNumber("Flow", -HUGE_VAL);
    table.post();
    table.close();
    table.open();
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.number("Flow"), -HUGE_VAL);
}

TEST_F(StoreTest, EmptyTextReadsBackEmpty)
{
    table.append();
    table.setText("Name", "");
    table.setText("Flow", "");
    table.setText("Loss", "  ");
    table.post();
    table.close();
    table.open();
    EXPECT_EQ(table.text("Name"), "");
    EXPECT_EQ(table.text("Flow"), "");
    EXPECT_EQ(table.number("Flow"), 0);
    // Fields never written hold nothing as well.
    table.append();
    table.setText("Name", "X");
    table.post();
    EXPECT_EQ(table.text("Loss"), "");
    EXPECT_EQ(table.number("Loss"), 0);
}

TEST_F(StoreTest, NumbersKeepEveryBitThroughTheFile)
{
    // The chart recognises a point by exact equality of stored doubles.
    const double d = 12.6 + 1e-13;
    const double i = 58.448000000000001;
    table.append();
    table.setNumber("Flow", d);
    table.setNumber("Loss", i);
    table.post();
    table.close();
    table.open();
    EXPECT_EQ(table.number("Flow"), d);
    EXPECT_EQ(table.number("Loss"), i);
}

TEST_F(StoreTest, InsertionOrderIsKeptAfterEditsAndDeletes)
{
    for (const char* name : {"A", "B", "C", "D"})
        appendRow(name, 1);
    table.moveTo(1);
    table.edit();
    table.setText("Name", "BB");
    table.post();
    EXPECT_EQ(table.currentIndex(), 1);

    table.first();
    table.remove(); // A: the record after it becomes current
    EXPECT_EQ(table.text("Name"), "BB");
    table.next();
    table.remove(); // C
    EXPECT_EQ(table.text("Name"), "D");
    table.remove(); // D, the last: past the end now
    EXPECT_TRUE(table.eof());
    appendRow("E", 1);
    appendRow("F", 1);
    EXPECT_EQ(names(), QStringList({"BB", "E", "F"}));

    table.close();
    table.open();
    EXPECT_EQ(names(), QStringList({"BB", "E", "F"}));

    for (table.first(); !table.eof();)
        table.remove();
    EXPECT_EQ(table.recordCount(), 0);
}

TEST_F(StoreTest, MovingPostsThePendingRecordAndCloseDropsIt)
{
    table.append();
    table.setText("Name", "A");
    table.first();
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_FALSE(table.isEditing());

    table.append();
    table.setText("Name", "B");
    table.close();
    table.open();
    EXPECT_EQ(names(), QStringList({"A"}));
    // Writing a field needs append() or edit().
    table.first();
    EXPECT_THROW(table.setText("Name", "C"), UserError);
}

TEST_F(StoreTest, TextIsCutToItsDeclaredWidthInCharacters)
{
    appendRow("ABCDE", 1);
    EXPECT_EQ(table.text("Name"), "ABCD");
    appendRow("湿空气状态点", 1);
    EXPECT_EQ(table.text("Name"), "湿空气状");
    table.close();
    table.open();
    EXPECT_EQ(names(), QStringList({"ABCD", "湿空气状"}));
}

TEST_F(StoreTest, RefreshReadsChangesMadeElsewhere)
{
    appendRow("A", 1);
    appendRow("B", 2);
    table.moveTo(1);
    {
        RawConnection other(path);
        ASSERT_EQ(other.exec("INSERT INTO records (Name, Flow) VALUES ('C', 3)"), SQLITE_OK);
        ASSERT_EQ(other.exec("UPDATE records SET Flow = 20 WHERE Name = 'B'"), SQLITE_OK);
    }
    table.refresh();
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(table.text("Name"), "B");
    EXPECT_EQ(table.number("Flow"), 20);
}

TEST_F(StoreTest, StoreFailuresAreUserErrorsNamingTheFile)
{
    table.close();

    RecordTableStore missing(SampleDeclaration());
    missing.setPath(dir.filePath("none.DB"));
    const QString missingError = errorOf([&] { missing.open(); });
    EXPECT_TRUE(missingError.startsWith("无法打开数据表“" + dir.filePath("none.DB") + "”："))
        << missingError.toStdString();
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(QFile::exists(dir.filePath("none.DB"))) << "opening must not create a table";

    QFile garbage(dir.filePath("garbage.DB"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    RecordTableStore notDatabase(SampleDeclaration());
    notDatabase.setPath(garbage.fileName());
    const QString notDatabaseError = errorOf([&] { notDatabase.open(); });
    EXPECT_NE(notDatabaseError.indexOf("garbage.DB"), -1);
    EXPECT_NE(notDatabaseError.indexOf("不是数据表文件"), -1) << notDatabaseError.toStdString();

    QFile empty(dir.filePath("empty.DB"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    RecordTableStore noTable(SampleDeclaration());
    noTable.setPath(empty.fileName());
    EXPECT_NE(errorOf([&] { noTable.open(); }).indexOf("没有数据表"), -1);

    const QString otherPath = dir.filePath("other.DB");
    CreateTableFile(otherPath, {{{.name = "Name", .type = FieldType::Text, .size = 4}}});
    RecordTableStore wrongColumns(SampleDeclaration());
    wrongColumns.setPath(otherPath);
    const QString columnsError = errorOf([&] { wrongColumns.open(); });
    EXPECT_NE(columnsError.indexOf("Name, Flow, Loss"), -1) << columnsError.toStdString();
}

// A file holding what the store never creates was changed by another
// program: a trigger would run on every post (a project's segments deleted
// behind the grid while the store reports success), a view or index is no
// part of a table file. Such a file is refused when opening, nothing run.
TEST_F(StoreTest, FileWithTriggersViewsOrIndexesIsRefused)
{
    appendRow("A", 1);
    table.close();
    const struct {
        const char* sql;
        const char* names; // what the message names
    } cases[] = {
        {"CREATE TRIGGER wipe AFTER INSERT ON records BEGIN DELETE FROM records; END",
         "触发器“wipe”"},
        {"CREATE VIEW totals AS SELECT sum(Flow) FROM records", "视图“totals”"},
        {"CREATE INDEX byName ON records (Name)", "索引“byName”"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        const QString file = dir.filePath("changed.DB");
        QFile::remove(file);
        ASSERT_TRUE(QFile::copy(path, file));
        ASSERT_EQ(RawConnection(file).exec(c.sql), SQLITE_OK);
        RecordTableStore changed(SampleDeclaration());
        changed.setPath(file);
        const QString error = errorOf([&] { changed.open(); });
        EXPECT_TRUE(error.startsWith("无法打开数据表“" + file + "”：文件中含有本程序不会创建的" +
                                     QString::fromUtf8(c.names)))
            << error.toStdString();
        EXPECT_FALSE(changed.isOpen());
    }

    // A trigger added while the table is open never runs through the store.
    table.open();
    ASSERT_EQ(RawConnection(path).exec(cases[0].sql), SQLITE_OK);
    appendRow("B", 2);
    RecordTableStore other(SampleDeclaration());
    other.setPath(path);
    ASSERT_EQ(RawConnection(path).exec("DROP TRIGGER wipe"), SQLITE_OK);
    other.open();
    EXPECT_EQ(other.recordCount(), 2);
}

TEST_F(StoreTest, LockedTableFailsToOpenAndToWrite)
{
    appendRow("A", 1);
    table.close();
    {
        RawConnection writer(path);
        ASSERT_EQ(writer.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
        const QString error = errorOf([&] { table.open(); });
        EXPECT_NE(error.indexOf("已锁定"), -1) << error.toStdString();
        EXPECT_FALSE(table.isOpen());
    }

    table.open();
    RawConnection writer(path);
    ASSERT_EQ(writer.exec("BEGIN IMMEDIATE"), SQLITE_OK);
    table.append();
    table.setText("Name", "B");
    const QString error = errorOf([&] { table.post(); });
    EXPECT_TRUE(error.startsWith("无法写入数据表“" + path + "”")) << error.toStdString();
    EXPECT_FALSE(table.isEditing());
    EXPECT_EQ(table.recordCount(), 1);
    table.first();
    EXPECT_THROW(table.remove(), UserError);
    EXPECT_EQ(table.recordCount(), 1);

    ASSERT_EQ(writer.exec("ROLLBACK"), SQLITE_OK);
    table.remove();
    EXPECT_EQ(table.recordCount(), 0);
}

TEST_F(StoreTest, CreatingNeverReplacesAFile)
{
    appendRow("A", 1);
    table.close();
    EXPECT_THROW(CreateTableFile(path, SampleDeclaration()), UserError);
    table.open();
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_THROW(CreateTableFile(dir.filePath("no/such/dir/x.DB"), SampleDeclaration()), UserError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file left behind";
}

TEST_F(StoreTest, CreatingLeavesWhateverIsAtTheTargetAlone)
{
    // Each case puts something at the target name; creating must fail and
    // leave it, and whatever it leads to, exactly as it was.
    const QString elsewhere = dir.filePath("elsewhere.DB");
    const struct {
        const char* name;
        std::function<void(const QString&)> place;
    } cases[] = {
        {"file",
         [](const QString& at) {
             QFile file(at);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("the user's own file");
         }},
        {"link to a file", [&](const QString& at) { ASSERT_TRUE(QFile::link(path, at)); }},
        {"dangling link", [&](const QString& at) { ASSERT_TRUE(QFile::link(elsewhere, at)); }},
        {"directory", [](const QString& at) { ASSERT_TRUE(QDir().mkdir(at)); }},
    };
    table.close();
    QFile original(path);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray originalBytes = original.readAll();
    original.close();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir caseDir;
        ASSERT_TRUE(caseDir.isValid());
        const QString target = caseDir.filePath("new.DB");
        c.place(target);
        const QFileInfo before(target);
        const QString linkTarget = before.symLinkTarget();
        QFile file(target);
        const QByteArray bytesBefore =
            before.isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();

        EXPECT_THROW(CreateTableFile(target, SampleDeclaration()), UserError);

        const QFileInfo after(target);
        EXPECT_EQ(after.isSymLink(), before.isSymLink());
        EXPECT_EQ(after.symLinkTarget(), linkTarget);
        EXPECT_EQ(after.isDir(), before.isDir());
        if (before.isFile()) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), bytesBefore);
        }
        EXPECT_FALSE(QFileInfo::exists(elsewhere)) << "nothing written through the link";
        EXPECT_EQ(
            QDir(caseDir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                .size(),
            1)
            << "no temporary file left behind";
    }
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), originalBytes);
}

TEST_F(StoreTest, CopyReplacesTheTargetByteForByte)
{
    appendRow("A", 1);
    appendRow("B", 2);
    table.close();
    const QString target = dir.filePath("saved.DB");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older file that must be replaced whole");
    }
    CopyTableFile(path, target);
    QFile source(path), copy(target);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), source.readAll());

    RecordTableStore saved(SampleDeclaration());
    saved.setPath(target);
    saved.open();
    EXPECT_EQ(saved.recordCount(), 2);

    const QString error = errorOf([&] { CopyTableFile(path, dir.filePath("no/dir/x.DB")); });
    EXPECT_TRUE(error.startsWith("无法将数据表“" + path + "”复制到")) << error.toStdString();
    EXPECT_THROW(CopyTableFile(dir.filePath("none.DB"), dir.filePath("y.DB")), UserError);
    EXPECT_FALSE(QFile::exists(dir.filePath("y.DB")));
}

TEST_F(StoreTest, GridShowsDeclaredColumnsAndFollowsTheTable)
{
    TableGridModel model(&table);
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), " 风量");
    EXPECT_EQ(model.columnWidthChars(1), 8);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignHCenter | Qt::AlignVCenter));

    table.append();
    table.setText("Name", "W");
    table.setNumber("Flow", 0.125);
    table.setNumber("Loss", 2.5);
    table.post();
    EXPECT_EQ(resets, 1);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "W");
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), "0.13");
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), "2.5");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);

    // A read loop with updates suspended changes the view once, at the end.
    {
        SuspendedUpdates suspended(table);
        appendRow("X", 1);
        appendRow("Y", 2);
        EXPECT_EQ(model.rowCount(), 1);
        table.suspendUpdates();
        table.resumeUpdates();
        EXPECT_EQ(model.rowCount(), 1);
    }
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(model.rowCount(), 3);

    table.close();
    EXPECT_EQ(model.rowCount(), 0);
}

// A picture field keeps an image file's bytes: read back as the same image,
// kept through edits of the other fields and through the file, never written
// by the program, shown empty in grids.
TEST(StorePicture, RoundTripsThroughTheFileAndStaysReadOnly)
{
    const TableDeclaration declaration{{
        {.name = "Name", .type = FieldType::Text, .size = 16},
        {.name = "Map", .type = FieldType::Picture, .title = "图"},
    }};
    QImage sketch(5, 3, QImage::Format_RGB32);
    sketch.fill(Qt::white);
    sketch.setPixel(2, 1, qRgb(200, 30, 40));
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && sketch.save(&buffer, "PNG"));

    QTemporaryDir dir;
    const QString path = dir.filePath("pictures.DB");
    CreateTableFile(path, declaration,
                    {{QString("闸阀"), png},
                     {QString("弯头"), QVariant()},
                     {QString("坏图"), QByteArray("not an image")}});
    RecordTableStore table(declaration);
    table.setPath(path);
    table.open();
    EXPECT_EQ(table.picture("map").convertToFormat(QImage::Format_RGB32), sketch);
    EXPECT_EQ(table.text("Map"), QString());
    EXPECT_THROW(table.number("Map"), UserError);
    EXPECT_THROW(table.picture("Name"), UserError);

    // Editing the name writes the record back with its picture.
    table.edit();
    EXPECT_THROW(table.setText("Map", "x"), UserError);
    EXPECT_THROW(table.setNumber("Map", 1), UserError);
    table.setText("Name", "闸阀改");
    table.post();
    table.next();
    EXPECT_TRUE(table.picture("Map").isNull());
    table.next();
    EXPECT_TRUE(table.picture("Map").isNull()); // bytes that are no image
    table.close();
    table.open();
    EXPECT_EQ(table.text("Name"), "闸阀改");
    EXPECT_EQ(table.picture("Map").convertToFormat(QImage::Format_RGB32), sketch);
    EXPECT_EQ(table.records()[0].values[1].toByteArray(), png);

    TableGridModel model(&table);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QString());
}

} // namespace
