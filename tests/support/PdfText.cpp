#include "support/PdfText.h"

#include "app/Gbk.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

QString Nfkc(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

QString PdfRawText(const QString& pdfPath)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString PdfText(const QString& pdfPath)
{
    return Nfkc(PdfRawText(pdfPath));
}

QString PdfStructureFaults(const QString& pdfPath)
{
    QProcess p;
    p.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdfPath});
    if (!p.waitForFinished(60000))
        return QStringLiteral("qpdf did not run: %1").arg(p.errorString());
    const QString said = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    // Exit status 0 is no fault, 3 warnings only (a rebuilt table among them).
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? QString() : said;
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

QList<PdfWord> PdfWords(const QString& pdfPath)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QList<PdfWord> words;
    QXmlStreamReader xml(p.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"word")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        PdfWord word;
        word.xMin = a.value(QLatin1String("xMin")).toDouble();
        word.yMin = a.value(QLatin1String("yMin")).toDouble();
        word.xMax = a.value(QLatin1String("xMax")).toDouble();
        word.yMax = a.value(QLatin1String("yMax")).toDouble();
        word.text = Nfkc(xml.readElementText());
        words << word;
    }
    return words;
}
