#include "cli/ProjectOutput.h"

#include "app/Numbers.h"
#include "app/SegmentProject.h"
#include "app/TableGridModel.h"
#include "app/TextReport.h"
#include "cli/RecordOutput.h"

#include <QFileInfo>

#include <algorithm>

namespace
{

QString padded(const QString& text, int width)
{
    return text + QString(std::max(0, width - DisplayWidth(text)), QLatin1Char(' '));
}

// The grid's titles over one line per segment, the values as the grid shows
// them, columns two spaces apart.
void printTable(CliIo& io, const TableDeclaration& declaration,
                const std::vector<RecordTableStore::Record>& records)
{
    const QList<FieldDeclaration>& fields = declaration.fields;
    std::vector<QStringList> rows(1);
    for (const FieldDeclaration& field : fields)
        rows[0] << field.title.trimmed();
    for (const RecordTableStore::Record& record : records) {
        QStringList row;
        for (qsizetype k = 0; k < fields.size(); ++k)
            row << TableGridModel::displayText(fields[k], record.values[k]);
        rows.push_back(row);
    }
    std::vector<int> widths(fields.size(), 0);
    for (const QStringList& row : rows)
        for (qsizetype k = 0; k < row.size(); ++k)
            widths[k] = std::max(widths[k], DisplayWidth(row[k]));
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype k = 0; k < row.size(); ++k)
            line += padded(row[k], widths[k]) + QStringLiteral("  ");
        io.out << line.trimmed() << "\n";
    }
}

void printJson(CliIo& io, const TableDeclaration& declaration,
               const std::vector<RecordTableStore::Record>& records)
{
    QStringList names;
    for (const FieldDeclaration& field : declaration.fields)
        names << field.name;
    io.out << "[";
    for (size_t r = 0; r < records.size(); ++r) {
        const QList<QVariant> values(records[r].values.begin(), records[r].values.end());
        io.out << (r ? ",\n " : "") << JsonRecord(names, values);
    }
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
        lines = ReadProjectLines(projectPath, command.lineCount);
        if (!xlsxPath.isEmpty())
            write = command.workbook(lines);
    } catch (const UserError& e) {
        return Refuse(io, e.text());
    }
    try {
        RecordTableStore table(*command.declaration);
        table.setPath(ProjectTablePath(projectPath));
        table.open();
        if (command.checkRecords) {
            try {
                command.checkRecords(table);
            } catch (const UserError& e) {
                return Refuse(io, e.text());
            }
        }
        if (write) {
            write(xlsxPath, table, ProjectFileName(projectPath));
            return ExitOk;
        }
        if (json)
            printJson(io, table.declaration(), table.records());
        else
            printTable(io, table.declaration(), table.records());
    } catch (const UserError& e) {
        io.err << e.text() << "\n";
        return ExitFailure;
    }
    return WriteFailed(io) ? ReportWriteFailure(io) : ExitOk;
}
