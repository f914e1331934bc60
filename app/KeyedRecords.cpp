#include "app/KeyedRecords.h"

#include "app/Numbers.h"

#include <cmath>

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

QString StoredNumberFault(double value, bool whole, double largest)
{
    if (!std::isfinite(value))
        return QStringLiteral("不是有效的数值");
    if (value < 0)
        return QStringLiteral("不能小于0");
    if (whole && value != std::floor(value))
        return QStringLiteral("必须为整数");
    if (!(value <= largest && value < LargestSegmentNumber))
        return QStringLiteral("超出范围");
    return {};
}

void RefuseSegmentRecord(const RecordTableStore& table, size_t position, const QString& number,
                         const QString& title, const QString& field, const QString& fault)
{
    throw UserError(QStringLiteral("管段表“%1”的第%2条记录（管段编号“%3”）中%4（%5）%6，"
                                   "无法使用该管段表！")
                        .arg(table.path())
                        .arg(position + 1)
                        .arg(QuotedInput(number), title, field, fault));
}
