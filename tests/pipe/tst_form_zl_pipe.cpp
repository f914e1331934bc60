// The water pipe calculator driven through its widgets, headless, on a data
// directory of its own for each test, seeded as the program seeds it. The
// calculation's numbers are the core's tests; here the window's side: which
// fields and choices reach it, what is stored, listed and loaded back.
#include "app/DataDir.h"
#include "app/HelpWindow.h"
#include "pipe/LocalResistance.h"
#include "pipe/PipeCatalogue.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"
#include "pipe/Unit_ZL_pipe.h"
#include "pipe/Unit_pipe_DN.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "shell/Unit_main.h"
#include "support/ScriptedPrompts.h"
#include "support/Typing.h"

#include <QBuffer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace
{
const QString kType = QStringLiteral("焊接钢管(GB3092)");

// A segment as typed: the DN 25 case with two gate valves. flowRadio "G" or
// "Q"; sizeRadio "V", "DN" or "Z" (sizeText: Edit_V, ComboBox_DN or Edit1).
struct Entry {
    QString no = "1", flowRadio = "G", flow = "1.0", sizeRadio = "DN", sizeText = "25";
    QString length = "10", fitting = "闸阀", count = "2";
};
} // namespace

class TestFormZLPipe : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<Form_BZL_Set> bzl_;
    std::unique_ptr<Form_JZSet_pipe> jz_;
    std::unique_ptr<Form_pipe_DN> dn_;
    std::unique_ptr<Form_Pipe_Set> types_;
    std::unique_ptr<Form_ZL_pipe> form_;

    void show(bool withType = true)
    {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        if (withType)
            form_->ComboBox_pipe->setCurrentIndex(form_->ComboBox_pipe->findText(kType));
    }
    QRadioButton* sizeRadio(const QString& which) const
    {
        return which == "V"    ? form_->RadioButton_V
               : which == "DN" ? form_->RadioButton_DN
                               : form_->RadioButton_Z;
    }
    void save(const Entry& e)
    {
        fill(e);
        QTest::mouseClick(form_->Button_Save, Qt::LeftButton);
    }
    void fill(const Entry& e)
    {
        form_->Edit_pipe_No->setText(e.no);
        (e.flowRadio == "Q" ? form_->RadioButton_Q : form_->RadioButton_G)->click();
        form_->Edit_G->setText(e.flow);
        sizeRadio(e.sizeRadio)->click();
        form_->Edit_V->setText(e.sizeText);
        form_->ComboBox_DN->setEditText(e.sizeText);
        bzl_->Edit1->setText(e.sizeRadio == "Z" ? e.sizeText : "200");
        form_->Edit_L->setText(e.length);
        form_->ComboBox_JZ_Ty->setEditText(e.fitting);
        form_->Edit_JZ_n->setText(e.count);
    }
    QStringList gridRow(int row) const
    {
        QStringList cells;
        const QAbstractItemModel* model = form_->DBGrid1->model();
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        return cells;
    }
    QStringList listed() const
    {
        QStringList out;
        for (int row = 0; row < form_->ListBox_pipe->count(); ++row)
            out << form_->ListBox_pipe->item(row)->text();
        return out;
    }
    // Segment number, flow, DN, length, fitting and count as the fields hold them.
    QStringList fields() const
    {
        return {form_->Edit_pipe_No->text(),          form_->Edit_G->text(),
                form_->ComboBox_DN->currentText(),    form_->Edit_L->text(),
                form_->ComboBox_JZ_Ty->currentText(), form_->Edit_JZ_n->text()};
    }
    // Runs `inside` once the modal window is up, then closes it by "退出".
    static void whileOpen(QDialog* window, QPushButton* quit, std::function<void()> inside)
    {
        QTimer::singleShot(0, window, [=] {
            QVERIFY(window->isVisible() && window->isModal());
            inside();
            QTest::mouseClick(quit, Qt::LeftButton);
        });
    }

