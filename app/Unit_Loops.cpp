#include "app/Unit_Loops.h"

#include "app/Fonts.h"
#include "app/FormWidgets.h"
#include "app/Guarded.h"
#include "app/HelpWindow.h"
#include "app/Numbers.h"
#include "app/Prompts.h"
#include "app/RecordTableStore.h"
#include "app/ReportActions.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

namespace
{

constexpr int kWidth = 800, kHeight = 560;
constexpr int kFieldHeight = 22, kButtonHeight = 26;
const QString kTotalField = QStringLiteral("ZL_z");
const QString kListSeparator = QStringLiteral("、");

QString percentText(double fraction)
{
    return FormatNumber(fraction * 100, QStringLiteral("0.0"));
}

// The limit as the user types it: "15", "12.5".
QString limitText(double fraction)
{
    return QString::number(fraction * 100, 'g', 12);
}

QTableWidget* newFigureGrid(QWidget* parent, const char* name, QRect geometry,
                            const QStringList& titles, const QList<int>& widths)
{
    auto* grid = new QTableWidget(0, int(titles.size()), parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setGeometry(geometry);
    grid->setHorizontalHeaderLabels(titles);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(20);
    for (int column = 0; column < widths.size(); ++column)
        grid->setColumnWidth(column, widths[column]);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

// numberColumns: the columns from which on, up to the last, numbers stand
// (right-aligned); the last column is a note.
void setRow(QTableWidget* grid, int row, const QStringList& cells, int numberColumns)
{
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        if (column >= numberColumns && column < cells.size() - 1)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->setItem(row, column, item);
    }
}

QStringList checkedItems(const QListWidget* list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->checkState() == Qt::Checked)
            names << list->item(row)->text();
    return names;
}

} // namespace

Form_Loops::Form_Loops(LoopsSegmentTable source, QWidget* parent)
    : QDialog(parent), source_(std::move(source))
{
    setObjectName(QStringLiteral("Form_Loops"));
    setWindowTitle(QStringLiteral("环路与并联环路组"));
    setFont(SongFontPx(12));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);

    buildLoopGroup();
    buildParallelGroup();
    buildFigureGrids();
    buildBottomRow();
    // Enter in a field presses nothing: the fields belong to different actions.
    SetUpKeyboard(this, nullptr);
}

Form_Loops::~Form_Loops() = default;

void Form_Loops::buildLoopGroup()
{
    auto* box = new QGroupBox(QStringLiteral("环路"), this);
    box->setObjectName(QStringLiteral("GroupBox_loops"));
    box->setGeometry(8, 4, 388, 262);
    ListBox_loops = new QListWidget(box);
    ListBox_loops->setObjectName(QStringLiteral("ListBox_loops"));
    ListBox_loops->setGeometry(8, 20, 100, 232);

    NewLabel(box, "Label_loop_name", QStringLiteral("环路名称："), {116, 20, 66, kFieldHeight});
    Edit_loop_name = NewEdit(box, "Edit_loop_name", {182, 20, 96, kFieldHeight});
    Edit_loop_name->setMaxLength(LoopNameSize);
    NewLabel(box, "Label_loop_segments", QStringLiteral("管段编号："), {116, 50, 66, kFieldHeight});
    Edit_loop_segments = NewEdit(box, "Edit_loop_segments", {182, 50, 198, kFieldHeight});
    Edit_loop_segments->setPlaceholderText(QStringLiteral("如 1,2,3"));
    ShowWholeTextInTip(Edit_loop_segments);
    NewLabel(box, "Label_segments", QStringLiteral("工程管段："), {116, 80, 66, kFieldHeight});
    ListBox_segments = new QListWidget(box);
    ListBox_segments->setObjectName(QStringLiteral("ListBox_segments"));
    ListBox_segments->setGeometry(182, 80, 96, 172);
    ListBox_segments->setSelectionMode(QAbstractItemView::ExtendedSelection);

    Button_pick =
        NewButton(box, "Button_pick", QStringLiteral("加入所选(&I)"), {286, 80, 94, kButtonHeight});
    Button_loop_add = NewButton(box, "Button_loop_add", QStringLiteral("添加(&A)"),
                                {286, 120, 94, kButtonHeight});
    Button_loop_edit = NewButton(box, "Button_loop_edit", QStringLiteral("编辑(&E)"),
                                 {286, 152, 94, kButtonHeight});
    Button_loop_del = NewButton(box, "Button_loop_del", QStringLiteral("删除(&D)"),
                                {286, 184, 94, kButtonHeight});
    Button_loop_save = NewButton(box, "Button_loop_save", QStringLiteral("保存环路(&V)"),
                                 {286, 226, 94, kButtonHeight});

    ConnectGuarded(Button_pick, &QPushButton::clicked, this, &Form_Loops::Button_pickClick);
    ConnectGuarded(ListBox_segments, &QListWidget::itemDoubleClicked, this,
                   &Form_Loops::Button_pickClick);
    ConnectGuarded(Button_loop_add, &QPushButton::clicked, this, &Form_Loops::Button_loop_addClick);
    ConnectGuarded(Button_loop_edit, &QPushButton::clicked, this,
                   &Form_Loops::Button_loop_editClick);
    ConnectGuarded(ListBox_loops, &QListWidget::itemDoubleClicked, this,
                   &Form_Loops::Button_loop_editClick);
    ConnectGuarded(Button_loop_del, &QPushButton::clicked, this, &Form_Loops::Button_loop_delClick);
    ConnectGuarded(Button_loop_save, &QPushButton::clicked, this,
                   &Form_Loops::Button_loop_saveClick);
}

