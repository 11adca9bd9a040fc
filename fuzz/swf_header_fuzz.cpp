// Feeds arbitrary bytes to the Flash header reader, plain and compressed: the
// bit fields, the partial inflate and every length check.

#include "model/media_info.h"
#include "model/swf_header.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    SwfHeader header;
    if (ParseSwfHeader(bytes, header) == MEDIA_PROBE_OK) {
        if (header.signature != 'F' && header.signature != 'C')
            __builtin_trap();
        (void)header.widthPixels();
        (void)header.heightPixels();
    }
    return 0;
}
