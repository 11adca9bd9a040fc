// Feeds arbitrary bytes to the content list reader. The first byte picks the
// list type. Whatever the reader accepts must write back field by field into
// an empty record of the same type and give the same fields again, so a list
// the program saves always loads. Nothing touches the disk.

#include "model/contents_list_file.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

const int kTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 50, 51, 52, 53};

class FieldCollector : public CPropertyWriter {
public:
    void WriteField(QStringView name, const QString &text) override
    {
        names.append(name.toString());
        texts.append(text);
    }
    QStringList names;
    QStringList texts;
};

void checkRewrite(const CPropertyBase &record)
{
    FieldCollector written;
    record.WriteFields(written);
    std::unique_ptr<CPropertyBase> copy = CreateProperty(record.GetContentType());
    for (qsizetype i = 0; i < written.names.size(); ++i) {
        if (copy->ReadField(written.names[i], written.texts[i]) != FieldResult::Taken)
            __builtin_trap();
    }
    FieldCollector rewritten;
    copy->WriteFields(rewritten);
    if (rewritten.names != written.names || rewritten.texts != written.texts)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int type = kTypes[data[0] % std::size(kTypes)];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    CContentsListFile::Records records;
    quint32 error = 0;
    if (!CContentsListFile::Parse(bytes, type, records, error))
        return 0;
    for (const auto &record : records) {
        if (record->GetContentType() != type)
            __builtin_trap();
        checkRewrite(*record);
    }
    return 0;
}
