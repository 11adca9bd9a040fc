#pragma once
// The common part of the playlist, schedule and sequence files
// (docs/file-formats.md): a root element with the format version "2.2" and
// the file's own number, then the title, the category (info), the deletion
// date and the entries in order. The files are read whole before anything
// changes, so a damaged file or player reply leaves the object as it was;
// writing replaces the file atomically.

#include "core/xml_document.h"
#include "core/win_types.h"
#include "model/timetable_header.h"
#include "model/timetable_item.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class CTimetableFile : public CTimetableHeader, private CXmlDocument {
public:
    ~CTimetableFile() override;

    // The file's own number; -1 until one is set or read.
    qint32 GetIndex() const { return m_index; }
    // False with last error 87 unless the number has the nine-digit form.
    bool SetIndex(qint32 index);
    int GetItemCount() const { return int(m_items.size()); }
    // Copies the entry at a position; false with last error 87 for a bad position.
    bool GetItem(int position, CTimetableItem &item) const;
    // Appends an entry; false with last error 87 when it does not belong in
    // this kind of file (see the derived classes).
    bool AddItem(const CTimetableItem &item);
    // Forgets the number, the texts, the date and the entries.
    void Clear();

    // Reads a file. False with last error 2 or 3 (missing), 5 (unreadable) or
    // 13 (not a file of this kind, or a value out of range); nothing changes then.
    bool Load(const QString &path);
    // The same for the bytes of a player's reply.
    bool LoadData(const QByteArray &data);
    // Writes the file; false with 87 when no number is set, else as
    // CXmlDocument::Save (the old file then stays).
    bool Save(const QString &path);

    // The file of this kind for a number in a folder ("PL%09d.xml" and so on);
    // false with last error 87 for an empty folder or a bad number.
    bool MakePath(const QString &folder, qint32 number, QString &path) const;
    // Load of the file of a number in a folder; the number in the file must
    // be the same (else 13).
    bool LoadFrom(const QString &folder, qint32 number);
    // Save under the file's own number in a folder.
    bool SaveTo(const QString &folder);

protected:
    // How the entries name what they play: a sequence file names contents by
    // number; playlist and schedule files name sequences and lists by table.
    enum class Reference { ByContent, ByTable };
    using PathMaker = bool (*)(const QString &folder, qint64 number, QString &path);

    CTimetableFile(const QString &rootName, Reference reference, PathMaker makePath);

    // Whether an entry may stand in this kind of file.
    virtual bool acceptsItem(const CTimetableItem &item) const = 0;
    // A sequence reference whose kind is the layer the sequence's number carries.
    static bool isSequenceReference(const CTimetableItem &item);

private:
    struct Parse;

    void OnStartElement(const QString &path, const QStringList &attrNames, const QStringList &attrValues) override;
    void OnCharacters(const QString &path, const QString &text) override;
    void OnEndElement(const QString &path) override;
    bool WriteContents() override;

    // Takes over what a read gathered when the document parsed and was valid
    // (and, unless expectedIndex is -1, carries that number).
    bool takeParse(bool parsed, qint32 expectedIndex);
    bool readItem(const QString &itemPath, CTimetableItem &item) const;
    bool readHeader();
    void writeItem(const CTimetableItem &item);

    const QString m_rootName;
    const Reference m_reference;
    const PathMaker m_makePath;

    qint32 m_index = -1;
    std::vector<CTimetableItem> m_items;

    std::unique_ptr<Parse> m_parse; // while a file is being read
};
