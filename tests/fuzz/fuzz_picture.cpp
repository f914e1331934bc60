// A fitting's picture: arbitrary bytes in a table's picture field, read as
// the pipe window reads them. A picture is either none or an image of at most
// 4096 × 4096 pixels; the bytes never touch the table's other fields.
#include "FuzzCheck.h"
#include "FuzzTableFile.h"
#include "app/Numbers.h"
#include "app/RecordTableStore.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <cstddef>
#include <cstdint>

namespace
{

const TableDeclaration& declaration()
{
    static const TableDeclaration fields{{
        {.name = QStringLiteral("Name"), .type = FieldType::Text, .size = 16},
        {.name = QStringLiteral("Map"), .type = FieldType::Picture},
    }};
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzTableFile file;
    // The scratch file is replaced by a table holding the input as its picture.
    const QString path = file.write(data, 0);
    FUZZ_CHECK(QFile::remove(path));
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CreateTableFile(path, declaration(), {{QStringLiteral("弯头"), bytes}});

    RecordTableStore table(declaration());
    table.setPath(path);
    table.open();
    table.first();
    FUZZ_CHECK(!table.eof());
    const QImage image = table.picture(QStringLiteral("Map"));
    if (!image.isNull()) {
        FUZZ_CHECK(image.width() > 0 && image.height() > 0);
        FUZZ_CHECK(qint64(image.width()) * image.height() <= qint64(4096) * 4096);
        FUZZ_CHECK(image.scaled(64, 64, Qt::KeepAspectRatio).width() <= 64);
    }
    FUZZ_CHECK(table.text(QStringLiteral("Name")) == QStringLiteral("弯头"));
    FUZZ_CHECK(table.text(QStringLiteral("Map")).isEmpty());
    bool refused = false;
    try {
        table.picture(QStringLiteral("Name"));
    } catch (const UserError&) {
        refused = true;
    }
    FUZZ_CHECK(refused);
    table.close();
    return 0;
}
