#include "cli/ProjectOutput.h"

#include "app/Numbers.h"
#include "app/SegmentProject.h"
#include "app/TableGridModel.h"
#include "app/TextReport.h"
#include "cli/RecordOutput.h"

#include <QFileInfo>

#include <algorithm>
#include <functional>

namespace
{

QString padded(const QString& text, int width)
{
    return text + QString(std::max(0, width - DisplayWidth(text)), QLatin1Char(' '));
}

// Standard output was lost (a full disk, a closed pipe): the listing stops.
struct OutputLost {
};

// A record that the command's check refuses: nothing has been printed yet.
struct RecordRefused {
    QString text;
};

using RecordCheck = std::function<void(const RecordTableStore::Record&, size_t position)>;

// A read of the whole table: every record checked, then given to visit.
void checkEach(RecordTableStore& table, const RecordCheck& check, const RecordVisitor& visit)
{
    size_t position = 0;
    table.scan([&](const RecordTableStore::Record& record) {
        try {
            check(record, position++);
        } catch (const UserError& e) {
            throw RecordRefused{e.text()};
        }
        visit(record);
    });
}

// Every so many records a listing checks that its output still arrives.
constexpr qint64 kRecordsBetweenOutputChecks = 4096;

// A segment table is listed record by record, never held whole, so memory
// stays flat however long the table is. The file is read twice: first for
// what the lines need (the column widths, and that every record can be read,
// so a table that fails prints nothing), then for the lines.
void printEach(CliIo& io, RecordTableStore& table,
               const std::function<void(const RecordTableStore::Record&)>& print)
{
    qint64 printed = 0;
    table.scan([&](const RecordTableStore::Record& record) {
        print(record);
        if (++printed % kRecordsBetweenOutputChecks == 0 && WriteFailed(io))
            throw OutputLost{};
    });
}

// The grid's titles over one line per segment, the values as the grid shows
// them, columns two spaces apart.
void printTable(CliIo& io, RecordTableStore& table, const RecordCheck& check)
{
    const QList<FieldDeclaration>& fields = table.declaration().fields;
    const auto rowOf = [&](const RecordTableStore::Record& record) {
        QStringList row;
        for (qsizetype k = 0; k < fields.size(); ++k)
            row << TableGridModel::displayText(fields[k], record.values[k]);
        return row;
    };
    std::vector<int> widths(fields.size(), 0);
    const auto widen = [&](const QStringList& row) {
        for (qsizetype k = 0; k < row.size(); ++k)
            widths[k] = std::max(widths[k], DisplayWidth(row[k]));
    };
    const auto printRow = [&](const QStringList& row) {
        QString line;
        for (qsizetype k = 0; k < row.size(); ++k)
            line += padded(row[k], widths[k]) + QStringLiteral("  ");
        io.out << line.trimmed() << "\n";
    };

    QStringList titles;
    for (const FieldDeclaration& field : fields)
        titles << field.title.trimmed();
    widen(titles);
    checkEach(table, check, [&](const RecordTableStore::Record& record) { widen(rowOf(record)); });
    printRow(titles);
    printEach(io, table, [&](const RecordTableStore::Record& record) { printRow(rowOf(record)); });
}

void printJson(CliIo& io, RecordTableStore& table, const RecordCheck& check)
{
    QStringList names;
    for (const FieldDeclaration& field : table.declaration().fields)
        names << field.name;
    checkEach(table, check, [](const RecordTableStore::Record&) {});
    io.out << "[";
    bool first = true;
    printEach(io, table, [&](const RecordTableStore::Record& record) {
        const QList<QVariant> values(record.values.begin(), record.values.end());
        io.out << (first ? "" : ",\n ") << JsonRecord(names, values);
        first = false;
    });
    io.out << "]\n";
}

} // namespace

int RunProjectCommand(const ProjectCommand& command, const QString& projectPath,
                      const QString& xlsxPath, bool json, CliIo& io)
{
    if (!QFileInfo(projectPath).isFile()) {
        io.err << "无法读取工程文件“" << projectPath << "”\n";
        return ExitFailure;
    }
    QStringList lines;
    ProjectCommand::Writer write;
    try {
        if (!xlsxPath.isEmpty())
            RefuseProjectFileAsOutput(xlsxPath, projectPath);
        lines = ReadProjectLines(projectPath, command.lineCount);
        if (!xlsxPath.isEmpty())
            write = command.workbook(lines);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    try {
        RecordTableStore table(*command.declaration);
        table.setPath(ProjectTablePath(projectPath));
        const RecordCheck check = [&](const RecordTableStore::Record& record, size_t position) {
            if (command.checkRecord)
                command.checkRecord(table, record, position);
        };
        if (write) {
            // Read record by record like the listing: the workbook's first
            // read of them checks every one before its file is begun.
            const RecordSource records = [&](const RecordVisitor& visit) {
                checkEach(table, check, visit);
            };
            write(xlsxPath, table.declaration(), records, ProjectFileName(projectPath));
            return ExitOk;
        }
        if (json)
            printJson(io, table, check);
        else
            printTable(io, table, check);
    } catch (const RecordRefused& refused) {
        return Refuse(io, refused.text);
    } catch (const UserError& e) {
        io.err << e.text() << "\n";
        return ExitFailure;
    } catch (const OutputLost&) {
        return ReportWriteFailure(io);
    }
    return WriteFailed(io) ? ReportWriteFailure(io) : ExitOk;
}
