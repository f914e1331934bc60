#include "app/ResultsWorkbook.h"

#include "app/CheckedFile.h"
#include "app/FailureReasons.h"
#include "app/Gbk.h"
#include "app/Numbers.h"
#include "app/TextReport.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QtEndian>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

namespace
{

constexpr int kTitleFontSize = 16;
// Every cell's face: the heading's labels are padded with spaces to a width
// counted in GBK bytes, which lines their values up only in a face whose CJK
// characters are exactly two spaces wide.
constexpr char kFontName[] = "宋体";
constexpr uint8_t kFontFamilyModern = 3; // fixed-pitch Latin, as the face is
// The printed page: A4 across, the table shrunk to one page wide and as many
// pages tall as it needs. Margins in inches (15 mm; 20 mm below, where the
// footer sits 8 mm above the edge).
constexpr uint8_t kPaperA4 = 9;
constexpr double kSideMargin = 15 / 25.4;
constexpr double kTopMargin = 15 / 25.4;
constexpr double kBottomMargin = 20 / 25.4;
constexpr double kFooterMargin = 8 / 25.4;
// The title row's height in points: tall enough for its font in every reader.
constexpr double kTitleRowHeight = 21;
// Room beside the widest text of a column, in characters.
constexpr double kColumnMargin = 1;

// The library's result codes as the messages say them (its own texts are
// English); a failed write of the file is the system's reason.
QString workbookReason(lxw_error error)
{
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return QStringLiteral("内存不足");
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        // The zip writer's failures are failed writes of the file or of its
        // scratch files; errno still says why.
        return errno != 0 ? SystemErrorReason(errno) : QStringLiteral("写入出错");
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
    case LXW_ERROR_WORKSHEET_MAX_NUMBER_URLS_EXCEEDED:
        return QStringLiteral("超出了结果表的行数或列数");
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
    case LXW_ERROR_255_STRING_LENGTH_EXCEEDED:
    case LXW_ERROR_128_STRING_LENGTH_EXCEEDED:
        return QStringLiteral("单元格的文字太长");
    default:
        break;
    }
    return QStringLiteral("结果表写入出错（代码%1）").arg(int(error));
}

// A failure of the workbook's own writing, as opposed to one of reading its
// records: the file is not saved, for this reason.
struct WorkbookFailure {
    QString reason;
};

[[noreturn]] void failWrite(const QString& reason)
{
    throw WorkbookFailure{reason};
}

// Whether the disk of a folder has less room left than a workbook's smallest
// part needs.
bool NoRoomLeft(const QString& folder)
{
    return LessRoomThan(folder, 64 * 1024);
}

// What a failed write of a file in folder left in errno, in the messages'
// words. Some C libraries (the one Windows programs get under wine among
// them) leave errno unset when a buffered write fails: a folder left without
// room says why all the same.
QString writeReason(const QByteArray& folder)
{
    if (errno != 0)
        return SystemErrorReason(errno);
    return NoRoomLeft(QFile::decodeName(folder)) ? QStringLiteral("磁盘已满")
                                                 : QStringLiteral("写入出错");
}

// Runs the workbook's own part of a record visit: whatever it throws is a
// failure of the workbook, not of the records' source.
template <class Body> void workbookWork(Body&& body)
{
    try {
        body();
    } catch (const WorkbookFailure&) {
        throw;
    } catch (const UserError& error) {
        failWrite(error.text());
    }
}

// A zip file ends with its directory's end record, written last: a file
// without one at its end was cut off, whatever the writer reported. The
// directory names each sheet's part with its size: the rows were copied into
// it from their scratch file, and a copy that came up short (the library
// does not check those writes) leaves it smaller than the rows alone.
// rowBytes holds the rows' bytes of each sheet, in the sheets' order.
void requireCompleteZip(const QString& written, const std::vector<qint64>& rowBytes)
{
    constexpr int kEndRecordSize = 22;   // without a comment, as the library writes it
    constexpr int kEntryHeaderSize = 46; // a directory entry before its name
    const QString cutOff = QStringLiteral("结果表没有完整写入");
    QFile file(written);
    if (!file.open(QIODevice::ReadOnly) || file.size() < kEndRecordSize)
        failWrite(cutOff);
    file.seek(file.size() - kEndRecordSize);
    const QByteArray end = file.read(kEndRecordSize);
    if (end.size() != kEndRecordSize || !end.startsWith(QByteArrayLiteral("PK\x05\x06")))
        failWrite(cutOff);
    const auto directorySize = qFromLittleEndian<quint32>(end.constData() + 12);
    const auto directoryAt = qFromLittleEndian<quint32>(end.constData() + 16);
    if (qint64(directoryAt) + directorySize + kEndRecordSize != file.size())
        failWrite(cutOff);
    file.seek(directoryAt);
    const QByteArray directory = file.read(directorySize);
    // The parts of the sheets, xl/worksheets/sheet1.xml, sheet2.xml, … by name.
    QHash<QByteArray, qint64> partSizes;
    for (qsizetype at = 0; at + kEntryHeaderSize <= directory.size();) {
        const char* entry = directory.constData() + at;
        if (qFromLittleEndian<quint32>(entry) != 0x02014b50)
            break;
        const auto nameLength = qFromLittleEndian<quint16>(entry + 28);
        const auto extraLength = qFromLittleEndian<quint16>(entry + 30);
        const auto commentLength = qFromLittleEndian<quint16>(entry + 32);
        partSizes.insert(directory.mid(at + kEntryHeaderSize, nameLength),
                         qFromLittleEndian<quint32>(entry + 24));
        at += kEntryHeaderSize + nameLength + extraLength + commentLength;
    }
    for (std::size_t k = 0; k < rowBytes.size(); ++k) {
        const QByteArray part =
            "xl/worksheets/sheet" + QByteArray::number(qulonglong(k + 1)) + ".xml";
        if (partSizes.value(part, -1) < rowBytes[k])
            failWrite(cutOff);
    }
}

