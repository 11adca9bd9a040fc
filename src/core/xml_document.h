#pragma once
// The base of the program's XML documents. A document reads a file (or the
// bytes of a player's reply) as a stream of element events and writes itself
// with a small set of writer operations.
//
// Reading: Load calls OnStartElement, OnCharacters and OnEndElement with the
// element path, "/" followed by the element names from the root joined with
// "/" ("/HarlP2WGroup/Player/No"), names as written in the file. The text of an
// element arrives in one OnCharacters call per run of text between two tags,
// whatever entity references, character references, CDATA sections or
// comments it was written with. Whitespace-only runs between tags are layout
// and are not delivered; an element whose whole content is whitespace does get
// it. The input is checked to be well formed before the first handler runs, so
// a broken file leaves the document exactly as it was.
//
// Writing: Save runs OnSaveBegin, then WriteContents between the start and the
// end of the document, then OnSaveEnd (always, even when writing failed, so the
// pair can hold a lock). The file is UTF-8 with the declaration
// <?xml version="1.0" encoding="UTF-8"?>, one element per line, indented with
// one tab per level and LF line ends; an element with only text stays on one
// line (<No>3</No>). Files that must match a layout byte for byte are built
// with the DOM helpers of dom_utils.h instead. The file is replaced atomically:
// on any failure the old file stays as it was.

#include "core/atomic_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QXmlStreamReader;
class QXmlStreamWriter;

class CXmlDocument {
public:
    CXmlDocument();
    virtual ~CXmlDocument();

    CXmlDocument(const CXmlDocument &) = delete;
    CXmlDocument &operator=(const CXmlDocument &) = delete;

    // Reads the file at path. False with the last error 2 (missing), 3 (missing
    // folder), 5 (unreadable) or 13 (not well-formed XML).
    bool Load(const QString &path);
    // The same for XML held in memory, such as a player's reply; false with 13
    // when it is not well formed.
    bool loadFromData(const QByteArray &data);

    // Writes the document to path. False with the last error when writing the
    // contents failed (the error WriteContents left, else 13) or the file could
    // not be replaced; the old file is then unchanged.
    bool Save(const QString &path);

    // The last error of this document's latest Load or Save (0 after success).
    quint32 lastError() const { return m_lastError; }

protected:
    virtual void OnStartElement(const QString &path, const QStringList &attrNames, const QStringList &attrValues);
    virtual void OnCharacters(const QString &path, const QString &text);
    virtual void OnEndElement(const QString &path);

    // Documents that hold passwords are saved private (FileAccess).
    void SetSaveAccess(FileAccess access) { m_saveAccess = access; }

    virtual void OnSaveBegin();
    // Writes the document's elements with the operations below; false stops the
    // save (the old file is kept).
    virtual bool WriteContents() = 0;
    virtual void OnSaveEnd();

    // Writer operations, valid inside WriteContents only. Attribute names and
    // values pair up by position; extra entries of the longer list are ignored.
    void StartElement(const QString &name, const QStringList &attrNames = {}, const QStringList &attrValues = {});
    // Ends the innermost open element, which must be the one named.
    void EndElement(const QString &name);
    void WriteElement(const QString &name, const QString &text);
    void WriteElementInt(const QString &name, qint32 value, const QStringList &attrNames = {},
                         const QStringList &attrValues = {});
    void WriteElementUInt64(const QString &name, quint64 value);

private:
    bool parse(const QByteArray &data, bool deliver);
    bool writeDocument(QByteArray &out);
    bool fail(quint32 error);
    void writeAttributes(const QStringList &names, const QStringList &values);

    QXmlStreamWriter *m_writer = nullptr;
    QStringList m_openElements;
    quint32 m_lastError = 0;
    FileAccess m_saveAccess = FileAccess::KeepMode;
};
