// The duct calculator driven through its widgets, headless, on a data
// directory of its own for each test. The numbers are the core's tests; here
// the window's side: enabling, what is stored, listed and loaded back, and
// which air properties reach the calculation.
#include "app/DataDir.h"
#include "app/HelpWindow.h"
#include "duct/Unit_Adv.h"
#include "duct/Unit_ZL_Duct.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "shell/Unit_main.h"
#include "support/ScriptedPrompts.h"
#include "support/Typing.h"

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
// A segment as typed; an empty diameter means rectangular.
struct Entry {
    QString no = "1", flow = "5000", dn = "500", w = {}, h = {}, length = "10";
    QString fitting = {}, xi = {}, n = {};
};
} // namespace

class TestFormZLDuct : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<Form_Advanced> advanced_;
    std::unique_ptr<Form_ZL_Duct> form_;

    void show()
    {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void save(const Entry& e)
    {
        form_->Edit_duct_No->setText(e.no);
        form_->Edit_G->setText(e.flow);
        (e.dn.isEmpty() ? form_->RadioButton_Fang : form_->RadioButton_Yuan)->click();
        form_->ComboBox_DN->setEditText(e.dn);
        form_->ComboBox_W->setEditText(e.w);
        form_->ComboBox_H->setEditText(e.h);
        form_->Edit_L->setText(e.length);
        form_->ComboBox_JZ_Ty->setEditText(e.fitting);
        form_->Edit_JZ_K->setText(e.xi);
        form_->Edit_JZ_n->setText(e.n);
        QTest::mouseClick(form_->Button_Save, Qt::LeftButton);
    }
    int stored() const { return form_->segmentTable().recordCount(); }
    QString cell(int row, int column) const
    {
        return form_->DBGrid1->model()->index(row, column).data().toString();
    }
    // "高级设置" with the roughness typed as K, closed by "确定".
    void setRoughness(const QString& K)
    {
        QTimer::singleShot(0, advanced_.get(), [this, K] {
            advanced_->Edit_K->setText(K);
            QTest::mouseClick(advanced_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(form_->Button_Advanced, Qt::LeftButton);
    }

private slots:
    void initTestCase() { RegisterDataSeeds(); }
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        DataDir::setOverride(dir_->path());
        DataDir::ensure();
        prompts_ = std::make_unique<ScriptedPrompts>();
        advanced_ = std::make_unique<Form_Advanced>();
        form_ = std::make_unique<Form_ZL_Duct>(*advanced_);
    }
    void cleanup()
    {
        form_.reset(), advanced_.reset();
        prompts_.reset();
        DataDir::setOverride(QString());
        dir_.reset();
    }

    void startsAsDesignedAndOpensFromTheMenu()
    {
        show();
        QCOMPARE(form_->windowTitle(), QStringLiteral("风管阻力计算-[无名字]"));
        QCOMPARE(form_->RadioButton_Fang->text(), QStringLiteral("矩形管  "));
        QVERIFY(form_->RadioButton_Fang->isChecked());
        QVERIFY(!form_->ComboBox_DN->isEnabled() && !form_->Label_DN->isEnabled());
        QVERIFY(form_->ComboBox_W->isEnabled() && form_->ComboBox_H->isEnabled());
        form_->RadioButton_Yuan->click();
        QVERIFY(form_->ComboBox_DN->isEnabled() && !form_->Label_W->isEnabled());
        QCOMPARE(form_->ComboBox_DN->count(), 26);
        QCOMPARE(form_->ComboBox_DN->currentText(), QStringLiteral("500"));
        QCOMPARE(form_->ComboBox_W->count(), 13);
        QCOMPARE(form_->ComboBox_JZ_Ty->count(), 11);
        QCOMPARE(form_->findChild<QLabel*>("Label_G_sup")->text(), QStringLiteral("3"));
        QCOMPARE(advanced_->findChild<QLabel*>("Label_miu_sup")->text(), QStringLiteral("2"));
        QVERIFY(form_->Button_new->isEnabled() && form_->Button_Excel->isEnabled());
        QCOMPARE(form_->DBGrid1->model()->headerData(13, Qt::Horizontal).toString(),
                 QStringLiteral("  总阻力"));

        AppWindows windows;
        QVERIFY(windows.duct && windows.ductAdvanced);
        QVERIFY(
            windows.main->findChild<QPushButton*>(QStringLiteral("SpeedButton_Duct"))->isEnabled());
        QTest::mouseClick(form_->Button_help, Qt::LeftButton);
        auto* help = form_->findChild<HelpWindow*>();
        QVERIFY(help && help->browser()->toPlainText().contains(QStringLiteral("当量直径")));
    }

    // What is stored and how it loads back, round and rectangular.
    void storedAndLoadedBack()
    {
        show();
        save({});
        save({.no = "2",
              .flow = "1000",
              .dn = "",
              .w = "400",
              .h = "200",
              .fitting = "弯头",
              .xi = "0.5",
              .n = "2"});
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(stored(), 2);
        QCOMPARE(cell(0, 2), QStringLiteral("500"));
        QCOMPARE(cell(0, 5), QStringLiteral("7.1")); // round DN 500 at 5000 m³/h
        QCOMPARE(cell(1, 3) + "x" + cell(1, 4), QStringLiteral("400x200"));
        QCOMPARE(form_->ListBox_pipe->count(), 2);

        // "添加" empties the fields and keeps the rectangular choice.
        QTest::mouseClick(form_->Button_add, Qt::LeftButton);
        QVERIFY(form_->Edit_duct_No->text().isEmpty() &&
                form_->ComboBox_W->currentText().isEmpty());
        QVERIFY(form_->RadioButton_Fang->isChecked());

        form_->ListBox_pipe->setCurrentRow(0);
        QTest::mouseClick(form_->Button_edit, Qt::LeftButton);
        QVERIFY(form_->RadioButton_Yuan->isChecked() && form_->ComboBox_DN->isEnabled());
        QCOMPARE(form_->ComboBox_DN->currentText(), QStringLiteral("500"));
        QVERIFY(form_->ComboBox_W->currentText().isEmpty());
        QVERIFY(form_->Edit_JZ_K->text().isEmpty() && form_->Edit_JZ_n->text().isEmpty());

        form_->ListBox_pipe->setCurrentRow(1);
        QTest::mouseClick(form_->Button_edit, Qt::LeftButton);
        QVERIFY(form_->RadioButton_Fang->isChecked() && !form_->ComboBox_DN->isEnabled());
        QCOMPARE(form_->ComboBox_W->currentText() + form_->ComboBox_H->currentText(),
                 QStringLiteral("400200"));
        QCOMPARE(form_->Edit_JZ_K->text() + "/" + form_->Edit_JZ_n->text(),
                 QStringLiteral("0.5/2"));

        prompts_->confirmAnswers << true;
        QTest::mouseClick(form_->Button_del, Qt::LeftButton);
        QCOMPARE(prompts_->confirmations, QStringList{"确实要删除该项吗？"});
        QCOMPARE(stored(), 1);
        QCOMPARE(form_->ListBox_pipe->count(), 1);
    }

    void refusalsStoreNothing_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("K"); // the advanced dialog's roughness
        QTest::addColumn<QString>("dn");
        QTest::addColumn<QString>("xi");
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("no");
        const auto row = [](const char* name, const char* message, const char* K, const char* dn,
                            const char* xi, const char* n, const char* no = "1") {
            QTest::newRow(name) << QString::fromUtf8(message) << K << dn << xi << n << no;
        };
        row("only the coefficient", "局部阻力数量：“”不是有效的数值", "0.15", "500", "0.5", "");
        row("only the count", "局部阻力系数：“”不是有效的数值", "0.15", "500", "", "2");
        row("size of 2 mm", "风管尺寸必须大于2mm！", "0.15", "2", "", "");
        row("size cut by the table", "风管尺寸不能超过6个字符！", "0.15", "1000.25", "", "");
        row("number cut by the table", "管段编号不能超过12个字符！", "0.15", "500", "", "",
            "1234567890123");
        row("negative roughness", "风管管壁绝对粗糙度不能小于0！", "-1", "500", "", "");
    }
    void refusalsStoreNothing()
    {
        QFETCH(QString, message);
        QFETCH(QString, K);
        QFETCH(QString, dn);
        QFETCH(QString, xi);
        QFETCH(QString, n);
        QFETCH(QString, no);
        show();
        advanced_->Edit_K->setText(K);
        save({.no = no, .dn = dn, .xi = xi, .n = n});
        QCOMPARE(prompts_->errors, QStringList{message});
        QCOMPARE(stored(), 0);
        QCOMPARE(form_->ListBox_pipe->count(), 0);
    }

    // What is typed into a drop-down is what is computed and stored: no
    // listed size completes it (125 is not 1250), no item of another case
    // replaces it, and a size too small is refused as typed.
    void typedTextIsStoredAsTyped_data()
    {
        QTest::addColumn<QString>("box"); // DN, W, H or JZ
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("flow");
        QTest::addColumn<QString>("velocity"); // the grid's "0.0", or the refusal
        QTest::newRow("diameter 125") << "DN"
                                      << "125"
                                      << "500"
                                      << "11.7";
        QTest::newRow("diameter 2") << "DN"
                                    << "2"
                                    << "500"
                                    << "风管尺寸必须大于2mm！";
        QTest::newRow("width 100") << "W"
                                   << "100"
                                   << "500"
                                   << "7.2";
        QTest::newRow("height 80") << "H"
                                   << "80"
                                   << "500"
                                   << "9.0";
        QTest::newRow("height 2") << "H"
                                  << "2"
                                  << "500"
                                  << "风管尺寸必须大于2mm！";
        QTest::newRow("fitting of another case") << "JZ"
                                                 << "y形合流三通"
                                                 << "5000"
                                                 << "7.1";
        QTest::newRow("fitting begun") << "JZ"
                                       << "弯"
                                       << "5000"
                                       << "7.1";
    }
    void typedTextIsStoredAsTyped()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, flow);
        QFETCH(QString, velocity);
        show();
        const bool rectangular = box == "W" || box == "H";
        save({.no = "0", .flow = flow, .dn = rectangular ? "" : "500", .w = "200", .h = "200"});
        QCOMPARE(stored(), 1);
        QComboBox* typedBox = box == "DN"  ? form_->ComboBox_DN
                              : box == "W" ? form_->ComboBox_W
                              : box == "H" ? form_->ComboBox_H
                                           : form_->ComboBox_JZ_Ty;
        form_->Edit_duct_No->setText("1");
        // Enter in the drop-down saves, as "计算和保存(&S)" does.
        TypeIntoComboBox(typedBox, typed);
        QCOMPARE(typedBox->currentText(), typed);
        if (!velocity.front().isDigit()) {
            QCOMPARE(prompts_->errors, QStringList{velocity});
            QCOMPARE(stored(), 1);
            return;
        }
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(stored(), 2);
        const int column = box == "DN" ? 2 : box == "W" ? 3 : box == "H" ? 4 : 8;
        QCOMPARE(cell(1, column), typed);
        QCOMPARE(cell(1, 5), velocity);
    }

    // "高级设置" shows exactly the values in force and "确定" without an edit
    // keeps them; a refused entry keeps the dialog open on its field, by
    // "确定" and by the close box alike, the values in force unchanged. What
    // the window then computes with is what the fields show.
    void advancedDialogHoldsTheValuesInForce_data()
    {
        QTest::addColumn<QString>("field"); // rho, nu or K
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal"); // empty when accepted
        QTest::addColumn<QString>("shown");   // the field's text when reopened
        QTest::newRow("K 0.0005") << "K"
                                  << "0.0005"
                                  << ""
                                  << "0.0005";
        QTest::newRow("K 0.0004") << "K"
                                  << "0.0004"
                                  << ""
                                  << "0.0004";
        QTest::newRow("nu 1.57e-5") << "nu"
                                    << "1.57e-5"
                                    << ""
                                    << "0.0000157";
        QTest::newRow("rho -1") << "rho"
                                << "-1"
                                << "空气密度必须大于0！"
                                << "1.204";
        QTest::newRow("nu 0") << "nu"
                              << "0"
                              << "空气运动粘滞系数必须大于0！"
                              << "0.00001506";
        QTest::newRow("K not a number") << "K"
                                        << "abc"
                                        << "风管管壁绝对粗糙度(mm)：“abc”不是有效的数值"
                                        << "0.15";
    }
    void advancedDialogHoldsTheValuesInForce()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QFETCH(QString, shown);
        show();
        QLineEdit* edit = field == "rho"  ? advanced_->Edit_Ruo
                          : field == "nu" ? advanced_->Edit_miu
                                          : advanced_->Edit_K;
        const QString inForce = edit->text();
        bool openOnTheField = false, closeBoxRefused = false;
        QTimer::singleShot(0, advanced_.get(), [&] {
            edit->clear();
            QTest::keyClicks(edit, typed);
            QTest::mouseClick(advanced_->Button_OK, Qt::LeftButton);
            if (!advanced_->isVisible())
                return;
            openOnTheField = advanced_->focusWidget() == edit && edit->selectedText() == typed;
            advanced_->close();
            closeBoxRefused = advanced_->isVisible();
            edit->setText(inForce);
            QTest::mouseClick(advanced_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(form_->Button_Advanced, Qt::LeftButton);
        QVERIFY(!advanced_->isVisible());
        if (refusal.isEmpty()) {
            QVERIFY(prompts_->errors.isEmpty());
        } else {
            QCOMPARE(prompts_->errors, QStringList({refusal, refusal}));
            QVERIFY(openOnTheField && closeBoxRefused);
            QCOMPARE(form_->airProperties(), AirProperties{});
        }
        const AirProperties afterFirst = form_->airProperties();

        QString reopened;
        QTimer::singleShot(0, advanced_.get(), [&] {
            reopened = edit->text();
            QTest::mouseClick(advanced_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(form_->Button_Advanced, Qt::LeftButton);
        QCOMPARE(reopened, shown);
        QCOMPARE(form_->airProperties(), afterFirst);
        QCOMPARE(edit->text(), shown);

        prompts_->errors.clear();
        save({});
        QVERIFY(prompts_->errors.isEmpty());
        DuctSegmentInputs in{
            ExactTexts(afterFirst), "1", "5000", true, "500", "", "", "10", "", "", ""};
        QCOMPARE(form_->segmentTable().records()[0].values[6].toDouble(),
                 CalculateDuctSegment(in).segment->Pm);
    }

    // The dialog's fields, the window's current properties and the
    // calculation agree, through the dialog and across a new showing.
    void airPropertiesReachTheCalculation()
    {
        show();
        QCOMPARE(advanced_->Edit_K->text(), QStringLiteral("0.15"));
        setRoughness("0.0005");
        QCOMPARE(form_->airProperties().K, 0.0005);
        QCOMPARE(advanced_->Edit_K->text(), QStringLiteral("0.0005")); // not the rounded 0.001
        save({});
        const double smoother = form_->segmentTable().records()[0].values[6].toDouble();

        form_->hide();
        show(); // back to the defaults, in the dialog's fields too
        QCOMPARE(form_->airProperties(), AirProperties{});
        QCOMPARE(advanced_->Edit_K->text(), QStringLiteral("0.15"));
        save({});
        const double Pm = form_->segmentTable().records()[0].values[6].toDouble();
        QVERIFY(Pm > smoother);
        DuctSegmentInputs in;
        in.air = ExactTexts(AirProperties{});
        in = {in.air, "1", "5000", true, "500", "", "", "10", "", "", ""};
        QCOMPARE(Pm, CalculateDuctSegment(in).segment->Pm);
        QVERIFY(prompts_->errors.isEmpty());
    }
};

QTEST_MAIN(TestFormZLDuct)
#include "tst_form_zl_duct.moc"
