#include "cli/ProjectOutput.h"

#include "app/Numbers.h"
#include "app/SegmentProject.h"
#include "app/TableGridModel.h"
#include "app/TextReport.h"
#include "cli/RecordOutput.h"

#include <QDir>
#include <QFile>
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

// The table's segment numbers in table order and their total resistances,
// every record checked first.
struct TableSegments {
    QStringList numbers;
    SegmentResistances resistances;
};

TableSegments readSegments(RecordTableStore& table, const RecordCheck& check,
                           const QString& numberField)
{
    TableSegments segments;
    const int number = table.declaration().indexOf(numberField);
    const RecordSource records = [&](const RecordVisitor& visit) {
        checkEach(table, check, [&](const RecordTableStore::Record& record) {
            segments.numbers << record.values[size_t(number)].toString();
            visit(record);
        });
    };
    segments.resistances =
        ResistancesOf(table.declaration(), records, numberField, QStringLiteral("ZL_z"));
    return segments;
}

// A loops file that cannot be read: the command fails (1), unlike one that
// is refused (2).
struct LoopsUnreadable {
    QString text;
};

SegmentLoops readStoredLoops(const QString& projectPath)
{
    const QString path = SegmentLoopsPath(ProjectTablePath(projectPath));
    if (!QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw LoopsUnreadable{QStringLiteral("无法读取环路文件“%1”：%2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString())};
    // A little over the longest loops file, so that a longer one is refused.
    const QByteArray bytes = file.read(8 * 1024 * 1024);
    if (file.error() != QFileDevice::NoError)
        throw LoopsUnreadable{QStringLiteral("无法读取环路文件“%1”：%2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString())};
    return ParseSegmentLoops(bytes, path);
}

QString percent(double fraction)
{
    return FormatNumber(fraction * 100, QStringLiteral("0.0"));
}

QString aboveNote(double limit)
{
    QString text = FormatFixed(limit * 100, 2);
    while (text.contains(QLatin1Char('.')) &&
           (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return QStringLiteral("超过%1%").arg(text);
}

void printRows(CliIo& io, const std::vector<QStringList>& rows)
{
    std::vector<int> widths;
    for (const QStringList& row : rows)
        for (qsizetype k = 0; k < row.size(); ++k) {
            if (size_t(k) >= widths.size())
                widths.push_back(0);
            widths[size_t(k)] = std::max(widths[size_t(k)], DisplayWidth(row[k]));
        }
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype k = 0; k < row.size(); ++k)
            line += padded(row[k], widths[size_t(k)]) + QStringLiteral("  ");
        io.out << line.trimmed() << "\n";
    }
}

// The loops as the workbook's "环路" sheet has them: one line per loop, then
// one per loop of each group.
void printLoopsTable(CliIo& io, const LoopsFigures& figures)
{
    const QString comma = QStringLiteral(",");
    std::vector<QStringList> loops{{QStringLiteral("环路名称"), QStringLiteral("管段"),
                                    QStringLiteral("管段数"), QStringLiteral("总阻力(Pa)"),
                                    QStringLiteral("占最大环路(%)"), QStringLiteral("说明")}};
    for (const LoopFigures& f : figures.loops) {
        QStringList notes;
        if (f.mostUnfavourable)
            notes << QStringLiteral("最不利环路");
        if (!f.missing.isEmpty())
            notes << QStringLiteral("管段表中已没有管段") + f.missing.join(comma);
        loops.push_back({f.name, f.segments.join(comma), QString::number(f.count),
                         FormatNumber(f.total, QStringLiteral("0.0")), percent(f.share),
                         notes.join(QStringLiteral("；"))});
    }
    printRows(io, loops);
    if (figures.groups.empty())
        return;
    io.out << "\n";
    std::vector<QStringList> groups{{QStringLiteral("并联环路"), QStringLiteral("公共管段"),
                                     QStringLiteral("环路名称"),
                                     QStringLiteral("非公共管段阻力(Pa)"),
                                     QStringLiteral("相对差额(%)"), QStringLiteral("说明")}};
    for (const GroupFigures& g : figures.groups)
        for (const LoopDifference& d : g.differences)
            groups.push_back({g.loops.join(QStringLiteral("、")),
                              g.common.isEmpty() ? QStringLiteral("无") : g.common.join(comma),
                              d.loop, FormatNumber(d.nonCommon, QStringLiteral("0.0")),
                              percent(d.difference),
                              d.aboveLimit ? aboveNote(figures.limit) : QString()});
    printRows(io, groups);
}

QString jsonList(const QStringList& texts)
{
    QStringList parts;
    for (const QString& text : texts)
        parts << JsonString(text);
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

void printLoopsJson(CliIo& io, const LoopsFigures& figures)
{
    QStringList loops;
    for (const LoopFigures& f : figures.loops)
        loops << QStringLiteral("{\"name\": %1, \"segments\": %2, \"total\": %3, \"count\": %4, "
                                "\"share\": %5, \"missing\": %6}")
                     .arg(JsonString(f.name), jsonList(f.segments), FullPrecision(f.total))
                     .arg(f.count)
                     .arg(FullPrecision(f.share), jsonList(f.missing));
    QStringList groups;
    for (const GroupFigures& g : figures.groups) {
        QStringList differences, above;
        for (const LoopDifference& d : g.differences) {
            differences << JsonString(d.loop) + QStringLiteral(": ") + FullPrecision(d.difference);
            if (d.aboveLimit)
                above << d.loop;
        }
        groups << QStringLiteral("{\"loops\": %1, \"common\": %2, \"differences\": {%3}, "
                                 "\"above_limit\": %4}")
                      .arg(jsonList(g.loops), jsonList(g.common),
                           differences.join(QStringLiteral(", ")), jsonList(above));
    }
    io.out << "{\"loops\": [" << loops.join(QStringLiteral(",\n  ")) << "],\n"
           << " \"most_unfavourable\": "
           << (figures.mostUnfavourable.isEmpty() ? QStringLiteral("null")
                                                  : JsonString(figures.mostUnfavourable))
           << ",\n \"limit\": " << FullPrecision(figures.limit) << ",\n \"groups\": ["
           << groups.join(QStringLiteral(",\n  ")) << "]}\n";
}

} // namespace

LoopsRequest ParseLoopsRequest(const CommandWords& words)
{
    LoopsRequest request;
    for (const QString& text : words.repeated.value(QStringLiteral("--loop")))
        request.loops.push_back(ParseLoopArgument(text));
    for (const QString& text : words.repeated.value(QStringLiteral("--group")))
        request.groups.push_back(ParseGroupArgument(text));
    const bool flag = words.flags.contains(QLatin1String(LoopsFlag));
    const bool xlsx = words.options.contains(QStringLiteral("--xlsx"));
    if (flag && xlsx)
        throw UserError(
            QStringLiteral("选项 --loops 不能与 --xlsx 一起使用：--xlsx 写出计算结果表"));
    request.list = flag || (request.given() && !xlsx);
    return request;
}

int RunProjectCommand(const ProjectCommand& command, const QString& projectPath,
                      const QString& xlsxPath, bool json, const LoopsRequest& loopsRequest,
                      CliIo& io)
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
        SegmentLoops loops;
        if (write || loopsRequest.list) {
            try {
                loops = readStoredLoops(projectPath);
            } catch (const LoopsUnreadable& unreadable) {
                io.err << unreadable.text << "\n";
                return ExitFailure;
            } catch (const UserError& e) {
                return Refuse(io, e.text());
            }
        }
        if (loopsRequest.list || (write && loopsRequest.given())) {
            // A table that cannot be read fails as the listing does; given
            // loops are held to its segments.
            const TableSegments segments = readSegments(table, check, command.numberField);
            try {
                loops = WithGivenLoops(loops, loopsRequest.loops, loopsRequest.groups,
                                       segments.numbers);
            } catch (const UserError& e) {
                return Refuse(io, e.text());
            }
            if (loopsRequest.list) {
                const LoopsFigures figures = ComputeLoopFigures(loops, segments.resistances);
                if (json)
                    printLoopsJson(io, figures);
                else
                    printLoopsTable(io, figures);
                return WriteFailed(io) ? ReportWriteFailure(io) : ExitOk;
            }
        }
        if (write) {
            // Read record by record like the listing: the workbook's first
            // read of them checks every one before its file is begun.
            const RecordSource records = [&](const RecordVisitor& visit) {
                checkEach(table, check, visit);
            };
            write(xlsxPath, table.declaration(), records, ProjectFileName(projectPath), loops);
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