private slots:
    void initTestCase() { RegisterDataSeeds(); }
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        DataDir::setOverride(dir_->path());
        DataDir::ensure();
        prompts_ = std::make_unique<ScriptedPrompts>();
        bzl_ = std::make_unique<Form_BZL_Set>();
        jz_ = std::make_unique<Form_JZSet_pipe>();
        dn_ = std::make_unique<Form_pipe_DN>();
        types_ = std::make_unique<Form_Pipe_Set>(*dn_);
        form_ = std::make_unique<Form_ZL_pipe>(*bzl_, *jz_, *types_);
    }
    void cleanup()
    {
        form_.reset(), types_.reset(), dn_.reset(), jz_.reset(), bzl_.reset();
        prompts_.reset();
        DataDir::setOverride(QString());
        dir_.reset();
    }

    void startsAsDesignedAndOpensFromTheMenu()
    {
        QCOMPARE(form_->ComboBox_DN->count(), 21); // before a pipe type is known
        show(false);
        QCOMPARE(form_->windowTitle(), QStringLiteral("水管道阻力计算-[无名字]"));
        QCOMPARE(form_->RadioButton_G->text(), QStringLiteral("流量(m³/h):"));
        QVERIFY(form_->RadioButton_G->isChecked() && form_->RadioButton_Z->isChecked());
        QVERIFY(!form_->Edit_V->isEnabled() && !form_->ComboBox_DN->isEnabled());
        QCOMPARE(form_->ComboBox_DN->currentText(), QStringLiteral("25"));
        QCOMPARE(form_->Edit_T1->text() + form_->Edit_T2->text(), QStringLiteral("9570"));
        QVERIFY(form_->Button_new->isEnabled() && form_->Button_Excel->isEnabled());
        QCOMPARE(form_->DBGrid1->model()->headerData(12, Qt::Horizontal).toString(),
                 QStringLiteral("  总阻力"));
        // Filled on showing: the shipped types, the first one offered with
        // its sizes ("25" in the box), and the fittings.
        QCOMPARE(form_->ComboBox_pipe->count(), 6);
        QCOMPARE(form_->ComboBox_pipe->currentText(), kType);
        QCOMPARE(form_->ComboBox_JZ_Ty->count(), 16);
        QCOMPARE(form_->ComboBox_DN->count(), 9);
        QCOMPARE(form_->ComboBox_DN->itemText(8), QStringLiteral("100"));
        QCOMPARE(form_->ComboBox_DN->currentText(), QStringLiteral("25"));
        QVERIFY(prompts_->errors.isEmpty());

        AppWindows windows;
        QVERIFY(windows.pipe && windows.pipeTypes && windows.pipeSize && windows.pipeCoefficients &&
                windows.pipeSizeSetting);
        QVERIFY(
            windows.main->findChild<QPushButton*>(QStringLiteral("SpeedButton_Pipe"))->isEnabled());
    }

    // The first showing offers the catalogue's first type and a first
    // calculation goes through with it; an empty catalogue offers none. A box
    // the user emptied stays empty when the window is shown again.
    void firstShowingOffersTheFirstType_data()
    {
        QTest::addColumn<bool>("emptyCatalogue");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("shipped catalogue") << false << kType << QStringList();
        QTest::newRow("empty catalogue") << true << QString() << QStringList{"请选择管道类型！"};
    }
    void firstShowingOffersTheFirstType()
    {
        QFETCH(bool, emptyCatalogue);
        QFETCH(QString, offered);
        QFETCH(QStringList, errors);
        if (emptyCatalogue) {
            QFile file(DataDir::file(QString::fromLatin1(PipeCatalogueFileName)));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        }
        show(false);
        QCOMPARE(form_->ComboBox_pipe->currentText(), offered);
        save(Entry{});
        QCOMPARE(prompts_->errors, errors);
        QCOMPARE(form_->segmentTable().recordCount(), errors.isEmpty() ? 1 : 0);

        form_->ComboBox_pipe->setEditText(QString());
        form_->hide();
        show(false);
        QVERIFY(form_->ComboBox_pipe->currentText().isEmpty());
    }

    void sizeChoiceEnabling_data()
    {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("enabled"); // Edit_V, ComboBox_DN, Button_Set
        QTest::newRow("velocity") << "V"
                                  << "100";
        QTest::newRow("nominal size") << "DN"
                                      << "010";
        QTest::newRow("automatic") << "Z"
                                   << "001";
    }
    void sizeChoiceEnabling()
    {
        QFETCH(QString, radio);
        QFETCH(QString, enabled);
        show(false);
        form_->RadioButton_V->click(); // from another choice
        form_->RadioButton_DN->click();
        sizeRadio(radio)->click();
        QCOMPARE(form_->Edit_V->isEnabled(), enabled[0] == '1');
        QCOMPARE(form_->ComboBox_DN->isEnabled(), enabled[1] == '1');
        QCOMPARE(form_->Button_Set->isEnabled(), enabled[2] == '1');
        QVERIFY(form_->RadioButton_G->isChecked()); // the flow choice is apart
    }

    // Several faults at once: the first check in the window's order speaks.
    void refusalsStoreNothing_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("waterKept"); // refused before the water was computed
        const auto row = [](const char* name, QStringList faults, const char* message,
                            bool kept = true) {
            QTest::newRow(name) << faults << QString::fromUtf8(message) << kept;
        };
        row("1 type", {"type", "T1=", "L=", "G="}, "请选择管道类型！");
        row("2 supply", {"T1=", "T2=", "G="}, "请输入供水温度！");
        row("3 return", {"T2=", "No=", "G="}, "请输入回水温度！");
        row("4 number", {"No=", "V=", "G="}, "请输入管道编号！");
        row("5 velocity", {"V=", "L=", "G="}, "请输入流速！");
        row("6 size", {"DN=", "L=", "G="}, "请选择管径！");
        row("7 length", {"L=", "n=", "G="}, "请输入管段长度！");
        row("8 count", {"n=", "G="}, "请输入局部阻力数量！");
        row("9 fitting for 0.0", {"fitting=", "n=0.0", "G="}, "请选择局部阻力类型！");
        row("9 passes 0", {"fitting=", "n=0", "G="}, "请输入流量！");
        row("10 flow", {"G="}, "请输入流量！");
        row("11 heat load", {"Q="}, "请输入热负荷！");
        row("mean temperature", {"T1=101", "T2=100", "G=0"}, "平均水温必须在0～100℃之间！");
        row("flow 0", {"G=0"}, "流量必须大于0！");
        row("no number", {"L=abc"}, "管段长度(m)：“abc”不是有效的数值");
        row("size not of the type", {"DN=65"}, "管道类型“焊接钢管(GB3092)”中没有DN65的管径！",
            false);
    }
    void refusalsStoreNothing()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, message);
        QFETCH(bool, waterKept);
        show();
        Entry e;
        for (const QString& fault : faults) {
            const QString key = fault.section('=', 0, 0), value = fault.section('=', 1);
            QString* const target[] = {&e.no,      &e.length, &e.count,
                                       &e.fitting, &e.flow,   &e.sizeText};
            const int k = QStringList{"No", "L", "n", "fitting", "G", "DN"}.indexOf(key);
            if (k >= 0)
                *target[k] = value;
            if (key == "type")
                form_->ComboBox_pipe->setEditText(QString());
            if (key == "T1" || key == "T2")
                (key == "T1" ? form_->Edit_T1 : form_->Edit_T2)->setText(value);
            if (key == "V")
                e.sizeRadio = "V", e.sizeText = value;
            if (key == "Q")
                e.flowRadio = "Q", e.flow = value;
        }
        save(e);
        QCOMPARE(prompts_->errors, QStringList{message});
        QCOMPARE(form_->segmentTable().recordCount(), 0);
        QCOMPARE(form_->ListBox_pipe->count(), 0);
        QCOMPARE(form_->lastWater().rho == 0, waterKept);
    }

    // Each flow and size choice reaches the calculation; the grid shows the
    // stored DN, velocity, specific friction and total resistance.
    void choicesReachTheCalculation_data()
    {
        QTest::addColumn<QString>("flowRadio");
        QTest::addColumn<QString>("flow");
        QTest::addColumn<QString>("sizeRadio");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QString>("shown");
        QTest::newRow("heat load") << "Q"
                                   << "28198"
                                   << "DN"
                                   << "25"
                                   << "25 0.49 153.05 1644.7";
        QTest::newRow("velocity") << "G"
                                  << "1.0"
                                  << "V"
                                  << "0.485"
                                  << "25 0.49 153.05 1644.6";
        QTest::newRow("automatic, 200") << "G"
                                        << "3.0"
                                        << "Z"
                                        << "200"
                                        << "40 0.63 148.03 1673.5";
        QTest::newRow("automatic, 1") << "G"
                                      << "10"
                                      << "Z"
                                      << "1"
                                      << "100 0.31 11.29 160.9";
    }
    void choicesReachTheCalculation()
    {
        QFETCH(QString, flowRadio);
        QFETCH(QString, flow);
        QFETCH(QString, sizeRadio);
        QFETCH(QString, sizeText);
        QFETCH(QString, shown);
        show();
        save({"1", flowRadio, flow, sizeRadio, sizeText});
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join(' ')));
        const QStringList row = gridRow(0);
        QCOMPARE(QStringList({row[3], row[4], row[5], row[12]}).join(' '), shown);
        QCOMPARE(form_->lastWater().nu, 0.35725e-6);
        QCOMPARE(form_->lastWater().K, 0.2);
    }

    // What is typed into a drop-down is what is computed and stored: no
    // listed name or size completes it, no item of another case replaces it.
    void typedTextIsComputedAsTyped_data()
    {
        QTest::addColumn<QString>("box"); // type, DN or JZ
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // the grid's DN, V and JZ_name, or the refusal
        QTest::newRow("size begun") << "DN"
                                    << "8"
                                    << "管道类型“焊接钢管(GB3092)”中没有DN8的管径！";
        QTest::newRow("size 2") << "DN"
                                << "2"
                                << "管道类型“焊接钢管(GB3092)”中没有DN2的管径！";
        QTest::newRow("size 25") << "DN"
                                 << "25"
                                 << "25 0.49 闸阀";
        // Listed after 焊接钢管(GB3092), whose DN 25 is 27 mm inside, not 27.3.
        QTest::newRow("type begun") << "type"
                                    << "焊接钢管"
                                    << "25 0.47 闸阀";
        QTest::newRow("type of another case") << "type"
                                              << "pp-r管(S3.2)"
                                              << "管道库中没有管道类型“pp-r管(S3.2)”！";
        QTest::newRow("fitting begun") << "JZ"
                                       << "弯"
                                       << "25 0.49 弯";
    }
    void typedTextIsComputedAsTyped()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        show();
        QComboBox* typedBox = box == "type" ? form_->ComboBox_pipe
                              : box == "DN" ? form_->ComboBox_DN
                                            : form_->ComboBox_JZ_Ty;
        // No fitting counted, so that any name is stored as typed.
        fill({.count = box == "JZ" ? "0" : "2"});
        // Enter in the drop-down saves, as "计算和保存(&S)" does.
        TypeIntoComboBox(typedBox, typed);
        QCOMPARE(typedBox->currentText(), typed);
        if (!shown.front().isDigit()) {
            QCOMPARE(prompts_->errors, QStringList{shown});
            QCOMPARE(form_->segmentTable().recordCount(), 0);
            return;
        }
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join(' ')));
        const QStringList row = gridRow(0);
        QCOMPARE(QStringList({row[3], row[4], row[7]}).join(' '), shown);
    }

    void savingAgainUpdatesInPlace()
    {
        show();
        save({"1"});
        save({"2"});
        QCOMPARE(gridRow(0), QStringList({"1", "1.0", "28.2", "25", "0.49", "153.05", "10.0",
                                          "闸阀", "0.50", "2", "1530.5", "114.1", "1644.6"}));
        save({"1", "G", "3.0", "DN", "40"});
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(listed(), QStringList({"1", "2"}));
        QCOMPARE(form_->segmentTable().recordCount(), 2);
        QCOMPARE(gridRow(0).mid(0, 4), QStringList({"1", "3.0", "84.6", "40"}));
        QCOMPARE(form_->DBGrid1->currentIndex().row(), 0); // the record just stored

        // "添加" and "取消" empty the fields for the next segment.
        for (QPushButton* button : {form_->Button_add, form_->Button_Cancel}) {
            form_->RadioButton_Q->click();
            form_->RadioButton_V->click();
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(fields(), QStringList({"", "", "", "", "", ""}));
            QVERIFY(form_->RadioButton_G->isChecked() && form_->RadioButton_DN->isChecked());
            QVERIFY(form_->ComboBox_DN->isEnabled() && !form_->Edit_V->isEnabled());
        }
    }

    void loadingASegment_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("编辑") << "edit";
        QTest::newRow("double click in the list") << "double click";
        QTest::newRow("grid click") << "grid";
    }
    void loadingASegment()
    {
        QFETCH(QString, how);
        show();
        save({"1"});
        save({"2", "G", "3", "DN", "40", "5.5", "", ""});
        QTest::mouseClick(form_->Button_add, Qt::LeftButton);
        form_->RadioButton_Q->click();

        QAbstractItemView* view =
            how == "grid" ? static_cast<QAbstractItemView*>(form_->DBGrid1) : form_->ListBox_pipe;
        const QPoint at = view->visualRect(view->model()->index(1, 0)).center();
        if (how == "edit") {
            form_->ListBox_pipe->setCurrentRow(1);
            QTest::mouseClick(form_->Button_edit, Qt::LeftButton);
        } else {
            // A double click is a click and then the second press.
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            if (how != "grid")
                QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        }
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(fields(), QStringList({"2", "3", "40", "5.5", "", "0"}));
        QVERIFY(form_->RadioButton_G->isChecked() && form_->RadioButton_Z->isChecked());
        QVERIFY(form_->Button_Set->isEnabled() && !form_->ComboBox_DN->isEnabled());
        QCOMPARE(form_->segmentTable().currentIndex(), 1);
        // Saved again unchanged, it stays one record.
        QTest::mouseClick(form_->Button_Save, Qt::LeftButton);
        QCOMPARE(form_->segmentTable().recordCount(), 2);
    }

    void deleting_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("nothing selected") << -1 << false << QStringList({"1", "2", "3"});
        QTest::newRow("answered No") << 1 << false << QStringList({"1", "2", "3"});
        QTest::newRow("answered Yes") << 1 << true << QStringList({"1", "3"});
    }
    void deleting()
    {
        QFETCH(int, selected);
        QFETCH(bool, answer);
        QFETCH(QStringList, left);
        show();
        for (const char* no : {"1", "2", "3"})
            save({no});
        form_->ListBox_pipe->setCurrentRow(selected);
        if (selected >= 0)
            prompts_->confirmAnswers << answer;
        QTest::mouseClick(form_->Button_del, Qt::LeftButton);
        if (selected < 0) { // and "编辑" says the same
            QTest::mouseClick(form_->Button_edit, Qt::LeftButton);
            QCOMPARE(prompts_->errors, QStringList({"请选择管段编号！", "请选择管段编号！"}));
        }
        QCOMPARE(prompts_->confirmations.size(), selected < 0 ? 0 : 1);
        QCOMPARE(listed(), left);
        QCOMPARE(form_->DBGrid1->model()->rowCount(), left.size());
    }

    // A type deleted in the pipe type editor is no longer offered; the text
    // and sizes chosen before stay. A coefficient changed in the other editor
    // is the one the next calculation uses, and a renamed fitting is offered
    // under its new name.
    void editorsReloadTheBoxes()
    {
        show();
        save({"1"}); // the calculation has the coefficient table open now
        prompts_->confirmAnswers << true;
        whileOpen(types_.get(), types_->Button_quit, [this] {
            types_->ListBox_pipe_ty->setCurrentRow(1);
            QTest::mouseClick(types_->Button_del, Qt::LeftButton);
        });
        QTest::mouseClick(form_->Button_Edit_pipe, Qt::LeftButton);
        QCOMPARE(form_->ComboBox_pipe->count(), 5);
        QCOMPARE(form_->ComboBox_pipe->findText(QStringLiteral("焊接钢管")), -1);
        QCOMPARE(form_->ComboBox_pipe->currentText(), kType);
        QCOMPARE(form_->ComboBox_DN->count(), 9);

        whileOpen(jz_.get(), jz_->Button_quit, [this] {
            for (const auto& [row, field, text] : {std::tuple{2, jz_->Edit_DN25, "2"},
                                                   std::tuple{0, jz_->Edit_name, "截止阀(新)"}}) {
                jz_->ListBox_Valve->setCurrentRow(row);
                QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
                field->setText(QString::fromUtf8(text));
                QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);
            }
        });
        QTest::mouseClick(form_->Button_Edit_JZ, Qt::LeftButton);
        QCOMPARE(form_->ComboBox_JZ_Ty->itemText(0), QStringLiteral("截止阀(新)"));
        QCOMPARE(form_->ComboBox_JZ_Ty->currentText(), QStringLiteral("闸阀"));
        QTest::mouseClick(form_->Button_Save, Qt::LeftButton);
        QCOMPARE(gridRow(0)[8], QStringLiteral("2.00"));
        QVERIFY(prompts_->errors.isEmpty());
    }

    void fittingPictureBesideTheBox()
    {
        // A coefficient table whose first fitting has a picture.
        QImage sketch(20, 10, QImage::Format_RGB32);
        sketch.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(sketch.save(&buffer, "PNG"));
        const QString path = DataDir::file(QString::fromLatin1(LocalResistanceTableFileName));
        QVERIFY(QFile::remove(path));
        CreateTableFile(path, LocalResistanceTableDeclaration(),
                        {{QStringLiteral("弯头"), 2.0, 2.0, 1.5, 1.5, 1.0, 1.0, png},
                         {QStringLiteral("闸阀"), 1.5, 0.5, 0.5, 0.5, 0.5, 0.5, QVariant()}});
        show();
        QVERIFY(form_->Image_JZ->pixmap().isNull()); // an empty frame for an empty box
        for (const auto& [name, shown] : {std::pair{"弯头", true}, std::pair{"闸阀", false},
                                          std::pair{"弯头", true}, std::pair{"无此项", false}}) {
            form_->ComboBox_JZ_Ty->setEditText(QString::fromUtf8(name));
            QCOMPARE(!form_->Image_JZ->pixmap().isNull(), shown);
        }
    }

    void helpTopics_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("9 calculator") << 0 << "科尔布鲁克";
        QTest::newRow("10 pipe types") << 1 << "1168";
        QTest::newRow("34 coefficients") << 2 << "散热器";
    }
    void helpTopics()
    {
        QFETCH(int, window);
        QFETCH(QString, phrase);
        QDialog* owner = QList<QDialog*>{form_.get(), types_.get(), jz_.get()}[window];
        owner->show();
        QTest::mouseClick(owner->findChild<QPushButton*>(QStringLiteral("Button_help")),
                          Qt::LeftButton);
        auto* help = owner->findChild<HelpWindow*>();
        QVERIFY(help && help->isVisible());
        QVERIFY(help->browser()->toPlainText().contains(phrase));
        QCOMPARE(help->windowTitle(),
                 QStringLiteral("帮助 - %1").arg(owner->windowTitle().section('-', 0, 0)));
    }

    // A damaged catalogue is refused with its message wherever it is read;
    // the rest of the window works and the file is never written.
    void damagedCatalogueIsRefused()
    {
        const QString path = DataDir::file(QString::fromLatin1(PipeCatalogueFileName));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(1168); // the second record's name length
        file.write("\x7f");
        file.seek(0);
        const QByteArray before = file.readAll();
        file.close();

        show(false);
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY(prompts_->errors.first().contains(path));
        QCOMPARE(form_->ComboBox_pipe->count(), 0);
        QCOMPARE(form_->ComboBox_JZ_Ty->count(), 16);
        form_->ComboBox_pipe->setEditText(kType);
        save({"1"});
        types_->show(); // the editor lists nothing and saves nothing
        QCOMPARE(types_->ListBox_pipe_ty->count(), 0);
        QTest::mouseClick(types_->Button_add, Qt::LeftButton);
        types_->Edit_name->setText(QStringLiteral("新管"));
        types_->Edit_K->setText(QStringLiteral("0.2"));
        QTest::mouseClick(types_->Button_OK, Qt::LeftButton);
        QCOMPARE(prompts_->errors.size(), 4);
        QCOMPARE(form_->segmentTable().recordCount(), 0);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
};

QTEST_MAIN(TestFormZLPipe)
#include "tst_form_zl_pipe.moc"
