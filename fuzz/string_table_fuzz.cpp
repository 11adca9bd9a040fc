// Feeds arbitrary bytes to the string-table parser, as a damaged or hostile
// override table would, and uses every text it yields as a printf format with
// a fixed set of arguments: neither may crash, read past what was passed, or
// grow without bound.

#include "core/printf_format.h"
#include "core/string_table.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const StringTableParse table = ParseStringTable(bytes);
    for (const QString &format : table.texts) {
        const QString text = FormatText(format, 42, -1, 3000000000u, 2.5, "テキスト", QStringLiteral("abc"));
        // Each conversion adds at most one clamped field (4096 units plus a
        // number's own digits) to the format's own length.
        if (text.size() > format.size() * 4200 + 4200)
            std::abort();
    }
    return 0;
}
