// The air treatment calculator and its air-flow dialog driven through their
// widgets, headless.
#include "airtreat/TreatmentReport.h"
#include "airtreat/Unit_Air_treat.h"
#include "airtreat/Unit_G.h"
#include "app/HelpWindow.h"
#include "psychro/Unit_atm.h"
#include "shell/AppWindows.h"
#include "shell/Unit_main.h"
#include "support/PdfText.h" // ReadGbkLines
#include "support/ScriptedPrompts.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <tuple>

namespace
{
// Edit1..Edit9 of the worked cases.
const QStringList kSummer{"34", "28", "", "26", "60", "10", "3", "20", "25"};
const QStringList kWinter{"10", "", "70", "20", "50", "-5", "2", "30", "25"};
// The supply fields of process 4 are neither tested (empty) nor read (no number).
const QStringList kSecondaryWinter{"-5", "", "70", "20", "50", "-5", "2", "", "abc"};
const QStringList kSecondaryWinterFlows{"3000", "750", "1500"};
const QString kRule(18, QChar(0x2501));

auto fieldsOf(const TreatmentResult& r)
{
    return std::tie(r.iW, r.dW, r.iWh, r.iN, r.dN, r.iC, r.dC, r.iL, r.dL, r.iO, r.dO, r.iOs, r.dOs,
                    r.Kind, r.Calculated);
}
} // namespace

class TestFormAirTreat : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<ID_lib> lib_;
    TreatmentResult result_;
    std::unique_ptr<Form_atm> atm_;
    std::unique_ptr<Form_G> g_;
    std::unique_ptr<Form_Air_treat> form_;
    QTemporaryDir dir_;

    QList<QLineEdit*> inputs() const
    {
        return {form_->Edit1, form_->Edit2, form_->Edit3, form_->Edit4, form_->Edit5,
                form_->Edit6, form_->Edit7, form_->Edit8, form_->Edit9};
    }
    QStringList results() const
    {
        QStringList out;
        for (QLineEdit* e :
             {form_->Edit10, form_->Edit11, form_->Edit12, form_->Edit13, form_->Edit14,
              form_->Edit15, form_->Edit16, form_->Edit17, form_->Edit18, form_->Edit19,
              form_->Edit20, form_->Edit21, form_->Edit22})
            out << e->text();
        return out;
    }
    QRadioButton* radio(int process) const
    {
        return QList{form_->RadioButton1, form_->RadioButton2, form_->RadioButton3,
                     form_->RadioButton4}[process - 1];
    }
    void fill(const QStringList& texts)
    {
        for (int k = 0; k < 9; ++k) {
            inputs()[k]->clear();
            QTest::keyClicks(inputs()[k], texts[k]);
        }
    }
    // Presses "计算(&C)"; flows (if given) answer the air-flow dialog when it
    // comes up: typed into its fields, then "确定". Returns whether it came up.
    bool calculate(const QStringList& flows = {})
    {
        QObject context;
        bool asked = false;
        QTimer::singleShot(0, &context, [&] {
            asked = g_->isVisible() && g_->isModal();
            if (flows.isEmpty()) {
                g_->reject(); // closed by its frame, fields as they were
                return;
            }
            for (int k = 0; k < 3; ++k)
                QList{g_->Edit1, g_->Edit2, g_->Edit3}[k]->setText(flows[k]);
            QTest::mouseClick(g_->Button1, Qt::LeftButton);
        });
        QTest::mouseClick(form_->Button_cal, Qt::LeftButton);
        return asked;
    }
    void computeSummer()
    {
        QTest::mouseClick(form_->RadioButton1, Qt::LeftButton);
        fill(kSummer);
        calculate();
        QVERIFY(prompts_->errors.isEmpty());
    }

