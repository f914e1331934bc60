#include "support/PdfText.h"

#include "app/Gbk.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

QString Nfkc(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

QString PdfText(const QString& pdfPath)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return Nfkc(QString::fromUtf8(p.readAllStandardOutput()));
}

int PdfPageCount(const QString& pdfPath)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdfPath});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return 0;
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(QString::fromUtf8(p.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QStringList ReadGbkLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = FromGbk(f.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
