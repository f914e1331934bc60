// The keyboard across the program's windows, headless: Enter in a field runs
// the window's main action or confirms its dialog, Tab walks the input fields
// in reading order past the read-only results, and every question that
// deletes or replaces defaults to 否.
#include "app/DataDir.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "support/ScriptedPrompts.h"
#include "support/Typing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

class TestKeyboard : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<AppWindows> windows_;

    QDialog* shown(const QString& name)
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name || w->metaObject()->className() == name) {
                auto* window = static_cast<QDialog*>(w);
                window->open(); // modal, as the program shows it, without blocking
                return window;
            }
        return nullptr;
    }

    // Steps on a window's controls, by name: "X=text" types into X, "X!"
    // presses Enter in X, "X@n" picks row or page n, "X" clicks X, "Esc"
    // presses Esc; "new:f" answers the save dialog with f. "?X=text",
    // "?X=*" (not empty), "?X#n" (rows), "?accepted" and "?closed" are checks.
    void run(QDialog* window, const QStringList& steps)
    {
        for (const QString& step : steps) {
            const bool check = step.startsWith('?');
            const QString name = step.mid(check).section(QRegularExpression("[=!@#]"), 0, 0);
            const QString arg = step.mid(check + name.size() + 1);
            auto* w = window->findChild<QWidget*>(name);
            if (step == "?accepted" || step == "?closed") {
                QVERIFY2(!window->isVisible(), qPrintable(step));
                QVERIFY(step == "?closed" || window->result() == QDialog::Accepted);
            } else if (step.startsWith("new:")) {
                prompts_->saveAnswers << dir_->filePath(step.mid(4));
            } else if (step == "Esc") {
                QTest::keyClick(window->focusWidget() ? window->focusWidget() : window,
                                Qt::Key_Escape);
            } else if (!w) {
                QFAIL(qPrintable("no control " + name));
            } else if (check && step[name.size() + 1] == '#') {
                auto* view = qobject_cast<QAbstractItemView*>(w);
                QCOMPARE(view->model()->rowCount(), arg.toInt());
            } else if (check) {
                auto* box = qobject_cast<QComboBox*>(w);
                const QString text = box ? box->currentText() : static_cast<QLineEdit*>(w)->text();
                QVERIFY2(arg == "*" ? !text.isEmpty() : text == arg,
                         qPrintable(step + ": " + text));
            } else if (step.endsWith('!')) {
                w->setFocus();
                QTest::keyClick(w, Qt::Key_Return);
            } else if (step.contains('@')) {
                if (auto* pages = qobject_cast<QTabWidget*>(w))
                    pages->setCurrentIndex(arg.toInt());
                else
                    static_cast<QListWidget*>(w)->setCurrentRow(arg.toInt());
            } else if (step.contains('=')) {
                auto* box = qobject_cast<QComboBox*>(w);
                (box ? box->lineEdit() : static_cast<QLineEdit*>(w))->clear();
                TypeKeys(w, arg);
            } else {
                QTest::mouseClick(w, Qt::LeftButton);
            }
        }
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

    void enterRunsTheMainAction_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("steps");
        const QString pipeType = QStringLiteral("ComboBox_pipe=焊接钢管(GB3092)");
        QTest::newRow("state point")
            << "Form_id"
            << QStringList{"RadioButton8", "Edit1=20", "Edit2=50", "Edit2!", "?Edit4=13.88"};
        QTest::newRow("air treatment")
            << "Form_Air_treat"
            << QStringList{"Edit1=34", "Edit2=28", "Edit4=26", "Edit5=60", "Edit6=10",
                           "Edit7=3",  "Edit8=20", "Edit8!",   "?Edit10=*"};
        QTest::newRow("chart") << "Form_IDTu"
                               << QStringList{"Edit_name=A", "Edit_name!", "Edit_T=20",
                                              "Edit_RH=50",  "Edit_RH!",   "?DBGrid1#1"};
        // Enter in the size drop-down saves, and keeps the size as typed.
        QTest::newRow("water pipe")
            << "Form_ZL_pipe"
            << QStringList{pipeType,          "Edit_pipe_No=1", "Edit_G=1.0",     "RadioButton_DN",
                           "Edit_L=10",       "Edit_JZ_n=0",    "ComboBox_DN=32", "ComboBox_DN!",
                           "?ListBox_pipe#1", "?ComboBox_DN=32"};
        QTest::newRow("air duct") << "Form_ZL_Duct"
                                  << QStringList{
                                         "Edit_duct_No=1", "Edit_G=1000", "ComboBox_W=320",
                                         "ComboBox_H=200", "Edit_L=10",   "Edit_JZ_K=0",
                                         "Edit_JZ_n=0",    "Edit_L!",     "?ListBox_pipe#1"};
        QTest::newRow("PMV") << "Form_PMV"
                             << QStringList{"Edit_Ta=22", "Edit_RH=60", "Edit_Va=0.1",
                                            "Edit_Tr=22", "Edit_Tr!",   "?Edit_PMV=-0.50"};
        QTest::newRow("unit conversion, each page its own")
            << "Form_unit" << QStringList{"PageControl1@0", "Edit18=1", "Edit18!", "?Edit19=*",
                                          "PageControl1@1", "Edit24=1", "Edit24!", "?Edit25=*"};
        QTest::newRow("local pressure")
            << "Form_atm" << QStringList{"Edit1=90000", "Edit1!", "?accepted"};
        QTest::newRow("automatic size")
            << "Form_BZL_Set" << QStringList{"Edit1=150", "Edit1!", "?accepted"};
        QTest::newRow("air flows")
            << "Form_G"
            << QStringList{"Edit1=1000", "Edit2=200", "Edit3=300", "Edit2!", "?accepted"};
        QTest::newRow("pipe size")
            << "Form_pipe_DN"
            << QStringList{"Edit_DN=25", "Edit_De=33.5", "Edit_E=3.25", "Edit_DN!", "?accepted"};
        QTest::newRow("advanced") << "Form_Advanced"
                                  << QStringList{"Edit_K=0.2", "Edit_K!", "?accepted"};
        QTest::newRow("pipe types") << "Form_Pipe_Set"
                                    << QStringList{"Button_add", "Edit_name=新管", "Edit_K=0.2",
                                                   "Edit_K!", "?ListBox_pipe_ty#7"};
        QTest::newRow("coefficients")
            << "Form_JZSet_pipe"
            << QStringList{"Button_add",  "Edit_name=新阀",   "Edit_DN15=1", "Edit_DN20=1",
                           "Edit_DN25=1", "Edit_DN32=1",      "Edit_DN40=1", "Edit_DN50=1",
                           "Edit_DN50!",  "?ListBox_Valve#17"};
        // Enter on a button presses it; in a list it stays there; Esc leaves
        // an editor without storing.
        QTest::newRow("list, then a button")
            << "Form_ZL_pipe"
            << QStringList{"Edit_pipe_No=1",  "Edit_G=1.0",   "Edit_L=10", "ListBox_pipe!",
                           "?ListBox_pipe#0", "Button_quit!", "?closed"};
        QTest::newRow("Esc") << "Form_Pipe_Set"
                             << QStringList{"Button_add", "Edit_name=新管", "Edit_K=0.2",
                                            "Esc",        "?closed",        "?ListBox_pipe_ty#6"};
    }
    void enterRunsTheMainAction()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, steps);
        run(shown(window), steps);
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join('|')));
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
        QDialog* form = shown(window);
        QWidget* first = form->findChild<QWidget*>(fields.first());
        first->setFocus();
        QStringList visited{fields.first()};
        for (int press = 0; press < 80 && visited.size() <= fields.size(); ++press) {
            QTest::keyClick(form->focusWidget(), Qt::Key_Tab);
            QWidget* now = form->focusWidget();
            if (now == first)
                break;
            if (qobject_cast<QLineEdit*>(now) || qobject_cast<QComboBox*>(now))
                visited << now->objectName();
        }
        QCOMPARE(visited, fields);
        // Results are left out of the walk and take the focus by mouse, for copying.
        for (QLineEdit* edit : form->findChildren<QLineEdit*>())
            if (edit->isReadOnly())
                QCOMPARE(edit->focusPolicy(), Qt::ClickFocus);
    }

    void destructiveQuestionsDefaultToNo_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("question"); // its end
        QTest::newRow("pipe type")
            << "Form_Pipe_Set" << QStringList{"ListBox_pipe_ty@0", "Button_del"}
            << "确实要删除该项吗？";
        QTest::newRow("segment") << "Form_ZL_Duct"
                                 << QStringList{"Edit_duct_No=1", "Edit_G=1000", "ComboBox_W=320",
                                                "ComboBox_H=200", "Edit_L=10",   "Edit_JZ_K=0",
                                                "Edit_JZ_n=0",    "Button_Save", "ListBox_pipe@0",
                                                "Button_del"}
                                 << "确实要删除该项吗？";
        QTest::newRow("project file")
            << "Form_ZL_pipe" << QStringList{"new:p.gzl", "Button_new"} << "确实要覆盖该文件码?";
        QTest::newRow("segment table") << "Form_ZL_pipe" << QStringList{"new:q.gzl", "Button_new"}
                                       << "其中的管段将全部丢失。确实要替换吗？";
    }
    void destructiveQuestionsDefaultToNo()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, steps);
        QFETCH(QString, question);
        for (const char* existing : {"p.gzl", "q.DB"}) {
            QFile file(dir_->filePath(existing));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        prompts_->confirmAnswers << false;
        run(shown(window), steps);
        QCOMPARE(prompts_->confirmations.size(), 1);
        QVERIFY2(prompts_->confirmations.first().endsWith(question),
                 qPrintable(prompts_->confirmations.first()));
        QCOMPARE(prompts_->confirmDefaults, QList{DefaultAnswer::No});
        QVERIFY2(prompts_->errors.isEmpty(), qPrintable(prompts_->errors.join('|')));
    }

    // The real box: its default button is 否, so Enter at once answers No.
    void theBoxDefaultsToNo()
    {
        QString defaultText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QtPrompts real;
        QVERIFY(
            !static_cast<Prompts&>(real).confirm(nullptr, QStringLiteral("确实要删除该项吗？")));
        QCOMPARE(defaultText, QStringLiteral("否(&N)"));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
