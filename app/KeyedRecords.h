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

// Every number of a segment stays below a billion in size: nine digits before
// the point, so the grid, the listings and the workbook's cells of 20
// characters show it whole in its pattern.
inline constexpr double LargestSegmentNumber = 1e9;

// Why a number read from a segment table breaks the rules its calculation
// stores numbers by, or nothing: not finite, below 0, fractional where it must
// be whole, above largest or not below LargestSegmentNumber.
QString StoredNumberFault(double value, bool whole, double largest);

// Throws the refusal of a segment table's record at position (from 0), whose
// segment number is number, for the field titled title: its fault.
[[noreturn]] void RefuseSegmentRecord(const RecordTableStore& table, size_t position,
                                      const QString& number, const QString& title,
                                      const QString& field, const QString& fault);
