// The water pipe calculator driven through its widgets, headless, on a data
// directory of its own for each test, seeded as the program seeds it.
#include "app/AppWindows.h"
#include "app/DataDir.h"
#include "app/DataSeeds.h"
#include "app/HelpWindow.h"
#include "app/Unit_main.h"
#include "pipe/LocalResistance.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"
#include "pipe/Unit_ZL_pipe.h"
#include "pipe/Unit_pipe_DN.h"
#include "support/ScriptedPrompts.h"

#include <QBuffer>
#include <QComboBox>
#include <QHeaderView>
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

// A segment as the user enters it. flow: "G" or "Q"; size: "V", "DN" or "Z".
struct Entry {
    QString no = QStringLiteral("1");
    QString flowRadio = QStringLiteral("G");
    QString flow = QStringLiteral("1.0");
    QString sizeRadio = QStringLiteral("DN");
    QString velocity, nominal = QStringLiteral("25");
    QString length = QStringLiteral("10");
    QString fitting = QStringLiteral("闸阀"), count = QStringLiteral("2");
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

    void show()
    {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void pickType(const QString& name)
    {
        QComboBox* box = form_->ComboBox_pipe;
        box->setCurrentIndex(box->findText(name));
        QCOMPARE(box->currentText(), name);
    }
    void enter(const Entry& e)
    {
        form_->Edit_pipe_No->setText(e.no);
        (e.flowRadio == "Q" ? form_->RadioButton_Q : form_->RadioButton_G)->click();
        form_->Edit_G->setText(e.flow);
        (e.sizeRadio == "V"    ? form_->RadioButton_V
         : e.sizeRadio == "DN" ? form_->RadioButton_DN
                               : form_->RadioButton_Z)
            ->click();
        form_->Edit_V->setText(e.velocity);
        form_->ComboBox_DN->setEditText(e.nominal);
        form_->Edit_L->setText(e.length);
        form_->ComboBox_JZ_Ty->setEditText(e.fitting);
        form_->Edit_JZ_n->setText(e.count);
    }
    void save(const Entry& e)
    {
        enter(e);
        QTest::mouseClick(form_->Button_Save, Qt::LeftButton);
    }
    QStringList gridRow(int row) const
    {
        QStringList cells;
        const QAbstractItemModel* model = form_->DBGrid1->model();
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        return cells;
    }
    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int row = 0; row < list->count(); ++row)
            out << list->item(row)->text();
        return out;
    }
    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int row = 0; row < box->count(); ++row)
            out << box->itemText(row);
        return out;
    }
    void selectSegment(const QString& number)
    {
        const auto found = form_->ListBox_pipe->findItems(number, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        form_->ListBox_pipe->setCurrentItem(found.first());
    }
    // Segment number, flow, DN, length, fitting and count as loaded.
    QStringList loadedFields() const
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
        QVERIFY(dir_->isValid());
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
        form_.reset();
        types_.reset();
        dn_.reset();
        jz_.reset();
        bzl_.reset();
        prompts_.reset();
        DataDir::setOverride(QString());
        dir_.reset();
    }

    void startsAsDesignedAndOpensFromTheMenu()
    {
        show();
        QCOMPARE(form_->windowTitle(), QStringLiteral("水管道阻力计算-[无名字]"));
        QCOMPARE(form_->RadioButton_G->text(), QStringLiteral("流量(m³/h):"));
        QVERIFY(form_->RadioButton_G->isChecked() && form_->RadioButton_Z->isChecked());
        QVERIFY(!form_->Edit_V->isEnabled() && !form_->ComboBox_DN->isEnabled());
        QVERIFY(form_->Button_Set->isEnabled());
        QCOMPARE(form_->ComboBox_DN->count(), 21);
        QCOMPARE(form_->ComboBox_DN->currentText(), QStringLiteral("25"));
        QCOMPARE(form_->Edit_T1->text(), QStringLiteral("95"));
        QCOMPARE(form_->Edit_T2->text(), QStringLiteral("70"));
        for (QWidget* w :
             QList<QWidget*>{form_->Button_new, form_->Button_open, form_->Button_Excel,
                             form_->Button_browse, form_->Button_view})
            QVERIFY(!w->isEnabled());
        QCOMPARE(form_->DBGrid1->model()->headerData(12, Qt::Horizontal).toString(),
                 QStringLiteral("  总阻力"));
        // Filled on showing: the shipped types (none chosen yet) and fittings.
        QCOMPARE(form_->ComboBox_pipe->count(), 6);
        QVERIFY(form_->ComboBox_pipe->currentText().isEmpty());
        QCOMPARE(form_->ComboBox_JZ_Ty->count(), 16);
        QVERIFY(form_->ListBox_pipe->count() == 0 && prompts_->errors.isEmpty());

        // Choosing a type offers its sizes, "25" in the box.
        pickType(kType);
        QCOMPARE(items(form_->ComboBox_DN),
                 QStringList({"15", "20", "25", "32", "40", "50", "70", "80", "100"}));
        QCOMPARE(form_->ComboBox_DN->currentText(), QStringLiteral("25"));

        AppWindows windows;
        QVERIFY(windows.pipe && windows.pipeTypes && windows.pipeSize && windows.pipeCoefficients &&
                windows.pipeSizeSetting);
        QVERIFY(
            windows.main->findChild<QPushButton*>(QStringLiteral("SpeedButton_Pipe"))->isEnabled());
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
        show();
        form_->RadioButton_V->click(); // start from another choice
        form_->RadioButton_DN->click();
        (radio == "V"    ? form_->RadioButton_V
         : radio == "DN" ? form_->RadioButton_DN
                         : form_->RadioButton_Z)
            ->click();
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
        row("1 type", {"type", "T1", "L", "G"}, "请选择管道类型！");
        row("2 supply", {"T1", "T2", "G"}, "请输入供水温度！");
        row("3 return", {"T2", "No", "G"}, "请输入回水温度！");
        row("4 number", {"No", "V", "G"}, "请输入管道编号！");
        row("5 velocity", {"V", "L", "G"}, "请输入流速！");
        row("6 size", {"DN", "L", "G"}, "请选择管径！");
        row("7 length", {"L", "n", "G"}, "请输入管段长度！");
        row("8 count", {"n", "G"}, "请输入局部阻力数量！");
        row("9 fitting for 0.0", {"fitting", "n=0.0", "G"}, "请选择局部阻力类型！");
        row("9 passes 0", {"fitting", "n=0", "G"}, "请输入流量！");
        row("10 flow", {"G"}, "请输入流量！");
        row("11 heat load", {"Q"}, "请输入热负荷！");
        row("mean temperature", {"T1=101", "T2=100", "G=0"}, "平均水温必须在0～100℃之间！");
        row("flow 0", {"G=0"}, "流量必须大于0！");
        row("heat load below 0", {"Q=-5"}, "热负荷必须大于0！");
        row("velocity 0", {"V=0"}, "流速必须大于0！");
        row("number of 13", {"No=1234567890123"}, "管段编号不能超过12个字符！");
        row("no number", {"L=abc"}, "“abc”不是有效的数值");
        row("size not of the type", {"DN=65"}, "管道类型“焊接钢管(GB3092)”中没有DN65的管径！",
            false);
    }
    void refusalsStoreNothing()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, message);
        QFETCH(bool, waterKept);
        show();
        pickType(kType);
        Entry e;
        QString T1 = "95", T2 = "70";
        for (const QString& fault : faults) {
            const QString key = fault.section('=', 0, 0), value = fault.section('=', 1);
            if (key == "type")
                form_->ComboBox_pipe->setEditText(QString());
            else if (key == "T1")
                T1 = value;
            else if (key == "T2")
                T2 = value;
            else if (key == "No")
                e.no = value;
            else if (key == "V")
                e.sizeRadio = "V", e.velocity = value;
            else if (key == "DN")
                e.nominal = value;
            else if (key == "L")
                e.length = value;
            else if (key == "n")
                e.count = value;
            else if (key == "fitting")
                e.fitting.clear();
            else if (key == "G")
                e.flow = value;
            else if (key == "Q")
                e.flowRadio = "Q", e.flow = value;
        }
        form_->Edit_T1->setText(T1);
        form_->Edit_T2->setText(T2);
        save(e);
        QCOMPARE(prompts_->errors, QStringList{message});
        QCOMPARE(form_->segmentTable().recordCount(), 0);
        QCOMPARE(form_->ListBox_pipe->count(), 0);
        QCOMPARE(form_->lastWater().rho == 0, waterKept);
    }

    // Each way of entering a segment, as the grid shows the stored record.
    void storedSegmentInTheGrid_data()
    {
        QTest::addColumn<QString>("flowRadio");
        QTest::addColumn<QString>("flow");
        QTest::addColumn<QString>("sizeRadio");
        QTest::addColumn<QString>("sizeText"); // Edit_V, ComboBox_DN or Form_BZL_Set's Edit1
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("flow, DN 25")
            << "G"
            << "1.0"
            << "DN"
            << "25" << QStringList{"1",    "1.0",  "28.2", "25",     "0.49",  "153.05", "10.0",
                                   "闸阀", "0.50", "2",    "1530.5", "114.1", "1644.6"};
        QTest::newRow("heat load, DN 25")
            << "Q"
            << "28198"
            << "DN"
            << "25" << QStringList{"1",    "1.0",  "28.2", "25",     "0.49",  "153.05", "10.0",
                                   "闸阀", "0.50", "2",    "1530.5", "114.1", "1644.7"};
        QTest::newRow("velocity 0.485")
            << "G"
            << "1.0"
            << "V"
            << "0.485" << QStringList{"1",    "1.0",  "28.2", "25",     "0.49",  "153.05", "10.0",
                                      "闸阀", "0.50", "2",    "1530.5", "114.1", "1644.6"};
        QTest::newRow("automatic below 200")
            << "G"
            << "3.0"
            << "Z"
            << "200" << QStringList{"1",    "3.0",  "84.6", "40",     "0.63",  "148.03", "10.0",
                                    "闸阀", "0.50", "2",    "1480.3", "193.2", "1673.5"};
        QTest::newRow("automatic, none below 1")
            << "G"
            << "10"
            << "Z"
            << "1" << QStringList{"1",    "10.0", "282.0", "100",   "0.31", "11.29", "10.0",
                                  "闸阀", "0.50", "2",     "112.9", "48.0", "160.9"};
    }
    void storedSegmentInTheGrid()
    {
        QFETCH(QString, flowRadio);
        QFETCH(QString, flow);
        QFETCH(QString, sizeRadio);
        QFETCH(QString, sizeText);
        QFETCH(QStringList, cells);
        show();
        pickType(kType);
        Entry e;
        e.flowRadio = flowRadio;
        e.flow = flow;
        e.sizeRadio = sizeRadio;
        e.velocity = sizeText;
        e.nominal = sizeText;
        bzl_->Edit1->setText(sizeText);
        save(e);
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join(' ')));
        QCOMPARE(gridRow(0), cells);
        QCOMPARE(items(form_->ListBox_pipe), QStringList{"1"});
        QCOMPARE(form_->lastWater().nu, 0.35725e-6);
        QCOMPARE(form_->lastWater().K, 0.2);
    }

    void savingAgainUpdatesInPlace()
    {
        show();
        pickType(kType);
        Entry e;
        save(e);
        e.no = "2";
        save(e);
        e.no = "1";
        e.flow = "3.0";
        e.nominal = "40";
        save(e);
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(items(form_->ListBox_pipe), QStringList({"1", "2"}));
        QCOMPARE(form_->segmentTable().recordCount(), 2);
        QCOMPARE(gridRow(0).mid(0, 4), QStringList({"1", "3.0", "84.6", "40"}));
        QCOMPARE(gridRow(1).mid(0, 4), QStringList({"2", "1.0", "28.2", "25"}));
        // The record just stored is the grid's current row.
        QCOMPARE(form_->DBGrid1->currentIndex().row(), 0);
    }

    void addAndCancelEmptyTheFields()
    {
        show();
        enter(Entry{});
        form_->RadioButton_Q->click();
        form_->RadioButton_V->click();
        QTest::mouseClick(form_->Button_add, Qt::LeftButton);
        QCOMPARE(loadedFields(), QStringList({"", "", "", "", "", ""}));
        QVERIFY(form_->RadioButton_G->isChecked() && form_->RadioButton_DN->isChecked());
        QVERIFY(form_->ComboBox_DN->isEnabled() && !form_->Edit_V->isEnabled());
        enter(Entry{});
        QTest::mouseClick(form_->Button_Cancel, Qt::LeftButton);
        QCOMPARE(loadedFields(), QStringList({"", "", "", "", "", ""}));
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
        pickType(kType);
        save(Entry{});
        Entry second;
        second.no = "2";
        second.flow = "3";
        second.nominal = "40";
        second.length = "5.5";
        second.fitting.clear();
        second.count.clear();
        save(second);
        QTest::mouseClick(form_->Button_add, Qt::LeftButton);
        form_->RadioButton_Q->click();

        if (how == "grid") {
            const QModelIndex cell = form_->DBGrid1->model()->index(1, 3);
            const QPoint at = form_->DBGrid1->visualRect(cell).center();
            QTest::mouseClick(form_->DBGrid1->viewport(), Qt::LeftButton, {}, at);
        } else {
            selectSegment("2");
            if (how == "edit") {
                QTest::mouseClick(form_->Button_edit, Qt::LeftButton);
            } else {
                const auto item = form_->ListBox_pipe->item(1);
                const QPoint at = form_->ListBox_pipe->visualItemRect(item).center();
                // A double click is a click and then the second press.
                QTest::mouseClick(form_->ListBox_pipe->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(form_->ListBox_pipe->viewport(), Qt::LeftButton, {}, at);
            }
        }
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(loadedFields(), QStringList({"2", "3", "40", "5.5", "", "0"}));
        QVERIFY(form_->RadioButton_G->isChecked() && form_->RadioButton_Z->isChecked());
        QVERIFY(form_->Button_Set->isEnabled() && !form_->ComboBox_DN->isEnabled());
        QCOMPARE(form_->segmentTable().currentIndex(), 1);

        // Saved again unchanged, it stays one record, now sized automatically.
        QTest::mouseClick(form_->Button_Save, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(form_->segmentTable().recordCount(), 2);
    }

    void deleting_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("nothing selected") << "" << false << QStringList({"1", "2", "3"});
        QTest::newRow("answered No") << "2" << false << QStringList({"1", "2", "3"});
        QTest::newRow("answered Yes") << "2" << true << QStringList({"1", "3"});
    }
    void deleting()
    {
        QFETCH(QString, selected);
        QFETCH(bool, answer);
        QFETCH(QStringList, left);
        show();
        pickType(kType);
        Entry e;
        for (const char* no : {"1", "2", "3"}) {
            e.no = QString::fromLatin1(no);
            save(e);
        }
        if (!selected.isEmpty()) {
            selectSegment(selected);
            prompts_->confirmAnswers << answer;
        }
        QTest::mouseClick(form_->Button_del, Qt::LeftButton);
        if (selected.isEmpty()) {
            QCOMPARE(prompts_->errors, QStringList{"请选择管段编号！"});
            QVERIFY(prompts_->confirmations.isEmpty());
            QTest::mouseClick(form_->Button_edit, Qt::LeftButton);
            QCOMPARE(prompts_->errors.size(), 2);
            QCOMPARE(prompts_->errors.last(), QStringLiteral("请选择管段编号！"));
        } else {
            QCOMPARE(prompts_->confirmations, QStringList{"确实要删除该项吗？"});
        }
        QCOMPARE(items(form_->ListBox_pipe), left);
        QCOMPARE(form_->DBGrid1->model()->rowCount(), left.size());
        QVERIFY(form_->ListBox_pipe->selectedItems().isEmpty()); // the list was refilled
    }

    // The pipe type editor deletes a type: the box no longer offers it, and
    // keeps the text and sizes it had.
    void pipeTypeEditorReloadsTheTypes()
    {
        show();
        pickType(kType);
        prompts_->confirmAnswers << true;
        whileOpen(types_.get(), types_->Button_quit, [this] {
            types_->ListBox_pipe_ty->setCurrentRow(1);
            QTest::mouseClick(types_->Button_del, Qt::LeftButton);
        });
        QTest::mouseClick(form_->Button_Edit_pipe, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(form_->ComboBox_pipe->count(), 5);
        QCOMPARE(form_->ComboBox_pipe->findText(QStringLiteral("焊接钢管")), -1);
        QCOMPARE(form_->ComboBox_pipe->currentText(), kType);
        QCOMPARE(form_->ComboBox_DN->count(), 9);
    }

    // A coefficient changed in the editor is the one the next calculation
    // uses, and a renamed fitting is offered under its new name.
    void coefficientEditorReopensTheTable()
    {
        show();
        pickType(kType);
        save(Entry{}); // the calculation has the table open now
        QCOMPARE(gridRow(0)[8], QStringLiteral("0.50"));
        whileOpen(jz_.get(), jz_->Button_quit, [this] {
            jz_->ListBox_Valve->setCurrentItem(
                jz_->ListBox_Valve->findItems(QStringLiteral("闸阀"), Qt::MatchExactly).first());
            QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
            jz_->Edit_DN25->setText(QStringLiteral("2"));
            QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);
            jz_->ListBox_Valve->setCurrentRow(0);
            QTest::mouseClick(jz_->Button_edit, Qt::LeftButton);
            jz_->Edit_name->setText(QStringLiteral("截止阀(新)"));
            QTest::mouseClick(jz_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(form_->Button_Edit_JZ, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(form_->ComboBox_JZ_Ty->itemText(0), QStringLiteral("截止阀(新)"));
        QCOMPARE(form_->ComboBox_JZ_Ty->currentText(), QStringLiteral("闸阀"));
        QTest::mouseClick(form_->Button_Save, Qt::LeftButton);
        QCOMPARE(gridRow(0)[8], QStringLiteral("2.00"));
        QCOMPARE(form_->segmentTable().recordCount(), 1);
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
        QCOMPARE(form_->Image_JZ->frameShape(), QFrame::Box);
    }

    void helpTopics_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("9 calculator") << "calculator"
                                      << "科尔布鲁克";
        QTest::newRow("10 pipe types") << "types"
                                       << "1168";
        QTest::newRow("34 coefficients") << "coefficients"
                                         << "散热器";
    }
    void helpTopics()
    {
        QFETCH(QString, window);
        QFETCH(QString, phrase);
        QDialog* owner = window == "calculator" ? static_cast<QDialog*>(form_.get())
                         : window == "types"    ? static_cast<QDialog*>(types_.get())
                                                : static_cast<QDialog*>(jz_.get());
        owner->show();
        QTest::mouseClick(owner->findChild<QPushButton*>(QStringLiteral("Button_help")),
                          Qt::LeftButton);
        auto* help = owner->findChild<HelpWindow*>();
        QVERIFY(help && help->isVisible());
        const QString text = help->browser()->toPlainText();
        QVERIFY2(text.contains(phrase), qPrintable(text.left(200)));
        QCOMPARE(help->windowTitle(),
                 QStringLiteral("帮助 - %1").arg(owner->windowTitle().section('-', 0, 0)));
    }

    // A damaged catalogue is refused with its message; the rest of the
    // window still works and the file is left as it was.
    void damagedCatalogueIsRefused()
    {
        const QString path = DataDir::file(QString::fromLatin1(PipeCatalogueFileName));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(1168); // the second record's name length
        file.write("\x7f");
        file.close();
        QFile read(path);
        QVERIFY(read.open(QIODevice::ReadOnly));
        const QByteArray before = read.readAll();
        read.close();

        show();
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY(prompts_->errors.first().contains(path));
        QCOMPARE(form_->ComboBox_pipe->count(), 0);
        QCOMPARE(form_->ComboBox_JZ_Ty->count(), 16);
        form_->ComboBox_pipe->setEditText(kType);
        save(Entry{});
        QCOMPARE(prompts_->errors.size(), 2);
        QCOMPARE(form_->segmentTable().recordCount(), 0);
        QVERIFY(read.open(QIODevice::ReadOnly));
        QCOMPARE(read.readAll(), before);
    }
};

QTEST_MAIN(TestFormZLPipe)
#include "tst_form_zl_pipe.moc"
