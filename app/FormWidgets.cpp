#include "app/FormWidgets.h"

#include "app/Fonts.h"
#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "app/TableGridModel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QtMath>

#include <algorithm>
#include <vector>

namespace
{

// Decides what Enter does in a window (see SetUpKeyboard). It watches the
// window, which sees every Enter its focused control leaves unused, and the
// drop-downs, which would otherwise take Enter for themselves.
class EnterKey : public QObject
{
public:
    EnterKey(QDialog* window) : QObject(window), window_(window)
    {
        setObjectName(QStringLiteral("EnterKey"));
    }

    void setAction(QPushButton* action)
    {
        action_ = action;
        if (action)
            action->setDefault(true); // drawn as the default button
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent*>(event)))
            return QObject::eventFilter(watched, event);
        // A drop-down sees Enter before its field does; the window sees what
        // its focused control left.
        QWidget* focus = qobject_cast<QComboBox*>(watched) ? static_cast<QWidget*>(watched)
                                                           : window_->focusWidget();
        if (!focus)
            return false;
        if (auto* button = qobject_cast<QAbstractButton*>(focus);
            button && (qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button))) {
            button->click();
            return true;
        }
        for (QWidget* w = focus; w && w != window_; w = w->parentWidget())
            if (qobject_cast<QAbstractItemView*>(w))
                return true; // the list or grid has done with it what it does
        if (action_ && action_->isEnabled() && action_->isVisible())
            action_->click();
        return true;
    }

private:
    static bool isEnter(const QKeyEvent* key)
    {
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        return key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
    }

    QDialog* window_;
    QPointer<QPushButton> action_;
};

EnterKey* enterKeyOf(QDialog* window)
{
    auto* key =
        window->findChild<EnterKey*>(QStringLiteral("EnterKey"), Qt::FindDirectChildrenOnly);
    if (!key) {
        key = new EnterKey(window);
        window->installEventFilter(key);
    }
    return key;
}

bool Overlap(int a0, int aLength, int b0, int bLength)
{
    return std::max(a0, b0) < std::min(a0 + aLength, b0 + bLength);
}

// Reading order between two controls of one parent: in one row (their
// heights overlap) the left one first, in one column the upper one first.
// Two controls neither in a row nor in a column are not ordered here.
bool ReadsBefore(const QRect& a, const QRect& b)
{
    const bool row = Overlap(a.y(), a.height(), b.y(), b.height());
    const bool column = Overlap(a.x(), a.width(), b.x(), b.width());
    if (row && !column)
        return a.x() < b.x();
    if (column && !row)
        return a.y() < b.y();
    return false;
}

// The parent's controls in reading order: each time, of those no other
// remaining control reads before, the topmost (then leftmost) one.
QList<QWidget*> InReadingOrder(QList<QWidget*> left)
{
    const auto higher = [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    };
    QList<QWidget*> ordered;
    while (!left.isEmpty()) {
        int pick = -1, highest = 0;
        for (int i = 0; i < left.size(); ++i) {
            if (higher(left[i], left[highest]))
                highest = i;
            const bool free = std::none_of(left.begin(), left.end(), [&](const QWidget* other) {
                return other != left[i] && ReadsBefore(other->geometry(), left[i]->geometry());
            });
            if (free && (pick < 0 || higher(left[i], left[pick])))
                pick = i;
        }
        ordered << left.takeAt(pick < 0 ? highest : pick); // controls that overlap: topmost
    }
    return ordered;
}

// The controls Tab visits under parent, in reading order. Read-only fields
// are taken out of the walk.
void CollectTabStops(QWidget* parent, QList<QWidget*>& stops)
{
    QList<QWidget*> children;
    for (QObject* child : parent->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            children << w;
    for (QWidget* w : InReadingOrder(children)) {
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->isReadOnly()) {
            edit->setFocusPolicy(Qt::ClickFocus);
            continue;
        }
        // Tab leaves a list or grid instead of walking its cells.
        if (auto* view = qobject_cast<QAbstractItemView*>(w))
            view->setTabKeyNavigation(false);
        // A page control's tab bar and pages are walked as controls of their own.
        const bool control = !qobject_cast<QTabWidget*>(w) && w->focusPolicy() != Qt::NoFocus;
        if (!control)
            CollectTabStops(w, stops);
        else if (w->focusPolicy() & Qt::TabFocus)
            stops << w;
    }
}

} // namespace

