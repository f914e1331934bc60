// The bin tables of a weather year as files for spreadsheet programs: a
// workbook with one sheet per table, or the same two tables as CSV. No
// widgets.
//
// Both files hold the same two tables, cell for cell:
//   干球温度-含湿量   rows by dry-bulb bin (only bins with hours), a column
//                     per moisture bin from the lowest to the highest with
//                     hours (an empty cell: no hours), then 合计; a last row
//                     合计 sums each column.
//   干球温度-湿球温度 per dry-bulb bin its hours and the mean coincident wet
//                     bulb (0.00 ℃); a last row 合计 with the hours.
// A bin is labelled by its range, "20～21" for [20, 21) ℃. Both are headed
// by the station, the filter (时段), the pressure the states were computed at
// and the hours kept, with those the library could not compute.
//
// The workbook is written by the results-workbook writer (one sheet per
// table, named as above); the CSV is UTF-8 with a byte order mark, so that
// spreadsheet programs read its Chinese texts as UTF-8, and CR LF line ends:
// its heading lines (label, value), a blank line, the first table (its title
// line, its column titles with their units, its rows), a blank line, the
// second table the same way. Either write leaves an existing file whole when
// it fails and throws FileWriteError.
#pragma once

#include "weather/WeatherYearFigures.h"

#include <QString>

// The document title the bin tables' workbook carries in its properties.
inline constexpr char BinTablesDocumentTitle[] = "气象年逐时频数表";

void WriteBinTablesCsv(const QString& path, const WeatherBinTables& tables);
void WriteBinTablesWorkbook(const QString& path, const WeatherBinTables& tables);
