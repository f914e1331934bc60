#include "pipe/Unit_BZL_Set.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"

#include <QLineEdit>
#include <QPushButton>

Form_BZL_Set::Form_BZL_Set(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_BZL_Set"));
    setWindowTitle(QStringLiteral("自动选取管径设置"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(264, 96);

    NewLabel(this, "Label1", QStringLiteral("最大比摩阻(Pa/m)："), {16, 18, 120, 22});
    Edit1 = NewEdit(this, "Edit1", {140, 18, 104, 22});
    Edit1->setText(QStringLiteral("200"));
    Button_OK = NewButton(this, "Button_OK", QStringLiteral("确定"), {94, 56, 76, 26});
    ConnectGuarded(Button_OK, &QPushButton::clicked, this, &Form_BZL_Set::Button_OKClick);
    SetUpKeyboard(this, Button_OK);
}

void Form_BZL_Set::Button_OKClick()
{
    accept();
}