QLineEdit* NewEdit(QWidget* parent, const char* name, QRect geometry)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    return edit;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

void SetUpKeyboard(QDialog* window, QPushButton* action)
{
    SetEnterAction(window, action);
    for (QComboBox* box : window->findChildren<QComboBox*>())
        box->installEventFilter(enterKeyOf(window));
    QList<QWidget*> stops;
    CollectTabStops(window, stops);
    for (int k = 1; k < stops.size(); ++k)
        QWidget::setTabOrder(stops[k - 1], stops[k]);
}

void SetEnterAction(QDialog* window, QPushButton* action)
{
    enterKeyOf(window)->setAction(action);
}

void ShowCurrentRecord(QTableView* grid, const RecordTableStore& table)
{
    const int row = table.currentIndex();
    if (row < 0 || !grid->model() || row >= grid->model()->rowCount())
        return;
    const QModelIndex index = grid->model()->index(row, 0);
    grid->setCurrentIndex(index);
    grid->scrollTo(index);
}

QComboBox* NewComboBox(QWidget* parent, const char* name, QRect geometry)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    KeepTypedText(box);
    return box;
}

void KeepTypedText(QComboBox* box)
{
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // An editable box's own completer completes inline from the items ("125"
    // shows as "1250") and ignores case; when editing ends, the box also
    // makes current the item that equals the text under the completer's case
    // rule, which then replaces the text. A case-sensitive completer that
    // offers nothing leaves exactly what was typed, and only an identical
    // item becomes current.
    auto* typedOnly = new QCompleter(QStringList(), box);
    typedOnly->setCaseSensitivity(Qt::CaseSensitive);
    box->setCompleter(typedOnly);
}

QRadioButton* NewRadio(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setGeometry(geometry);
    return radio;
}

void SetComboItems(QComboBox* box, const QStringList& items, const QString& text)
{
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(items);
    int widest = 0;
    for (int row = 0; row < box->count(); ++row)
        widest =
            std::max(widest, box->view()->sizeHintForIndex(box->model()->index(row, 0)).width());
    const int frame = 2 * box->view()->frameWidth();
    const int bar = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box->view());
    box->view()->setMinimumWidth(widest > 0 ? widest + frame + bar : 0);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void SetComboText(QComboBox* box, const QString& text)
{
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

QString SelectedText(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

namespace
{
// The columns' widths for the grid's present records (see SetUpRecordGrid).
void FitRecordGridColumns(QTableView* grid, const TableGridModel* model)
{
    const QFontMetrics metrics(grid->font());
    const QFontMetrics titleMetrics(grid->horizontalHeader()->font());
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    const int titleMargin =
        2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid->horizontalHeader());
    // A cell's text is drawn inside the cell less its grid line, with the
    // style's text margin at each side.
    const QFontMetricsF cellMetrics(grid->font());
    const int cellMargins =
        2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) +
        (grid->showGrid() ? 1 : 0);
    const int columns = model->columnCount();
    // The grid follows its table after every stored, edited or deleted
    // segment: the columns are fitted to the first kFittedRows records, so
    // that a store stays immediate in a table of 10,000 segments and more. A
    // wider cell further down is drawn shortened with "…".
    constexpr int kFittedRows = 2000;
    const int rows = std::min(model->rowCount(), kFittedRows);
    std::vector<int> needed(static_cast<size_t>(columns)), wanted = needed;
    int total = 0, slack = 0;
    for (int column = 0; column < columns; ++column) {
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        // The header keeps no column narrower than its minimum.
        int need = std::max(titleMetrics.horizontalAdvance(title) + titleMargin,
                            grid->horizontalHeader()->minimumSectionSize());
        // A column repeats its texts (fittings, sizes, lengths): each is
        // measured once.
        QHash<QString, int> measured;
        for (int row = 0; row < rows; ++row) {
            const QString text = model->index(row, column).data().toString();
            auto width = measured.constFind(text);
            if (width == measured.cend())
                width = measured.insert(text, qCeil(cellMetrics.horizontalAdvance(text)));
            need = std::max(need, *width + cellMargins);
        }
        needed[size_t(column)] = need;
        wanted[size_t(column)] = std::max(need, model->columnWidthChars(column) * charWidth + 10);
        total += wanted[size_t(column)];
        slack += wanted[size_t(column)] - need;
    }
    // Room for the columns when the vertical scroll bar is shown.
    const int room = grid->width() - 2 * grid->frameWidth() - grid->verticalHeader()->width() -
                     grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    const int excess = std::min(total - room, slack);
    int taken = 0, slackSeen = 0;
    for (int column = 0; column < columns; ++column) {
        int width = wanted[size_t(column)];
        if (excess > 0 && slack > 0) {
            // Each column gives back its share of the excess, in proportion
            // to its room beyond its title and cells, rounded so that the
            // shares add up to the excess.
            slackSeen += width - needed[size_t(column)];
            const int share = int(qint64(excess) * slackSeen / slack) - taken;
            taken += share;
            width -= share;
        }
        grid->setColumnWidth(column, width);
    }
}
} // namespace

