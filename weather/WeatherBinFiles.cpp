#include "weather/WeatherBinFiles.h"

#include "app/CheckedFile.h"
#include "app/CsvReader.h"
#include "app/Numbers.h"
#include "app/RecordTableStore.h"
#include "app/ResultsWorkbook.h"

#include <QVariant>
#include <algorithm>
#include <map>

namespace
{

// The heading's labels are padded to this many GBK bytes, so that their
// values line up in the workbook's fixed-pitch face.
constexpr int kLabelBytes = 16;
// The heading's rows start at row 3; one row is left blank below them.
constexpr int kFirstHeadingRow = 3;
// Cells' display patterns: hours are whole, a mean wet bulb to 0.01 ℃.
const QString kHoursPattern = QStringLiteral("0");
const QString kWetBulbPattern = QStringLiteral("0.00");
// A field long enough for any text of these tables.
constexpr int kTextSize = 64;

struct HeadingLine {
    QString label; // without its colon
    QString value;
};

// One table as both files show it: columns (title, unit, the pattern of its
// numbers; a text column has none) and rows of cells, each a QString, a
// double or nothing.
struct BinTable {
    QString sheetName;
    QString title;
    std::vector<WorkbookColumn> columns;
    std::vector<std::vector<QVariant>> rows;
};

QString BinText(int lower)
{
    return QStringLiteral("%1～%2").arg(lower).arg(lower + 1);
}

WorkbookColumn Column(const QString& title, const QString& unit, int index, const QString& pattern)
{
    return {title, unit, QStringLiteral("c%1").arg(index), pattern};
}

std::vector<HeadingLine> HeadingOf(const WeatherBinTables& tables)
{
    QString hours = QString::number(tables.hours);
    if (tables.uncomputed > 0)
        hours += QStringLiteral("（其中%1小时无法计算状态，未计入）").arg(tables.uncomputed);
    return {
        {QStringLiteral("气象台站"), tables.station},
        {QStringLiteral("时段"), tables.filter.text()},
        {QStringLiteral("大气压力(Pa)"), FormatNumber(tables.pressure, QStringLiteral("0"))},
        {QStringLiteral("小时数(h)"), hours},
        {QStringLiteral("区间"), QStringLiteral("干球温度[t, t+1)℃，含湿量[d, d+1)g/kg")},
    };
}

// Hours by dry bulb × moisture content: a column per moisture bin between
// the lowest and the highest with hours, a row per dry-bulb bin with hours.
BinTable MoistureTable(const WeatherBinTables& tables)
{
    BinTable table{
        QStringLiteral("干球温度-含湿量"), QStringLiteral("干球温度-含湿量频数表"), {}, {}};
    int dLow = 0, dHigh = -1;
    if (!tables.cells.empty()) {
        const auto [low, high] =
            std::minmax_element(tables.cells.begin(), tables.cells.end(),
                                [](const WeatherBinTables::Cell& a,
                                   const WeatherBinTables::Cell& b) { return a.d < b.d; });
        dLow = low->d;
        dHigh = high->d;
    }
    const int moistureColumns = dHigh - dLow + 1;
    table.columns.push_back(Column(QStringLiteral("干球温度"), QStringLiteral("(℃)"), 0, {}));
    for (int d = dLow; d <= dHigh; ++d)
        table.columns.push_back(
            Column(BinText(d), QStringLiteral("(g/kg)"), d - dLow + 1, kHoursPattern));
    table.columns.push_back(
        Column(QStringLiteral("合计"), QStringLiteral("(h)"), moistureColumns + 1, kHoursPattern));

    std::vector<long long> columnTotals(std::size_t(moistureColumns), 0);
    long long total = 0;
    // The cells come ordered by t, then d: one row per run of one t.
    for (std::size_t k = 0; k < tables.cells.size();) {
        const int t = tables.cells[k].t;
        std::vector<QVariant> row(std::size_t(moistureColumns) + 2);
        row[0] = BinText(t);
        long long rowTotal = 0;
        for (; k < tables.cells.size() && tables.cells[k].t == t; ++k) {
            const WeatherBinTables::Cell& c = tables.cells[k];
            row[std::size_t(c.d - dLow + 1)] = double(c.hours);
            columnTotals[std::size_t(c.d - dLow)] += c.hours;
            rowTotal += c.hours;
        }
        row.back() = double(rowTotal);
        total += rowTotal;
        table.rows.push_back(std::move(row));
    }
    std::vector<QVariant> totals{QStringLiteral("合计")};
    for (const long long hours : columnTotals)
        totals.push_back(double(hours));
    totals.push_back(double(total));
    table.rows.push_back(std::move(totals));
    return table;
}

// Hours by dry bulb with the mean coincident wet bulb.
BinTable WetBulbTable(const WeatherBinTables& tables)
{
    BinTable table{
        QStringLiteral("干球温度-湿球温度"),
        QStringLiteral("干球温度-平均湿球温度频数表"),
        {Column(QStringLiteral("干球温度"), QStringLiteral("(℃)"), 0, {}),
         Column(QStringLiteral("小时数"), QStringLiteral("(h)"), 1, kHoursPattern),
         Column(QStringLiteral("平均湿球温度"), QStringLiteral("(℃)"), 2, kWetBulbPattern)},
        {}};
    long long total = 0;
    for (const WeatherBinTables::DryBulbBin& bin : tables.dryBulb) {
        table.rows.push_back({BinText(bin.t), double(bin.hours), bin.meanWetBulb});
        total += bin.hours;
    }
    table.rows.push_back({QStringLiteral("合计"), double(total), QVariant()});
    return table;
}

std::vector<BinTable> TablesOf(const WeatherBinTables& tables)
{
    return {MoistureTable(tables), WetBulbTable(tables)};
}

// A cell as the CSV writes it: what the workbook's cell shows.
QString CsvCell(const WorkbookColumn& column, const QVariant& value)
{
    if (!value.isValid())
        return {};
    if (column.pattern.isEmpty())
        return CsvField(value.toString());
    return FormatNumber(value.toDouble(), column.pattern);
}

} // namespace