// One workbook being written, a sheet at a time; its formats are made once
// each. Each sheet's rows are written in order, each one whole before the
// next, and a sheet is written whole before the next is added.
class Sheet
{
public:
    // The library's own scratch files (the rows, and each part of the file
    // before it is packed) go to scratchDir (the target's folder, the same
    // disk as the file) rather than the system's, which may be memory.
    Sheet(const QString& file, const QString& scratchDir)
        : scratchDir_(QFile::encodeName(scratchDir)), workbook_(openWorkbook(file, scratchDir_))
    {
        if (!workbook_)
            failWrite(QStringLiteral("无法创建结果文件！"));
    }
    ~Sheet()
    {
        if (workbook_) // abandoned: close() frees it and writes what it has to the temporary file
            workbook_close(workbook_);
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    // Starts the next sheet, which the cells go to from now on; an empty
    // name is the library's own ("Sheet1", "Sheet2", …).
    void add(const QString& name)
    {
        QByteArray utf8Name = name.toUtf8();
        if (!name.isEmpty() &&
            workbook_validate_sheet_name(workbook_, utf8Name.constData()) != LXW_NO_ERROR)
            failWrite(QStringLiteral("工作表名称“%1”不可用").arg(name));
        errno = 0; // the rows' scratch file is made here
        worksheet_ =
            workbook_add_worksheet(workbook_, name.isEmpty() ? nullptr : utf8Name.constData());
        if (!worksheet_) {
            const QString reason = errno != 0 ? SystemErrorReason(errno)
                                              : workbookReason(LXW_ERROR_MEMORY_MALLOC_FAILED);
            workbook_close(std::exchange(workbook_, nullptr));
            failWrite(reason);
        }
        worksheets_.push_back(worksheet_);
    }

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
        if (!f)
            failWrite(workbookReason(LXW_ERROR_MEMORY_MALLOC_FAILED));
        format_set_font_name(f, kFontName);
        format_set_font_family(f, kFontFamilyModern);
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

    // A range within one row: the text in its first cell, the others blank
    // in the same format (a sheet of one column has only that cell: the
    // library merges no single cell).
    void merge(int row, int lastColumn, const QString& text, lxw_format* f)
    {
        if (lastColumn == 0)
            check(worksheet_write_string(worksheet_, row, 0, utf8(text), f));
        else
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
    // Throws when a row already written did not reach its scratch file (the
    // library does not check those writes): called after each row, errno
    // then still says why.
    void requireRowsWritten()
    {
        if (worksheet_->optimize_tmpfile && std::ferror(worksheet_->optimize_tmpfile))
            failWrite(writeReason(scratchDir_));
    }
    // Before any cell of the row.
    void height(int row, double points)
    {
        check(worksheet_set_row(worksheet_, row, points, nullptr));
    }
    // The column's width, and the format of its cells that hold nothing.
    void width(int column, double characters, lxw_format* f)
    {
        check(worksheet_set_column(worksheet_, column, column, characters, f));
    }

    // Printed on A4 landscape, one page wide, the rows from firstRow to
    // lastRow (0-based) at the top of every page, and a footer naming the
    // table and the page.
    void pageSetup(int firstRow, int lastRow, const QString& title)
    {
        worksheet_set_landscape(worksheet_);
        worksheet_set_paper(worksheet_, kPaperA4);
        worksheet_fit_to_pages(worksheet_, 1, 0);
        worksheet_center_horizontally(worksheet_);
        worksheet_set_margins(worksheet_, kSideMargin, kSideMargin, kTopMargin, kBottomMargin);
        check(worksheet_repeat_rows(worksheet_, firstRow, lastRow));
        QString escaped = title;
        escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString font = QStringLiteral("&\"%1,Regular\"").arg(QString::fromUtf8(kFontName));
        const QString footer = QStringLiteral("&L%1%2&R%1第 &P 页，共 &N 页").arg(font, escaped);
        lxw_header_footer_options options{};
        options.margin = kFooterMargin;
        check(worksheet_set_footer_opt(worksheet_, utf8(footer), &options));
    }

    // Writes the workbook with `documentTitle` in its properties; returns
    // how many bytes each sheet's rows took in their scratch file, which the
    // sheet's part must hold at least.
    std::vector<qint64> close(const QString& documentTitle)
    {
        std::vector<qint64> rowBytes;
        for (lxw_worksheet* worksheet : worksheets_)
            rowBytes.push_back(finishRows(worksheet));
        lxw_doc_properties properties{};
        QByteArray title = documentTitle.toUtf8();
        properties.title = title.data();
        check(workbook_set_properties(workbook_, &properties));
        lxw_workbook* workbook = std::exchange(workbook_, nullptr);
        errno = 0; // what a failed write of the file leaves here is the reason
        const lxw_error error = workbook_close(workbook);
        // A failed write of the file with errno unset, as writeReason.
        if (error != LXW_NO_ERROR && errno == 0 && NoRoomLeft(QFile::decodeName(scratchDir_)))
            failWrite(QStringLiteral("磁盘已满"));
        check(error);
        return rowBytes;
    }

private:
    static lxw_workbook* openWorkbook(const QString& file, QByteArray& scratchDir)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = scratchDir.data();
        return workbook_new_opt(QFile::encodeName(file).constData(), &options);
    }
    // The rows already written are in the scratch file; the last one is still
    // held. Writes it too and makes sure every byte reached the file: the
    // library does not check these writes, and a full disk would otherwise
    // leave a sheet without its rows.
    qint64 finishRows(lxw_worksheet* worksheet)
    {
        lxw_worksheet_write_single_row(worksheet);
        FILE* rows = worksheet->optimize_tmpfile;
        if (!rows)
            return 0;
        errno = 0;
        if (std::fflush(rows) != 0 || std::ferror(rows))
            failWrite(writeReason(scratchDir_));
        const long size = std::ftell(rows);
        if (size < 0)
            failWrite(writeReason(scratchDir_));
        return size;
    }
    const char* utf8(const QString& text)
    {
        buffer_ = text.toUtf8();
        return buffer_.constData();
    }
    static void check(lxw_error error)
    {
        if (error != LXW_NO_ERROR)
            failWrite(workbookReason(error));
    }

    QByteArray scratchDir_;
    lxw_workbook* workbook_;
    lxw_worksheet* worksheet_ = nullptr; // the sheet being written
    std::vector<lxw_worksheet*> worksheets_;
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

// What the first read of the records finds: each column's field, and the
// heading's total.
struct Survey {
    std::vector<int> fields;
    double total = 0;
};

Survey surveyRecords(const WorkbookLayout& layout, const TableDeclaration& declaration,
                     const RecordSource& records)
{
    Survey survey;
    for (const WorkbookColumn& column : layout.columns) {
        survey.fields.push_back(declaration.indexOf(column.field));
        if (survey.fields.back() < 0)
            failWrite(QStringLiteral("管段表中没有字段“%1”！").arg(column.field));
    }
    const int totalIndex =
        layout.totalField.isEmpty() ? -1 : declaration.indexOf(layout.totalField);
    records([&](const RecordTableStore::Record& record) {
        if (totalIndex >= 0)
            survey.total += record.values[size_t(totalIndex)].toDouble();
    });
    return survey;
}

void writeSheet(Sheet& sheet, const WorkbookLayout& layout, const QStringList& headingValues,
                const Survey& survey, const RecordSource& records)
{
    const int last = int(layout.columns.size()) - 1;
    const int titleRow = layout.titleRow - 1;
    // Every format before any cell, in one order, so the file's list of
    // styles does not depend on the records.
    lxw_format* title = sheet.format(LXW_ALIGN_CENTER, false, false, false, {}, kTitleFontSize);
    lxw_format* left = sheet.format(LXW_ALIGN_LEFT, false, false, false);
    lxw_format* columnTitle = sheet.format(LXW_ALIGN_CENTER, true, true, false);
    lxw_format* columnUnit = sheet.format(LXW_ALIGN_CENTER, false, true, false);
    // Each column's data formats: for its numbers, and for texts and empty cells.
    std::vector<lxw_format*> numberFormats, textFormats;
    for (const WorkbookColumn& column : layout.columns) {
        numberFormats.push_back(sheet.format(LXW_ALIGN_CENTER, false, false, true, column.pattern));
        textFormats.push_back(sheet.format(LXW_ALIGN_CENTER, false, false, true));
    }
    lxw_format* plain = sheet.format(LXW_ALIGN_NONE, false, false, false);

    sheet.height(0, kTitleRowHeight);
    sheet.merge(0, last, layout.title, title);
    for (size_t i = 0; i < layout.headings.size(); ++i) {
        const WorkbookHeadingRow& h = layout.headings[i];
        const QString value = qsizetype(i) < headingValues.size() ? headingValues[i] : QString();
        sheet.merge(2 + int(i), last, PaddedLabel(h.label, h.padBytes) + value, left);
    }
    for (int c = 0; c <= last; ++c)
        sheet.text(titleRow, c, layout.columns[c].title, columnTitle);
    for (int c = 0; c <= last; ++c)
        sheet.text(titleRow + 1, c, layout.columns[c].unit, columnUnit);

    // Columns are as wide as their widest text, in characters (a CJK
    // character two); the sheet's columns are written after its rows, so
    // they are known by the end of this read.
    std::vector<int> widths;
    for (const WorkbookColumn& column : layout.columns)
        widths.push_back(std::max(DisplayWidth(column.title), DisplayWidth(column.unit)));
    int row = titleRow + 2;
    records([&](const RecordTableStore::Record& record) {
        workbookWork([&] {
            errno = 0; // what a failed write of the previous row leaves here is the reason
            for (int c = 0; c <= last; ++c) {
                const CellValue cell =
                    cellValue(layout.columns[c], record.values[size_t(survey.fields[c])]);
                if (cell.isNumber)
                    sheet.number(row, c, cell.number, numberFormats[c]);
                else
                    sheet.text(row, c, cell.text, textFormats[c]);
                widths[c] = std::max(widths[c], DisplayWidth(cell.text));
            }
            sheet.requireRowsWritten();
        });
        ++row;
    });
    for (int c = 0; c <= last; ++c)
        sheet.width(c, widths[c] + kColumnMargin, plain);
    // Only the column titles and units head the following pages: rows repeated
    // on a page are one block, and with the heading between them and the title
    // they would take half of each page. The footer names the table instead.
    sheet.pageSetup(titleRow, titleRow + 1, layout.title);
}

} // namespace

QString PaddedLabel(const QString& label, int bytes)
{
    const qsizetype have = ToGbk(label).size();
    return have >= bytes ? label : label + QString(bytes - have, QLatin1Char(' '));
}

RecordSource LoadedRecords(const std::vector<RecordTableStore::Record>& records)
{
    return [&records](const RecordVisitor& visit) {
        for (const RecordTableStore::Record& record : records)
            visit(record);
    };
}

void WriteResultsWorkbook(const QString& path, const WorkbookLayout& layout,
                          const QStringList& headingValues, const TableDeclaration& declaration,
                          const std::vector<RecordTableStore::Record>& records)
{
    StreamResultsWorkbook(
        path, layout, [&](double) { return headingValues; }, declaration, LoadedRecords(records));
}

void StreamResultsWorkbook(const QString& path, const WorkbookLayout& layout,
                           const WorkbookHeadingValues& headingValues,
                           const TableDeclaration& declaration, const RecordSource& records)
{
    WriteResultsWorkbookSheets(path, {{{}, layout, headingValues, declaration, records}});
}

void WriteResultsWorkbookSheets(const QString& path, const std::vector<WorkbookSheet>& sheets,
                                const QString& documentTitle)
{
    try {
        if (sheets.empty())
            failWrite(QStringLiteral("结果表没有工作表"));
        // Every sheet's first read before the temporary file is made.
        std::vector<Survey> surveys;
        for (const WorkbookSheet& s : sheets)
            surveys.push_back(surveyRecords(s.layout, s.declaration, s.records));
        // The library writes a file by name: it writes the temporary file
        // beside the target, which replaces the target only when the
        // workbook is whole.
        PendingFile file(path);
        std::vector<qint64> rowBytes;
        {
            Sheet sheet(file.temporaryPath(), QFileInfo(file.temporaryPath()).absolutePath());
            for (std::size_t k = 0; k < sheets.size(); ++k) {
                const WorkbookSheet& s = sheets[k];
                sheet.add(s.name);
                QStringList values;
                if (s.headingValues)
                    workbookWork([&] { values = s.headingValues(surveys[k].total); });
                writeSheet(sheet, s.layout, values, surveys[k], s.records);
            }
            rowBytes = sheet.close(documentTitle);
        }
        requireCompleteZip(file.temporaryPath(), rowBytes);
        file.commit();
    } catch (const WorkbookFailure& failure) {
        throw FileWriteError(path, failure.reason);
    }
}
