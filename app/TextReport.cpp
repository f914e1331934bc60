#include "app/TextReport.h"

#include "app/CheckedFile.h"
#include "app/Gbk.h"
#include "app/Numbers.h"

namespace
{

QByteArray gbkLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += ToGbk(line) + "\r\n";
    return bytes;
}

} // namespace

QByteArray TextFileBytes(const QStringList& lines)
{
    return gbkLines(lines);
}

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
    // A block that does not fit is taken back whole: the file keeps only
    // complete reports.
    AppendToFile(fileName_, gbkLines(lines));
}

void WriteTextFile(const QString& path, const QStringList& lines)
{
    ReplaceFile(path, gbkLines(lines));
}

int DisplayWidth(const QString& text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4())
        width += c < 0x80 ? 1 : 2;
    return width;
}
