// The files of a resistance calculation project: the project file (a few GBK
// lines, CR LF, written when the project is created), the segment table
// beside it (base + ".DB") and the results workbook proposed for it
// (base + ".xlsx"). The base is the project path up to the first dot of the
// file name: D:\calc\loop1.gzl -> D:\calc\loop1, /data.old/a.gzl ->
// /data.old/a, loop.v1.gzl -> loop. And what the pipe and the duct
// calculators' workbooks have in common.
#pragma once

#include "app/ResultsWorkbook.h"
#include "app/SegmentLoops.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

QString ProjectBasePath(const QString& projectPath);
QString ProjectTablePath(const QString& projectPath);
QString ProjectWorkbookPath(const QString& projectPath);
// The file name without its directory ("loop1.gzl"), as captions and the
// workbook's "文件名" show it.
QString ProjectFileName(const QString& projectPath);

// The first `count` lines of a project file's bytes (GBK; lines ended by
// CR LF, LF or CR; more lines are ignored). Throws UserError naming `path`
// when the file has fewer lines or is not GBK.
QStringList ParseProjectLines(const QByteArray& bytes, int count, const QString& path);
// The same read from the file; throws UserError when it cannot be read.
QStringList ReadProjectLines(const QString& path, int count);
// Writes the lines as the project file (GBK, CR LF), through a temporary file
// renamed over an existing one. Throws UserError.
void WriteProjectFile(const QString& path, const QStringList& lines);
// The same for the file of an open project whose settings changed; the
// UserError says "无法写入工程文件“path”：" and the reason.
void RewriteProjectFile(const QString& path, const QStringList& lines);

// Throws UserError when `output` is the project file at projectPath or its
// segment table: a results workbook written there would destroy the project.
void RefuseProjectFileAsOutput(const QString& output, const QString& projectPath);

// What the heading of every segment workbook shows first, whatever the
// calculator: the time of the calculation and the project's file name.
struct SegmentWorkbookHeading {
    QString time;            // "计算时间"
    QString projectFileName; // "文件名": empty without a project
};
// The heading rows: the program's line (`software`, the whole label), the
// time and the file name, then the calculator's own rows.
std::vector<WorkbookHeadingRow> SegmentWorkbookHeadingRows(const QString& software,
                                                           std::vector<WorkbookHeadingRow> own);
// Their values: nothing beside the program's line, the time, the file name,
// then the calculator's own values.
QStringList SegmentWorkbookHeadingValues(const SegmentWorkbookHeading& heading,
                                         const QStringList& own);

// A calculator's results workbook: its layout, and the heading values from
// its Heading (a SegmentWorkbookHeading with what the calculator computes
// with) and the table's total resistance. Called like a function, it writes
// the workbook of a segment table's records, or of the records of a table
// read one at a time (a table too large to hold; see StreamResultsWorkbook).
// Throws UserError.
template <typename Heading> struct SegmentWorkbook {
    const WorkbookLayout& (*layout)();
    QStringList (*headingValues)(const Heading& heading, double totalResistance);
    // The title of the "环路" sheet, and the table's segment number field.
    const char* loopsTitle = "";
    const char* numberField = "";

    void operator()(const QString& path, const Heading& heading,
                    const RecordTableStore& table) const
    {
        (*this)(path, heading, table.declaration(), LoadedRecords(table.records()));
    }
    void operator()(const QString& path, const Heading& heading,
                    const TableDeclaration& declaration, const RecordSource& records) const
    {
        StreamResultsWorkbook(
            path, layout(), [&](double total) { return headingValues(heading, total); },
            declaration, records);
    }
    // The same with the "环路" sheet of the loops after the segment sheet;
    // with no loops the workbook above.
    void operator()(const QString& path, const Heading& heading, const RecordTableStore& table,
                    const SegmentLoops& loops) const
    {
        (*this)(path, heading, table.declaration(), LoadedRecords(table.records()), loops);
    }
    void operator()(const QString& path, const Heading& heading,
                    const TableDeclaration& declaration, const RecordSource& records,
                    const SegmentLoops& loops) const
    {
        const WorkbookSheet segments{
            {},
            layout(),
            [values = headingValues, heading](double total) { return values(heading, total); },
            declaration,
            records};
        WriteSegmentWorkbook(path, segments, QString::fromUtf8(numberField), loops,
                             QString::fromUtf8(loopsTitle), heading.time, heading.projectFileName);
    }
};
