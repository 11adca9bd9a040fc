#pragma once
// An application data document that is a list of records: a root element
// (with "ver" 1.0) holding one element per record, each with one child
// element per field. Subclasses name the elements and convert the fields;
// this class keeps the records, reads into a pending list (see
// CModelXmlDocument) and writes the file.

#include "core/last_error.h"
#include "model/model_xml_document.h"

#include <vector>

template <class Record>
class CRecordListXml : public CModelXmlDocument {
public:
    int GetCount() const { return int(m_records.size()); }
    const std::vector<Record> &Records() const { return m_records; }
    // Copies the record at a position; false with error 87 for a bad position.
    bool GetAt(int position, Record &record) const
    {
        if (!isPosition(position))
            return false;
        record = m_records[size_t(position)];
        return true;
    }
    bool SetAt(int position, const Record &record)
    {
        if (!isPosition(position))
            return false;
        m_records[size_t(position)] = record;
        return true;
    }
    void Add(const Record &record) { m_records.push_back(record); }
    bool Delete(int position)
    {
        if (!isPosition(position))
            return false;
        m_records.erase(m_records.begin() + position);
        return true;
    }
    void RemoveAll() { m_records.clear(); }

protected:
    CRecordListXml(const QString &root, const QString &recordElement)
        : m_root(root)
        , m_recordElement(recordElement)
        , m_recordPath(u'/' + root + u'/' + recordElement)
    {
    }

    // Takes one field (its path below the record element, "Set/Pass"); false
    // refuses the file.
    virtual bool readField(Record &record, QStringView name, const QString &text) = 0;
    virtual void writeFields(const Record &record) = 0;
    // Elements directly below the root that are not records.
    virtual bool readHeaderField(QStringView name, const QString &text)
    {
        Q_UNUSED(name);
        Q_UNUSED(text);
        return true;
    }
    virtual void writeHeader() {}

    void beginLoad() override { m_pending.clear(); }
    void commitLoad() override
    {
        m_records = std::move(m_pending);
        m_pending.clear();
    }
    void OnStartElement(const QString &path, const QStringList &, const QStringList &) override
    {
        if (path == m_recordPath)
            m_pending.emplace_back();
    }
    void OnCharacters(const QString &path, const QString &text) override
    {
        bool accepted = true;
        if (path.startsWith(m_recordPath + u'/') && !m_pending.empty())
            accepted = readField(m_pending.back(), QStringView(path).mid(m_recordPath.size() + 1), text);
        else if (path.startsWith(u'/' + m_root + u'/'))
            accepted = readHeaderField(QStringView(path).mid(m_root.size() + 2), text);
        if (!accepted)
            refuseValue();
    }
    bool WriteContents() override
    {
        StartElement(m_root, {QStringLiteral("ver")}, {QStringLiteral("1.0")});
        writeHeader();
        for (const Record &record : m_records) {
            StartElement(m_recordElement);
            writeFields(record);
            EndElement(m_recordElement);
        }
        EndElement(m_root);
        return true;
    }

    std::vector<Record> m_records;

private:
    bool isPosition(int position) const
    {
        if (position >= 0 && position < GetCount())
            return true;
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }

    QString m_root;
    QString m_recordElement;
    QString m_recordPath;
    std::vector<Record> m_pending;
};
