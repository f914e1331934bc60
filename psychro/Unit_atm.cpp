#include "psychro/Unit_atm.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "psychro/StatePointCalc.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Form_atm::Form_atm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_atm"));
    setWindowTitle(QStringLiteral("当地大气压设置"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowTitleHint);
    setFixedSize(260, 92);

    auto* label = new QLabel(QStringLiteral("当地大气压(Pa)："), this);
    label->setGeometry(12, 18, 110, 22);
    Edit1 = new QLineEdit(QStringLiteral("101325"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(122, 16, 124, 24);
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Button_OK = new QPushButton(QStringLiteral("确定"), this);
    Button_OK->setObjectName(QStringLiteral("Button_OK"));
    Button_OK->setGeometry(92, 54, 76, 26);
    ConnectGuarded(Button_OK, &QPushButton::clicked, this, &Form_atm::Button_OKClick);
    SetUpKeyboard(this, Button_OK);
}

QString Form_atm::pressureText() const
{
    return Edit1->text();
}

void Form_atm::applyTo(ID_lib& lib) const
{
    ApplyPressureText(lib, Edit1->text());
}

void Form_atm::Button_OKClick()
{
    accept();
}
