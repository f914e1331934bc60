// The unit converter window, driven through its widgets.
#include "convert/Unit_BH.h"
#include "support/ScriptedPrompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

class TestFormUnit : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<Form_unit> form_;

    void showPage(const QString& title)
    {
        for (int k = 0; k < form_->PageControl1->count(); ++k)
            if (form_->PageControl1->tabText(k) == title)
                form_->PageControl1->setCurrentIndex(k);
        QCOMPARE(form_->PageControl1->tabText(form_->PageControl1->currentIndex()), title);
    }
    static void type(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    static void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // A radio button answers to clicks on its indicator and caption only.
    static void choose(QRadioButton* radio)
    {
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
        QVERIFY2(radio->isChecked(), qPrintable(radio->objectName()));
    }
    static QStringList texts(std::initializer_list<QLineEdit*> edits)
    {
        QStringList out;
        for (QLineEdit* e : edits)
            out << e->text();
        return out;
    }
    QStringList pressure() const
    {
        return texts({form_->Edit1, form_->Edit2, form_->Edit3, form_->Edit4, form_->Edit5,
                      form_->Edit6, form_->Edit7, form_->Edit8, form_->Edit9});
    }
    QStringList power() const
    {
        return texts({form_->Edit11, form_->Edit12, form_->Edit13, form_->Edit14, form_->Edit15,
                      form_->Edit16, form_->Edit17});
    }

private slots:
    void init()
    {
        prompts_ = std::make_unique<ScriptedPrompts>();
        form_ = std::make_unique<Form_unit>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup()
    {
        form_.reset();
        prompts_.reset();
    }

    void startsOnThePowerPage()
    {
        QCOMPARE(form_->windowTitle(), QStringLiteral("常用单位换算器"));
        QCOMPARE(form_->size(), QSize(444, 262));
        QCOMPARE(form_->minimumSize(), form_->maximumSize());
        QCOMPARE(form_->font().family(), QStringLiteral("宋体"));
        QCOMPARE(form_->font().pixelSize(), 12);
        QStringList tabs;
        for (int k = 0; k < form_->PageControl1->count(); ++k)
            tabs << form_->PageControl1->tabText(k);
        QCOMPARE(tabs, (QStringList{"长度", "质量", "压力", "功率", "能量", "密度"}));
        QCOMPARE(form_->PageControl1->currentIndex(), 3);
        QVERIFY(form_->Edit10->isVisible());

        // The first unit of every page is selected; results are read-only.
        for (QRadioButton* first :
             {form_->RadioButton17, form_->RadioButton22, form_->RadioButton1, form_->RadioButton10,
              form_->RadioButton26, form_->RadioButton35})
            QVERIFY2(first->isChecked(), qPrintable(first->objectName()));
        QVERIFY(!form_->RadioButton2->isChecked());
        for (QLineEdit* result : {form_->Edit1, form_->Edit11, form_->Edit19, form_->Edit42})
            QVERIFY(result->isReadOnly());
        QVERIFY(!form_->Edit0->isReadOnly());

        // Every page's buttons are captioned alike.
        for (QPushButton* b : {form_->Button_L_c, form_->Button_M_c, form_->Button_p_cal,
                               form_->Button_N_c, form_->Button1, form_->Button_MD_cal})
            QCOMPARE(b->text(), QStringLiteral("计算"));
        for (QPushButton* b : {form_->Button_L_clear, form_->Button2, form_->Button_MD_clear})
            QCOMPARE(b->text(), QStringLiteral("清空"));
        for (QPushButton* b : {form_->Button_L_quit, form_->Button3, form_->Button_MD_quit})
            QCOMPARE(b->text(), QStringLiteral("退出"));
        QCOMPARE(form_->Button_p_eq->text(), QStringLiteral("="));

        // Captions with raised and lowered small labels.
        QStringList captions;
        for (auto* label : form_->findChildren<QLabel*>())
            captions << label->text();
        for (const char* caption : {"kgf/cm<sup>2</sup>", "mmH<sub>2</sub>O", "inH<sub>2</sub>O",
                                    "lbf/in<sup>2</sup>", "kg/m<sup>3</sup>", "lb/in<sup>3</sup>",
                                    "lb/ft<sup>3</sup>", "U.S.RT", "kW.h", "mile"})
            QVERIFY2(captions.contains(QString::fromUtf8(caption)), caption);
    }

    void oneAtmosphereInEveryPressureUnit()
    {
        showPage(QStringLiteral("压力"));
        type(form_->Edit0, QStringLiteral("1"));
        choose(form_->RadioButton8); // atm
        click(form_->Button_p_cal);
        QVERIFY(prompts_->errors.isEmpty());
        const QStringList atm = pressure();
        QCOMPARE(atm[0], QStringLiteral("101325.0000"));
        QCOMPARE(atm[1], QStringLiteral("0.1013"));
        QCOMPARE(atm[2], QStringLiteral("1.0332"));
        QCOMPARE(atm[4], QStringLiteral("760.0021"));
        QCOMPARE(atm[7], QStringLiteral("1.0000"));
        // The input and the choice stay as they were.
        QCOMPARE(form_->Edit0->text(), QStringLiteral("1"));
        QVERIFY(form_->RadioButton8->isChecked());

        // "=" does what "计算" does.
        for (QLineEdit* e : {form_->Edit1, form_->Edit5})
            e->clear();
        click(form_->Button_p_eq);
        QCOMPARE(pressure(), atm);
    }

    void valueInItsOwnUnitComesBack()
    {
        showPage(QStringLiteral("压力"));
        type(form_->Edit0, QStringLiteral("100000"));
        choose(form_->RadioButton5); // mmHg
        click(form_->Button_p_cal);
        QCOMPARE(form_->Edit5->text(), QStringLiteral("100000.0000"));
        type(form_->Edit0, QStringLiteral("1000000"));
        choose(form_->RadioButton4); // mmH2O
        click(form_->Button_p_eq);
        QCOMPARE(form_->Edit4->text(), QStringLiteral("1000000.0000"));
    }

    void examplesOnTheOtherPages()
    {
        showPage(QStringLiteral("长度"));
        type(form_->Edit18, QStringLiteral("1"));
        choose(form_->RadioButton21); // mile
        click(form_->Button_L_c);
        QCOMPARE(form_->Edit19->text(), QStringLiteral("1609.3440"));

        showPage(QStringLiteral("质量"));
        type(form_->Edit24, QStringLiteral("1"));
        choose(form_->RadioButton24); // lb
        click(form_->Button_M_c);
        QCOMPARE(texts({form_->Edit25, form_->Edit26}), (QStringList{"453.6000", "0.4536"}));

        showPage(QStringLiteral("功率"));
        type(form_->Edit10, QStringLiteral("1"));
        choose(form_->RadioButton16); // U.S.RT
        click(form_->Button_N_c);
        QCOMPARE(power().mid(1, 3), (QStringList{"3.5169", "3023.9983", "11999.0106"}));

        showPage(QStringLiteral("能量"));
        type(form_->Edit29, QStringLiteral("-2"));
        choose(form_->RadioButton27); // kW.h
        click(form_->Button1);
        QCOMPARE(form_->Edit30->text(), QStringLiteral("-7200000.0000"));

        showPage(QStringLiteral("密度"));
        type(form_->Edit39, QStringLiteral("1000"));
        click(form_->Button_MD_eq); // kg/m3, the first unit
        QCOMPARE(texts({form_->Edit40, form_->Edit42}), (QStringList{"1000.0000", "62.4278"}));
        QVERIFY(prompts_->errors.isEmpty());
    }

    void everyPagesButtonsWorkOnTheirOwnPage()
    {
        struct Page {
            QLineEdit* input;
            QPushButton *equal, *cal, *clear;
        };
        const Page pages[] = {
            {form_->Edit18, form_->Button_L_eq, form_->Button_L_c, form_->Button_L_clear},
            {form_->Edit24, form_->Button_M_eq, form_->Button_M_c, form_->Button_M_clear},
            {form_->Edit0, form_->Button_p_eq, form_->Button_p_cal, form_->Button_p_clear},
            {form_->Edit10, form_->Button_N_eq, form_->Button_N_c, form_->Button_N_clear},
            {form_->Edit29, form_->Button_E_eq, form_->Button1, form_->Button2},
            {form_->Edit39, form_->Button_MD_eq, form_->Button_MD_cal, form_->Button_MD_clear},
        };
        // A page's input and results; the first unit is selected on every
        // page, so the first result repeats the input.
        const auto fieldsOf = [](const Page& p) {
            QStringList texts;
            for (QLineEdit* e : p.input->parentWidget()->findChildren<QLineEdit*>())
                texts << e->text();
            return texts;
        };
        const auto others = [&](int k) {
            QList<QStringList> texts;
            for (int j = 0; j < 6; ++j)
                if (j != k)
                    texts << fieldsOf(pages[j]);
            return texts;
        };
        // "计算", then "=" doing the same with another value.
        const std::pair<QPushButton * Page::*, QString> presses[] = {{&Page::cal, "1"},
                                                                     {&Page::equal, "2"}};
        for (const auto& [button, value] : presses) {
            for (int k = 0; k < 6; ++k) {
                form_->PageControl1->setCurrentIndex(k);
                type(pages[k].input, value);
                const auto before = others(k);
                click(pages[k].*button);
                QCOMPARE(fieldsOf(pages[k]).value(1), value + QStringLiteral(".0000"));
                QCOMPARE(others(k), before);
            }
        }
        // "清空" empties its own page and nothing else.
        for (int k = 0; k < 6; ++k) {
            form_->PageControl1->setCurrentIndex(k);
            const auto before = others(k);
            click(pages[k].clear);
            const QStringList cleared = fieldsOf(pages[k]);
            QVERIFY(cleared.size() >= 4);
            for (const QString& text : cleared)
                QVERIFY2(text.isEmpty(), qPrintable(pages[k].clear->objectName()));
            QCOMPARE(others(k), before);
        }
        QVERIFY(prompts_->errors.isEmpty());
    }

    void refusedInputWritesNothing()
    {
        showPage(QStringLiteral("压力"));
        type(form_->Edit0, QStringLiteral("2"));
        click(form_->Button_p_cal);
        const QStringList before = pressure();

        form_->Edit0->clear();
        click(form_->Button_p_cal);
        QCOMPARE(prompts_->errors, QStringList{QStringLiteral("请输入要换算的数据")});
        QCOMPARE(pressure(), before);

        prompts_->errors.clear();
        type(form_->Edit0, QStringLiteral("1.5e"));
        click(form_->Button_p_eq);
        QCOMPARE(prompts_->errors, QStringList{QStringLiteral("压力：“1.5e”不是有效的数值")});
        QCOMPARE(pressure(), before);

        // Results beyond the double range: refused before any is written.
        prompts_->errors.clear();
        showPage(QStringLiteral("密度"));
        type(form_->Edit39, QStringLiteral("1"));
        click(form_->Button_MD_cal);
        const QStringList density = texts({form_->Edit40, form_->Edit41, form_->Edit42});
        type(form_->Edit39, QStringLiteral("1e308"));
        choose(form_->RadioButton36); // lb/in3
        click(form_->Button_MD_cal);
        QCOMPARE(prompts_->errors, QStringList{QStringLiteral("换算结果超出数值范围！")});
        QCOMPARE(texts({form_->Edit40, form_->Edit41, form_->Edit42}), density);
    }

    void quitKeepsEverythingForTheNextOpening()
    {
        showPage(QStringLiteral("质量"));
        type(form_->Edit24, QStringLiteral("5"));
        choose(form_->RadioButton25); // t
        click(form_->Button_M_c);
        click(form_->Button_M_quit);
        QVERIFY(!form_->isVisible());
        form_->show();
        QCOMPARE(form_->PageControl1->tabText(form_->PageControl1->currentIndex()),
                 QStringLiteral("质量"));
        QCOMPARE(form_->Edit24->text(), QStringLiteral("5"));
        QVERIFY(form_->RadioButton25->isChecked());
        QCOMPARE(form_->Edit26->text(), QStringLiteral("5000.0000"));

        // Every page's quit button closes the window.
        for (QPushButton* quit : {form_->Button_L_quit, form_->Button_p_quit, form_->Button_N_quit,
                                  form_->Button3, form_->Button_MD_quit}) {
            form_->show();
            form_->PageControl1->setCurrentWidget(quit->parentWidget());
            click(quit);
            QVERIFY2(!form_->isVisible(), qPrintable(quit->objectName()));
        }
    }
};

QTEST_MAIN(TestFormUnit)
#include "tst_form_unit.moc"
