#include "app/ResultsWorkbook.h"

#include "app/Gbk.h"
#include "app/Numbers.h"
#include "app/TextReport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>

namespace
{

constexpr int kTitleFontSize = 16;
// The title row's height in points: tall enough for its font in every reader.
constexpr double kTitleRowHeight = 21;
// Room beside the widest text of a column, in characters.
constexpr double kColumnMargin = 1;

QString writeError(const QString& path, const QString& reason)
{
    return QStringLiteral("无法写入结果文件“%1”：%2").arg(QDir::toNativeSeparators(path), reason);
}

// One workbook being written; its formats are made once each.
class Sheet
{
public:
    explicit Sheet(const QString& file)
        : workbook_(workbook_new(QFile::encodeName(file).constData()))
    {
        if (!workbook_)
            throw UserError(QStringLiteral("无法创建结果文件！"));
        worksheet_ = workbook_add_worksheet(workbook_, nullptr);
    }
    ~Sheet()
    {
        if (workbook_) // abandoned: close() frees it and writes what it has to the temporary file
            workbook_close(workbook_);
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    lxw_format* format(uint8_t align, bool top, bool sides, bool all, const QString& pattern = {},
                       int fontSize = 0)
    {
        const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6")
                                .arg(align)
                                .arg(top)
                                .arg(sides)
                                .arg(all)
                                .arg(pattern)
                                .arg(fontSize);
        if (lxw_format* f = formats_.value(key))
            return f;
        lxw_format* f = workbook_add_format(workbook_);
        format_set_align(f, align);
        if (all)
            format_set_border(f, LXW_BORDER_THIN);
        if (top)
            format_set_top(f, LXW_BORDER_THIN);
        if (sides) {
            format_set_left(f, LXW_BORDER_THIN);
            format_set_right(f, LXW_BORDER_THIN);
        }
        if (!pattern.isEmpty())
            format_set_num_format(f, pattern.toUtf8().constData());
        if (fontSize)
            format_set_font_size(f, fontSize);
        formats_.insert(key, f);
        return f;
    }

    void merge(int row, int lastColumn, const QString& text, lxw_format* f)
    {
        check(worksheet_merge_range(worksheet_, row, 0, row, lastColumn, utf8(text), f));
    }
    void text(int row, int column, const QString& value, lxw_format* f)
    {
        if (value.isEmpty())
            check(worksheet_write_blank(worksheet_, row, column, f));
        else
            check(worksheet_write_string(worksheet_, row, column, utf8(value), f));
    }
    void number(int row, int column, double value, lxw_format* f)
    {
        check(worksheet_write_number(worksheet_, row, column, value, f));
    }
    void blank(int row, int column, lxw_format* f)
    {
        check(worksheet_write_blank(worksheet_, row, column, f));
    }
    void height(int row, double points)
    {
        check(worksheet_set_row(worksheet_, row, points, nullptr));
    }
    void width(int column, double characters)
    {
        check(worksheet_set_column(worksheet_, column, column, characters, nullptr));
    }

    void close()
    {
        lxw_doc_properties properties{};
        QByteArray title(ResultsWorkbookDocumentTitle);
        properties.title = title.data();
        check(workbook_set_properties(workbook_, &properties));
        lxw_workbook* workbook = std::exchange(workbook_, nullptr);
        check(workbook_close(workbook));
    }

private:
    const char* utf8(const QString& text)
    {
        buffer_ = text.toUtf8();
        return buffer_.constData();
    }
    static void check(lxw_error error)
    {
        if (error != LXW_NO_ERROR)
            throw UserError(QString::fromUtf8(lxw_strerror(error)));
    }

    lxw_workbook* workbook_;
    lxw_worksheet* worksheet_ = nullptr;
    QHash<QString, lxw_format*> formats_;
    QByteArray buffer_;
};

// The cells of one record, as their columns show them.
struct CellValue {
    bool isNumber = false;
    double number = 0;
    QString text; // what the cell shows
};

CellValue cellValue(const WorkbookColumn& column, const QVariant& value)
{
    CellValue cell;
    if (!value.isValid())
        return cell;
    if (column.pattern.isEmpty()) {
        cell.text = value.typeId() == QMetaType::Double
                        ? QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                        : value.toString();
        return cell;
    }
    // The number the pattern shows, so the sheet's value is what the reader sees.
    cell.text = FormatNumber(value.toDouble(), column.pattern);
    cell.number = ParseNumber(cell.text);
    cell.isNumber = true;
    return cell;
}

void writeSheet(Sheet& sheet, const WorkbookLayout& layout, const QStringList& headingValues,
                const TableDeclaration& declaration,
                const std::vector<RecordTableStore::Record>& records)
{
    const int last = int(layout.columns.size()) - 1;
    sheet.height(0, kTitleRowHeight);
    sheet.merge(0, last, layout.title,
                sheet.format(LXW_ALIGN_CENTER, false, false, false, {}, kTitleFontSize));
    lxw_format* left = sheet.format(LXW_ALIGN_LEFT, false, false, false);
    for (size_t i = 0; i < layout.headings.size(); ++i) {
        const WorkbookHeadingRow& h = layout.headings[i];
        const QString value = qsizetype(i) < headingValues.size() ? headingValues[i] : QString();
        sheet.merge(2 + int(i), last, PaddedLabel(h.label, h.padBytes) + value, left);
    }

    std::vector<int> widths(layout.columns.size(), 0);
    std::vector<int> fields;
    const int titleRow = layout.titleRow - 1;
    for (int c = 0; c <= last; ++c) {
        const WorkbookColumn& column = layout.columns[c];
        fields.push_back(declaration.indexOf(column.field));
        if (fields.back() < 0)
            throw UserError(QStringLiteral("管段表中没有字段“%1”！").arg(column.field));
        sheet.text(titleRow, c, column.title, sheet.format(LXW_ALIGN_CENTER, true, true, false));
        sheet.text(titleRow + 1, c, column.unit,
                   sheet.format(LXW_ALIGN_CENTER, false, true, false));
        widths[c] = std::max(DisplayWidth(column.title), DisplayWidth(column.unit));
    }

    // Each column's data formats: for its numbers, and for texts and empty cells.
    std::vector<lxw_format*> numberFormats, textFormats;
    for (const WorkbookColumn& column : layout.columns) {
        numberFormats.push_back(sheet.format(LXW_ALIGN_CENTER, false, false, true, column.pattern));
        textFormats.push_back(sheet.format(LXW_ALIGN_CENTER, false, false, true));
    }
    int row = titleRow + 2;
    for (const RecordTableStore::Record& record : records) {
        for (int c = 0; c <= last; ++c) {
            const CellValue cell = cellValue(layout.columns[c], record.values[fields[c]]);
            if (cell.isNumber)
                sheet.number(row, c, cell.number, numberFormats[c]);
            else
                sheet.text(row, c, cell.text, textFormats[c]);
            widths[c] = std::max(widths[c], DisplayWidth(cell.text));
        }
        ++row;
    }
    for (int c = 0; c <= last; ++c)
        sheet.width(c, widths[c] + kColumnMargin);
}

} // namespace

QString PaddedLabel(const QString& label, int bytes)
{
    const qsizetype have = ToGbk(label).size();
    return have >= bytes ? label : label + QString(bytes - have, QLatin1Char(' '));
}

double FieldSum(const TableDeclaration& declaration,
                const std::vector<RecordTableStore::Record>& records, const QString& field)
{
    const int index = declaration.indexOf(field);
    double sum = 0;
    if (index < 0)
        return sum;
    for (const RecordTableStore::Record& record : records)
        sum += record.values[index].toDouble();
    return sum;
}

void WriteResultsWorkbook(const QString& path, const WorkbookLayout& layout,
                          const QStringList& headingValues, const TableDeclaration& declaration,
                          const std::vector<RecordTableStore::Record>& records)
{
    // libxlsxwriter writes a file of its own naming; it is built aside and
    // only a complete one is copied to the user's file.
    QTemporaryFile built(QDir::tempPath() + QStringLiteral("/ventacalc-XXXXXX.xlsx"));
    if (!built.open())
        throw UserError(writeError(path, built.errorString()));
    built.close();
    try {
        Sheet sheet(built.fileName());
        writeSheet(sheet, layout, headingValues, declaration, records);
        sheet.close();
    } catch (const UserError& error) {
        throw UserError(writeError(path, error.text()));
    }

    QFile source(built.fileName());
    if (!source.open(QIODevice::ReadOnly))
        throw UserError(writeError(path, source.errorString()));
    const QByteArray bytes = source.readAll();
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly))
        throw UserError(writeError(path, target.errorString()));
    target.write(bytes);
    if (!target.commit())
        throw UserError(writeError(path, target.errorString()));
}
