#include "pipe/LocalResistance.h"

#include "app/CsvReader.h"
#include "app/Numbers.h"

#include <cmath>

namespace
{

const QString kName = QStringLiteral("Name");
const QString kMap = QStringLiteral("Map");

// The coefficient columns in their order; the last one serves every size
// other than the five before it.
const std::array<const char*, 6> kColumns{"DN15", "DN20", "DN25", "DN32", "DN40", "DN50"};
constexpr std::array<double, 5> kOwnColumnDN{15, 20, 25, 32, 40};
constexpr int kOtherSizesColumn = 5;

constexpr int kFirstCoefficientField = 1;

void openIfClosed(RecordTableStore& table)
{
    if (!table.isOpen())
        table.open();
}

// Opens the table when closed and closes it again when it goes, so that an
// editor's action leaves the table as the editor found it: closed.
class ClosedAfterwards
{
public:
    explicit ClosedAfterwards(RecordTableStore& table) : table_(table) { openIfClosed(table_); }
    ~ClosedAfterwards() { table_.close(); }
    ClosedAfterwards(const ClosedAfterwards&) = delete;
    ClosedAfterwards& operator=(const ClosedAfterwards&) = delete;

private:
    RecordTableStore& table_;
};

const QString kCoefficientData = QStringLiteral("局部阻力系数数据");

[[noreturn]] void badCsvLine(qint64 line, const QString& why)
{
    CsvLineError(kCoefficientData, line, why);
}

// Why a coefficient cannot be used, or nothing.
QString coefficientFault(double xi)
{
    if (!std::isfinite(xi))
        return QStringLiteral("不是有效的数值");
    if (xi < 0)
        return QStringLiteral("不能小于0");
    if (xi > LargestLocalResistance)
        return QStringLiteral("不能大于%1").arg(LargestLocalResistance);
    return {};
}

} // namespace

const TableDeclaration& LocalResistanceTableDeclaration()
{
    static const TableDeclaration declaration = [] {
        TableDeclaration fields;
        fields.fields << FieldDeclaration{
            .name = kName, .type = FieldType::Text, .size = LocalResistanceNameSize};
        for (const char* column : kColumns)
            fields.fields << FieldDeclaration{.name = QString::fromLatin1(column),
                                              .type = FieldType::Double};
        fields.fields << FieldDeclaration{.name = kMap, .type = FieldType::Picture};
        return fields;
    }();
    return declaration;
}

double CoefficientForDN(const LocalResistance& fitting, double DN)
{
    for (size_t k = 0; k < kOwnColumnDN.size(); ++k) {
        if (DN == kOwnColumnDN[k])
            return fitting.xi[k];
    }
    return fitting.xi[kOtherSizesColumn];
}

QStringList LocalResistanceNames(RecordTableStore& table)
{
    openIfClosed(table);
    SuspendedUpdates suspended(table);
    QStringList names;
    for (table.first(); !table.eof(); table.next())
        names << table.text(kName);
    return names;
}

std::vector<qint64> LocalResistanceRowIds(RecordTableStore& table)
{
    openIfClosed(table);
    std::vector<qint64> rowIds;
    rowIds.reserve(table.records().size());
    for (const RecordTableStore::Record& record : table.records())
        rowIds.push_back(record.rowId);
    return rowIds;
}

int LocalResistanceIndexOf(RecordTableStore& table, qint64 rowId)
{
    openIfClosed(table);
    const std::vector<RecordTableStore::Record>& records = table.records();
    for (size_t k = 0; k < records.size(); ++k) {
        if (records[k].rowId == rowId)
            return int(k);
    }
    return -1;
}

int FindLocalResistanceIndex(RecordTableStore& table, const QString& name)
{
    openIfClosed(table);
    SuspendedUpdates suspended(table);
    for (table.first(); !table.eof(); table.next()) {
        if (table.text(kName) == name)
            return table.currentIndex();
    }
    return -1;
}

bool FindLocalResistance(RecordTableStore& table, const QString& name)
{
    return FindLocalResistanceIndex(table, name) >= 0;
}

LocalResistance CurrentLocalResistance(const RecordTableStore& table)
{
    LocalResistance fitting;
    fitting.name = table.text(kName);
    for (size_t k = 0; k < kColumns.size(); ++k) {
        fitting.xi[k] = table.numberAt(kFirstCoefficientField + int(k));
        // Held to the editor's rules: a coefficient it would refuse is never
        // computed with.
        const QString fault = coefficientFault(fitting.xi[k]);
        if (!fault.isEmpty())
            throw UserError(QStringLiteral("局部阻力系数表“%1”的第%2条记录（“%3”）中%4的系数%5！")
                                .arg(table.path())
                                .arg(table.currentIndex() + 1)
                                .arg(QuotedInput(fitting.name), QLatin1String(kColumns[k]), fault));
    }
    return fitting;
}

std::optional<LocalResistance> LookUpLocalResistance(RecordTableStore& table, const QString& name)
{
    if (!FindLocalResistance(table, name))
        return std::nullopt;
    return CurrentLocalResistance(table);
}