void WriteBinTablesCsv(const QString& path, const WeatherBinTables& tables)
{
    QStringList lines;
    for (const HeadingLine& h : HeadingOf(tables))
        lines << CsvField(h.label) + u',' + CsvField(h.value);
    for (const BinTable& table : TablesOf(tables)) {
        lines << QString() << CsvField(table.title);
        QStringList titles;
        for (const WorkbookColumn& c : table.columns)
            titles << CsvField(c.title + c.unit);
        lines << titles.join(u',');
        for (const std::vector<QVariant>& row : table.rows) {
            QStringList cells;
            for (std::size_t k = 0; k < row.size(); ++k)
                cells << CsvCell(table.columns[k], row[k]);
            lines << cells.join(u',');
        }
    }
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    ReplaceFile(path, bytes);
}

void WriteBinTablesWorkbook(const QString& path, const WeatherBinTables& tables)
{
    const std::vector<HeadingLine> heading = HeadingOf(tables);
    const std::vector<BinTable> binTables = TablesOf(tables);
    // The records the sheets read, kept for the writer's two reads.
    std::vector<std::vector<RecordTableStore::Record>> records(binTables.size());
    std::vector<WorkbookSheet> sheets;
    QStringList values;
    for (const HeadingLine& h : heading)
        values << h.value;
    for (std::size_t s = 0; s < binTables.size(); ++s) {
        const BinTable& table = binTables[s];
        WorkbookLayout layout{.title = table.title,
                              .headings = {},
                              .titleRow = kFirstHeadingRow + int(heading.size()) + 1,
                              .columns = table.columns};
        for (const HeadingLine& h : heading)
            layout.headings.push_back({h.label + QStringLiteral("："), kLabelBytes});
        TableDeclaration declaration;
        for (const WorkbookColumn& c : table.columns)
            declaration.fields.push_back(
                {.name = c.field,
                 .type = c.pattern.isEmpty() ? FieldType::Text : FieldType::Double,
                 .size = c.pattern.isEmpty() ? kTextSize : 0,
                 .title = c.title,
                 .pattern = c.pattern});
        for (const std::vector<QVariant>& row : table.rows)
            records[s].push_back({0, row});
        sheets.push_back({table.sheetName, std::move(layout), [values](double) { return values; },
                          std::move(declaration), LoadedRecords(records[s])});
    }
    WriteResultsWorkbookSheets(path, sheets, QString::fromUtf8(BinTablesDocumentTitle));
}
