// The coefficient editor's operations on JZ_pipe.DB: the record chosen at
// "编辑" is the one written, refused fields write nothing.
#include "app/Numbers.h"
#include "pipe/LocalResistance.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

LocalResistanceTexts Texts(const char* name, const char* xi)
{
    LocalResistanceTexts texts{QString::fromUtf8(name), {}};
    texts.xi.fill(QString::fromUtf8(xi));
    return texts;
}

TEST(CoefficientTable, EditorWritesTheChosenRecordAndRefusesBadFields)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("JZ_pipe.DB");
    CreateLocalResistanceTable(path, {{"截止阀", {16, 10, 9, 9, 8, 7}},
                                      {"闸阀", {1.5, 0.5, 0.5, 0.5, 0.5, 0.5}},
                                      {"弯头", {2, 2, 1.5, 1.5, 1, 1}}});
    RecordTableStore table(LocalResistanceTableDeclaration());
    table.setPath(path);

    const struct {
        LocalResistanceTexts texts;
        int record;
        const char* message;
    } refused[] = {
        {Texts("", "1"), -1, "输入数据不能为空！"},
        {Texts("阀", ""), -1, "输入数据不能为空！"},
        {Texts("一二三四五六七八九十一二三四五六七", "1"), -1, "局阻名称不能超过16个字符！"},
        {Texts("阀", "1,5"), -1, "ξ值（DN15）：“1,5”不是有效的数值"},
        {Texts("阀", "-1"), -1, "局部阻力系数不能小于0！"},
        {Texts("阀", "1"), 3, "请选择阀门类型！"},
        // A segment finds its fitting by name: never a second record of one.
        {Texts("弯头", "5"), -1, "局阻名称“弯头”已经存在！"},
        {Texts("截止阀", "5"), 2, "局阻名称“截止阀”已经存在！"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.message);
        try {
            StoreLocalResistance(table, c.texts, c.record);
            ADD_FAILURE() << "stored";
        } catch (const UserError& e) {
            EXPECT_EQ(e.text(), QString::fromUtf8(c.message));
        }
    }

    const int chosen = FindLocalResistanceIndex(table, "闸阀");
    LocalResistanceTexts texts = LocalResistanceTextsAt(table, chosen);
    EXPECT_EQ(texts.xi[0], "1.5");
    table.close();
    // Whatever the list's selection is by now, the record chosen is written.
    texts.name = "闸阀(改)";
    texts.xi[5] = "0.25";
    StoreLocalResistance(table, texts, chosen);
    EXPECT_FALSE(table.isOpen());
    // Sixteen characters fit the segment's field exactly.
    StoreLocalResistance(table, Texts("一二三四五六七八九十一二三四五六", "3"), -1);
    DeleteLocalResistanceAt(table, FindLocalResistanceIndex(table, "截止阀"));
    EXPECT_THROW(DeleteLocalResistanceAt(table, 3), UserError);
    EXPECT_EQ(LocalResistanceNames(table),
              QStringList({"闸阀(改)", "弯头", "一二三四五六七八九十一二三四五六"}));
    EXPECT_EQ(LookUpLocalResistance(table, "闸阀(改)")->xi[5], 0.25);
}

} // namespace
