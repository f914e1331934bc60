#include "airtreat/Unit_G.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"

#include <QLineEdit>
#include <QPushButton>

Form_G::Form_G(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_G"));
    setWindowTitle(QStringLiteral("二次回风冬季处理过程的风量设置"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(272, 150);

    NewLabel(this, "Label1", QStringLiteral("总送风量(kg/h):"), {16, 16, 116, 22});
    Edit1 = NewEdit(this, "Edit1", {136, 16, 120, 22});
    NewLabel(this, "Label2", QStringLiteral("新风量(kg/h):"), {16, 46, 116, 22});
    Edit2 = NewEdit(this, "Edit2", {136, 46, 120, 22});
    NewLabel(this, "Label3", QStringLiteral("一次回风量(kg/h):"), {16, 76, 116, 22});
    Edit3 = NewEdit(this, "Edit3", {136, 76, 120, 22});
    Button1 = NewButton(this, "Button1", QStringLiteral("确定"), {98, 112, 76, 26});
    ConnectGuarded(Button1, &QPushButton::clicked, this, &Form_G::Button1Click);
    // The caption is longer than the fields are wide.
    WidenForCaption(this);
    SetUpKeyboard(this, Button1);
}

AirFlowTexts Form_G::texts() const
{
    return {Edit1->text(), Edit2->text(), Edit3->text()};
}

void Form_G::Button1Click()
{
    accept();
}
