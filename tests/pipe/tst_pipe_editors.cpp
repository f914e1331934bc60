// The pipe type editor with its size dialog, the coefficient editor and the
// automatic size dialog, driven through their widgets on a data directory of
// their own. What the files then hold is the core's tests; here the window's
// side: boxes enabled while editing, messages, the dialogs' fields.
#include "app/DataDir.h"
#include "app/RecordTableStore.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"
#include "pipe/Unit_pipe_DN.h"
#include "shell/DataSeeds.h"
#include "support/ScriptedPrompts.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestPipeEditors : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<Form_pipe_DN> dn_;
    std::unique_ptr<Form_Pipe_Set> types_;
    std::unique_ptr<Form_JZSet_pipe> jz_;

    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int row = 0; row < list->count(); ++row)
            out << list->item(row)->text();
        return out;
    }
    // Presses a size button; once the dialog is up its fields as shown are
    // kept, the texts typed, and it is closed by "确定(&O)" or by its frame.
    QStringList sizeDialog(QPushButton* button, const QStringList& texts, bool byFrame = false)
    {
        QStringList shown;
        QTimer::singleShot(0, dn_.get(), [&] {
            QList<QLineEdit*> edits{dn_->Edit_DN, dn_->Edit_De, dn_->Edit_E};
            for (int k = 0; k < 3; ++k) {
                shown << edits[k]->text();
                edits[k]->setText(texts[k]);
            }
            if (byFrame)
                dn_->reject();
            else
                QTest::mouseClick(dn_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        return shown;
    }
    QList<QLineEdit*> fittingFields() const
    {
        return {jz_->Edit_name, jz_->Edit_DN15, jz_->Edit_DN20, jz_->Edit_DN25,
                jz_->Edit_DN32, jz_->Edit_DN40, jz_->Edit_DN50};
    }
    static QByteArray fileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        DataDir::setOverride(dir_->path());
        DataDir::ensure();
        prompts_ = std::make_unique<ScriptedPrompts>();
        dn_ = std::make_unique<Form_pipe_DN>();
        types_ = std::make_unique<Form_Pipe_Set>(*dn_);
        jz_ = std::make_unique<Form_JZSet_pipe>();
        types_->show();
        jz_->show();
    }
    void cleanup()
    {
        jz_.reset(), types_.reset(), dn_.reset();
        prompts_.reset();
        DataDir::setOverride(QString());
        dir_.reset();
    }

    void startAsDesigned()
    {
        QCOMPARE(types_->windowTitle(), QStringLiteral("管道性能参数"));
        QCOMPARE(types_->ListBox_pipe_ty->count(), 6);
        QVERIFY(!types_->GroupBox_edit->isEnabled());
        QCOMPARE(dn_->windowTitle(), QStringLiteral("管径编辑"));
        QCOMPARE(jz_->windowTitle(), QStringLiteral("局部阻力系数设置"));
        QCOMPARE(jz_->ListBox_Valve->count(), 16);
        QVERIFY(!jz_->GroupBox_xi->isEnabled());

        Form_BZL_Set bzl;
        QCOMPARE(bzl.windowTitle(), QStringLiteral("自动选取管径设置"));
        QCOMPARE(bzl.Edit1->text(), QStringLiteral("200"));
        QTimer::singleShot(0, &bzl, [&] { QTest::mouseClick(bzl.Button_OK, Qt::LeftButton); });
        QCOMPARE(bzl.exec(), int(QDialog::Accepted));
    }

    // A type added with sizes 50, 20, 32 is listed, chosen and greyed with
    // its sizes as stored; "编辑" brings it back, a size's fields included.
    void addingAndEditingAType()
    {
        QTest::mouseClick(types_->Button_add, Qt::LeftButton);
        QVERIFY(types_->GroupBox_edit->isEnabled());
        types_->Edit_name->setText(QStringLiteral("试验管"));
        types_->Edit_K->setText(QStringLiteral("0.5"));
        for (const QStringList& size :
             {QStringList{"50", "60", "3.5"}, {"20", "26.75", "2.75"}, {"32", "42.25", "3.25"}})
            QCOMPARE(sizeDialog(types_->Button_DN_add, size), QStringList({"", "", ""}));
        QCOMPARE(items(types_->ListBox_Pipe), QStringList({"50", "20", "32"}));
        QTest::mouseClick(types_->Button_OK, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        QVERIFY(!types_->GroupBox_edit->isEnabled());
        QCOMPARE(types_->ListBox_pipe_ty->currentItem()->text(), QStringLiteral("试验管"));
        QCOMPARE(items(types_->ListBox_Pipe), QStringList({"20", "32", "50"}));

        QTest::mouseClick(types_->Button_edit, Qt::LeftButton);
        QVERIFY(types_->GroupBox_edit->isEnabled());
        QCOMPARE(types_->Edit_name->text() + types_->Edit_K->text(), QStringLiteral("试验管0.5"));
        types_->ListBox_Pipe->setCurrentRow(1);
        QCOMPARE(sizeDialog(types_->Button_DN_edit, {"32", "42", "3"}),
                 QStringList({"32", "42.25", "3.25"}));
        QTest::mouseClick(types_->Button_OK, Qt::LeftButton);
        QCOMPARE(ReadPipeCatalogue(DataDir::file(QString::fromLatin1(PipeCatalogueFileName)))
                     .back()
                     .sizes[1],
                 (PipeSize{32, 42, 3, 36}));
    }

    // "确定(&O)" keeps the dialog up on a refusal; closed by its frame the
    // fields still count, and fields that make no size add nothing.
    void sizeDialogAndSizeList()
    {
        QTest::mouseClick(types_->Button_add, Qt::LeftButton);
        QTest::mouseClick(types_->Button_DN_edit, Qt::LeftButton);
        QTest::mouseClick(types_->Button_DN_del, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList({"请选择管径！", "请选择管径！"}));

        bool stayed = false;
        QTimer::singleShot(0, dn_.get(), [&] {
            QTest::mouseClick(dn_->Button_OK, Qt::LeftButton);
            stayed = dn_->isVisible();
            dn_->reject();
        });
        QTest::mouseClick(types_->Button_DN_add, Qt::LeftButton);
        QVERIFY(stayed);
        sizeDialog(types_->Button_DN_add, {"20", "26.75", "2.75"}, true);
        sizeDialog(types_->Button_DN_add, {"25", "5", "3"}, true); // Di −1
        sizeDialog(types_->Button_DN_add, {"15", "21.25", "2.75"});
        QCOMPARE(items(types_->ListBox_Pipe), QStringList({"20", "15"}));
        QCOMPARE(prompts_->errors.mid(2, 2),
                 QStringList({"请输入管道公称直径！", "请输入管道公称直径！"}));
        QCOMPARE(prompts_->errors.size(), 5);

        types_->ListBox_Pipe->setCurrentRow(0);
        prompts_->confirmAnswers << false << true;
        QTest::mouseClick(types_->Button_DN_del, Qt::LeftButton);
        QTest::mouseClick(types_->Button_DN_del, Qt::LeftButton);
        QCOMPARE(items(types_->ListBox_Pipe), QStringList{"15"});
    }

    void typeMessages_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("edit, none selected") << "edit"
                                             << "清选择管道类型！";
        QTest::newRow("delete, none selected") << "delete"
                                               << "请选择管道类型！";
        QTest::newRow("no name") << ""
                                 << "请输入管道名称！";
        QTest::newRow("no roughness") << "新管"
                                      << "请输入管壁粗糙度！";
    }
    void typeMessages()
    {
        QFETCH(QString, action);
        QFETCH(QString, message);
        if (action == "edit" || action == "delete") {
            QTest::mouseClick(action == "edit" ? types_->Button_edit : types_->Button_del,
                              Qt::LeftButton);
        } else {
            QTest::mouseClick(types_->Button_add, Qt::LeftButton);
            types_->Edit_name->setText(action);
            QTest::mouseClick(types_->Button_OK, Qt::LeftButton);
            QVERIFY(types_->GroupBox_edit->isEnabled()); // still editing
        }
        QCOMPARE(prompts_->errors, QStringList{message});
        QCOMPARE(types_->ListBox_pipe_ty->count(), 6);
    }

    // "确定" writes the record chosen at "编辑" even when the selection has
    // moved since or a record before it was deleted; after "添加" it appends.
    void coefficientEditorWritesTheChosenRecord()
    {
        QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
        QTest::mouseClick(jz_->Button_del, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList({"请选择阀门类型！", "请选择阀门类型！"}));
        prompts_->errors.clear();

        jz_->ListBox_Valve->setCurrentRow(2); // 闸阀
        QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
        QVERIFY(jz_->GroupBox_xi->isEnabled());
        QStringList shown;
        for (QLineEdit* e : fittingFields())
            shown << e->text();
        QCOMPARE(shown, QStringList({"闸阀", "1.5", "0.5", "0.5", "0.5", "0.5", "0.5"}));
        jz_->Edit_DN15->setText("2.5");
        jz_->ListBox_Valve->setCurrentRow(3);
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);
        QVERIFY(!jz_->GroupBox_xi->isEnabled());

        jz_->ListBox_Valve->setCurrentRow(3); // 弯头, then 斜杆截止阀 deleted
        QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
        jz_->ListBox_Valve->setCurrentRow(1);
        prompts_->confirmAnswers << true;
        QTest::mouseClick(jz_->Button_del, Qt::LeftButton);
        jz_->Edit_DN50->setText("1.2");
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);

        QTest::mouseClick(jz_->Button_add, Qt::LeftButton);
        const QStringList added{"球阀", "0.1", "0.1", "", "0.1", "0.1", "0.1"};
        for (int k = 0; k < 7; ++k)
            fittingFields()[k]->setText(added[k]);
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton); // an empty field
        jz_->Edit_DN25->setText("0.1");
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);

        QCOMPARE(prompts_->errors, QStringList{"输入数据不能为空！"});
        const std::vector<LocalResistance> stored = storedFittings();
        QCOMPARE(stored.size(), size_t(16));
        QCOMPARE(stored[1], (LocalResistance{"闸阀", {2.5, 0.5, 0.5, 0.5, 0.5, 0.5}}));
        QCOMPARE(stored[2], (LocalResistance{"弯头", {2, 2, 1.5, 1.5, 1, 1.2}}));
        QCOMPARE(stored.back().name, QStringLiteral("球阀"));
        QCOMPARE(items(jz_->ListBox_Valve).size(), 16);
    }

    // A name is the identity segments and the calculator find a record by:
    // adding a name that exists is refused in both editors. A table of an
    // older program may already repeat a name; editing or deleting a later
    // record of it touches that record only, never the first of the name.
    void duplicateNamesInTheCoefficientEditor()
    {
        QTest::mouseClick(jz_->Button_add, Qt::LeftButton);
        const QStringList elbow{"弯头", "5", "5", "5", "5", "5", "5"};
        for (int k = 0; k < 7; ++k)
            fittingFields()[k]->setText(elbow[k]);
        const std::vector<LocalResistance> seeded = storedFittings();
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList{"局阻名称“弯头”已经存在！"});
        QVERIFY(jz_->GroupBox_xi->isEnabled());
        QCOMPARE(storedFittings(), seeded);

        const QString path = DataDir::file(QString::fromLatin1(LocalResistanceTableFileName));
        QVERIFY(QFile::remove(path));
        const LocalResistance first{"弯头", {2, 2, 1.5, 1.5, 1, 1}};
        const LocalResistance third{"弯头", {7, 7, 7, 7, 7, 7}};
        CreateLocalResistanceTable(path, {{"截止阀", {16, 10, 9, 9, 8, 7}},
                                          first,
                                          {"闸阀", {1.5, 0.5, 0.5, 0.5, 0.5, 0.5}},
                                          {"弯头", {5, 5, 5, 5, 5, 5}},
                                          third});
        jz_->hide();
        jz_->show();
        prompts_->errors.clear();

        jz_->ListBox_Valve->setCurrentRow(3);
        QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
        QCOMPARE(jz_->Edit_DN15->text(), QStringLiteral("5")); // its own, not the first's
        jz_->Edit_DN15->setText("4");
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton); // still named 弯头
        QCOMPARE(prompts_->errors, QStringList{"局阻名称“弯头”已经存在！"});
        jz_->Edit_name->setText("弯头2");
        QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);

        jz_->ListBox_Valve->setCurrentRow(4);
        prompts_->confirmAnswers << true;
        QTest::mouseClick(jz_->Button_del, Qt::LeftButton);

        QCOMPARE(prompts_->errors.size(), 1);
        const std::vector<LocalResistance> stored = storedFittings();
        QCOMPARE(stored.size(), size_t(4));
        QCOMPARE(stored[1], first);
        QCOMPARE(stored[3], (LocalResistance{"弯头2", {4, 5, 5, 5, 5, 5}}));
        QCOMPARE(items(jz_->ListBox_Valve), QStringList({"截止阀", "弯头", "闸阀", "弯头2"}));
    }

    void duplicateNamesInThePipeTypeEditor()
    {
        const QString path = DataDir::file(QString::fromLatin1(PipeCatalogueFileName));
        const QString existing = types_->ListBox_pipe_ty->item(0)->text();
        QTest::mouseClick(types_->Button_add, Qt::LeftButton);
        types_->Edit_name->setText(existing);
        types_->Edit_K->setText("0.3");
        const QByteArray seeded = fileBytes(path);
        QTest::mouseClick(types_->Button_OK, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList{"管道类型“" + existing + "”已经存在，请另取名称！"});
        QVERIFY(types_->GroupBox_edit->isEnabled());
        QCOMPARE(fileBytes(path), seeded);

        const PipeTypeRecord first{"甲", 0.2, {{15, 21.25, 2.75, 15.75}}};
        WritePipeCatalogue(
            path,
            {first, {"乙", 0.5, {}}, {"甲", 0.05, {{20, 26.75, 2.75, 21.25}}}, {"甲", 0.7, {}}});
        const QByteArray before = fileBytes(path);
        types_->hide();
        types_->show();
        prompts_->errors.clear();

        types_->ListBox_pipe_ty->setCurrentRow(2);
        QTest::mouseClick(types_->Button_edit, Qt::LeftButton);
        QCOMPARE(types_->Edit_K->text(), QStringLiteral("0.05")); // its own, not the first's
        QCOMPARE(items(types_->ListBox_Pipe), QStringList{"20"});
        QTest::mouseClick(types_->Button_OK, Qt::LeftButton); // still named 甲
        QCOMPARE(prompts_->errors, QStringList{"管道类型“甲”已经存在，请另取名称！"});
        QCOMPARE(fileBytes(path), before);
        types_->Edit_name->setText("甲2");
        QTest::mouseClick(types_->Button_OK, Qt::LeftButton);

        types_->ListBox_pipe_ty->setCurrentRow(3);
        prompts_->confirmAnswers << true;
        QTest::mouseClick(types_->Button_del, Qt::LeftButton);

        QCOMPARE(prompts_->errors.size(), 1);
        const QByteArray after = fileBytes(path);
        QCOMPARE(after.size(), 3 * PipeTypeRecordSize);
        QCOMPARE(after.left(2 * PipeTypeRecordSize), before.left(2 * PipeTypeRecordSize));
        QCOMPARE(ReadPipeCatalogue(path).back(),
                 (PipeTypeRecord{"甲2", 0.05, {{20, 26.75, 2.75, 21.25}}}));
        QCOMPARE(items(types_->ListBox_pipe_ty), QStringList({"甲", "乙", "甲2"}));
    }
};

QTEST_MAIN(TestPipeEditors)
#include "tst_pipe_editors.moc"