void Form_Loops::buildParallelGroup()
{
    auto* box = new QGroupBox(QStringLiteral("并联环路组"), this);
    box->setObjectName(QStringLiteral("GroupBox_groups"));
    box->setGeometry(404, 4, 388, 262);
    ListBox_groups = new QListWidget(box);
    ListBox_groups->setObjectName(QStringLiteral("ListBox_groups"));
    ListBox_groups->setGeometry(8, 20, 120, 232);
    NewLabel(box, "Label_group_loops", QStringLiteral("组内环路："), {136, 20, 70, kFieldHeight});
    ListBox_group_loops = new QListWidget(box);
    ListBox_group_loops->setObjectName(QStringLiteral("ListBox_group_loops"));
    ListBox_group_loops->setGeometry(136, 44, 120, 208);

    Button_group_add = NewButton(box, "Button_group_add", QStringLiteral("添加组(&G)"),
                                 {264, 20, 116, kButtonHeight});
    Button_group_edit = NewButton(box, "Button_group_edit", QStringLiteral("编辑组(&B)"),
                                  {264, 52, 116, kButtonHeight});
    Button_group_del = NewButton(box, "Button_group_del", QStringLiteral("删除组(&K)"),
                                 {264, 84, 116, kButtonHeight});
    Button_group_save = NewButton(box, "Button_group_save", QStringLiteral("保存组(&W)"),
                                  {264, 116, 116, kButtonHeight});
    NewLabel(box, "Label_limit", QStringLiteral("平衡限值(%)："), {264, 170, 116, kFieldHeight});
    Edit_limit = NewEdit(box, "Edit_limit", {264, 196, 56, kFieldHeight});
    Edit_limit->setText(limitText(DefaultBalanceLimit));
    Button_limit =
        NewButton(box, "Button_limit", QStringLiteral("设定(&T)"), {326, 194, 54, kButtonHeight});

    ConnectGuarded(Button_group_add, &QPushButton::clicked, this,
                   &Form_Loops::Button_group_addClick);
    ConnectGuarded(Button_group_edit, &QPushButton::clicked, this,
                   &Form_Loops::Button_group_editClick);
    ConnectGuarded(ListBox_groups, &QListWidget::itemDoubleClicked, this,
                   &Form_Loops::Button_group_editClick);
    ConnectGuarded(Button_group_del, &QPushButton::clicked, this,
                   &Form_Loops::Button_group_delClick);
    ConnectGuarded(Button_group_save, &QPushButton::clicked, this,
                   &Form_Loops::Button_group_saveClick);
    ConnectGuarded(Button_limit, &QPushButton::clicked, this, &Form_Loops::Button_limitClick);
}

void Form_Loops::buildFigureGrids()
{
    DBGrid_loops = newFigureGrid(this, "DBGrid_loops", {8, 272, 784, 118},
                                 {QStringLiteral("环路"), QStringLiteral("管段"),
                                  QStringLiteral("管段数"), QStringLiteral("总阻力(Pa)"),
                                  QStringLiteral("占最大(%)"), QStringLiteral("说明")},
                                 {90, 250, 60, 90, 80});
    DBGrid_groups = newFigureGrid(this, "DBGrid_groups", {8, 396, 784, 122},
                                  {QStringLiteral("并联环路组"), QStringLiteral("共用管段"),
                                   QStringLiteral("环路"), QStringLiteral("非共用段阻力(Pa)"),
                                   QStringLiteral("相对差额(%)"), QStringLiteral("说明")},
                                  {130, 150, 90, 120, 90});
}

