// "--project FILE [--xlsx OUT] [--json]" of the segment commands: a project's
// segment table printed like the window's grid or as a JSON array, or its
// results workbook written as the window's "输出到Excel" writes it; with
// "--loops", "--loop NAME=1,2,3" or "--group NAME,NAME" the project's loops
// (app/SegmentLoops.h) printed as a table or a JSON object, and carried by
// the workbook.
#pragma once

#include "app/RecordTableStore.h"
#include "app/ResultsWorkbook.h"
#include "app/SegmentLoops.h"
#include "cli/CommandWords.h"
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
    // The workbook carries `loops` on its "环路" sheet (none: no such sheet).
    using Writer = std::function<void(const QString& xlsx, const TableDeclaration& declaration,
                                      const RecordSource& records, const QString& projectFileName,
                                      const SegmentLoops& loops)>;
    std::function<Writer(const QStringList& lines)> workbook;
    // Refuses (UserError) a record of the table, at its position from 0,
    // that no calculation stores; every record is checked before any is
    // listed or the workbook's temporary file is made.
    std::function<void(const RecordTableStore& table, const RecordTableStore::Record& record,
                       size_t position)>
        checkRecord;
    QString numberField; // the table's segment number field ("Pipe_No")
};

// What the command line says of loops.
struct LoopsRequest {
    bool list = false;              // --loops, or loops given without --xlsx
    std::vector<SegmentLoop> loops; // --loop NAME=1,2,3, in their order
    std::vector<LoopGroup> groups;  // --group NAME,NAME, in their order
    bool given() const { return !loops.empty() || !groups.empty(); }
};
// The loop options every segment command takes.
inline const QStringList LoopOptions{QStringLiteral("--loop"), QStringLiteral("--group")};
inline constexpr char LoopsFlag[] = "--loops";
// From the words: throws UserError for a loop or group that is no loop or
// group by itself, and for --loops beside --xlsx.
LoopsRequest ParseLoopsRequest(const CommandWords& words);

// Exit statuses as the other commands': 2 for a project file that is no
// project, settings the workbook cannot use, a segment table whose records
// checkRecord refuses, a loops file that is refused or loops given that are
// refused (a segment not in the table), 1 for a file that cannot be read or
// written. The stored loops are read only for the loops and the workbook.
int RunProjectCommand(const ProjectCommand& command, const QString& projectPath,
                      const QString& xlsxPath, bool json, const LoopsRequest& loops, CliIo& io);
