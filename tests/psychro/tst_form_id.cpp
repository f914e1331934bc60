// The state-point calculator driven through its widgets, headless.
#include "app/HelpWindow.h"
#include "app/ReportPrinter.h"
#include "psychro/Unit_air_id.h"
#include "psychro/Unit_atm.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"

#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

class TestFormId : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<ID_lib> lib_;
    std::unique_ptr<Form_atm> atm_;
    std::unique_ptr<Form_id> form_;
    QTemporaryDir dir_;

    void enter(const QString& first, const QString& second)
    {
        form_->Edit1->clear();
        form_->Edit2->clear();
        QTest::keyClicks(form_->Edit1, first);
        QTest::keyClicks(form_->Edit2, second);
        QTest::mouseClick(form_->Button_cal, Qt::LeftButton);
    }
    QStringList results() const
    {
        QStringList out;
        for (QLineEdit* e : {form_->Edit3, form_->Edit4, form_->Edit5, form_->Edit6, form_->Edit7,
                             form_->Edit8, form_->Edit9, form_->Edit10})
            out << e->text();
        return out;
    }
    static const QStringList at20And50()
    {
        return {"20.00", "13.88", "50.00", "7.26", "38.62", "9.27", "1.20", "1168.54"};
    }

private slots:
    void init()
    {
        prompts_ = std::make_unique<ScriptedPrompts>();
        lib_ = std::make_unique<ID_lib>([this](const std::string& m, ID_lib::MessageKind) {
            prompts_->errors << QString::fromStdString(m);
        });
        atm_ = std::make_unique<Form_atm>();
        form_ = std::make_unique<Form_id>(*lib_, *atm_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup()
    {
        form_.reset();
        atm_.reset();
        prompts_.reset();
    }

    void startsAsDesigned()
    {
        QCOMPARE(form_->windowTitle(), QStringLiteral("湿空气参数计算器 Moiraxa "));
        QCOMPARE(form_->size(), QSize(546, 266));
        QVERIFY(form_->RadioButton1->isChecked());
        QVERIFY(form_->RadioButton7->isChecked());
        QVERIFY(!form_->RadioButton6->isEnabled());
        QVERIFY(!form_->Button_save->isEnabled());
        QVERIFY(form_->Edit1->text().isEmpty());
    }

    void computesDryBulbAndHumidityInEitherOrder()
    {
        QTest::mouseClick(form_->RadioButton8, Qt::LeftButton); // RH second
        enter(QStringLiteral("20"), QStringLiteral("50"));
        QCOMPARE(results(), at20And50());

        // RH first, dry bulb second: the way a user gets there.
        QTest::mouseClick(form_->RadioButton7, Qt::LeftButton);
        QTest::mouseClick(form_->RadioButton3, Qt::LeftButton);
        QTest::mouseClick(form_->RadioButton6, Qt::LeftButton);
        QVERIFY(form_->RadioButton6->isChecked());
        for (QLineEdit* e : {form_->Edit3, form_->Edit4})
            e->clear();
        enter(QStringLiteral("50"), QStringLiteral("20"));
        QCOMPARE(results(), at20And50());
        QVERIFY(prompts_->errors.isEmpty());
    }

    void couplingDisablesWithoutDeselecting()
    {
        QTest::mouseClick(form_->RadioButton5, Qt::LeftButton); // enthalpy first
        QVERIFY(!form_->RadioButton7->isEnabled());
        QVERIFY(!form_->RadioButton10->isEnabled());
        QVERIFY(form_->RadioButton6->isEnabled());
        QVERIFY(form_->RadioButton7->isChecked()); // still selected, though disabled
        // (i, ts) is not offered: the user is asked for input, results stay.
        enter(QStringLiteral("50"), QStringLiteral("20"));
        QCOMPARE(prompts_->takeError(), QStringLiteral("请输入计算参数！"));
        QVERIFY(form_->Edit3->text().isEmpty());

        QTest::mouseClick(form_->RadioButton9, Qt::LeftButton); // d second
        QVERIFY(!form_->RadioButton4->isEnabled());
        QVERIFY(form_->RadioButton2->isEnabled());
    }

    void limitsAndFailuresLeaveResultsUntouched()
    {
        QTest::mouseClick(form_->RadioButton8, Qt::LeftButton);
        enter(QStringLiteral("20"), QStringLiteral("50"));
        enter(QStringLiteral("20"), QStringLiteral("100.01"));
        QCOMPARE(prompts_->takeError(), QStringLiteral("相对湿度不能小于0或大于100％！"));
        QCOMPARE(results(), at20And50());
        enter(QStringLiteral("20"), QStringLiteral("100"));
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(form_->Edit5->text(), QStringLiteral("100.00"));

        enter(QStringLiteral("20"), QString());
        QCOMPARE(prompts_->takeError(), QStringLiteral("请输入计算参数！"));
        enter(QStringLiteral("2o"), QStringLiteral("50"));
        QCOMPARE(prompts_->takeError(), QStringLiteral("第一参数：“2o”不是有效的数值"));
        QCOMPARE(form_->Edit5->text(), QStringLiteral("100.00"));
        QVERIFY(form_->isVisible());
    }

    void enthalpyAndMoistureLimitsDependOnThePair()
    {
        QTest::mouseClick(form_->RadioButton10, Qt::LeftButton); // t, i
        enter(QStringLiteral("40"), QStringLiteral("146"));
        QCOMPARE(prompts_->takeError(), QStringLiteral("焓数据太大或太小！"));
        QTest::mouseClick(form_->RadioButton3, Qt::LeftButton); // RH, i
        enter(QStringLiteral("50"), QStringLiteral("146"));
        QVERIFY(prompts_->errors.isEmpty());

        QTest::mouseClick(form_->RadioButton1, Qt::LeftButton);
        QTest::mouseClick(form_->RadioButton9, Qt::LeftButton); // t, d
        enter(QStringLiteral("40"), QStringLiteral("46"));
        QCOMPARE(prompts_->takeError(), QStringLiteral("含湿量数据太大或太小！"));
        QTest::mouseClick(form_->RadioButton2, Qt::LeftButton); // ts, d
        enter(QStringLiteral("40"), QStringLiteral("46"));
        QVERIFY(!prompts_->errors.contains(QStringLiteral("含湿量太大或太小！")));
    }

    void wetBulbAboveDryBulbWarnsAndShows()
    {
        enter(QStringLiteral("20"), QStringLiteral("25"));
        QCOMPARE(prompts_->errors, QStringList{"湿球温度不能大于干球温度！"});
        QVERIFY(form_->Edit5->text().toDouble() > 100);
    }

    void pressureIsReadAtEveryCalculation()
    {
        QTest::mouseClick(form_->RadioButton8, Qt::LeftButton);
        atm_->Edit1->setText(QStringLiteral("90000"));
        enter(QStringLiteral("20"), QStringLiteral("50"));
        QCOMPARE(form_->Edit6->text(), QStringLiteral("8.18"));
        QCOMPARE(form_->Edit10->text(), QStringLiteral("1168.54"));

        atm_->Edit1->setText(QStringLiteral("0"));
        enter(QStringLiteral("20"), QStringLiteral("60"));
        QCOMPARE(prompts_->takeError(), QStringLiteral("大气压力必须大于0！"));
        atm_->Edit1->setText(QStringLiteral("abc"));
        enter(QStringLiteral("20"), QStringLiteral("60"));
        QCOMPARE(prompts_->takeError(),
                 QStringLiteral("当地大气压设置中的当地大气压(Pa)：“abc”不是有效的数值"));
        QCOMPARE(form_->Edit5->text(), QStringLiteral("50.00"));
    }

    void reportSavesBlocksAndStartsOverOnNew()
    {
        QTest::mouseClick(form_->RadioButton8, Qt::LeftButton);
        enter(QStringLiteral("20"), QStringLiteral("50"));
        const QString path = dir_.filePath(QStringLiteral("state.txt"));
        prompts_->saveAnswers << QString(); // cancelled: nothing changes
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        QVERIFY(!form_->Button_save->isEnabled());

        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        QCOMPARE(prompts_->saveDialogs.last().title, QStringLiteral("新建"));
        QCOMPARE(prompts_->saveDialogs.last().defaultSuffix, QStringLiteral("txt"));
        QVERIFY(form_->Button_save->isEnabled());
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QStringList lines = ReadGbkLines(path);
        QCOMPARE(lines.size(), 18);
        QCOMPARE(lines[0], QStringLiteral(" 干球温度(℃)：     20.00"));
        QCOMPARE(lines[7], QStringLiteral(" 水蒸汽分压力(Pa)：   1168.54"));
        QCOMPARE(lines[9], lines[0]);

        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QCOMPARE(ReadGbkLines(path).size(), 9);

        // "打开" keeps what the file holds.
        prompts_->openAnswers << path;
        QTest::mouseClick(form_->Button_open, Qt::LeftButton);
        QCOMPARE(prompts_->openDialogs.last().title, QStringLiteral("打开文件"));
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QCOMPARE(ReadGbkLines(path).size(), 18);
    }

    void printsInSongTwelveAfterReshow()
    {
        QTest::mouseClick(form_->RadioButton8, Qt::LeftButton);
        enter(QStringLiteral("20"), QStringLiteral("50"));
        QFont big(QStringLiteral("Noto Sans CJK SC"));
        big.setPointSize(30);
        prompts_->fontAnswers << big;
        QTest::mouseClick(form_->Button_font, Qt::LeftButton);
        QVERIFY(form_->report().fontChosen());
        QCOMPARE(form_->report().printFont().pointSize(), 30);

        form_->hide();
        form_->show();
        QVERIFY(!form_->report().fontChosen());
        QCOMPARE(form_->report().printFont().family(), QStringLiteral("宋体"));
        QCOMPARE(form_->report().printFont().pointSize(), 12);

        const QString pdf = dir_.filePath(QStringLiteral("state.pdf"));
        prompts_->printAnswers << pdf;
        QTest::mouseClick(form_->Button_print, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains(Nfkc(QStringLiteral("湿空气状态参数计算结果"))), qPrintable(text));
        // pdftotext loses some digits of the CJK face's text runs, so only
        // runs it reads back reliably are compared.
        QVERIFY2(text.contains(QStringLiteral("13.88")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("38.62")));
        QVERIFY(text.contains(Nfkc(QStringLiteral("干球温度(℃)："))));
        QCOMPARE(text.count(QChar(0x2501)), 34); // the heading's rule and the block's

        prompts_->printAnswers << QString(); // cancel prints nothing
        QTest::mouseClick(form_->Button_print, Qt::LeftButton);
        QCOMPARE(prompts_->printDialogs, 2);
    }

    void longReportFlowsOntoSeveralPages()
    {
        QStringList lines;
        for (int k = 0; k < 200; ++k)
            lines << QStringLiteral("第%1行").arg(k);
        const QString pdf = dir_.filePath(QStringLiteral("long.pdf"));
        AppPrinter().setOutputFormat(QPrinter::PdfFormat);
        AppPrinter().setOutputFileName(pdf);
        PrintLines(AppPrinter(), DefaultReportFont(), lines);
        QVERIFY(PdfPageCount(pdf) >= 3);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(Nfkc(QStringLiteral("第0行"))));
        QVERIFY(text.contains(Nfkc(QStringLiteral("第199行"))));
    }

    void helpOpensTopicFive()
    {
        QTest::mouseClick(form_->Button_help, Qt::LeftButton);
        auto* help = form_->findChild<HelpWindow*>();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("StateFromRH_T")) ||
                help->browser()->toPlainText().contains(QStringLiteral("湿球温度")));
        QVERIFY(!help->browser()->toPlainText().contains(QStringLiteral("没有找到帮助主题")));
    }
};

QTEST_MAIN(TestFormId)
#include "tst_form_id.moc"