void Form_Loops::buildBottomRow()
{
    const int top = kHeight - 8 - kButtonHeight;
    Button_new = NewButton(this, "Button_new", QStringLiteral("新建(&N)"), {8, top, 70, 26});
    Button_open = NewButton(this, "Button_open", QStringLiteral("打开(&O)"), {82, top, 70, 26});
    Button_save = NewButton(this, "Button_save", QStringLiteral("保存(&S)"), {156, top, 70, 26});
    Button_print = NewButton(this, "Button_print", QStringLiteral("打印(&P)"), {230, top, 70, 26});
    Button_font =
        NewButton(this, "Button_font", QStringLiteral("字体设置(&F)"), {304, top, 90, 26});
    Button_quit = NewButton(this, "Button_quit", QStringLiteral("退出(&Q)"), {666, top, 60, 26});
    Button_help = NewButton(this, "Button_help", QStringLiteral("帮助(&H)"), {732, top, 60, 26});
    report_ = std::make_unique<ReportActions>(this, Button_save, QStringLiteral("新建"),
                                              QStringLiteral("打开文件"));

    ConnectGuarded(Button_new, &QPushButton::clicked, this, &Form_Loops::Button_newClick);
    ConnectGuarded(Button_open, &QPushButton::clicked, this, &Form_Loops::Button_openClick);
    ConnectGuarded(Button_save, &QPushButton::clicked, this, &Form_Loops::Button_saveClick);
    ConnectGuarded(Button_print, &QPushButton::clicked, this, &Form_Loops::Button_printClick);
    ConnectGuarded(Button_font, &QPushButton::clicked, this, &Form_Loops::Button_fontClick);
    ConnectGuarded(Button_quit, &QPushButton::clicked, this, &Form_Loops::Button_quitClick);
    ConnectGuarded(Button_help, &QPushButton::clicked, this, &Form_Loops::Button_helpClick);
}

void Form_Loops::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// Everything is read afresh at every showing: the loops file too, which
// the command line may have written since.
void Form_Loops::FormShow()
{
    report_->windowShown();
    Guarded(this, [this] {
        source_.open();
        readTable(true);
    });
}

void Form_Loops::refresh()
{
    if (!isVisible() || !source_.table->isOpen())
        return;
    Guarded(this, [this] { readTable(false); });
}

void Form_Loops::readTable(bool readLoopsAgain)
{
    const RecordTableStore& table = *source_.table;
    int numberIndex = -1;
    for (int field = 0; field < table.fieldCount(); ++field)
        if (table.fieldName(field).compare(source_.numberField, Qt::CaseInsensitive) == 0)
            numberIndex = field;
    numbers_.clear();
    for (const RecordTableStore::Record& record : table.records())
        if (numberIndex >= 0)
            numbers_ << record.values[std::size_t(numberIndex)].toString();
    resistances_ = ResistancesOf(table.declaration(), LoadedRecords(table.records()),
                                 source_.numberField, kTotalField);

    const QString path = SegmentLoopsPath(table.path());
    if (readLoopsAgain || path != loopsPath_) {
        loopsPath_ = path;
        loops_ = SegmentLoops{};
        readFailure_.clear();
        editingGroup_ = -1;
        try {
            loops_ = ReadSegmentLoops(path);
        } catch (const UserError& failed) {
            // Shown empty, and not written over: the file stays for its owner to mend.
            readFailure_ = failed.text();
            showLoops();
            throw;
        }
        Edit_limit->setText(limitText(loops_.limit));
    }
    showLoops();
}

bool Form_Loops::store(const SegmentLoops& changed)
{
    if (!readFailure_.isEmpty()) {
        prompts().error(this, readFailure_ + QStringLiteral("\n环路未保存！"));
        return false;
    }
    try {
        WriteSegmentLoops(loopsPath_, changed);
    } catch (const UserError& failed) {
        // The file keeps the loops it had, and so does the dialog.
        prompts().error(this, QStringLiteral("环路未保存！\n") + failed.text());
        return false;
    }
    loops_ = changed;
    showLoops();
    return true;
}

