// Records found by the text of a key field (a segment number): the segment
// lists of the resistance calculators, the records they edit and delete.
#pragma once

#include "app/RecordTableStore.h"

#include <QStringList>

// Every value of keyField in table order.
QStringList KeyValues(RecordTableStore& table, const QString& keyField);
// Makes the first record whose keyField equals key current; false (at eof)
// when there is none.
bool FindKeyedRecord(RecordTableStore& table, const QString& keyField, const QString& key);
// Deletes the first record whose keyField equals key; false when none.
bool DeleteKeyedRecord(RecordTableStore& table, const QString& keyField, const QString& key);
