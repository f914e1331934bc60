// The pipe type editor with its size dialog, the coefficient editor and the
// automatic size dialog, driven through their widgets on a data directory
// of their own, seeded as the program seeds it.
#include "app/DataDir.h"
#include "app/DataSeeds.h"
#include "app/RecordTableStore.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"
#include "pipe/Unit_pipe_DN.h"
#include "support/ScriptedPrompts.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->item(row)->text();
    return out;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestPipeEditors : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<Form_pipe_DN> dn_;
    std::unique_ptr<Form_Pipe_Set> types_;
    std::unique_ptr<Form_JZSet_pipe> jz_;

    QString catalogue() const { return DataDir::file(QString::fromLatin1(PipeCatalogueFileName)); }
    void showTypes()
    {
        types_->show();
        QVERIFY(QTest::qWaitForWindowExposed(types_.get()));
    }
    // Presses a size button; the dialog, once up, gets the three texts and
    // then "确定(&O)" or its frame's close box. Returns the dialog's fields
    // as it came up.
    QStringList sizeDialog(QPushButton* button, const QStringList& texts, bool byFrame = false)
    {
        QStringList shown;
        QTimer::singleShot(0, dn_.get(), [&] {
            shown = {dn_->Edit_DN->text(), dn_->Edit_De->text(), dn_->Edit_E->text()};
            dn_->Edit_DN->setText(texts[0]);
            dn_->Edit_De->setText(texts[1]);
            dn_->Edit_E->setText(texts[2]);
            if (byFrame)
                dn_->reject();
            else
                QTest::mouseClick(dn_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        return shown;
    }
    void addType(const QString& name, const QString& K, const QList<QStringList>& sizes)
    {
        QTest::mouseClick(types_->Button_add, Qt::LeftButton);
        types_->Edit_name->setText(name);
        types_->Edit_K->setText(K);
        for (const QStringList& size : sizes)
            sizeDialog(types_->Button_DN_add, size);
        QTest::mouseClick(types_->Button_OK, Qt::LeftButton);
    }
    void showCoefficients()
    {
        jz_->show();
        QVERIFY(QTest::qWaitForWindowExposed(jz_.get()));
    }
    void selectFitting(const QString& name)
    {
        const auto found = jz_->ListBox_Valve->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        jz_->ListBox_Valve->setCurrentItem(found.first());
    }
    QList<QLineEdit*> fittingFields() const
    {
        return {jz_->Edit_name, jz_->Edit_DN15, jz_->Edit_DN20, jz_->Edit_DN25,
                jz_->Edit_DN32, jz_->Edit_DN40, jz_->Edit_DN50};
    }
    QStringList fittingTexts() const
    {
        QStringList out;
        for (QLineEdit* e : fittingFields())
            out << e->text();
        return out;
    }
    std::vector<LocalResistance> storedFittings() const
    {
        RecordTableStore table(LocalResistanceTableDeclaration());
        table.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
        return ReadLocalResistances(table);
    }

private slots:
    void initTestCase() { RegisterDataSeeds(); }
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        DataDir::setOverride(dir_->path());
        DataDir::ensure();
        prompts_ = std::make_unique<ScriptedPrompts>();
        dn_ = std::make_unique<Form_pipe_DN>();
        types_ = std::make_unique<Form_Pipe_Set>(*dn_);
        jz_ = std::make_unique<Form_JZSet_pipe>();
    }
    void cleanup()
    {
        jz_.reset();
        types_.reset();
        dn_.reset();
        prompts_.reset();
        DataDir::setOverride(QString());
        dir_.reset();
    }

    void startAsDesigned()
    {
        showTypes();
        QCOMPARE(types_->windowTitle(), QStringLiteral("管道性能参数"));
        QCOMPARE(types_->GroupBox_edit->title(), QStringLiteral("管道参数设置"));
        QCOMPARE(types_->GroupBox_DN->title(), QStringLiteral("管径设置"));
        QCOMPARE(types_->ListBox_pipe_ty->count(), 6);
        QCOMPARE(types_->ListBox_pipe_ty->item(0)->text(), QStringLiteral("焊接钢管(GB3092)"));
        QVERIFY(!types_->GroupBox_edit->isEnabled());
        QCOMPARE(dn_->windowTitle(), QStringLiteral("管径编辑"));
        QCOMPARE(dn_->Button_OK->text(), QStringLiteral("确定(&O)"));

        showCoefficients();
        QCOMPARE(jz_->windowTitle(), QStringLiteral("局部阻力系数设置"));
        QCOMPARE(jz_->GroupBox_xi->title(), QStringLiteral("局部阻力系数"));
        QCOMPARE(jz_->ListBox_Valve->count(), 16);
        QVERIFY(!jz_->GroupBox_xi->isEnabled());
        QCOMPARE(jz_->Button_quit->text(), QStringLiteral("退出(&X)"));

        Form_BZL_Set bzl;
        QCOMPARE(bzl.windowTitle(), QStringLiteral("自动选取管径设置"));
        QCOMPARE(bzl.Edit1->text(), QStringLiteral("200"));
        QTimer::singleShot(0, &bzl, [&] { QTest::mouseClick(bzl.Button_OK, Qt::LeftButton); });
        QCOMPARE(bzl.exec(), int(QDialog::Accepted));
    }

    // Sizes entered 50, 20, 32 are stored 20, 32, 50 in a record of its own;
    // saved again under its name it is overwritten, the file not growing.
    void addingAndOverwritingAType()
    {
        showTypes();
        const qint64 before = QFileInfo(catalogue()).size();
        const QString name = QStringLiteral("试验管");
        addType(name, "0.5",
                {{"50", "60", "3.5"}, {"20", "26.75", "2.75"}, {"25", "33.5", "3.25"}});
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(QFileInfo(catalogue()).size(), before + PipeTypeRecordSize);
        QCOMPARE(types_->ListBox_pipe_ty->count(), 7);
        QCOMPARE(types_->ListBox_pipe_ty->currentItem()->text(), name);
        QVERIFY(!types_->GroupBox_edit->isEnabled());
        PipeTypeRecord stored = ReadPipeCatalogue(catalogue()).back();
        QCOMPARE(stored.name, name);
        QCOMPARE(stored.K, 0.5);
        QCOMPARE(stored.sizes.size(), size_t(3));
        QCOMPARE(stored.sizes[0].DN, 20);
        QCOMPARE(stored.sizes[1], (PipeSize{25, 33.5, 3.25, 27}));
        QCOMPARE(stored.sizes[2].DN, 50);

        // Edited: the fields show the stored type; one size changed, saved in place.
        QTest::mouseClick(types_->Button_edit, Qt::LeftButton);
        QVERIFY(types_->GroupBox_edit->isEnabled());
        QCOMPARE(types_->Edit_name->text(), name);
        QCOMPARE(types_->Edit_K->text(), QStringLiteral("0.5"));
        QCOMPARE(items(types_->ListBox_Pipe), QStringList({"20", "25", "50"}));
        types_->ListBox_Pipe->setCurrentRow(1);
        const QStringList shown = sizeDialog(types_->Button_DN_edit, {"25", "34", "3.5"});
        QCOMPARE(shown, QStringList({"25", "33.5", "3.25"}));
        QCOMPARE(items(types_->ListBox_Pipe), QStringList({"20", "25", "50"}));
        QTest::mouseClick(types_->Button_OK, Qt::LeftButton);
        QCOMPARE(QFileInfo(catalogue()).size(), before + PipeTypeRecordSize);
        stored = ReadPipeCatalogue(catalogue()).back();
        QCOMPARE(stored.sizes[1], (PipeSize{25, 34, 3.5, 27}));
    }

    // Nothing selected, refusals of the size dialog, a dialog closed by its
    // frame, the 41st size: each leaves the sizes as they were.
    void sizeRefusals()
    {
        showTypes();
        QTest::mouseClick(types_->Button_add, Qt::LeftButton);
        QTest::mouseClick(types_->Button_DN_edit, Qt::LeftButton);
        QTest::mouseClick(types_->Button_DN_del, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList({"请选择管径！", "请选择管径！"}));
        prompts_->errors.clear();

        // "确定(&O)" on an empty field keeps the dialog up with its message.
        bool stayed = false;
        QTimer::singleShot(0, dn_.get(), [&] {
            QTest::mouseClick(dn_->Button_OK, Qt::LeftButton);
            stayed = dn_->isVisible();
            dn_->Edit_DN->setText("15");
            dn_->Edit_De->setText("21.25");
            dn_->Edit_E->setText("2.75");
            QTest::mouseClick(dn_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(types_->Button_DN_add, Qt::LeftButton);
        QVERIFY(stayed);
        QCOMPARE(prompts_->errors, QStringList{"请输入管道公称直径！"});
        QCOMPARE(items(types_->ListBox_Pipe), QStringList{"15"});
        prompts_->errors.clear();

        // Closed by its frame: the fields still count, and bad ones add nothing.
        sizeDialog(types_->Button_DN_add, {"20", "26.75", "2.75"}, true);
        sizeDialog(types_->Button_DN_add, {"", "", ""}, true);
        sizeDialog(types_->Button_DN_add, {"25", "5", "3"}, true); // Di −1
        QCOMPARE(items(types_->ListBox_Pipe), QStringList({"15", "20"}));
        QCOMPARE(prompts_->errors.size(), 2);
        QCOMPARE(prompts_->errors.first(), QStringLiteral("请输入管道公称直径！"));
        prompts_->errors.clear();

        for (int dn = 30; dn < 68; ++dn)
            sizeDialog(types_->Button_DN_add, {QString::number(dn), "80", "3"});
        QCOMPARE(types_->workingSizes().count(), 40);
        sizeDialog(types_->Button_DN_add, {"500", "508", "8"});
        QCOMPARE(prompts_->errors, QStringList{"每种管道最多40种管径！"});
        QCOMPARE(types_->ListBox_Pipe->count(), 40);

        // Deleting the first size after "Yes".
        types_->ListBox_Pipe->setCurrentRow(0);
        prompts_->confirmAnswers << true;
        QTest::mouseClick(types_->Button_DN_del, Qt::LeftButton);
        QCOMPARE(types_->ListBox_Pipe->item(0)->text(), QStringLiteral("20"));
        QCOMPARE(types_->ListBox_Pipe->count(), 39);
    }

    void typeRefusalsAndDeletion_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("edit, none selected") << "edit"
                                             << "清选择管道类型！";
        QTest::newRow("delete, none selected") << "delete"
                                               << "请选择管道类型！";
        QTest::newRow("no name") << "ok name"
                                 << "请输入管道名称！";
        QTest::newRow("no roughness") << "ok K"
                                      << "请输入管壁粗糙度！";
    }
    void typeRefusalsAndDeletion()
    {
        QFETCH(QString, action);
        QFETCH(QString, message);
        showTypes();
        const QByteArray before = fileBytes(catalogue());
        if (action == "edit") {
            QTest::mouseClick(types_->Button_edit, Qt::LeftButton);
        } else if (action == "delete") {
            QTest::mouseClick(types_->Button_del, Qt::LeftButton);
        } else {
            QTest::mouseClick(types_->Button_add, Qt::LeftButton);
            types_->Edit_name->setText(action == "ok K" ? "新管" : "");
            QTest::mouseClick(types_->Button_OK, Qt::LeftButton);
            QVERIFY(types_->GroupBox_edit->isEnabled()); // still editing
        }
        QCOMPARE(prompts_->errors, QStringList{message});
        QVERIFY(prompts_->confirmations.isEmpty());
        QCOMPARE(fileBytes(catalogue()), before);
    }

    void deletingTheFirstOfThreeTypes()
    {
        // A catalogue of three types.
        std::vector<PipeTypeRecord> three = ReadPipeCatalogue(catalogue());
        three.resize(3);
        QVERIFY(QFile::remove(catalogue()));
        WritePipeCatalogue(catalogue(), three);
        showTypes();
        types_->ListBox_pipe_ty->setCurrentRow(0);
        prompts_->confirmAnswers << false << true;
        QTest::mouseClick(types_->Button_del, Qt::LeftButton);
        QCOMPARE(types_->ListBox_pipe_ty->count(), 3);
        types_->ListBox_pipe_ty->setCurrentRow(0);
        QTest::mouseClick(types_->Button_del, Qt::LeftButton);
        QCOMPARE(prompts_->confirmations,
                 QStringList({"确实要删除该项吗？", "确实要删除该项吗？"}));
        QCOMPARE(QFileInfo(catalogue()).size(), 2 * PipeTypeRecordSize);
        QCOMPARE(ReadPipeCatalogue(catalogue()), (std::vector<PipeTypeRecord>{three[1], three[2]}));
        QCOMPARE(items(types_->ListBox_pipe_ty), QStringList({three[1].name, three[2].name}));
    }

    // A damaged catalogue lists nothing and is never written.
    void damagedCatalogueIsLeftAlone()
    {
        QFile file(catalogue());
        QVERIFY(file.open(QIODevice::Append));
        file.write("xyz");
        file.close();
        const QByteArray before = fileBytes(catalogue());
        showTypes();
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY(prompts_->errors.first().contains(catalogue()));
        QCOMPARE(types_->ListBox_pipe_ty->count(), 0);
        addType(QStringLiteral("新管"), "0.2", {{"20", "26.75", "2.75"}});
        QCOMPARE(prompts_->errors.size(), 2);
        QCOMPARE(fileBytes(catalogue()), before);
    }

    // "确定" writes the record chosen at "编辑" even when the selection has
    // moved since; refusals write nothing.
    void editingCoefficients()
    {
        showCoefficients();
        QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
        QTest::mouseClick(jz_->Button_del, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList({"请选择阀门类型！", "请选择阀门类型！"}));
        prompts_->errors.clear();

        selectFitting(QStringLiteral("闸阀"));
        QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
        QVERIFY(jz_->GroupBox_xi->isEnabled());
        QCOMPARE(fittingTexts(), QStringList({"闸阀", "1.5", "0.5", "0.5", "0.5", "0.5", "0.5"}));
        jz_->Edit_DN15->setText("2.5");
        selectFitting(QStringLiteral("弯头"));
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        QVERIFY(!jz_->GroupBox_xi->isEnabled());
        const std::vector<LocalResistance> stored = storedFittings();
        QCOMPARE(stored.size(), size_t(16));
        QCOMPARE(stored[2], (LocalResistance{"闸阀", {2.5, 0.5, 0.5, 0.5, 0.5, 0.5}}));
        QCOMPARE(stored[3], (LocalResistance{"弯头", {2, 2, 1.5, 1.5, 1, 1}}));

        // Editing record 3 while record 1 is deleted: still record 3 is written.
        selectFitting(QStringLiteral("弯头"));
        QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
        selectFitting(QStringLiteral("斜杆截止阀"));
        prompts_->confirmAnswers << true;
        QTest::mouseClick(jz_->Button_del, Qt::LeftButton);
        jz_->Edit_DN50->setText("1.2");
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);
        const std::vector<LocalResistance> after = storedFittings();
        QCOMPARE(after.size(), size_t(15));
        QCOMPARE(after[2], (LocalResistance{"弯头", {2, 2, 1.5, 1.5, 1, 1.2}}));
        QCOMPARE(items(jz_->ListBox_Valve).size(), 15);
    }

    void addingCoefficients_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message"); // empty: stored as the last record
        QTest::newRow("stored") << QStringList{"球阀", "0.1", "0.1", "0.1", "0.1", "0.1", "0.1"}
                                << "";
        QTest::newRow("a field empty")
            << QStringList{"球阀", "0.1", "0.1", "", "0.1", "0.1", "0.1"} << "输入数据不能为空！";
        QTest::newRow("a name of 17")
            << QStringList{"一二三四五六七八九十一二三四五六七", "1", "1", "1", "1", "1", "1"}
            << "局阻名称不能超过16个字符！";
        QTest::newRow("no number")
            << QStringList{"球阀", "0.1", "x", "0.1", "0.1", "0.1", "0.1"} << "“x”不是有效的数值";
    }
    void addingCoefficients()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        showCoefficients();
        selectFitting(QStringLiteral("闸阀"));
        QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
        QTest::mouseClick(jz_->Button_add, Qt::LeftButton);
        QCOMPARE(fittingTexts(), QStringList({"", "", "", "", "", "", ""}));
        for (int k = 0; k < 7; ++k)
            fittingFields()[k]->setText(fields[k]);
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);
        const std::vector<LocalResistance> stored = storedFittings();
        if (message.isEmpty()) {
            QVERIFY(prompts_->errors.isEmpty());
            QCOMPARE(stored.size(), size_t(17));
            QCOMPARE(stored.back().name, fields[0]);
            QCOMPARE(stored[2].xi[0], 1.5); // the record chosen before is untouched
            QCOMPARE(items(jz_->ListBox_Valve).last(), fields[0]);
        } else {
            QCOMPARE(prompts_->errors, QStringList{message});
            QCOMPARE(stored.size(), size_t(16));
            QVERIFY(jz_->GroupBox_xi->isEnabled());
        }
    }
};

QTEST_MAIN(TestPipeEditors)
#include "tst_pipe_editors.moc"
