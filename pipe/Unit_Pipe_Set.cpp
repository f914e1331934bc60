#include "pipe/Unit_Pipe_Set.h"

#include "app/DataDir.h"
#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Prompts.h"
#include "pipe/Unit_pipe_DN.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace
{
constexpr int kHelpContext = 10;

int selectedRow(const QListWidget* list)
{
    return list->selectedItems().isEmpty() ? -1 : list->currentRow();
}
} // namespace

Form_Pipe_Set::Form_Pipe_Set(Form_pipe_DN& sizeDialog, QWidget* parent)
    : QDialog(parent), sizeDialog_(sizeDialog)
{
    setObjectName(QStringLiteral("Form_Pipe_Set"));
    setWindowTitle(QStringLiteral("管道性能参数"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(520, 368);

    GroupBox_type = new QGroupBox(QStringLiteral("管道类型"), this);
    GroupBox_type->setObjectName(QStringLiteral("GroupBox_type"));
    GroupBox_type->setGeometry(8, 4, 200, 320);
    ListBox_pipe_ty = new QListWidget(GroupBox_type);
    ListBox_pipe_ty->setObjectName(QStringLiteral("ListBox_pipe_ty"));
    ListBox_pipe_ty->setGeometry(8, 20, 184, 258);
    Button_add =
        NewButton(GroupBox_type, "Button_add", QStringLiteral("添加(&A)"), {8, 286, 58, 26});
    Button_edit =
        NewButton(GroupBox_type, "Button_edit", QStringLiteral("编辑(&E)"), {71, 286, 58, 26});
    Button_del =
        NewButton(GroupBox_type, "Button_del", QStringLiteral("删除(&D)"), {134, 286, 58, 26});

    GroupBox_edit = new QGroupBox(QStringLiteral("管道参数设置"), this);
    GroupBox_edit->setObjectName(QStringLiteral("GroupBox_edit"));
    GroupBox_edit->setGeometry(214, 4, 298, 320);
    NewLabel(GroupBox_edit, "Label_name", QStringLiteral("管道名称："), {10, 24, 100, 22});
    Edit_name = NewEdit(GroupBox_edit, "Edit_name", {112, 24, 176, 22});
    // Type names are Chinese: the input method composes in this field.
    Edit_name->setAttribute(Qt::WA_InputMethodEnabled, true);
    NewLabel(GroupBox_edit, "Label_K", QStringLiteral("管道粗糙度(mm):"), {10, 54, 100, 22});
    Edit_K = NewEdit(GroupBox_edit, "Edit_K", {112, 54, 176, 22});

    GroupBox_DN = new QGroupBox(QStringLiteral("管径设置"), GroupBox_edit);
    GroupBox_DN->setObjectName(QStringLiteral("GroupBox_DN"));
    GroupBox_DN->setGeometry(10, 84, 278, 194);
    ListBox_Pipe = new QListWidget(GroupBox_DN);
    ListBox_Pipe->setObjectName(QStringLiteral("ListBox_Pipe"));
    ListBox_Pipe->setGeometry(10, 20, 150, 164);
    Button_DN_add =
        NewButton(GroupBox_DN, "Button_DN_add", QStringLiteral("添加"), {180, 20, 80, 26});
    Button_DN_del =
        NewButton(GroupBox_DN, "Button_DN_del", QStringLiteral("删除"), {180, 56, 80, 26});
    Button_DN_edit =
        NewButton(GroupBox_DN, "Button_DN_edit", QStringLiteral("编辑"), {180, 92, 80, 26});
    // Kept where the editor has always had it; it opens nothing.
    Button_DN_help =
        NewButton(GroupBox_DN, "Button_DN_help", QStringLiteral("帮助"), {180, 128, 80, 26});

    Button_OK = NewButton(GroupBox_edit, "Button_OK", QStringLiteral("确定"), {60, 286, 80, 26});
    Button_Cancel =
        NewButton(GroupBox_edit, "Button_Cancel", QStringLiteral("取消"), {158, 286, 80, 26});

    Button_quit = NewButton(this, "Button_quit", QStringLiteral("退出(&Q)"), {334, 332, 84, 26});
    Button_help = NewButton(this, "Button_help", QStringLiteral("帮助(&H)"), {428, 332, 84, 26});

    ConnectGuarded(Button_add, &QPushButton::clicked, this, &Form_Pipe_Set::Button_addClick);
    ConnectGuarded(Button_edit, &QPushButton::clicked, this, &Form_Pipe_Set::Button_editClick);
    ConnectGuarded(ListBox_pipe_ty, &QListWidget::itemDoubleClicked, this,
                   &Form_Pipe_Set::Button_editClick);
    ConnectGuarded(Button_del, &QPushButton::clicked, this, &Form_Pipe_Set::Button_delClick);
    ConnectGuarded(Button_DN_add, &QPushButton::clicked, this, &Form_Pipe_Set::Button_DN_addClick);
    ConnectGuarded(Button_DN_edit, &QPushButton::clicked, this,
                   &Form_Pipe_Set::Button_DN_editClick);
    ConnectGuarded(ListBox_Pipe, &QListWidget::itemDoubleClicked, this,
                   &Form_Pipe_Set::Button_DN_editClick);
    ConnectGuarded(Button_DN_del, &QPushButton::clicked, this, &Form_Pipe_Set::Button_DN_delClick);
    ConnectGuarded(Button_OK, &QPushButton::clicked, this, &Form_Pipe_Set::Button_OKClick);
    ConnectGuarded(Button_Cancel, &QPushButton::clicked, this, &Form_Pipe_Set::Button_CancelClick);
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_Pipe_Set::Button_quitClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_Pipe_Set::Button_helpClick);

    setEditing(false);
    SetUpKeyboard(this, Button_OK);
}

QString Form_Pipe_Set::cataloguePath() const
{
    return DataDir::file(QString::fromLatin1(PipeCatalogueFileName));
}

void Form_Pipe_Set::setEditing(bool on)
{
    GroupBox_edit->setEnabled(on);
}

void Form_Pipe_Set::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        Guarded(this, [this] { FormShow(); });
}

