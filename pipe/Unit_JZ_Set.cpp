#include "pipe/Unit_JZ_Set.h"

#include "app/DataDir.h"
#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "pipe/LocalResistance.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace
{
constexpr int kHelpContext = 34;

// The table is open only for the length of one action, refusals included,
// so the calculator and this editor never hold different versions of it.
class OpenForAction
{
public:
    explicit OpenForAction(RecordTableStore& table) : table_(table)
    {
        if (!table_.isOpen()) {
            table_.setPath(DataDir::file(QString::fromLatin1(LocalResistanceTableFileName)));
            table_.open();
        }
    }
    ~OpenForAction() { table_.close(); }
    OpenForAction(const OpenForAction&) = delete;
    OpenForAction& operator=(const OpenForAction&) = delete;

private:
    RecordTableStore& table_;
};
} // namespace

Form_JZSet_pipe::Form_JZSet_pipe(QWidget* parent)
    : QDialog(parent), table_(LocalResistanceTableDeclaration())
{
    setObjectName(QStringLiteral("Form_JZSet_pipe"));
    setWindowTitle(QStringLiteral("局部阻力系数设置"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(456, 344);

    GroupBox_type = new QGroupBox(QStringLiteral("局部阻力类型"), this);
    GroupBox_type->setObjectName(QStringLiteral("GroupBox_type"));
    GroupBox_type->setGeometry(8, 4, 212, 296);
    ListBox_Valve = new QListWidget(GroupBox_type);
    ListBox_Valve->setObjectName(QStringLiteral("ListBox_Valve"));
    ListBox_Valve->setGeometry(8, 20, 196, 234);
    Button_add =
        NewButton(GroupBox_type, "Button_add", QStringLiteral("添加(&A)"), {8, 262, 62, 26});
    Button_edit =
        NewButton(GroupBox_type, "Button_edit", QStringLiteral("编辑(&E)"), {75, 262, 62, 26});
    Button_del =
        NewButton(GroupBox_type, "Button_del", QStringLiteral("删除(&D)"), {142, 262, 62, 26});

    GroupBox_xi = new QGroupBox(QStringLiteral("局部阻力系数"), this);
    GroupBox_xi->setObjectName(QStringLiteral("GroupBox_xi"));
    GroupBox_xi->setGeometry(226, 4, 222, 296);
    NewLabel(GroupBox_xi, "Label_name", QStringLiteral("局阻名称："), {10, 24, 66, 22});
    Edit_name = NewEdit(GroupBox_xi, "Edit_name", {78, 24, 134, 22});
    // Fitting names are Chinese: the input method composes in this field.
    Edit_name->setAttribute(Qt::WA_InputMethodEnabled, true);
    NewLabel(GroupBox_xi, "Label_DN", QStringLiteral("管径:"), {30, 56, 60, 20});
    NewLabel(GroupBox_xi, "Label_xi", QStringLiteral("ξ值："), {100, 56, 60, 20});
    struct Row {
        QLineEdit** edit;
        const char* name;
        const char* caption;
    };
    const Row rows[] = {{&Edit_DN15, "Edit_DN15", "DN15："}, {&Edit_DN20, "Edit_DN20", "DN20："},
                        {&Edit_DN25, "Edit_DN25", "DN25："}, {&Edit_DN32, "Edit_DN32", "DN32:"},
                        {&Edit_DN40, "Edit_DN40", "DN40:"},  {&Edit_DN50, "Edit_DN50", ">DN50:"}};
    for (int k = 0; k < 6; ++k) {
        const int top = 80 + k * 28;
        auto* label =
            NewLabel(GroupBox_xi, "", QString::fromUtf8(rows[k].caption), {30, top, 60, 22});
        *rows[k].edit = NewEdit(GroupBox_xi, rows[k].name, {100, top, 90, 22});
        label->setBuddy(*rows[k].edit);
    }
    Button_OK = NewButton(GroupBox_xi, "Button_OK", QStringLiteral("确定"), {30, 256, 76, 26});
    Button_Cancel =
        NewButton(GroupBox_xi, "Button_Cancel", QStringLiteral("取消"), {116, 256, 76, 26});

    Button_quit = NewButton(this, "Button_quit", QStringLiteral("退出(&X)"), {272, 310, 84, 26});
    Button_help = NewButton(this, "Button_help", QStringLiteral("帮助(&H)"), {364, 310, 84, 26});

    ConnectGuarded(Button_add, &QPushButton::clicked, this, &Form_JZSet_pipe::Button_addClick);
    ConnectGuarded(Button_edit, &QPushButton::clicked, this, &Form_JZSet_pipe::Button_editClick);
    ConnectGuarded(ListBox_Valve, &QListWidget::itemDoubleClicked, this,
                   &Form_JZSet_pipe::Button_editClick);
    ConnectGuarded(Button_del, &QPushButton::clicked, this, &Form_JZSet_pipe::Button_delClick);
    ConnectGuarded(Button_OK, &QPushButton::clicked, this, &Form_JZSet_pipe::Button_OKClick);
    ConnectGuarded(Button_Cancel, &QPushButton::clicked, this,
                   &Form_JZSet_pipe::Button_CancelClick);
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_JZSet_pipe::Button_quitClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_JZSet_pipe::Button_helpClick);

    setEditing(Mode::None);
    SetUpKeyboard(this, Button_OK);
}

std::array<QLineEdit*, 6> Form_JZSet_pipe::coefficientEdits() const
{
    return {Edit_DN15, Edit_DN20, Edit_DN25, Edit_DN32, Edit_DN40, Edit_DN50};
}

void Form_JZSet_pipe::setEditing(Mode mode)
{
    mode_ = mode;
    if (mode != Mode::Edit)
        edited_.reset();
    GroupBox_xi->setEnabled(mode != Mode::None);
}

void Form_JZSet_pipe::listNames()
{
    ListBox_Valve->clear();
    listed_.clear();
    const OpenForAction open(table_);
    ListBox_Valve->addItems(LocalResistanceNames(table_));
    listed_ = LocalResistanceRowIds(table_);
}

std::optional<qint64> Form_JZSet_pipe::selectedRecord() const
{
    const int row = ListBox_Valve->currentRow();
    if (ListBox_Valve->selectedItems().isEmpty() || row < 0 || row >= int(listed_.size()))
        return std::nullopt;
    return listed_[size_t(row)];
}

void Form_JZSet_pipe::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) // not on a restore from the task bar
        Guarded(this, [this] { FormShow(); });
}

