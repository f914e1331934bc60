#include "app/TextReport.h"

#include "app/Gbk.h"
#include "app/Numbers.h"

#include <QFile>
#include <QSaveFile>

namespace
{

QByteArray gbkLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += ToGbk(line) + "\r\n";
    return bytes;
}

QString writeError(const QString& path, const QString& reason)
{
    return QStringLiteral("无法写入文件“%1”：%2").arg(path, reason);
}

} // namespace

void TextReportFile::chooseNew(const QString& path)
{
    fileName_ = path;
    newFile_ = true;
}

void TextReportFile::chooseExisting(const QString& path)
{
    fileName_ = path;
    newFile_ = false;
}

void TextReportFile::append(const QStringList& lines)
{
    if (fileName_.isEmpty())
        throw UserError(QStringLiteral("请先选择报告文件！"));
    if (newFile_) {
        WriteTextFile(fileName_, lines);
        newFile_ = false;
        return;
    }
    const QByteArray bytes = gbkLines(lines);
    QFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw UserError(writeError(fileName_, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw UserError(writeError(fileName_, file.errorString()));
}

void WriteTextFile(const QString& path, const QStringList& lines)
{
    const QByteArray bytes = gbkLines(lines);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw UserError(writeError(path, file.errorString()));
    file.write(bytes);
    if (!file.commit())
        throw UserError(writeError(path, file.errorString()));
}

int DisplayWidth(const QString& text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4())
        width += c < 0x80 ? 1 : 2;
    return width;
}
