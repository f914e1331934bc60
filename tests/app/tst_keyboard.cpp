// The keyboard across the program's windows, headless: Enter in a field runs
// the window's main action or confirms its dialog, Tab walks the input fields
// in reading order past the read-only results, and every destructive question
// has 否 as its default answer.
#include "airtreat/Unit_Air_treat.h"
#include "airtreat/Unit_G.h"
#include "app/DataDir.h"
#include "chart/Unit_ID_Graphics.h"
#include "comfort/Unit_PMV.h"
#include "convert/Unit_BH.h"
#include "duct/Unit_Adv.h"
#include "duct/Unit_ZL_Duct.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_JZ_Set.h"
#include "pipe/Unit_Pipe_Set.h"
#include "pipe/Unit_ZL_pipe.h"
#include "pipe/Unit_pipe_DN.h"
#include "psychro/Unit_air_id.h"
#include "psychro/Unit_atm.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "support/ScriptedPrompts.h"
#include "support/Typing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace
{

// Fields typed as "objectName=text"; a name alone is a button or radio clicked.
void Fill(QDialog* window, const QStringList& steps)
{
    for (const QString& step : steps) {
        const QString name = step.section(QLatin1Char('='), 0, 0);
        auto* w = window->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        if (!step.contains(QLatin1Char('='))) {
            QTest::mouseClick(w, Qt::LeftButton);
            continue;
        }
        const QString text = step.section(QLatin1Char('='), 1);
        if (auto* box = qobject_cast<QComboBox*>(w)) {
            box->lineEdit()->clear();
            TypeKeys(box, text);
        } else {
            static_cast<QLineEdit*>(w)->clear();
            TypeKeys(w, text);
        }
    }
}

void PressEnterIn(QDialog* window, const QString& name)
{
    auto* w = window->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    w->setFocus();
    QCOMPARE(window->focusWidget(), w);
    QTest::keyClick(w, Qt::Key_Return);
}

QString TextOf(QDialog* window, const char* name)
{
    auto* w = window->findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* box = qobject_cast<QComboBox*>(w))
        return box->currentText();
    auto* edit = qobject_cast<QLineEdit*>(w);
    return edit ? edit->text() : QStringLiteral("<none>");
}

int ListCount(QDialog* window, const char* name)
{
    auto* list = window->findChild<QListWidget*>(QString::fromLatin1(name));
    return list ? list->count() : -1;
}

