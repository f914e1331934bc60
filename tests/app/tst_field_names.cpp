// A text that is no number is refused naming its field: by the caption the
// window shows beside it, or by the dialog that holds it.
#include "airtreat/Unit_Air_treat.h"
#include "app/DataDir.h"
#include "comfort/Unit_PMV.h"
#include "pipe/Unit_BZL_Set.h"
#include "pipe/Unit_ZL_pipe.h"
#include "psychro/Unit_air_id.h"
#include "psychro/Unit_atm.h"
#include "shell/AppWindows.h"
#include "shell/DataSeeds.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace
{

// Fills a window's fields, one of them holding a text that is no number, and
// gives the button that reads them.
using Entry = std::function<QPushButton*(AppWindows&)>;

QPushButton* statePoint(AppWindows& w, const char* first, const char* pressure)
{
    w.atm->Edit1->setText(QString::fromUtf8(pressure));
    w.id->Edit1->setText(QString::fromUtf8(first));
    w.id->Edit2->setText(QStringLiteral("50"));
    return w.id->Button_cal;
}

// The summer worked example of the air treatment window with the supply
// temperature as given.
QPushButton* airTreatment(AppWindows& w, const char* supply)
{
    Form_Air_treat& f = *w.airTreat;
    f.RadioButton1->setChecked(true);
    const QList<QPair<QLineEdit*, const char*>> fields{
        {f.Edit1, "34"}, {f.Edit2, "28"}, {f.Edit4, "26"},   {f.Edit5, "60"},
        {f.Edit6, "10"}, {f.Edit7, "3"},  {f.Edit8, supply}, {f.Edit9, "25"}};
    for (const auto& [edit, text] : fields)
        edit->setText(QString::fromUtf8(text));
    return f.Button_cal;
}

QPushButton* pipeWithFrictionLimit(AppWindows& w, const char* limit)
{
    Form_ZL_pipe& f = *w.pipe;
    f.show(); // the type box is filled on showing
    f.ComboBox_pipe->setCurrentIndex(0);
    f.Edit_pipe_No->setText(QStringLiteral("1"));
    f.Edit_G->setText(QStringLiteral("1.0"));
    f.RadioButton_Z->click();
    w.pipeSizeSetting->Edit1->setText(QString::fromUtf8(limit));
    f.Edit_L->setText(QStringLiteral("10"));
    f.ComboBox_JZ_Ty->setEditText(QStringLiteral("闸阀"));
    f.Edit_JZ_n->setText(QStringLiteral("2"));
    return f.Button_Save;
}

QPushButton* comfort(AppWindows& w, const char* velocity)
{
    Form_PMV& f = *w.pmv;
    f.Edit_Ta->setText(QStringLiteral("22"));
    f.Edit_RH->setText(QStringLiteral("60"));
    f.Edit_Va->setText(QString::fromUtf8(velocity));
    f.Edit_Tr->setText(QStringLiteral("22"));
    return f.Button_cal;
}

} // namespace

class TestFieldNames : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { RegisterDataSeeds(); }

    void conversionErrorNamesItsField()
    {
        const struct {
            const char* window;
            Entry entry;
            const char* message;
        } rows[] = {
            {"state point", [](AppWindows& w) { return statePoint(w, "2o", "101325"); },
             "第一参数：“2o”不是有效的数值"},
            {"state point, pressure dialog",
             [](AppWindows& w) { return statePoint(w, "20", "1o1325"); },
             "当地大气压设置中的当地大气压(Pa)：“1o1325”不是有效的数值"},
            {"air treatment", [](AppWindows& w) { return airTreatment(w, "2O"); },
             "送风温度(℃)：“2O”不是有效的数值"},
            {"air treatment, pressure dialog",
             [](AppWindows& w) {
                 w.atm->Edit1->setText(QStringLiteral("abc"));
                 return airTreatment(w, "20");
             },
             "当地大气压设置中的当地大气压(Pa)：“abc”不是有效的数值"},
            {"pipe, friction limit dialog",
             [](AppWindows& w) { return pipeWithFrictionLimit(w, "2OO"); },
             "自动选取管径设置中的最大比摩阻(Pa/m)：“2OO”不是有效的数值"},
            {"comfort", [](AppWindows& w) { return comfort(w, "0,1"); },
             "空气流速(m/s)：“0,1”不是有效的数值"},
        };
        for (const auto& row : rows) {
            QTemporaryDir dir;
            DataDir::setOverride(dir.path());
            DataDir::ensure();
            ScriptedPrompts prompts;
            {
                AppWindows windows;
                QTest::mouseClick(row.entry(windows), Qt::LeftButton);
                QVERIFY2(prompts.errors == QStringList{QString::fromUtf8(row.message)},
                         qPrintable(QStringLiteral("%1: %2").arg(
                             QLatin1String(row.window), prompts.errors.join(QLatin1Char('|')))));
            }
            DataDir::setOverride(QString());
        }
    }
};

QTEST_MAIN(TestFieldNames)
#include "tst_field_names.moc"
