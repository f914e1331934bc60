// The read-only grid view of a record table: one column per declared field,
// titled, aligned and formatted as declared. The model follows the table
// (reset on every change) except while the table's updates are suspended; it
// shows a copy of the records taken at its last reset, so a suspended read
// loop never disturbs the view.
//
// The window sizes the columns from columnWidthChars() with its grid font and
// makes a clicked row current with table.moveTo(index.row()).
#pragma once

#include "app/RecordTableStore.h"

#include <QAbstractTableModel>
#include <vector>

class TableGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TableGridModel(RecordTableStore* table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // DisplayRole: the value as shown ("0.00" pattern etc.; nothing and
    // pictures show empty). TextAlignmentRole: the declared alignment, vertically centred.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Horizontal: the declared title (DisplayRole) and alignment.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Declared width of a column in characters (a CJK character counts two).
    int columnWidthChars(int column) const;

    // The text a cell shows for a value of a field.
    static QString displayText(const FieldDeclaration& field, const QVariant& value);

private:
    void reload();

    RecordTableStore* table_;
    std::vector<RecordTableStore::Record> rows_;
};
