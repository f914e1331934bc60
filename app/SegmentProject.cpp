#include "app/SegmentProject.h"

#include "app/CheckedFile.h"
#include "app/FailureReasons.h"
#include "app/Gbk.h"
#include "app/Numbers.h"
#include "app/TextReport.h"

#include <QDir>
#include <QFile>
#include <cerrno>

namespace
{

// A project file is three short lines; anything much longer is no project file.
constexpr qint64 kMaxProjectFileBytes = 64 * 1024;

qsizetype fileNameStart(const QString& path)
{
    qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    slash = std::max(slash, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return slash + 1;
}

QString notAProjectFile(const QString& path)
{
    return QStringLiteral("“%1”不是有效的工程文件！").arg(QDir::toNativeSeparators(path));
}

} // namespace

QString ProjectBasePath(const QString& projectPath)
{
    const qsizetype start = fileNameStart(projectPath);
    const qsizetype dot = projectPath.indexOf(QLatin1Char('.'), start);
    return dot < 0 ? projectPath : projectPath.left(dot);
}

QString ProjectTablePath(const QString& projectPath)
{
    return ProjectBasePath(projectPath) + QStringLiteral(".DB");
}

QString ProjectWorkbookPath(const QString& projectPath)
{
    return ProjectBasePath(projectPath) + QStringLiteral(".xlsx");
}

QString ProjectFileName(const QString& projectPath)
{
    return projectPath.mid(fileNameStart(projectPath));
}

QStringList ParseProjectLines(const QByteArray& bytes, int count, const QString& path)
{
    QStringList lines;
    qsizetype start = 0;
    while (lines.size() < count && start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        QString line;
        try {
            line = FromGbk(bytes.mid(start, end - start));
        } catch (const UserError&) {
            throw UserError(notAProjectFile(path));
        }
        lines.append(line);
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    if (lines.size() < count)
        throw UserError(notAProjectFile(path));
    return lines;
}

QStringList ReadProjectLines(const QString& path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        throw UserError(
            QStringLiteral("无法读取工程文件“%1”：%2")
                .arg(QDir::toNativeSeparators(path), FileDeviceReason(file.error(), error)));
    }
    if (file.size() > kMaxProjectFileBytes)
        throw UserError(notAProjectFile(path));
    return ParseProjectLines(file.read(kMaxProjectFileBytes), count, path);
}

void WriteProjectFile(const QString& path, const QStringList& lines)
{
    WriteTextFile(path, lines);
}

void RewriteProjectFile(const QString& path, const QStringList& lines)
{
    try {
        WriteTextFile(path, lines);
    } catch (const FileWriteError& failed) {
        throw UserError(QStringLiteral("无法写入工程文件“%1”：%2")
                            .arg(QDir::toNativeSeparators(path), failed.reason()));
    }
}

void RefuseProjectFileAsOutput(const QString& output, const QString& projectPath)
{
    const QString name = QDir::toNativeSeparators(output);
    if (SameFile(output, projectPath))
        throw UserError(QStringLiteral("“%1”是工程文件本身，不能用作结果文件！").arg(name));
    if (SameFile(output, ProjectTablePath(projectPath)))
        throw UserError(QStringLiteral("“%1”是工程的管段数据表，不能用作结果文件！").arg(name));
}

std::vector<WorkbookHeadingRow> SegmentWorkbookHeadingRows(const QString& software,
                                                           std::vector<WorkbookHeadingRow> own)
{
    std::vector<WorkbookHeadingRow> rows{
        {software},
        {QStringLiteral("计算时间： ")},
        {QStringLiteral("文件名:    ")},
    };
    rows.insert(rows.end(), own.begin(), own.end());
    return rows;
}

QStringList SegmentWorkbookHeadingValues(const SegmentWorkbookHeading& heading,
                                         const QStringList& own)
{
    return QStringList{{}, heading.time, heading.projectFileName} + own;
}
