#include "app/FormWidgets.h"

#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "app/TableGridModel.h"

#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>

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
    const QFontMetrics metrics(grid->font());
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        const int width =
            std::max(model->columnWidthChars(column) * charWidth, metrics.horizontalAdvance(title));
        grid->setColumnWidth(column, width + 10);
    }
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