void Form_JZSet_pipe::FormShow()
{
    setEditing(Mode::None);
    listNames();
}

void Form_JZSet_pipe::Button_addClick()
{
    Edit_name->clear();
    for (QLineEdit* edit : coefficientEdits())
        edit->clear();
    setEditing(Mode::Add);
}

void Form_JZSet_pipe::Button_editClick()
{
    const std::optional<qint64> record = selectedRecord();
    if (!record) {
        prompts().error(this, QStringLiteral("请选择阀门类型！"));
        return;
    }
    LocalResistanceTexts texts;
    {
        const OpenForAction open(table_);
        // A record gone since the list was filled: "请选择阀门类型！".
        texts = LocalResistanceTextsAt(table_, LocalResistanceIndexOf(table_, *record));
    }
    Edit_name->setText(texts.name);
    const auto edits = coefficientEdits();
    for (size_t k = 0; k < edits.size(); ++k)
        edits[k]->setText(texts.xi[k]);
    setEditing(Mode::Edit);
    // "确定" writes this record, wherever the list's selection goes meanwhile.
    edited_ = record;
}

void Form_JZSet_pipe::Button_delClick()
{
    const std::optional<qint64> record = selectedRecord();
    if (!record) {
        prompts().error(this, QStringLiteral("请选择阀门类型！"));
        return;
    }
    if (!prompts().confirm(this, QStringLiteral("确实要删除该项吗？")))
        return;
    {
        const OpenForAction open(table_);
        DeleteLocalResistanceAt(table_, LocalResistanceIndexOf(table_, *record));
    }
    // The record being edited keeps its identity when another goes; when it
    // is the deleted one there is nothing left to edit.
    if (mode_ == Mode::Edit && edited_ == record)
        setEditing(Mode::None);
    listNames();
}

void Form_JZSet_pipe::Button_OKClick()
{
    LocalResistanceTexts fields;
    fields.name = Edit_name->text();
    const auto edits = coefficientEdits();
    for (size_t k = 0; k < edits.size(); ++k)
        fields.xi[k] = edits[k]->text();
    {
        const OpenForAction open(table_);
        int index = -1;
        if (mode_ == Mode::Edit) {
            index = edited_ ? LocalResistanceIndexOf(table_, *edited_) : -1;
            if (index < 0) // gone since "编辑": never appended instead
                throw UserError(QStringLiteral("请选择阀门类型！"));
        }
        StoreLocalResistance(table_, fields, index);
    }
    listNames();
    setEditing(Mode::None);
}

void Form_JZSet_pipe::Button_CancelClick()
{
    setEditing(Mode::None);
}

void Form_JZSet_pipe::Button_quitClick()
{
    close();
}

void Form_JZSet_pipe::Button_helpClick()
{
    ShowHelp(this, kHelpContext);
}
