#pragma once
// The list file of a content list: a root "contentlist" (attributes "ver" and
// "type") holding one "content" element per record, whose child elements are
// the record's fields (docs/file-formats.md). Written through the XML document
// layer, so a save replaces the file atomically; read in one streaming pass
// into new records, so a file that does not parse changes nothing.

#include "core/xml_document.h"
#include "model/property_base.h"

#include <functional>
#include <memory>
#include <vector>

class CContentsListFile : private CXmlDocument, private CPropertyWriter {
public:
    using Records = std::vector<std::unique_ptr<CPropertyBase>>;
    using Filter = std::function<bool(const CPropertyBase &)>;

    // Reads the records of a list of contentType from path. A missing file
    // gives no records and true. False with error 13 when the file is not a
    // well-formed list of that type or a field is refused; other failures to
    // read leave the platform error. records is filled only on success.
    static bool Read(const QString &path, int contentType, Records &records, quint32 &error);
    // Parses list file bytes (as Read does after opening the file).
    static bool Parse(const QByteArray &data, int contentType, Records &records, quint32 &error);
    // Writes the records that pass keep (all when keep is empty).
    static bool Write(const QString &path, int contentType, const Records &records, const Filter &keep,
                      quint32 &error);

private:
    CContentsListFile(int contentType, const Records &records, const Filter &keep);
    bool WriteContents() override;
    void WriteField(QStringView name, const QString &text) override;

    int m_contentType;
    const Records &m_records;
    const Filter &m_keep;
};
