// One record of a segment table as the commands print it: plain lines with
// the grid's titles and formats, a JSON object, or a CSV row.
#pragma once

#include "app/RecordTableStore.h"
#include "cli/Commands.h"

#include <QList>
#include <QMap>
#include <QVariant>

// A JSON string literal.
QString JsonString(const QString& text);
// {"name": value, ...}: texts (QString values) as strings, numbers at full
// precision, nothing (an invalid QVariant) as null.
QString JsonRecord(const QStringList& names, const QList<QVariant>& values);
// The values as CSV fields: texts quoted where needed, numbers at full precision.
QStringList CsvRecord(const QList<QVariant>& values);
// One line per declared field: its grid title (trimmed) and the value as the
// grid shows it; values holds at least one value per field.
void PrintRecord(CliIo& io, const TableDeclaration& declaration, const QList<QVariant>& values);
