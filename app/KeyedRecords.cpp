#include "app/KeyedRecords.h"

QStringList KeyValues(RecordTableStore& table, const QString& keyField)
{
    SuspendedUpdates suspended(table);
    QStringList keys;
    for (table.first(); !table.eof(); table.next())
        keys << table.text(keyField);
    return keys;
}

bool FindKeyedRecord(RecordTableStore& table, const QString& keyField, const QString& key)
{
    SuspendedUpdates suspended(table);
    for (table.first(); !table.eof(); table.next()) {
        if (table.text(keyField) == key)
            return true;
    }
    return false;
}

bool DeleteKeyedRecord(RecordTableStore& table, const QString& keyField, const QString& key)
{
    if (!FindKeyedRecord(table, keyField, key))
        return false;
    table.remove();
    return true;
}