const QString kPipeType = QStringLiteral("焊接钢管(GB3092)");

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<AppWindows> windows_;

    void show(QDialog* window)
    {
        window->open(); // modal, as the program shows it, without blocking
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

private slots:
    void initTestCase() { RegisterDataSeeds(); }
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        DataDir::setOverride(dir_->path());
        DataDir::ensure();
        prompts_ = std::make_unique<ScriptedPrompts>();
        windows_ = std::make_unique<AppWindows>();
    }
    void cleanup()
    {
        windows_.reset();
        prompts_.reset();
        DataDir::setOverride(QString());
        dir_.reset();
    }

    void enterRunsTheMainAction()
    {
        AppWindows& w = *windows_;
        struct Case {
            const char* name;
            QDialog* window;
            QStringList typed;
            const char* enterIn;
            std::function<bool()> done;
        };
        const auto hidden = [](QDialog* d) {
            return [d] { return !d->isVisible() && d->result() == QDialog::Accepted; };
        };
        const Case cases[] = {
            {"state point",
             static_cast<QDialog*>(w.id),
             {"RadioButton8", "Edit1=20", "Edit2=50"},
             "Edit2",
             [&] { return TextOf(static_cast<QDialog*>(w.id), "Edit4") == "13.88"; }},
            {"air treatment",
             static_cast<QDialog*>(w.airTreat),
             {"Edit1=34", "Edit2=28", "Edit4=26", "Edit5=60", "Edit6=10", "Edit7=3", "Edit8=20"},
             "Edit8",
             [&] { return !TextOf(static_cast<QDialog*>(w.airTreat), "Edit10").isEmpty(); }},
            {"chart: the point's name",
             static_cast<QDialog*>(w.chart),
             {"Edit_name=A"},
             "Edit_name",
             [&] { return w.chart->toolStep() == 2; }},
            {"water pipe, Enter in the size drop-down",
             static_cast<QDialog*>(w.pipe),
             {"Edit_pipe_No=1", "Edit_G=1.0", "RadioButton_DN", "ComboBox_DN=32", "Edit_L=10",
              "Edit_JZ_n=0"},
             "ComboBox_DN",
             [&] {
                 return ListCount(static_cast<QDialog*>(w.pipe), "ListBox_pipe") == 1 &&
                        TextOf(static_cast<QDialog*>(w.pipe), "ComboBox_DN") == "32";
             }},
            {"air duct",
             static_cast<QDialog*>(w.duct),
             {"Edit_duct_No=1", "Edit_G=1000", "ComboBox_W=320", "ComboBox_H=200", "Edit_L=10",
              "Edit_JZ_K=0", "Edit_JZ_n=0"},
             "Edit_L",
             [&] { return ListCount(static_cast<QDialog*>(w.duct), "ListBox_pipe") == 1; }},
            {"PMV",
             static_cast<QDialog*>(w.pmv),
             {"Edit_Ta=22", "Edit_RH=60", "Edit_Va=0.1", "Edit_Tr=22"},
             "Edit_Tr",
             [&] { return TextOf(static_cast<QDialog*>(w.pmv), "Edit_PMV") == "-0.50"; }},
            {"unit conversion, the page shown",
             static_cast<QDialog*>(w.unit),
             {},
             nullptr,
             nullptr},
            {"local pressure",
             static_cast<QDialog*>(w.atm),
             {"Edit1=90000"},
             "Edit1",
             hidden(static_cast<QDialog*>(w.atm))},
            {"automatic size",
             static_cast<QDialog*>(w.pipeSizeSetting),
             {"Edit1=150"},
             "Edit1",
             hidden(static_cast<QDialog*>(w.pipeSizeSetting))},
            {"air flows",
             static_cast<QDialog*>(w.airFlows),
             {"Edit1=1000", "Edit2=200", "Edit3=300"},
             "Edit2",
             hidden(static_cast<QDialog*>(w.airFlows))},
            {"pipe size",
             static_cast<QDialog*>(w.pipeSize),
             {"Edit_DN=25", "Edit_De=33.5", "Edit_E=3.25"},
             "Edit_DN",
             hidden(static_cast<QDialog*>(w.pipeSize))},
            {"advanced duct settings",
             static_cast<QDialog*>(w.ductAdvanced),
             {"Edit_K=0.2"},
             "Edit_K",
             hidden(static_cast<QDialog*>(w.ductAdvanced))},
            {"pipe type editor",
             static_cast<QDialog*>(w.pipeTypes),
             {"Button_add", "Edit_name=新管", "Edit_K=0.2"},
             "Edit_K",
             [&] { return ListCount(static_cast<QDialog*>(w.pipeTypes), "ListBox_pipe_ty") == 7; }},
            {"coefficient editor",
             static_cast<QDialog*>(w.pipeCoefficients),
             {"Button_add", "Edit_name=新阀", "Edit_DN15=1", "Edit_DN20=1", "Edit_DN25=1",
              "Edit_DN32=1", "Edit_DN40=1", "Edit_DN50=1"},
             "Edit_DN50",
             [&] {
                 return ListCount(static_cast<QDialog*>(w.pipeCoefficients), "ListBox_Valve") == 17;
             }},
        };
        for (const Case& c : cases) {
            show(c.window);
            if (c.window == static_cast<QDialog*>(w.pipe))
                w.pipe->ComboBox_pipe->setCurrentIndex(w.pipe->ComboBox_pipe->findText(kPipeType));
            if (c.window == static_cast<QDialog*>(w.unit)) {
                // Each page calculates its own field.
                for (int page = 0; page < w.unit->PageControl1->count(); ++page) {
                    w.unit->PageControl1->setCurrentIndex(page);
                    QWidget* sheet = w.unit->PageControl1->currentWidget();
                    auto* input = sheet->findChildren<QLineEdit*>().first();
                    input->clear();
                    TypeKeys(input, QStringLiteral("1"));
                    input->setFocus();
                    QTest::keyClick(input, Qt::Key_Return);
                    QVERIFY2(!sheet->findChildren<QLineEdit*>().at(1)->text().isEmpty(),
                             qPrintable(w.unit->PageControl1->tabText(page)));
                }
            } else {
                Fill(c.window, c.typed);
                PressEnterIn(c.window, QString::fromLatin1(c.enterIn));
                QVERIFY2(c.done(), qPrintable(QString::fromUtf8(c.name) +
                                              prompts_->errors.join(QLatin1Char('|'))));
            }
            QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join('|')));
            c.window->hide();
        }
    }

    // Enter on a button presses that button; in a list it stays in the list;
    // Esc leaves an editor without storing what it holds.
    void enterOnAButtonOrListAndEsc()
    {
        QDialog* pipe = windows_->pipe;
        show(pipe);
        Fill(pipe, {"Edit_pipe_No=1", "Edit_G=1.0", "Edit_L=10"});
        PressEnterIn(pipe, "ListBox_pipe");
        QCOMPARE(ListCount(pipe, "ListBox_pipe"), 0);
        QVERIFY(prompts_->errors.isEmpty());
        PressEnterIn(pipe, "Button_quit");
        QVERIFY(!pipe->isVisible());

        QDialog* types = windows_->pipeTypes;
        show(types);
        Fill(types, {"Button_add", "Edit_name=新管", "Edit_K=0.2"});
        QTest::keyClick(types->focusWidget(), Qt::Key_Escape);
        QVERIFY(!types->isVisible());
        show(types);
        QCOMPARE(ListCount(types, "ListBox_pipe_ty"), 6);
    }

    void tabWalksTheInputFieldsInReadingOrder_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("fields"); // the enabled ones, from the first
        QTest::newRow("state point") << "Form_id" << QStringList{"Edit1", "Edit2"};
        QTest::newRow("air treatment")
            << "Form_Air_treat"
            << QStringList{"Edit1", "Edit2", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"};
        QTest::newRow("water pipe")
            << "Form_ZL_pipe"
            << QStringList{"Edit_pipe_No",  "Edit_L",  "Edit_G",  "ComboBox_JZ_Ty", "Edit_JZ_n",
                           "ComboBox_pipe", "Edit_T1", "Edit_T2", "Edit_FileName"};
        QTest::newRow("PMV") << "Form_PMV"
                             << QStringList{"Edit_Ta",    "Edit_RH", "Edit_Va", "Edit_Tr",
                                            "ComboBox_M", "Edit_W",  "Edit_Icl"};
        QTest::newRow("pipe size") << "Form_pipe_DN" << QStringList{"Edit_DN", "Edit_De", "Edit_E"};
    }
    void tabWalksTheInputFieldsInReadingOrder()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, fields);
        QDialog* form = nullptr;
        for (QDialog* d :
             {static_cast<QDialog*>(windows_->id), static_cast<QDialog*>(windows_->airTreat),
              static_cast<QDialog*>(windows_->pipe), static_cast<QDialog*>(windows_->pmv),
              static_cast<QDialog*>(windows_->pipeSize)})
            if (d->objectName() == window || d->metaObject()->className() == window)
                form = d;
        QVERIFY(form);
        show(form);
        QWidget* first = form->findChild<QWidget*>(fields.first());
        first->setFocus();
        QStringList visited{fields.first()};
        for (int press = 0; press < 80; ++press) {
            QTest::keyClick(form->focusWidget(), Qt::Key_Tab);
            QWidget* now = form->focusWidget();
            if (now == first)
                break;
            if (auto* edit = qobject_cast<QLineEdit*>(now))
                QVERIFY2(!edit->isReadOnly(), qPrintable(edit->objectName()));
            if (qobject_cast<QLineEdit*>(now) || qobject_cast<QComboBox*>(now))
                visited << now->objectName();
        }
        QCOMPARE(visited, fields);
        // A result still takes the focus by mouse, for copying.
        for (QLineEdit* edit : form->findChildren<QLineEdit*>())
            if (edit->isReadOnly())
                QCOMPARE(edit->focusPolicy(), Qt::ClickFocus);
    }

    // Each question that deletes or replaces asks with 否 as its default,
    // and 否 leaves everything as it was.
    void destructiveQuestionsDefaultToNo()
    {
        AppWindows& w = *windows_;
        const QString project = dir_->filePath(QStringLiteral("p.gzl"));
        struct Case {
            QDialog* window;
            std::function<void()> ask;
            QString question;
            std::function<bool()> unchanged;
        };
        const Case cases[] = {
            {w.pipeTypes,
             [&] {
                 w.pipeTypes->findChild<QListWidget*>("ListBox_pipe_ty")->setCurrentRow(0);
                 QTest::mouseClick(w.pipeTypes->findChild<QPushButton*>("Button_del"),
                                   Qt::LeftButton);
             },
             QStringLiteral("确实要删除该项吗？"),
             [&] { return ListCount(w.pipeTypes, "ListBox_pipe_ty") == 6; }},
            {w.pipeCoefficients,
             [&] {
                 w.pipeCoefficients->findChild<QListWidget*>("ListBox_Valve")->setCurrentRow(0);
                 QTest::mouseClick(w.pipeCoefficients->findChild<QPushButton*>("Button_del"),
                                   Qt::LeftButton);
             },
             QStringLiteral("确实要删除该项吗？"),
             [&] { return ListCount(w.pipeCoefficients, "ListBox_Valve") == 16; }},
            {w.duct,
             [&] {
                 Fill(w.duct, {"Edit_duct_No=1", "Edit_G=1000", "ComboBox_W=320", "ComboBox_H=200",
                               "Edit_L=10", "Edit_JZ_K=0", "Edit_JZ_n=0", "Button_Save"});
                 w.duct->ListBox_pipe->setCurrentRow(0);
                 QTest::mouseClick(w.duct->Button_del, Qt::LeftButton);
             },
             QStringLiteral("确实要删除该项吗？"),
             [&] { return ListCount(w.duct, "ListBox_pipe") == 1; }},
            {w.pipe,
             [&] {
                 QFile(project).open(QIODevice::WriteOnly);
                 prompts_->saveAnswers << project;
                 QTest::mouseClick(w.pipe->Button_new, Qt::LeftButton);
             },
             QStringLiteral("该文件已经存在，确实要覆盖该文件码?"),
             [&] { return QFileInfo(project).size() == 0; }},
            {w.pipe,
             [&] {
                 QFile::remove(project);
                 QFile table(dir_->filePath(QStringLiteral("p.DB")));
                 table.open(QIODevice::WriteOnly);
                 table.write("kept");
                 table.close();
                 prompts_->saveAnswers << project;
                 QTest::mouseClick(w.pipe->Button_new, Qt::LeftButton);
             },
             QStringLiteral("其中的管段将全部丢失。确实要替换吗？"),
             [&] {
                 return !QFile::exists(project) &&
                        QFileInfo(dir_->filePath(QStringLiteral("p.DB"))).size() == 4;
             }},
        };
        for (const Case& c : cases) {
            show(c.window);
            prompts_->confirmations.clear();
            prompts_->confirmDefaults.clear();
            prompts_->confirmAnswers << false;
            c.ask();
            QVERIFY2(prompts_->confirmations.size() == 1,
                     qPrintable(c.question + prompts_->errors.join(QLatin1Char('|'))));
            QVERIFY2(prompts_->confirmations.first().endsWith(c.question),
                     qPrintable(prompts_->confirmations.first()));
            QCOMPARE(prompts_->confirmDefaults, QList{DefaultAnswer::No});
            QVERIFY2(c.unchanged(), qPrintable(c.question));
            QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join('|')));
            c.window->hide();
        }

        // The real box: its default button is 否, so Enter at once answers No.
        QString defaultText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QtPrompts real;
        const bool answer =
            static_cast<Prompts&>(real).confirm(nullptr, QStringLiteral("确实要删除该项吗？"));
        QCOMPARE(defaultText, QStringLiteral("否(&N)"));
        QVERIFY(!answer);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
