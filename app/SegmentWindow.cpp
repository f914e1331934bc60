#include "app/SegmentWindow.h"

#include "app/DataDir.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "app/RecordTableStore.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

namespace
{
constexpr int kMargin = 8, kButtonHeight = 26, kGridHeight = 252;
} // namespace

SegmentListGroup NewSegmentListGroup(QWidget* window)
{
    SegmentListGroup g;
    g.box = new QGroupBox(QStringLiteral("管段列表"), window);
    g.box->setObjectName(QStringLiteral("GroupBox_list"));
    g.box->setGeometry(kMargin, SegmentGroupsTop, SegmentListWidth, SegmentGroupsHeight);
    g.list = new QListWidget(g.box);
    g.list->setObjectName(QStringLiteral("ListBox_pipe"));
    g.list->setGeometry(8, 20, 104, 232);
    g.add = NewButton(g.box, "Button_add", QStringLiteral("添加(&A)"), {118, 20, 70, 26});
    g.edit = NewButton(g.box, "Button_edit", QStringLiteral("编辑(&E)"), {118, 54, 70, 26});
    g.remove = NewButton(g.box, "Button_del", QStringLiteral("删除(&D)"), {118, 88, 70, 26});
    // Loops are made of the listed segments. "浏览(&R)..." of the bottom row has R.
    g.loops = NewButton(g.box, "Button_loops", QStringLiteral("环路(&U)..."), {118, 226, 70, 26});
    return g;
}

QTableView* NewSegmentGrid(QWidget* window, TableGridModel* model, RecordTableStore& table,
                           std::function<void()> loadCurrent)
{
    auto* grid = new QTableView(window);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setGeometry(kMargin, SegmentGroupsTop + SegmentGroupsHeight + 6,
                      window->width() - 2 * kMargin, kGridHeight);
    SetUpRecordGrid(grid, model);
    QObject::connect(
        grid, &QTableView::clicked, window,
        [window, &table, loadCurrent = std::move(loadCurrent)](const QModelIndex& index) {
            Guarded(window, [&] {
                table.moveTo(index.row());
                loadCurrent();
            });
        });
    return grid;
}

ProjectRow NewProjectRow(QWidget* w)
{
    const int top = w->height() - kMargin - kButtonHeight;
    ProjectRow r;
    r.newProject = NewButton(w, "Button_new", QStringLiteral("新建(&N)"), {8, top, 70, 26});
    r.open = NewButton(w, "Button_open", QStringLiteral("打开(&O)"), {82, top, 70, 26});
    r.excel = NewButton(w, "Button_Excel", QStringLiteral("输出到Excel(&E)"), {156, top, 104, 26});
    NewLabel(w, "Label_FileName", QStringLiteral("输出结果文件名："), {268, top + 2, 98, 22});
    r.fileName = NewEdit(w, "Edit_FileName", {366, top + 2, 130, 22});
    ShowWholeTextInTip(r.fileName);
    r.browse = NewButton(w, "Button_browse", QStringLiteral("浏览(&R)..."), {500, top, 70, 26});
    r.view = NewButton(w, "Button_view", QStringLiteral("查看结果(&L)"), {574, top, 84, 26});
    r.quit = NewButton(w, "Button_quit", QStringLiteral("退出(&Q)"), {666, top, 60, 26});
    r.help = NewButton(w, "Button_help", QStringLiteral("帮助(&H)"), {732, top, 60, 26});
    return r;
}

QString SelectedSegmentNumber(QWidget* window, const QListWidget* list)
{
    const QString number = SelectedText(list);
    if (number.isEmpty())
        prompts().error(window, QStringLiteral("请选择管段编号！"));
    return number;
}

SegmentTableList::SegmentTableList(RecordTableStore& table, QString defaultFileName,
                                   SegmentKeys keys)
    : table_(table), defaultFileName_(std::move(defaultFileName)), keys_(keys)
{
}

void SegmentTableList::open()
{
    if (table_.isOpen())
        return;
    table_.setPath(path_.isEmpty() ? DataDir::file(defaultFileName_) : path_);
    table_.open();
    checkRecords();
}

// A table holding values that no calculation stores is not shown: its grid
// would list them as results.
void SegmentTableList::checkRecords()
{
    if (!keys_.check)
        return;
    try {
        keys_.check(table_);
    } catch (...) {
        table_.close();
        throw;
    }
}

void SegmentTableList::fill()
{
    list_->clear();
    list_->addItems(keys_.numbers(table_));
}

void SegmentTableList::use(const QString& path)
{
    const QString previous = table_.path();
    const bool wasOpen = table_.isOpen();
    SwitchTableFile(table_, path);
    if (keys_.check) {
        try {
            keys_.check(table_);
        } catch (...) {
            table_.close();
            table_.setPath(previous);
            if (wasOpen)
                table_.open();
            throw;
        }
    }
    path_ = path;
    fill();
}

bool SegmentTableList::findSelected(QWidget* window)
{
    const QString number = SelectedSegmentNumber(window, list_);
    if (number.isEmpty())
        return false;
    open();
    if (!keys_.find(table_, number)) { // deleted behind the list's back
        fill();
        prompts().error(window,
                        QStringLiteral("管段表中已没有管段“%1”！").arg(QuotedInput(number)));
        return false;
    }
    return true;
}

void SegmentTableList::deleteSelected(QWidget* window)
{
    const QString number = SelectedSegmentNumber(window, list_);
    if (number.isEmpty())
        return;
    open();
    if (prompts().confirm(window, QStringLiteral("确实要删除该项吗？")))
        keys_.remove(table_, number);
    fill();
}
