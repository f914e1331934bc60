#include "support/WorkbookDump.h"

#include <QJsonDocument>
#include <QProcess>

QJsonObject DumpWorkbook(const QString& path, int sheet)
{
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(VENTACALC_TEST_SUPPORT_DIR "/xlsx_dump.py"), path, QString::number(sheet)});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QString CellText(const QJsonObject& dump, const QString& cell)
{
    const QJsonValue value = dump[QStringLiteral("cells")][cell][QStringLiteral("value")];
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return value.toString();
}
