// Feeds arbitrary bytes to the XML document reader, as a player reply or a
// damaged file would. Handlers check that the element paths they receive nest.

#include "core/xml_document.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class CheckingXml : public CXmlDocument {
protected:
    void OnStartElement(const QString &path, const QStringList &names, const QStringList &values) override
    {
        if (!path.startsWith(m_path + u'/') || names.size() != values.size())
            std::abort();
        m_path = path;
    }
    void OnCharacters(const QString &path, const QString &) override
    {
        if (path != m_path)
            std::abort();
    }
    void OnEndElement(const QString &path) override
    {
        if (path != m_path)
            std::abort();
        m_path.truncate(m_path.lastIndexOf(u'/'));
    }
    bool WriteContents() override { return true; }

private:
    QString m_path;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckingXml doc;
    doc.loadFromData(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
