// "--project FILE [--xlsx OUT] [--json]" of the segment commands: a project's
// segment table printed like the window's grid or as a JSON array, or its
// results workbook written as the window's "输出到Excel" writes it.
#pragma once

#include "app/RecordTableStore.h"
#include "app/ResultsWorkbook.h"
#include "cli/Commands.h"

#include <QString>
#include <QStringList>
#include <functional>

struct ProjectCommand {
    const TableDeclaration* declaration = nullptr;
    int lineCount = 0; // lines of the project file
    // From the project file's lines, what writes the workbook; throws
    // UserError for lines it cannot use (a refusal). The writer reads the
    // table's records one at a time from `records` and throws UserError when
    // the file cannot be written; what `records` throws it passes on.
    using Writer = std::function<void(const QString& xlsx, const TableDeclaration& declaration,
                                      const RecordSource& records, const QString& projectFileName)>;
    std::function<Writer(const QStringList& lines)> workbook;
    // Refuses (UserError) a record of the table, at its position from 0,
    // that no calculation stores; every record is checked before any is
    // listed or the workbook's temporary file is made.
    std::function<void(const RecordTableStore& table, const RecordTableStore::Record& record,
                       size_t position)>
        checkRecord;
};

// Exit statuses as the other commands': 2 for a project file that is no
// project, settings the workbook cannot use or a segment table whose records
// checkRecord refuses, 1 for a file that cannot be read or written.
int RunProjectCommand(const ProjectCommand& command, const QString& projectPath,
                      const QString& xlsxPath, bool json, CliIo& io);
