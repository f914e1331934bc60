#include "app/TableGridModel.h"

#include "app/Numbers.h"

#include <QLocale>

TableGridModel::TableGridModel(RecordTableStore* table, QObject* parent)
    : QAbstractTableModel(parent), table_(table)
{
    connect(table_, &RecordTableStore::contentsChanged, this, &TableGridModel::reload);
    rows_ = table_->records();
}

void TableGridModel::reload()
{
    beginResetModel();
    rows_ = table_->records();
    endResetModel();
}

int TableGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int TableGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(table_->declaration().fields.size());
}

QVariant TableGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()) || index.column() >= columnCount())
        return {};
    const FieldDeclaration& field = table_->declaration().fields[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return displayText(field, rows_[index.row()].values[index.column()]);
    case Qt::TextAlignmentRole:
        return int(field.alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    const FieldDeclaration& field = table_->declaration().fields[section];
    switch (role) {
    case Qt::DisplayRole:
        return field.title;
    case Qt::TextAlignmentRole:
        return int(field.alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const
{
    // Selectable for the current-row highlight, never editable.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int TableGridModel::columnWidthChars(int column) const
{
    if (column < 0 || column >= columnCount())
        return 0;
    return table_->declaration().fields[column].gridWidth;
}

QString TableGridModel::displayText(const FieldDeclaration& field, const QVariant& value)
{
    // A picture is not shown in a grid; its cell stays empty.
    if (!value.isValid() || field.type == FieldType::Picture)
        return QString();
    if (value.typeId() != QMetaType::Double)
        return value.toString();
    if (field.pattern.isEmpty())
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return FormatNumber(value.toDouble(), field.pattern);
}
