#include "core/xml_document.h"

#include "core/atomic_file.h"
#include "core/last_error.h"
#include "core/xml_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cerrno>

namespace {

bool IsXmlWhitespace(const QString &text)
{
    for (const QChar ch : text) {
        if (ch != u' ' && ch != u'\t' && ch != u'\n' && ch != u'\r')
            return false;
    }
    return true;
}

// Reading a file fails with the code callers test: 2 for a missing file and 3
// for a missing folder, as on the original platform.
quint32 OpenErrorFor(const QString &path, int errnoValue)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return ERROR_PATH_NOT_FOUND;
    if (info.isDir())
        return ERROR_ACCESS_DENIED;
    if (errnoValue == 0)
        return info.exists() ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
    return ErrorFromErrno(errnoValue);
}

// The text of one element run is gathered across every token the reader splits
// it into and handed on at the next tag.
class TextRun {
public:
    void append(QStringView text) { m_text.append(text); m_present = true; }
    bool present() const { return m_present; }
    // Whitespace between tags is layout, unless it is the whole content of the
    // element being closed.
    bool worthDelivering(bool wholeContent) const
    {
        return m_present && (wholeContent || !IsXmlWhitespace(m_text));
    }
    QString take()
    {
        m_present = false;
        return std::exchange(m_text, QString());
    }

private:
    QString m_text;
    bool m_present = false;
};

} // namespace

CXmlDocument::CXmlDocument() = default;
CXmlDocument::~CXmlDocument() = default;

void CXmlDocument::OnStartElement(const QString &, const QStringList &, const QStringList &) {}
void CXmlDocument::OnCharacters(const QString &, const QString &) {}
void CXmlDocument::OnEndElement(const QString &) {}
void CXmlDocument::OnSaveBegin() {}
void CXmlDocument::OnSaveEnd() {}

bool CXmlDocument::fail(quint32 error)
{
    m_lastError = error;
    SetLastError(error);
    return false;
}

bool CXmlDocument::Load(const QString &path)
{
    if (path.isEmpty())
        return fail(ERROR_INVALID_PARAMETER);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return fail(OpenErrorFor(path, errno));
    // A file beyond any the program writes is damaged; it is not read into memory.
    if (file.size() > kDataXmlMaxBytes)
        return fail(ERROR_INVALID_DATA);
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(ERROR_INTERNAL_ERROR);
    return loadFromData(data);
}

// The first pass only checks that the input is well formed, so that a broken
// file never reaches the handlers halfway.
bool CXmlDocument::loadFromData(const QByteArray &data)
{
    if (!XmlDataWithinBounds(data) || !parse(data, false))
        return fail(ERROR_INVALID_DATA);
    parse(data, true);
    m_lastError = ERROR_SUCCESS;
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool CXmlDocument::parse(const QByteArray &data, bool deliver)
{
    QXmlStreamReader reader(data);
    QStringList paths; // the path of every open element, innermost last
    TextRun text;
    bool leafSoFar = false; // no child element since the innermost start tag

    auto flushText = [&](bool wholeContent) {
        if (deliver && !paths.isEmpty() && text.worthDelivering(wholeContent))
            OnCharacters(paths.constLast(), text.take());
        else
            text.take();
    };

    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            flushText(false);
            const QString parent = paths.isEmpty() ? QString() : paths.constLast();
            paths.append(parent + u'/' + reader.qualifiedName().toString());
            leafSoFar = true;
            if (deliver) {
                QStringList names;
                QStringList values;
                for (const QXmlStreamAttribute &attribute : reader.attributes()) {
                    names.append(attribute.qualifiedName().toString());
                    values.append(attribute.value().toString());
                }
                OnStartElement(paths.constLast(), names, values);
            }
            break;
        }
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text.append(reader.text());
            break;
        case QXmlStreamReader::EndElement:
            flushText(leafSoFar);
            leafSoFar = false;
            if (deliver)
                OnEndElement(paths.constLast());
            paths.removeLast();
            break;
        default:
            // Comments and processing instructions inside a text run do not
            // split it; the declaration and a DTD carry nothing for handlers.
            break;
        }
    }
    return !reader.hasError();
}

void CXmlDocument::writeAttributes(const QStringList &names, const QStringList &values)
{
    const qsizetype count = qMin(names.size(), values.size());
    for (qsizetype i = 0; i < count; ++i)
        m_writer->writeAttribute(names[i], RemoveXmlInvalidChars(values[i]));
}

void CXmlDocument::StartElement(const QString &name, const QStringList &attrNames, const QStringList &attrValues)
{
    Q_ASSERT(m_writer);
    m_writer->writeStartElement(name);
    m_openElements.append(name);
    writeAttributes(attrNames, attrValues);
}

void CXmlDocument::EndElement(const QString &name)
{
    Q_ASSERT(m_writer);
    Q_ASSERT(!m_openElements.isEmpty() && m_openElements.constLast() == name);
    Q_UNUSED(name);
    m_writer->writeEndElement();
    m_openElements.removeLast();
}

void CXmlDocument::WriteElement(const QString &name, const QString &text)
{
    Q_ASSERT(m_writer);
    m_writer->writeTextElement(name, RemoveXmlInvalidChars(text));
}

void CXmlDocument::WriteElementInt(const QString &name, qint32 value, const QStringList &attrNames,
                                   const QStringList &attrValues)
{
    Q_ASSERT(m_writer);
    m_writer->writeStartElement(name);
    writeAttributes(attrNames, attrValues);
    m_writer->writeCharacters(QString::number(value));
    m_writer->writeEndElement();
}

void CXmlDocument::WriteElementUInt64(const QString &name, quint64 value)
{
    Q_ASSERT(m_writer);
    m_writer->writeTextElement(name, QString::number(value));
}

bool CXmlDocument::writeDocument(QByteArray &out)
{
    QXmlStreamWriter writer(&out);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(-1); // one tab per level
    writer.writeStartDocument(QStringLiteral("1.0"));
    m_writer = &writer;
    m_openElements.clear();
    SetLastError(ERROR_SUCCESS);
    const bool written = WriteContents();
    m_writer = nullptr;
    if (!written)
        return fail(GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_DATA);
    writer.writeEndDocument();
    if (writer.hasError())
        return fail(ERROR_INVALID_DATA);
    return true;
}

bool CXmlDocument::Save(const QString &path)
{
    if (path.isEmpty())
        return fail(ERROR_INVALID_PARAMETER);
    QByteArray bytes;
    OnSaveBegin();
    const bool written = writeDocument(bytes);
    OnSaveEnd();
    if (!written)
        return fail(m_lastError); // OnSaveEnd may have touched the thread's error
    if (!WriteFileAtomically(path, bytes, FileDurability::Synced, m_saveAccess))
        return fail(GetLastError());
    m_lastError = ERROR_SUCCESS;
    return true;
}
