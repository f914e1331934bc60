// The thermal comfort window, driven through its widgets.
#include "app/HelpWindow.h"
#include "comfort/Pmv.h"
#include "comfort/PmvScale.h"
#include "comfort/Unit_PMV.h"
#include "psychro/ID_lib.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"
#include "support/Typing.h"

#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

class TestFormPmv : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<ID_lib> lib_;
    std::unique_ptr<Form_PMV> form_;
    QTemporaryDir dir_;

    static void type(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void enterClimate(const QString& ta, const QString& RH, const QString& va, const QString& tr)
    {
        type(form_->Edit_Ta, ta);
        type(form_->Edit_RH, RH);
        type(form_->Edit_Va, va);
        type(form_->Edit_Tr, tr);
    }
    void chooseActivity(const QString& text)
    {
        // Chinese text arrives from the input method as one committed string.
        form_->ComboBox_M->lineEdit()->clear();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(form_->ComboBox_M->lineEdit(), &commit);
        QCOMPARE(form_->ComboBox_M->currentText(), text);
    }
    void calculate() { QTest::mouseClick(form_->Button_cal, Qt::LeftButton); }
    QStringList results() const { return {form_->Edit_PMV->text(), form_->Edit_PPD->text()}; }
    QImage marker() const
    {
        return form_->Image_marker->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static QImage strip(double pmv)
    {
        return PmvMarkerStrip(pmv).convertToFormat(QImage::Format_RGB32);
    }

    // The saved block for the window's defaults at 22 ℃ (the block's own
    // text is pinned by the core's report test).
    static QStringList defaultsBlock(const QString& ta)
    {
        return PmvSaveLines({.ta = ta,
                             .RH = QStringLiteral("60"),
                             .va = QStringLiteral("0.1"),
                             .tr = QStringLiteral("22"),
                             .M = 70,
                             .W = QStringLiteral("0"),
                             .Icl = QStringLiteral("0.093"),
                             .PMV = QStringLiteral("-0.50"),
                             .PPD = QStringLiteral("10.30")});
    }

private slots:
    void init()
    {
        prompts_ = std::make_unique<ScriptedPrompts>();
        lib_ = std::make_unique<ID_lib>([this](const std::string& m, ID_lib::MessageKind) {
            prompts_->errors << QString::fromStdString(m);
        });
        form_ = std::make_unique<Form_PMV>(*lib_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup()
    {
        form_.reset();
        lib_.reset();
        prompts_.reset();
    }

    void startsAsDesigned()
    {
        QCOMPARE(form_->windowTitle(), QStringLiteral("热舒适指标PMV计算"));
        QCOMPARE(form_->size(), QSize(506, 302));
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        QCOMPARE(form_->font().family(), QStringLiteral("宋体"));
        for (QLineEdit* e : {form_->Edit_Ta, form_->Edit_RH, form_->Edit_Va, form_->Edit_Tr,
                             form_->Edit_PMV, form_->Edit_PPD})
            QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
        QCOMPARE(form_->Edit_W->text(), QStringLiteral("0"));
        QCOMPARE(form_->Edit_Icl->text(), QStringLiteral("0.093"));
        QVERIFY(form_->ComboBox_M->isEditable());
        QCOMPARE(form_->ComboBox_M->currentText(), QStringLiteral("坐着活动"));
        QStringList items;
        for (int k = 0; k < form_->ComboBox_M->count(); ++k)
            items << form_->ComboBox_M->itemText(k);
        QCOMPARE(items, (QStringList{"躺着", "坐着休息", "站着休息", "坐着活动", "站着活动(轻)",
                                     "站着活动(中)", "中等活动(重)"}));

        QStringList groups;
        for (auto* g : form_->findChildren<QGroupBox*>())
            groups << g->title();
        QCOMPARE(groups, (QStringList{"室内环境", "人员", "计算结果", "热感觉标尺"}));
        QStringList captions;
        for (auto* l : form_->findChildren<QLabel*>())
            captions << l->text();
        for (const char* caption :
             {"干球温度(C):", "相对湿度(%):", "空气流速(m/s):", "平均辐射温度(C):",
              "人体能量代谢率(W/m<sup>2</sup>):", "人体所作机械功(W):",
              "衣服热阻(m<sup>2</sup>.K/W):", "预测平均投票值PMV：", "预测不满意百分数PPD:", "+3",
              "+2", "+1", "0", "-1", "-2", "-3", "|", "热", "冷"})
            QVERIFY2(captions.contains(QString::fromUtf8(caption)), caption);
        QStringList buttons;
        for (QPushButton* b :
             {form_->Button_cal, form_->Button_quit, form_->Button_help, form_->Button_new,
              form_->Button_open, form_->Button_save, form_->Button_print, form_->Button_font})
            buttons << b->text();
        QCOMPARE(buttons, (QStringList{"计算(&T)", "退出(&Q)", "帮助(&H)", "新建(&N)", "打开(&O)",
                                       "保存(&S)", "打印(&P)", "字体设置(&F)"}));
        QVERIFY(!form_->Button_save->isEnabled());
        QVERIFY(form_->Button_new->isEnabled() && form_->Button_print->isEnabled());

        QCOMPARE(form_->Image_bar->pixmap().size(), QSize(198, 16));
        QCOMPARE(form_->Image_marker->size(), QSize(198, 17));
        QCOMPARE(marker(), strip(0));
    }

    void worksOutTheDefaultsAndDrawsTheMarker()
    {
        enterClimate("22", "60", "0.1", "22");
        calculate();
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join('\n')));
        QCOMPARE(results(), (QStringList{"-0.50", "10.30"}));
        QCOMPARE(marker(), strip(-0.50335)); // x = 116
        QVERIFY(marker() != strip(0));

        // Lying at the same climate: no sweating loss below 58.15 W/m².
        chooseActivity(QStringLiteral("躺着"));
        calculate();
        QCOMPARE(results(), (QStringList{"-2.61", "95.39"}));

        // Hot surroundings settle too.
        chooseActivity(QStringLiteral("坐着活动"));
        enterClimate("36", "50", "0.1", "36");
        calculate();
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(results(), (QStringList{"3.47", "99.95"}));
        QCOMPARE(marker(), strip(3.47)); // beyond +3: off the strip
        QCOMPARE(marker(), strip(10));
    }

    // The activity typed key by key is the activity computed: a beginning of
    // a listed one is not completed to it.
    void typedActivityIsComputedAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("outcome"); // PMV, or the refusal
        QTest::newRow("listed") << "躺着"
                                << "-2.61";
        QTest::newRow("default") << "坐着活动"
                                 << "-0.50";
        QTest::newRow("beginning of two") << "坐着"
                                          << "人体能量代谢率必须大于0！";
        QTest::newRow("beginning of one") << "站着活动"
                                          << "人体能量代谢率必须大于0！";
    }
    void typedActivityIsComputedAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, outcome);
        enterClimate("22", "60", "0.1", "22");
        TypeIntoComboBox(form_->ComboBox_M, typed);
        QCOMPARE(form_->ComboBox_M->currentText(), typed);
        calculate();
        QCOMPARE(form_->ComboBox_M->currentText(), typed);
        // Enter in the field computes too.
        if (outcome.front().isDigit() || outcome.front() == '-') {
            QCOMPARE(form_->Edit_PMV->text(), outcome);
            QVERIFY(prompts_->errors.isEmpty());
        } else {
            QVERIFY(!prompts_->errors.isEmpty());
            QCOMPARE(prompts_->errors, QStringList(prompts_->errors.size(), outcome));
        }
    }

    void refusedInputLeavesTheResults()
    {
        enterClimate("22", "60", "0.1", "22");
        calculate();
        const QStringList before = results();

        for (const char* humidity : {"-0.5", "100.5"}) {
            type(form_->Edit_RH, humidity);
            calculate();
            QCOMPARE(prompts_->takeError(), QStringLiteral("相对湿度不能小于0或大于100％！"));
            QCOMPARE(results(), before);
        }
        type(form_->Edit_RH, "60");

        type(form_->Edit_Va, "0");
        calculate();
        QCOMPARE(prompts_->takeError(), QStringLiteral("空气流速必须大于0！"));
        QCOMPARE(results(), before);

        type(form_->Edit_Va, "0.1");
        type(form_->Edit_Icl, "-0.01");
        calculate();
        QCOMPARE(prompts_->takeError(), QStringLiteral("衣服热阻不能小于0！"));
        QCOMPARE(results(), before);

        // A typed activity outside the list has no metabolic rate.
        type(form_->Edit_Icl, "0.093");
        chooseActivity(QStringLiteral("跑步"));
        calculate();
        QCOMPARE(prompts_->takeError(), QStringLiteral("人体能量代谢率必须大于0！"));
        QCOMPARE(results(), before);

        // Empty and non-numeric fields: the general box with the conversion error.
        chooseActivity(QStringLiteral("坐着活动"));
        form_->Edit_Tr->clear();
        calculate();
        QCOMPARE(prompts_->takeError(), QStringLiteral("平均辐射温度(C)：“”不是有效的数值"));
        type(form_->Edit_Tr, "22");
        type(form_->Edit_W, "0,5");
        calculate();
        QCOMPARE(prompts_->takeError(), QStringLiteral("人体所作机械功(W)：“0,5”不是有效的数值"));
        QCOMPARE(results(), before);
        QVERIFY(prompts_->errors.isEmpty());
    }

    void failureShowsThePreviousResultsAgain()
    {
        enterClimate("22", "60", "0.1", "22");
        calculate();
        // Values far beyond any climate in each field: the balance has no
        // finite solution, or the moist-air library cannot complete the room
        // state (its own messages, then no vote); the previous results come back.
        const QString noVapourPressure = QStringLiteral("所给的水蒸汽分压力值超出计算范围！");
        for (QLineEdit* field : {form_->Edit_Ta, form_->Edit_Tr, form_->Edit_W, form_->Edit_Icl}) {
            for (const char* absurd : {"200", "1e300", "-1e300"}) {
                if (field == form_->Edit_Icl && absurd[0] == '-')
                    continue; // refused before calculating
                if (field != form_->Edit_Ta && absurd[0] == '2')
                    continue; // a hot wall or a heavy coat still has a vote
                const QString kept = field->text();
                form_->Edit_PMV->setText(QStringLiteral("x"));
                type(field, absurd);
                calculate();
                QVERIFY2(!prompts_->errors.isEmpty(), qPrintable(field->objectName()));
                const bool roomState = field == form_->Edit_Ta && absurd[0] != '-';
                QCOMPARE(prompts_->errors.last(),
                         roomState ? noVapourPressure : QStringLiteral("计算失败！"));
                prompts_->errors.clear();
                QCOMPARE(results(), (QStringList{"-0.50", "10.30"}));
                QCOMPARE(marker(), strip(-0.50335));
                type(field, kept);
            }
        }
    }

    void showingResetsMarkerAndFont()
    {
        enterClimate("27", "60", "0.1", "27");
        calculate();
        QVERIFY(marker() != strip(0));
        prompts_->fontAnswers << QFont(QStringLiteral("Noto Sans CJK SC"), 20);
        QTest::mouseClick(form_->Button_font, Qt::LeftButton);
        QCOMPARE(prompts_->lastFontOffered.family(), QStringLiteral("MS Sans Serif"));
        QVERIFY(form_->reports().fontChosen());

        QTest::mouseClick(form_->Button_quit, Qt::LeftButton);
        QVERIFY(!form_->isVisible());
        form_->show();
        QVERIFY(!form_->reports().fontChosen());
        QCOMPARE(form_->reports().printFont().family(), QStringLiteral("宋体"));
        QCOMPARE(marker(), strip(0));
        // Fields and results stay between showings.
        QCOMPARE(form_->Edit_Ta->text(), QStringLiteral("27"));
        QVERIFY(!form_->Edit_PMV->text().isEmpty());
    }

    void savesReportBlocks()
    {
        const QString path = dir_.filePath(QStringLiteral("comfort.txt"));
        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        QCOMPARE(prompts_->saveDialogs.size(), 1);
        QCOMPARE(prompts_->saveDialogs[0].title, QStringLiteral("新建"));
        QCOMPARE(prompts_->saveDialogs[0].filter, QStringLiteral("(*.txt)"));
        QCOMPARE(prompts_->saveDialogs[0].defaultSuffix, QStringLiteral("txt"));
        QVERIFY(form_->Button_save->isEnabled());

        enterClimate("22", "60", "0.1", "22");
        calculate();
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        // Field texts as typed: the air temperature written "22.0" stays so.
        type(form_->Edit_Ta, "22.0");
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QVERIFY(prompts_->errors.isEmpty());
        QCOMPARE(ReadGbkLines(path), defaultsBlock("22") + defaultsBlock("22.0"));

        // "打开(&O)" appends to what the file holds; "新建(&N)" starts it afresh.
        prompts_->openAnswers << path;
        QTest::mouseClick(form_->Button_open, Qt::LeftButton);
        QCOMPARE(prompts_->openDialogs[0].title, QStringLiteral("打开文件"));
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QCOMPARE(ReadGbkLines(path).size(), 3 * 13);
        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        QCOMPARE(ReadGbkLines(path), defaultsBlock("22.0"));
    }

    void reportNamesTheLastCalculationsRate()
    {
        const QString path = dir_.filePath(QStringLiteral("rate.txt"));
        prompts_->saveAnswers << path;
        QTest::mouseClick(form_->Button_new, Qt::LeftButton);
        enterClimate("22", "60", "0.1", "22");
        chooseActivity(QStringLiteral("站着活动(中)"));
        calculate();
        chooseActivity(QStringLiteral("躺着")); // chosen, not yet calculated
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        // A refused calculation computes nothing, the rate included.
        chooseActivity(QStringLiteral("跑步"));
        calculate();
        QCOMPARE(prompts_->takeError(), QStringLiteral("人体能量代谢率必须大于0！"));
        QTest::mouseClick(form_->Button_save, Qt::LeftButton);
        const QStringList saved = ReadGbkLines(path);
        QCOMPARE(saved.size(), 2 * 13);
        QCOMPARE(saved.value(7), QStringLiteral(" 人体能量代谢率(W/m2)：116.00"));
        QCOMPARE(saved.value(13 + 7), QStringLiteral(" 人体能量代谢率(W/m2)：116.00"));
    }

    static QStringList printedLines(const QString& pdf)
    {
        QStringList printed;
        for (const QString& line : PdfText(pdf).split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                printed << line.trimmed();
        return printed;
    }

    void printsHeadingAndBlock()
    {
        enterClimate("22", "60", "0.1", "22");
        calculate();
        const QStringList expected{
            Nfkc(QStringLiteral("热舒适指标PMV值计算结果")),
            QStringLiteral("======================="),
            Nfkc(QStringLiteral("室内干球温度(℃)：22")),
            Nfkc(QStringLiteral("室内相对湿度(%)：60")),
            Nfkc(QStringLiteral("室内空气流速(m/s)：0.1")),
            Nfkc(QStringLiteral("室内壁面平均辐射温度(℃)：22")),
            Nfkc(QStringLiteral("人体能量代谢率(W/m2)：70.00")),
            Nfkc(QStringLiteral("人体所作机械功(W)：0")),
            Nfkc(QStringLiteral("衣服热阻(m2.K/W)：0.093")),
            Nfkc(QStringLiteral("预测平均投票值：-0.50")),
            Nfkc(QStringLiteral("预测不满意百分数(％)：10.30")),
            QStringLiteral("━━━━━━━━━━━━━━━━"),
        };

        // In the default "宋体" pdftotext cannot read back the digits that
        // follow Latin text (the CJK face's Latin-shaped figures carry no
        // Unicode mapping), so only the other lines are compared.
        const QString song = dir_.filePath(QStringLiteral("song.pdf"));
        prompts_->printAnswers << song;
        QTest::mouseClick(form_->Button_print, Qt::LeftButton);
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join('\n')));
        const QStringList inSong = printedLines(song);
        QCOMPARE(inSong.size(), expected.size());
        for (int k : {0, 1, 2, 3, 5, 9, 10, 11})
            QCOMPARE(inSong[k], expected[k]);

        // With a Latin face chosen for the report every line reads back.
        QFont latin(QStringLiteral("DejaVu Sans"));
        latin.setPointSize(12);
        prompts_->fontAnswers << latin;
        QTest::mouseClick(form_->Button_font, Qt::LeftButton);
        const QString chosen = dir_.filePath(QStringLiteral("chosen.pdf"));
        prompts_->printAnswers << chosen;
        QTest::mouseClick(form_->Button_print, Qt::LeftButton);
        QCOMPARE(printedLines(chosen), expected);

        prompts_->printAnswers << QString(); // cancelled: nothing printed
        QTest::mouseClick(form_->Button_print, Qt::LeftButton);
        QCOMPARE(prompts_->printDialogs, 3);
    }

    void helpOpensTopicTwelve()
    {
        QTest::mouseClick(form_->Button_help, Qt::LeftButton);
        auto* help = form_->findChild<HelpWindow*>();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        const QString text = help->browser()->toPlainText();
        QVERIFY(!text.contains(QStringLiteral("没有找到帮助主题")));
        QVERIFY(text.contains(QStringLiteral("预测平均投票值")));
        QVERIFY(text.contains(QStringLiteral("PMV = −0.50")));
    }
};

QTEST_MAIN(TestFormPmv)
#include "tst_form_pmv.moc"
