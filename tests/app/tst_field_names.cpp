// A text that is no number is refused naming its field: a field of a dialog
// by the dialog that holds it. (The calculators' own fields and the pressure
// dialog are checked by each window's tests.)
#include "app/DataDir.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_ZL_pipe.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

class TestFieldNames : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { RegisterDataSeeds(); }

    // The friction limit of automatic sizing is typed in its own dialog.
    void dialogFieldIsNamedByItsDialog()
    {
        QTemporaryDir dir;
        DataDir::setOverride(dir.path());
        DataDir::ensure();
        ScriptedPrompts prompts;
        {
            AppWindows w;
            Form_ZL_pipe& f = *w.pipe;
            f.show(); // the type box is filled on showing
            f.ComboBox_pipe->setCurrentIndex(0);
            f.Edit_pipe_No->setText(QStringLiteral("1"));
            f.Edit_G->setText(QStringLiteral("1.0"));
            f.RadioButton_Z->click();
            w.pipeSizeSetting->Edit1->setText(QStringLiteral("2OO"));
            f.Edit_L->setText(QStringLiteral("10"));
            f.ComboBox_JZ_Ty->setEditText(QStringLiteral("闸阀"));
            f.Edit_JZ_n->setText(QStringLiteral("2"));
            QTest::mouseClick(f.Button_Save, Qt::LeftButton);
            QCOMPARE(prompts.errors,
                     QStringList{QStringLiteral(
                         "自动选取管径设置中的最大比摩阻(Pa/m)：“2OO”不是有效的数值")});
        }
        DataDir::setOverride(QString());
    }
};

QTEST_MAIN(TestFieldNames)
#include "tst_field_names.moc"