std::vector<LocalResistance> ReadLocalResistances(RecordTableStore& table)
{
    openIfClosed(table);
    SuspendedUpdates suspended(table);
    std::vector<LocalResistance> fittings;
    for (table.first(); !table.eof(); table.next())
        fittings.push_back(CurrentLocalResistance(table));
    return fittings;
}

LocalResistanceTexts LocalResistanceTextsAt(RecordTableStore& table, int index)
{
    openIfClosed(table);
    if (index < 0 || index >= table.recordCount())
        throw UserError(QStringLiteral("请选择阀门类型！"));
    table.moveTo(index);
    LocalResistanceTexts texts;
    texts.name = table.text(kName);
    for (size_t k = 0; k < kColumns.size(); ++k)
        texts.xi[k] = table.textAt(kFirstCoefficientField + int(k));
    return texts;
}

void StoreLocalResistance(RecordTableStore& table, const LocalResistanceTexts& fields,
                          int recordIndex)
{
    bool anyEmpty = fields.name.isEmpty();
    for (const QString& text : fields.xi)
        anyEmpty = anyEmpty || text.isEmpty();
    if (anyEmpty)
        throw UserError(QStringLiteral("输入数据不能为空！"));
    // The segment table keeps the name in 16 characters: a longer one would
    // be stored cut there and never found here again.
    if (fields.name.toUcs4().size() > LocalResistanceNameSize)
        throw UserError(QStringLiteral("局阻名称不能超过%1个字符！").arg(LocalResistanceNameSize));
    // Named by the editor's captions: the column's and the row's.
    static const char* const kCaptions[] = {"ξ值（DN15）", "ξ值（DN20）", "ξ值（DN25）",
                                            "ξ值（DN32）", "ξ值（DN40）", "ξ值（>DN50）"};
    std::array<double, 6> xi{};
    for (size_t k = 0; k < xi.size(); ++k) {
        xi[k] = ParseField(QString::fromUtf8(kCaptions[k]), fields.xi[k]);
        const QString fault = coefficientFault(xi[k]);
        if (!fault.isEmpty())
            throw UserError(QStringLiteral("局部阻力系数%1！").arg(fault));
    }

    ClosedAfterwards closed(table);
    if (recordIndex >= table.recordCount())
        throw UserError(QStringLiteral("请选择阀门类型！"));
    {
        SuspendedUpdates suspended(table);
        for (table.first(); !table.eof(); table.next()) {
            if (table.currentIndex() != recordIndex && table.text(kName) == fields.name)
                throw UserError(
                    QStringLiteral("局阻名称“%1”已经存在！").arg(QuotedInput(fields.name)));
        }
    }
    if (recordIndex < 0) {
        table.append();
    } else {
        table.moveTo(recordIndex);
        table.edit();
    }
    table.setText(kName, fields.name);
    for (size_t k = 0; k < xi.size(); ++k)
        table.setNumberAt(kFirstCoefficientField + int(k), xi[k]);
    table.post();
}

void DeleteLocalResistanceAt(RecordTableStore& table, int index)
{
    ClosedAfterwards closed(table);
    if (index < 0 || index >= table.recordCount())
        throw UserError(QStringLiteral("请选择阀门类型！"));
    table.moveTo(index);
    table.remove();
}

std::vector<LocalResistance> ReadLocalResistanceCsv(QIODevice& device)
{
    QStringList header{kName};
    for (const char* column : kColumns)
        header << QString::fromLatin1(column);
    std::vector<LocalResistance> fittings;
    ReadCsvTable(device, kCoefficientData, header, [&](const QStringList& fields, qint64 line) {
        LocalResistance fitting;
        fitting.name = fields[0];
        const qsizetype length = fitting.name.toUcs4().size();
        if (length == 0 || length > LocalResistanceNameSize)
            badCsvLine(line, QStringLiteral("名称应为1～%1个字符").arg(LocalResistanceNameSize));
        // A name picks its record: a second one would never be used.
        for (const LocalResistance& earlier : fittings) {
            if (earlier.name == fitting.name)
                badCsvLine(line, QStringLiteral("名称“%1”已有").arg(QuotedInput(fitting.name)));
        }
        for (size_t k = 0; k < fitting.xi.size(); ++k) {
            try {
                fitting.xi[k] = ParseNumber(fields[int(k) + 1]);
            } catch (const ConversionError& e) {
                badCsvLine(line, e.text());
            }
            const QString fault = coefficientFault(fitting.xi[k]);
            if (!fault.isEmpty())
                badCsvLine(line, QStringLiteral("系数%1").arg(fault));
        }
        fittings.push_back(fitting);
    });
    return fittings;
}

void CreateLocalResistanceTable(const QString& path, const std::vector<LocalResistance>& fittings)
{
    std::vector<std::vector<QVariant>> records;
    records.reserve(fittings.size());
    for (const LocalResistance& fitting : fittings) {
        std::vector<QVariant> record{fitting.name};
        for (double xi : fitting.xi)
            record.emplace_back(xi);
        record.emplace_back(); // no picture shipped
        records.push_back(std::move(record));
    }
    CreateTableFile(path, LocalResistanceTableDeclaration(), records);
}
