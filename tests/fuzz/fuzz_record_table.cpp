// Opening a record table file of any content and reading every record: the
// store either refuses the file with a UserError or reads it whole.
#include "FuzzCheck.h"
#include "FuzzTableFile.h"
#include "app/Numbers.h"
#include "app/RecordTableStore.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace
{

// Both field types, and a text field short enough that stored texts overrun it.
const TableDeclaration& declaration()
{
    static const TableDeclaration fields{{
        {.name = QStringLiteral("Name"), .type = FieldType::Text, .size = 4},
        {.name = QStringLiteral("Value"), .type = FieldType::Double},
        {.name = QStringLiteral("Note"), .type = FieldType::Text, .size = 20},
    }};
    return fields;
}

void readEveryRecord(RecordTableStore& table)
{
    const int count = table.recordCount();
    FUZZ_CHECK(count == static_cast<int>(table.records().size()));
    int visited = 0;
    for (table.first(); !table.eof(); table.next()) {
        FUZZ_CHECK(table.currentIndex() == visited);
        for (int field = 0; field < table.fieldCount(); ++field) {
            const QString text = table.textAt(field);
            if (declaration().fields[field].type == FieldType::Text) {
                try {
                    table.numberAt(field);
                } catch (const ConversionError&) {
                    // a name or note that is no number
                }
                continue;
            }
            // A number field's text is its shortest form, which reads back as
            // the same number (ParseNumber throws, and so fails the target,
            // if it does not).
            const double value = table.numberAt(field);
            if (!text.isEmpty() && std::isfinite(value))
                FUZZ_CHECK(ParseNumber(text) == value);
        }
        ++visited;
    }
    FUZZ_CHECK(visited == count);
    FUZZ_CHECK(table.currentIndex() == -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzTableFile file;
    RecordTableStore table(declaration());
    table.setPath(file.write(data, size));
    try {
        table.open();
    } catch (const UserError& error) {
        FUZZ_CHECK(!table.isOpen());
        FUZZ_CHECK(!error.text().isEmpty());
        return 0;
    }
    readEveryRecord(table);
    table.close();
    return 0;
}
