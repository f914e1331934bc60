#include "cli/RecordOutput.h"

#include "app/CsvReader.h"
#include "app/Numbers.h"
#include "app/TableGridModel.h"

QString JsonString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar ch : text) {
        if (ch == QLatin1Char('"') || ch == QLatin1Char('\\'))
            out += QLatin1Char('\\') + ch;
        else if (ch.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += ch;
    }
    return out + QLatin1Char('"');
}

QString JsonRecord(const QStringList& names, const QList<QVariant>& values)
{
    QStringList parts;
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QVariant& v = values[k];
        parts << JsonString(names[k]) + QStringLiteral(": ") +
                     (!v.isValid()                       ? QStringLiteral("null")
                      : v.typeId() == QMetaType::QString ? JsonString(v.toString())
                                                         : FullPrecision(v.toDouble()));
    }
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

QStringList CsvRecord(const QList<QVariant>& values)
{
    QStringList fields;
    for (const QVariant& v : values)
        fields << (v.typeId() == QMetaType::QString ? CsvField(v.toString())
                                                    : FullPrecision(v.toDouble()));
    return fields;
}

void PrintRecord(CliIo& io, const TableDeclaration& declaration, const QList<QVariant>& values)
{
    const QList<FieldDeclaration>& fields = declaration.fields;
    for (qsizetype k = 0; k < fields.size(); ++k)
        io.out << fields[k].title.trimmed() << " "
               << TableGridModel::displayText(fields[k], values[k]) << "\n";
}