void SetUpRecordGrid(QTableView* grid, TableGridModel* model)
{
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setStyleSheet(QStringLiteral("QTableView { background: white; }"));
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->verticalHeader()->setFixedWidth(14);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FitRecordGridColumns(grid, model);
    QObject::connect(model, &QAbstractItemModel::modelReset, grid,
                     [grid, model] { FitRecordGridColumns(grid, model); });
}

void ShowWholeTextInTip(QLineEdit* field)
{
    field->setToolTip(field->text());
    QObject::connect(field, &QLineEdit::textChanged, field, &QLineEdit::setToolTip);
}

void WidenForCaption(QWidget* window)
{
    const int needed = TitleBarWidth(window->windowTitle(), window->windowFlags());
    const int extra = needed - window->width();
    if (extra <= 0)
        return;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->move(child->x() + extra / 2, child->y());
    window->setFixedSize(needed, window->height());
}

QLabel* NewRaisedUnitLabel(QWidget* parent, const char* name, const QString& caption,
                           const QString& beforeGap, const QString& raised, QRect geometry)
{
    QLabel* label = NewLabel(parent, name, caption, geometry);
    auto* sup = new QLabel(raised, parent);
    sup->setObjectName(QString::fromLatin1(name) + QStringLiteral("_sup"));
    QFont small = label->font();
    small.setPixelSize(std::max(6, label->fontInfo().pixelSize() * 2 / 3));
    sup->setFont(small);
    const QFontMetrics metrics(label->font());
    const int top = geometry.y() + (geometry.height() - metrics.height()) / 2 - 3;
    sup->setGeometry(geometry.x() + metrics.horizontalAdvance(beforeGap), top,
                     QFontMetrics(small).horizontalAdvance(raised) + 2,
                     QFontMetrics(small).height());
    return label;
}

int TitleBarWidth(const QString& caption, Qt::WindowFlags flags)
{
    constexpr int kIconRoom = 32, kButtonBox = 46, kGap = 16;
    QFont title = SongFontPx(15);
    title.setBold(true);
    int buttons = 0;
    for (const Qt::WindowType hint :
         {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint})
        buttons += flags.testFlag(hint) ? 1 : 0;
    return kIconRoom + QFontMetrics(title).horizontalAdvance(caption) + kGap + buttons * kButtonBox;
}

QString FieldCaption(const QWidget* field)
{
    QWidget* parent = field->parentWidget();
    if (!parent)
        return {};
    const QRect place = field->geometry();
    const QLabel* left = nullptr;  // nearest on the field's row, left of it
    const QLabel* above = nullptr; // nearest over it, overlapping its columns
    for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == field)
            return FieldName(label->text());
        const QRect g = label->geometry();
        if (label->isHidden() || label->text().isEmpty())
            continue;
        const bool sameRow = g.center().y() >= place.top() && g.center().y() <= place.bottom();
        if (sameRow && g.right() <= place.left() && (!left || g.right() > left->geometry().right()))
            left = label;
        const bool overIt =
            g.bottom() <= place.top() && g.left() < place.right() && g.right() > place.left();
        if (overIt && (!above || g.bottom() > above->geometry().bottom()))
            above = label;
    }
    if (left || above)
        return FieldName((left ? left : above)->text());
    if (const auto* group = qobject_cast<const QGroupBox*>(parent))
        return FieldName(group->title());
    return {};
}

double ReadField(const QLineEdit* field)
{
    return ParseField(FieldCaption(field), field->text());
}
