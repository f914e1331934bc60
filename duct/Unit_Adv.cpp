#include "duct/Unit_Adv.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Numbers.h"
#include "app/Prompts.h"

#include <QLineEdit>
#include <QPushButton>

Form_Advanced::Form_Advanced(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_Advanced"));
    setWindowTitle(QStringLiteral("高级设置"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(330, 150);

    NewRaisedUnitLabel(this, "Label_Ruo", QStringLiteral("空气密度(kg/m ):"),
                       QStringLiteral("空气密度(kg/m"), QStringLiteral("3"), {12, 14, 170, 22});
    Edit_Ruo = NewEdit(this, "Edit_Ruo", {186, 14, 130, 22});
    NewRaisedUnitLabel(this, "Label_miu", QStringLiteral("空气运动粘滞系数(m /s):"),
                       QStringLiteral("空气运动粘滞系数(m"), QStringLiteral("2"),
                       {12, 44, 170, 22});
    Edit_miu = NewEdit(this, "Edit_miu", {186, 44, 130, 22});
    NewLabel(this, "Label_K", QStringLiteral("风管管壁绝对粗糙度(mm):"), {12, 74, 170, 22});
    Edit_K = NewEdit(this, "Edit_K", {186, 74, 130, 22});
    Button_OK = NewButton(this, "Button_OK", QStringLiteral("确定"), {126, 112, 78, 26});
    setTexts(ExactTexts(AirProperties{}));

    connect(Button_OK, &QPushButton::clicked, this, &QDialog::accept);
    SetUpKeyboard(this, Button_OK);
}

void Form_Advanced::showFor(const AirProperties& current)
{
    inForce_ = current;
    setTexts(ExactTexts(current));
    Edit_Ruo->setFocus();
    exec();
}

void Form_Advanced::done(int result)
{
    // Each field is checked with the others at the values in force, in the
    // order the calculation reads them, so the message is the field's own.
    const AirPropertyTexts inForce = ExactTexts(inForce_);
    const struct {
        QLineEdit* edit;
        QString AirPropertyTexts::*text;
    } fields[] = {{Edit_miu, &AirPropertyTexts::nu},
                  {Edit_Ruo, &AirPropertyTexts::rho},
                  {Edit_K, &AirPropertyTexts::K}};
    for (const auto& field : fields) {
        AirPropertyTexts alone = inForce;
        alone.*field.text = field.edit->text();
        try {
            ReadAirProperties(alone);
        } catch (const UserError& refused) {
            prompts().error(this, refused.text());
            field.edit->setFocus();
            field.edit->selectAll();
            return;
        }
    }
    QDialog::done(result);
}

AirPropertyTexts Form_Advanced::texts() const
{
    return {Edit_Ruo->text(), Edit_miu->text(), Edit_K->text()};
}

void Form_Advanced::setTexts(const AirPropertyTexts& texts)
{
    Edit_Ruo->setText(texts.rho);
    Edit_miu->setText(texts.nu);
    Edit_K->setText(texts.K);
}
