#include "model/contents_list_file.h"

#include "core/last_error.h"
#include "core/xml_text.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <cerrno>

namespace {

const QString kRootElement = QStringLiteral("contentlist");
const QString kRecordElement = QStringLiteral("content");
const QString kVersion = QStringLiteral("1.0");

// Reads the fields of one "content" element into record; false when the
// element is malformed or a field is refused.
bool readRecord(QXmlStreamReader &reader, CPropertyBase &record)
{
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        const QString text = reader.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (reader.hasError())
            return false;
        if (record.ReadField(name, text) == FieldResult::Refused)
            return false;
    }
    return !reader.hasError();
}

bool readRecords(QXmlStreamReader &reader, int contentType, CContentsListFile::Records &records)
{
    if (!reader.readNextStartElement() || reader.name() != kRootElement)
        return false;
    if (reader.attributes().value(QStringLiteral("type")) != QString::number(contentType))
        return false;
    while (reader.readNextStartElement()) {
        if (reader.name() != kRecordElement) {
            reader.skipCurrentElement();
            continue;
        }
        std::unique_ptr<CPropertyBase> record = CreateProperty(contentType);
        if (!record || !readRecord(reader, *record))
            return false;
        records.push_back(std::move(record));
    }
    if (reader.hasError())
        return false;
    // Nothing but comments and white space may follow the root.
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            return false;
    }
    return !reader.hasError();
}

} // namespace

CContentsListFile::CContentsListFile(int contentType, const Records &records, const Filter &keep)
    : m_contentType(contentType)
    , m_records(records)
    , m_keep(keep)
{
    // Web and camera contents keep the passwords of their pages and streams.
    if (contentType == CONTENT_WEB || contentType == CONTENT_STREAMING)
        SetSaveAccess(FileAccess::OwnerOnly);
}

bool CContentsListFile::Read(const QString &path, int contentType, Records &records, quint32 &error)
{
    QFile file(path);
    if (!file.exists()) {
        records.clear();
        error = ERROR_SUCCESS;
        return true;
    }
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        error = errno ? ErrorFromErrno(errno) : quint32(ERROR_ACCESS_DENIED);
        return false;
    }
    // A file beyond any the program writes is damaged; it is not read into memory.
    if (file.size() > kDataXmlMaxBytes) {
        error = ERROR_INVALID_DATA;
        return false;
    }
    return Parse(file.readAll(), contentType, records, error);
}

bool CContentsListFile::Parse(const QByteArray &data, int contentType, Records &records, quint32 &error)
{
    QXmlStreamReader reader(data);
    Records parsed;
    if (!XmlDataWithinBounds(data) || !readRecords(reader, contentType, parsed)) {
        error = ERROR_INVALID_DATA;
        return false;
    }
    records = std::move(parsed);
    error = ERROR_SUCCESS;
    return true;
}

bool CContentsListFile::Write(const QString &path, int contentType, const Records &records, const Filter &keep,
                              quint32 &error)
{
    CContentsListFile file(contentType, records, keep);
    const bool saved = file.Save(path);
    error = file.lastError();
    return saved;
}

bool CContentsListFile::WriteContents()
{
    StartElement(kRootElement, {QStringLiteral("ver"), QStringLiteral("type")},
                 {kVersion, QString::number(m_contentType)});
    for (const auto &record : m_records) {
        if (m_keep && !m_keep(*record))
            continue;
        StartElement(kRecordElement);
        record->WriteFields(*this);
        EndElement(kRecordElement);
    }
    EndElement(kRootElement);
    return true;
}

void CContentsListFile::WriteField(QStringView name, const QString &text)
{
    WriteElement(name.toString(), text);
}