void Form_Pipe_Set::FormShow()
{
    setEditing(false);
    listTypes();
}

// The list is emptied first: a catalogue that cannot be read lists nothing
// rather than the names of an earlier reading.
void Form_Pipe_Set::listTypes()
{
    ListBox_pipe_ty->clear();
    ListBox_pipe_ty->addItems(PipeTypeNames(ReadPipeCatalogue(cataloguePath())));
}

void Form_Pipe_Set::listSizes()
{
    ListBox_Pipe->clear();
    ListBox_Pipe->addItems(sizes_.nominalTexts());
}

void Form_Pipe_Set::Button_addClick()
{
    sizes_ = PipeSizeList();
    listSizes();
    Edit_name->clear();
    Edit_K->clear();
    editedRecord_ = -1;
    setEditing(true);
}

void Form_Pipe_Set::Button_editClick()
{
    const int row = selectedRow(ListBox_pipe_ty);
    if (row < 0) {
        prompts().error(this, QStringLiteral("清选择管道类型！"));
        return;
    }
    const std::vector<PipeTypeRecord> catalogue = ReadPipeCatalogue(cataloguePath());
    if (row >= int(catalogue.size())) { // the file lost records since it was listed
        listTypes();
        prompts().error(this, QStringLiteral("清选择管道类型！"));
        return;
    }
    const PipeTypeRecord& type = catalogue[size_t(row)];
    sizes_ = PipeSizeList(type.sizes);
    listSizes();
    Edit_name->setText(type.name);
    Edit_K->setText(PipeRoughnessText(type.K));
    editedRecord_ = row;
    setEditing(true);
}

void Form_Pipe_Set::Button_delClick()
{
    const int row = selectedRow(ListBox_pipe_ty);
    if (row < 0) {
        prompts().error(this, QStringLiteral("请选择管道类型！"));
        return;
    }
    if (!prompts().confirm(this, QStringLiteral("确实要删除该项吗？")))
        return;
    DeletePipeType(cataloguePath(), row);
    // The type being edited moves up with the types after the deleted one;
    // when it is the deleted one there is nothing left to edit.
    if (GroupBox_edit->isEnabled() && editedRecord_ >= 0) {
        if (row == editedRecord_)
            setEditing(false);
        else if (row < editedRecord_)
            --editedRecord_;
    }
    listTypes();
}

void Form_Pipe_Set::editSize(const SizeDialogTexts& texts)
{
    sizeDialog_.setTexts(texts);
    sizeDialog_.exec();
    // Closed by its frame the dialog still hands over what its fields hold;
    // fields that make no size leave the list as it was, with their message.
    sizes_.put(sizeDialog_.size());
    listSizes();
}

void Form_Pipe_Set::Button_DN_addClick()
{
    editSize({});
}

void Form_Pipe_Set::Button_DN_editClick()
{
    // No selection: "请选择管径！" from the list.
    editSize(SizeDialogTextsOf(sizes_.at(selectedRow(ListBox_Pipe))));
}

void Form_Pipe_Set::Button_DN_delClick()
{
    const int row = selectedRow(ListBox_Pipe);
    (void)sizes_.at(row); // "请选择管径！" before the question
    if (!prompts().confirm(this, QStringLiteral("确实要删除该项吗？")))
        return;
    sizes_.remove(row);
    listSizes();
}

void Form_Pipe_Set::Button_OKClick()
{
    const int saved =
        SavePipeType(cataloguePath(), Edit_name->text(), Edit_K->text(), sizes_, editedRecord_);
    // The greyed size list shows the sizes as they were stored: ascending.
    std::vector<PipeSize> stored = sizes_.sizes();
    SortPipeSizes(stored);
    sizes_ = PipeSizeList(std::move(stored));
    listSizes();
    listTypes();
    ListBox_pipe_ty->setCurrentRow(saved);
    setEditing(false);
}

void Form_Pipe_Set::Button_CancelClick()
{
    setEditing(false);
}

void Form_Pipe_Set::Button_quitClick()
{
    close();
}

void Form_Pipe_Set::Button_helpClick()
{
    ShowHelp(this, kHelpContext);
}
