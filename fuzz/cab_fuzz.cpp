// Feeds arbitrary bytes to the cabinet reader: headers are parsed and checked,
// member names are checked as extraction checks them, and every member is
// decoded into memory. Nothing touches the disk.

#include "cab/cab_member_path.h"
#include "cab/cab_reader.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

class CountingSink : public CCabSink {
public:
    CabResult BeginMember(const CabMember &member) override
    {
        m_left = member.size;
        return CAB_OK;
    }
    CabResult WriteMember(QByteArrayView data) override
    {
        // The reader never passes more than a member declares.
        if (data.size() > m_left)
            __builtin_trap();
        m_left -= data.size();
        return CAB_OK;
    }
    CabResult EndMember() override
    {
        if (m_left != 0)
            __builtin_trap();
        return CAB_OK;
    }

private:
    qint64 m_left = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CCabReader reader(buffer);
    if (reader.Open() != CAB_OK)
        return 0;
    QStringList parts;
    for (const CabMember &member : reader.members())
        SplitSafeRelativePath(member.name, parts);
    CountingSink sink;
    reader.Extract(sink);
    return 0;
}