// The lists and the figures from loops_ and the table read last; the
// selections stay where they were as far as the items are still there.
void Form_Loops::showLoops()
{
    const QString selectedLoop = SelectedText(ListBox_loops);
    const int selectedGroupRow = selectedGroup();
    const QStringList checked = checkedItems(ListBox_group_loops);

    ListBox_loops->clear();
    ListBox_group_loops->clear();
    for (const SegmentLoop& loop : loops_.loops) {
        ListBox_loops->addItem(loop.name);
        auto* item = new QListWidgetItem(loop.name, ListBox_group_loops);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(checked.contains(loop.name) ? Qt::Checked : Qt::Unchecked);
    }
    if (const auto found = ListBox_loops->findItems(selectedLoop, Qt::MatchExactly);
        !selectedLoop.isEmpty() && !found.isEmpty())
        ListBox_loops->setCurrentItem(found.first());

    ListBox_groups->clear();
    for (const LoopGroup& group : loops_.groups)
        ListBox_groups->addItem(group.loops.join(kListSeparator));
    if (selectedGroupRow >= 0 && selectedGroupRow < ListBox_groups->count())
        ListBox_groups->setCurrentRow(selectedGroupRow);
    if (editingGroup_ >= ListBox_groups->count())
        editingGroup_ = -1;

    const QStringList picked = [this] {
        QStringList texts;
        for (const QListWidgetItem* item : ListBox_segments->selectedItems())
            texts << item->text();
        return texts;
    }();
    ListBox_segments->clear();
    ListBox_segments->addItems(numbers_);
    for (int row = 0; row < ListBox_segments->count(); ++row)
        ListBox_segments->item(row)->setSelected(
            picked.contains(ListBox_segments->item(row)->text()));

    showFigures();
}

void Form_Loops::showFigures()
{
    figures_ = ComputeLoopFigures(loops_, resistances_);

    DBGrid_loops->setRowCount(int(figures_.loops.size()));
    int row = 0;
    for (const LoopFigures& loop : figures_.loops) {
        QString note = loop.mostUnfavourable ? QStringLiteral("最不利环路") : QString();
        if (!loop.missing.isEmpty()) {
            if (!note.isEmpty())
                note += QStringLiteral("；");
            note += QStringLiteral("管段表中没有管段%1").arg(loop.missing.join(kListSeparator));
        }
        setRow(DBGrid_loops, row++,
               {loop.name, loop.segments.join(QStringLiteral(",")), QString::number(loop.count),
                FormatNumber(loop.total, QStringLiteral("0.0")), percentText(loop.share), note},
               2);
    }

    int rows = 0;
    for (const GroupFigures& group : figures_.groups)
        rows += int(group.differences.size());
    DBGrid_groups->setRowCount(rows);
    row = 0;
    const QString above = QStringLiteral("超过%1%，需调节").arg(limitText(figures_.limit));
    for (const GroupFigures& group : figures_.groups) {
        const QString name = group.loops.join(kListSeparator);
        const QString common =
            group.common.isEmpty() ? QStringLiteral("无") : group.common.join(QStringLiteral(","));
        for (const LoopDifference& d : group.differences) {
            const QString note = d.aboveLimit              ? above
                                 : d.loop == group.largest ? QStringLiteral("阻力最大")
                                                           : QString();
            setRow(DBGrid_groups, row++,
                   {name, common, d.loop, FormatNumber(d.nonCommon, QStringLiteral("0.0")),
                    percentText(d.difference), note},
                   3);
            // A loop above the limit stands out in red as well as in words.
            if (d.aboveLimit)
                for (int column = 0; column < DBGrid_groups->columnCount(); ++column)
                    DBGrid_groups->item(row - 1, column)->setForeground(Qt::red);
        }
    }
}

int Form_Loops::selectedGroup() const
{
    const QList<QListWidgetItem*> selected = ListBox_groups->selectedItems();
    return selected.isEmpty() ? -1 : ListBox_groups->row(selected.first());
}

// The segments picked from the table's list go after those typed, in the
// list's order.
void Form_Loops::Button_pickClick()
{
    QStringList picked;
    for (int row = 0; row < ListBox_segments->count(); ++row)
        if (ListBox_segments->item(row)->isSelected())
            picked << ListBox_segments->item(row)->text();
    if (picked.isEmpty()) {
        prompts().error(this, QStringLiteral("请选择管段编号！"));
        return;
    }
    QString text = Edit_loop_segments->text().trimmed();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char(',')) && !text.endsWith(QChar(0xFF0C)) &&
        !text.endsWith(kListSeparator))
        text += QLatin1Char(',');
    Edit_loop_segments->setText(text + picked.join(QLatin1Char(',')));
}

void Form_Loops::Button_loop_addClick()
{
    Edit_loop_name->clear();
    Edit_loop_segments->clear();
    ListBox_segments->clearSelection();
    ListBox_loops->clearSelection();
}

