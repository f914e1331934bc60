#include "support/SvgText.h"

#include <QFile>
#include <QXmlStreamReader>

QStringList SvgTexts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("(unreadable: %1)").arg(file.errorString())};
    QXmlStreamReader xml(&file);
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text")
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    if (xml.hasError())
        return {QStringLiteral("(not XML: %1)").arg(xml.errorString())};
    return texts;
}
