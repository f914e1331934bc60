#include "pipe/Unit_pipe_DN.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"

#include <QLineEdit>
#include <QPushButton>

Form_pipe_DN::Form_pipe_DN(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form_pipe_DN"));
    setWindowTitle(QStringLiteral("管径编辑"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(272, 150);

    NewLabel(this, "Label1", QStringLiteral("管道公称直径(mm)："), {16, 16, 124, 22});
    Edit_DN = NewEdit(this, "Edit_DN", {144, 16, 112, 22});
    NewLabel(this, "Label2", QStringLiteral("管道外径(mm)："), {16, 46, 124, 22});
    Edit_De = NewEdit(this, "Edit_De", {144, 46, 112, 22});
    NewLabel(this, "Label3", QStringLiteral("管道壁厚(mm):"), {16, 76, 124, 22});
    Edit_E = NewEdit(this, "Edit_E", {144, 76, 112, 22});
    Button_OK = NewButton(this, "Button_OK", QStringLiteral("确定(&O)"), {98, 112, 76, 26});
    ConnectGuarded(Button_OK, &QPushButton::clicked, this, &Form_pipe_DN::Button_OKClick);
    SetUpKeyboard(this, Button_OK);
}

void Form_pipe_DN::setTexts(const SizeDialogTexts& texts)
{
    Edit_DN->setText(texts.DN);
    Edit_De->setText(texts.De);
    Edit_E->setText(texts.E);
}

PipeSize Form_pipe_DN::size() const
{
    return SizeFromDialog(Edit_DN->text(), Edit_De->text(), Edit_E->text());
}

// A field that is empty or makes no size keeps the dialog open with its
// message (the edge of the handler shows it).
void Form_pipe_DN::Button_OKClick()
{
    (void)size();
    accept();
}