private slots:
    void init()
    {
        prompts_ = std::make_unique<ScriptedPrompts>();
        lib_ = std::make_unique<ID_lib>([this](const std::string& m, ID_lib::MessageKind) {
            prompts_->errors << QString::fromStdString(m);
        });
        result_ = {};
        form_ = std::make_unique<Form_Air_treat>(*lib_, result_);
        atm_ = std::make_unique<Form_atm>();
        g_ = std::make_unique<Form_G>();
        form_->useDialogs(*atm_, *g_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup()
    {
        form_.reset();
        g_.reset();
        atm_.reset();
        prompts_.reset();
    }

    void startsAsDesignedAndOpensFromTheMenu()
    {
        QCOMPARE(form_->windowTitle(), QStringLiteral("空气处理过程计算器 Vendaro 3.0"));
        QCOMPARE(form_->size(), QSize(629, 384));
        QVERIFY(form_->RadioButton1->isChecked() && form_->RadioButton7->isChecked());
        QCOMPARE(form_->Edit9->text(), QStringLiteral("25"));
        QCOMPARE(form_->labelOf(form_->Edit16)->text(), QStringLiteral("二次回风量(kg/h);"));
        QVERIFY(!form_->Button_save->isEnabled());
        for (QLineEdit* e : inputs())
            QVERIFY(!e->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(g_->windowTitle(), QStringLiteral("二次回风冬季处理过程的风量设置"));

        QTest::mouseClick(form_->Button3, Qt::LeftButton); // font dialog, cancelled
        QCOMPARE(prompts_->lastFontOffered.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(prompts_->lastFontOffered.pixelSize(), 13);

        AppWindows windows;
        QVERIFY(windows.airTreat && windows.airFlows);
        QVERIFY(
            windows.main->findChild<QPushButton*>(QStringLiteral("SpeedButton_air"))->isEnabled());
    }

    void inputEnablingPerProcess_data()
    {
        QTest::addColumn<int>("process");
        QTest::addColumn<QString>("enabled"); // Edit2, Edit3, Edit8 with Edit9
        QTest::newRow("primary summer") << 1 << "101";
        QTest::newRow("primary winter") << 2 << "011";
        QTest::newRow("secondary summer") << 3 << "101";
        QTest::newRow("secondary winter") << 4 << "010";
    }
    void inputEnablingPerProcess()
    {
        QFETCH(int, process);
        QFETCH(QString, enabled);
        form_->Edit8->setText(QStringLiteral("21"));
        QTest::mouseClick(radio(process), Qt::LeftButton);
        QLineEdit* const fields[3] = {form_->Edit2, form_->Edit3, form_->Edit8};
        for (int k = 0; k < 3; ++k) {
            const bool on = enabled[k] == QLatin1Char('1');
            QCOMPARE(fields[k]->isEnabled(), on);
            QCOMPARE(form_->labelOf(fields[k])->isEnabled(), on); // greyed with its field
        }
        const bool supply = enabled[2] == QLatin1Char('1');
        for (QWidget* w : QList<QWidget*>{form_->Edit9, form_->RadioButton6, form_->RadioButton7})
            QCOMPARE(w->isEnabled(), supply);

        // Back to process 1: the supply fields come back as they were.
        QTest::mouseClick(form_->RadioButton1, Qt::LeftButton);
        QVERIFY(form_->Edit8->isEnabled() && form_->Edit9->isEnabled());
        QCOMPARE(form_->Edit8->text(), QStringLiteral("21"));
        QCOMPARE(form_->Edit9->text(), QStringLiteral("25"));
    }

    void workedCasesAndResultEnabling_data()
    {
        QTest::addColumn<int>("process");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("flows");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("enabled"); // Edit16, Edit19, Edit20, Edit21 with Edit22
        QTest::addColumn<int>("kind");
        QTest::newRow("primary summer")
            << 1 << kSummer << QStringList()
            << QStringList{"20.00", "81.88", "4578.91", "25.00", "1144.73", "3434.18", "0.00",
                           "66.14", "17.96", "22.46",   "0.00",  "2.68",    "2.68"}
            << "0101" << 1;
        QTest::newRow("primary winter") // an empty wet bulb is accepted
            << 2 << kWinter << QStringList()
            << QStringList{"30.00", "24.22", "2258.50", "25.00", "564.62", "1693.87", "0.00",
                           "34.84", "18.50", "0.00",    "0.00",  "7.37",   "7.37"}
            << "0011" << 1;
        QTest::newRow("secondary summer")
            << 3 << kSummer << QStringList()
            << QStringList{"20.00", "81.88", "4578.91", "25.00", "1144.73", "1987.94", "1446.24",
                           "69.69", "17.23", "19.78",   "0.00",  "0.00",    "0.00"}
            << "1100" << 1;
        // Neither the empty supply temperature nor the fresh-air entry is read.
        QTest::newRow("secondary winter")
            << 4 << kSecondaryWinter << kSecondaryWinterFlows
            << QStringList{"27.53", "28.90", "3000.00", "25.00", "750.00", "1500.00", "750.00",
                           "24.54", "8.43",  "0.00",    "0.00",  "13.80",  "13.80"}
            << "1011" << 4;
    }
    void workedCasesAndResultEnabling()
    {
        QFETCH(int, process);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, flows);
        QFETCH(QStringList, shown);
        QFETCH(QString, enabled);
        QFETCH(int, kind);
        QTest::mouseClick(radio(process), Qt::LeftButton);
        fill(fields);
        QCOMPARE(calculate(flows), !flows.isEmpty());
        QCOMPARE(prompts_->errors, QStringList());
        QCOMPARE(results(), shown);
        QCOMPARE(form_->result().Kind, kind);
        QVERIFY(form_->result().Calculated);
        QLineEdit* const switched[5] = {form_->Edit16, form_->Edit19, form_->Edit20, form_->Edit21,
                                        form_->Edit22};
        for (int k = 0; k < 5; ++k) {
            const bool on = enabled[std::min(k, 3)] == QLatin1Char('1');
            QCOMPARE(switched[k]->isEnabled(), on);
            QCOMPARE(form_->labelOf(switched[k])->isEnabled(), on);
        }
        QVERIFY(form_->Edit17->isEnabled());

        // The dialog keeps its values: closed unchanged, the same result.
        if (process == 4) {
            form_->Edit12->clear();
            QVERIFY(calculate());
            QCOMPARE(results(), shown);
        }
    }

    void emptyFieldsAreAskedForInOrder()
    {
        const QStringList order{"请输入室外空气参数！", "请输入室内空气参数！",
                                "请输入室内热湿负荷！", "请输入送风温度或新风量！"};
        for (QLineEdit* e : inputs())
            e->clear();
        // Each press names the first group with an empty field; then that
        // group is filled from the worked case.
        const QList<QList<int>> groups{{0, 1}, {3, 4}, {5, 6}, {7, 8}};
        for (int k = 0; k < order.size(); ++k) {
            calculate();
            QCOMPARE(prompts_->errors, QStringList{order[k]});
            prompts_->errors.clear();
            for (int field : groups[k])
                inputs()[field]->setText(kSummer[field]);
        }
        QVERIFY(results().join(QString()).isEmpty());
        QVERIFY(!form_->result().Calculated);
    }

    void refusalsLeaveEverythingUntouched_data()
    {
        QTest::addColumn<int>("process");
        QTest::addColumn<int>("field"); // index into Edit1..Edit9, -1 for none
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("flows");
        QTest::addColumn<QString>("message"); // contained in the one error shown
        QTest::newRow("empty outdoor") << 1 << 0 << "" << QStringList() << "请输入室外空气参数！";
        QTest::newRow("not a number")
            << 1 << 5 << "abc" << QStringList() << "余热量(kw)：“abc”不是有效的数值";
        QTest::newRow("lone space") << 3 << 8 << " " << QStringList() << "不是有效的数值";
        QTest::newRow("room humidity 160")
            << 1 << 4 << "160" << QStringList() << "相对湿度不能小于0或大于100％！";
        QTest::newRow("supply above room in summer")
            << 1 << 7 << "30" << QStringList() << "送风温度";
        QTest::newRow("ratio above 100") << 1 << 8 << "120" << QStringList() << "新风比";
        QTest::newRow("zero heat") << 2 << 5 << "0" << QStringList() << "余热量";
        QTest::newRow("supply below the machine dew point")
            << 1 << 7 << "17" << QStringList() << "送风温度17.00℃低于机器露点温度17.53℃";
        QTest::newRow("supply beyond the library's range")
            << 4 << 5 << "-500" << QStringList{"3000", "1500", "1000"}
            << "状态点O\"（送风状态）超出湿空气的计算范围";
        QTest::newRow("air-flow dialog incomplete")
            << 4 << -1 << "" << QStringList{"3000", "", "1500"}
            << "请输入二次回风冬季处理过程的风量！";
        QTest::newRow("fresh and primary above total")
            << 4 << -1 << "" << QStringList{"3000", "2000", "1500"} << "总送风量";
        QTest::newRow("air flow not a number")
            << 4 << -1 << "" << QStringList{"3000", "7S0", "1500"} << "“7S0”";
    }
    void refusalsLeaveEverythingUntouched()
    {
        QFETCH(int, process);
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QStringList, flows);
        QFETCH(QString, message);
        computeSummer();
        const QStringList shown = results();
        const TreatmentResult before = form_->result();
        form_->hide();
        form_->show(); // clears Calculated
        QVERIFY(!form_->result().Calculated);

        QTest::mouseClick(radio(process), Qt::LeftButton);
        fill(process == 4 ? kSecondaryWinter : process == 2 ? kWinter : kSummer);
        if (field >= 0)
            inputs()[field]->setText(text);
        calculate(flows);
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY2(prompts_->errors[0].contains(message), qPrintable(prompts_->errors[0]));
        QCOMPARE(results(), shown);
        TreatmentResult expected = before;
        expected.Calculated = false;
        QVERIFY(fieldsOf(form_->result()) == fieldsOf(expected));

        // The report would put the earlier results beside these inputs: refused.
        const QString path =
            dir_.filePath(QString::fromUtf8(QTest::currentDataTag()) + QStringLiteral(".txt"));
        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QCOMPARE(prompts_->errors.size(), 2);
        QCOMPARE(prompts_->errors[1], QString::fromUtf8(TreatmentReportStaleText));
        QCOMPARE(QFileInfo(path).size(), 0);
    }

    // The printed report reads back exactly as the saved block has it, in
    // the print order (title, empty line, rule, values, rule): 一次回风,
    // 送风量 and 新风 with no radical standing for an ideograph.
    void printedReportReadsBackAsDrawn()
    {
        computeSummer();
        const QString path = dir_.filePath(QStringLiteral("treat.txt"));
        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        const QStringList saved = ReadGbkLines(path);
        QCOMPARE(saved.size(), 22);
        const QString pdf = dir_.filePath(QStringLiteral("treat.pdf"));
        prompts_->printAnswers << pdf;
        QTest::mouseClick(form_->Button2, Qt::LeftButton);
        QCOMPARE(prompts_->errors, QStringList());

        const QStringList printed = QStringList{saved[1], saved[2], saved[0]} + saved.mid(3);
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        const auto bare = [](QString s) { return s.remove(blanks); };
        QCOMPARE(bare(PdfRawText(pdf)), bare(printed.join(QString())));
        QCOMPARE(PdfStructureFaults(pdf), QString());
    }

    void reportBlocksFollowTheSelectedProcess()
    {
        computeSummer();
        const QString path = dir_.filePath(QStringLiteral("treat.txt"));
        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        QVERIFY(prompts_->saveDialogs.last().title.isEmpty()); // the system's own title
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QStringList lines = ReadGbkLines(path);
        QCOMPARE(lines.size(), 22);
        QCOMPARE(lines.mid(0, 3), (QStringList{kRule, "  ** 一次回风系统的夏季处理过程 ** ", ""}));
        QCOMPARE(lines.mid(13, 2), (QStringList{" 新风量(kg/h): 1144.73", " 新风比(%): 25.00"}));
        QCOMPARE(lines.mid(18), (QStringList{" 制冷量(kw): 22.46", " 再加热量(kw): 2.68",
                                             " 总加热量(kw): 2.68", kRule}));

        // Another process selected after the calculation: its title and lines,
        // the results still those shown.
        const struct {
            int process;
            int valueLines;
            const char* last;
        } blocks[] = {{3, 17, " 制冷量(kw): 22.46"},
                      {2, 18, " 总加热量(kw): 2.68"},
                      {4, 19, " 总加热量(kw): 2.68"}};
        for (const auto& b : blocks) {
            QTest::mouseClick(radio(b.process), Qt::LeftButton);
            QTest::mouseClick(form_->Button_save, Qt::LeftButton);
            const QStringList block = ReadGbkLines(path).mid(lines.size());
            lines = ReadGbkLines(path);
            QCOMPARE(block.size(), b.valueLines + 4);
            QVERIFY(block[1].contains(radio(b.process)->text()));
            QCOMPARE(block[block.size() - 2], QString::fromUtf8(b.last));
        }

        // A font confirmed is forgotten when the window is shown again.
        prompts_->fontAnswers << QFont(QStringLiteral("Noto Sans CJK SC"));
        QTest::mouseClick(form_->Button3, Qt::LeftButton);
        QVERIFY(form_->report().fontChosen());
        form_->hide();
        form_->show();
        QVERIFY(!form_->report().fontChosen());
    }

    void pressureDialogIsReadAtEveryCalculation()
    {
        QObject context;
        bool modal = false;
        QTimer::singleShot(0, &context, [&] {
            modal = atm_->isVisible() && atm_->isModal();
            atm_->Edit1->setText(QStringLiteral("90000"));
            QTest::mouseClick(atm_->Button_OK, Qt::LeftButton);
        });
        QTest::mouseClick(form_->Button_atm, Qt::LeftButton);
        QVERIFY(modal);
        computeSummer();
        QVERIFY(form_->Edit12->text() != QStringLiteral("4578.91"));
        QCOMPARE(lib_->AtmPressure, 90000.0);

        const QStringList shown = results();
        atm_->Edit1->setText(QStringLiteral("abc"));
        calculate();
        QCOMPARE(prompts_->errors,
                 QStringList{"当地大气压设置中的当地大气压(Pa)：“abc”不是有效的数值"});
        QCOMPARE(results(), shown);
    }

    void helpOpensTopicSix()
    {
        QTest::mouseClick(form_->Button_help, Qt::LeftButton);
        auto* help = form_->findChild<HelpWindow*>();
        QVERIFY(help && help->isVisible());
        const QString text = help->browser()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("机器露点")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("没有找到帮助主题")));
        for (int process = 1; process <= 4; ++process) {
            const QUrl sketch(QStringLiteral("6_process%1.png").arg(process));
            QVERIFY(!help->browser()->loadResource(QTextDocument::ImageResource, sketch).isNull());
        }
    }
};

QTEST_MAIN(TestFormAirTreat)
#include "tst_form_air_treat.moc"