void Form_Loops::Button_loop_editClick()
{
    const QString name = SelectedText(ListBox_loops);
    if (name.isEmpty()) {
        prompts().error(this, QStringLiteral("请选择环路！"));
        return;
    }
    const SegmentLoop* loop = loops_.find(name);
    if (!loop) {
        showLoops();
        prompts().error(this, QStringLiteral("已没有环路“%1”！").arg(name));
        return;
    }
    Edit_loop_name->setText(loop->name);
    Edit_loop_segments->setText(loop->segments.join(QLatin1Char(',')));
}

// A loop is saved under its name: the loop of that name is replaced (in its
// place, its groups kept), any other name is a new loop.
void Form_Loops::Button_loop_saveClick()
{
    const QString text = Edit_loop_segments->text();
    SegmentLoop loop{Edit_loop_name->text(),
                     text.trimmed().isEmpty() ? QStringList() : ParseSegmentList(text)};
    SegmentLoops changed = loops_;
    PutLoop(changed, loop, numbers_, loops_.find(loop.name) ? loop.name : QString());
    if (!store(changed))
        return;
    const auto found = ListBox_loops->findItems(loop.name, Qt::MatchExactly);
    if (!found.isEmpty())
        ListBox_loops->setCurrentItem(found.first());
}

void Form_Loops::Button_loop_delClick()
{
    const QString name = SelectedText(ListBox_loops);
    if (name.isEmpty()) {
        prompts().error(this, QStringLiteral("请选择环路！"));
        return;
    }
    SegmentLoops changed = loops_;
    const QStringList groupsGone = RemoveLoop(changed, name);
    QString question = QStringLiteral("确实要删除环路“%1”吗？").arg(name);
    if (!groupsGone.isEmpty())
        question += QStringLiteral("\n只剩一个环路的并联环路组“%1”也将删除。")
                        .arg(groupsGone.join(QStringLiteral("”、“")));
    if (!prompts().confirm(this, question))
        return;
    if (store(changed)) {
        editingGroup_ = -1;
        if (Edit_loop_name->text() == name)
            Button_loop_addClick();
    }
}

void Form_Loops::Button_group_addClick()
{
    editingGroup_ = -1;
    for (int row = 0; row < ListBox_group_loops->count(); ++row)
        ListBox_group_loops->item(row)->setCheckState(Qt::Unchecked);
    ListBox_groups->clearSelection();
}

void Form_Loops::Button_group_editClick()
{
    const int index = selectedGroup();
    if (index < 0) {
        prompts().error(this, QStringLiteral("请选择并联环路组！"));
        return;
    }
    editingGroup_ = index;
    const QStringList& names = loops_.groups[std::size_t(index)].loops;
    for (int row = 0; row < ListBox_group_loops->count(); ++row) {
        QListWidgetItem* item = ListBox_group_loops->item(row);
        item->setCheckState(names.contains(item->text()) ? Qt::Checked : Qt::Unchecked);
    }
}

// The loops checked, in the loops' order, replace the group "编辑组" loaded
// or make a new one.
void Form_Loops::Button_group_saveClick()
{
    SegmentLoops changed = loops_;
    PutGroup(changed, LoopGroup{checkedItems(ListBox_group_loops)}, editingGroup_);
    const int index = editingGroup_ >= 0 ? editingGroup_ : int(changed.groups.size()) - 1;
    if (!store(changed))
        return;
    editingGroup_ = index;
    ListBox_groups->setCurrentRow(index);
}

void Form_Loops::Button_group_delClick()
{
    const int index = selectedGroup();
    if (index < 0) {
        prompts().error(this, QStringLiteral("请选择并联环路组！"));
        return;
    }
    const QString name = loops_.groups[std::size_t(index)].loops.join(kListSeparator);
    if (!prompts().confirm(this, QStringLiteral("确实要删除并联环路组“%1”吗？").arg(name)))
        return;
    SegmentLoops changed = loops_;
    RemoveGroup(changed, index);
    if (store(changed))
        editingGroup_ = -1;
}

void Form_Loops::Button_limitClick()
{
    SegmentLoops changed = loops_;
    changed.limit = ParseBalanceLimitPercent(Edit_limit->text());
    if (!store(changed))
        Edit_limit->setText(limitText(loops_.limit));
}

void Form_Loops::Button_newClick()
{
    report_->chooseNew();
}

void Form_Loops::Button_openClick()
{
    report_->chooseExisting();
}

void Form_Loops::Button_saveClick()
{
    report_->save(LoopReportLines(figures_));
}

void Form_Loops::Button_printClick()
{
    report_->print(LoopReportLines(figures_));
}

void Form_Loops::Button_fontClick()
{
    report_->chooseFont();
}

void Form_Loops::Button_quitClick()
{
    close();
}

void Form_Loops::Button_helpClick()
{
    ShowHelp(this, source_.helpContext);
}
