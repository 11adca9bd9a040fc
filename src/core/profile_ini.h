#pragma once
// One INI file with the private-profile semantics the settings stores rely on:
//  - section and key names compare without case; section names may hold
//    backslashes ("Content\Index");
//  - "key = value" lines give the value between the first '=' and the line end
//    with blanks (spaces, tabs) around it trimmed; everything else is kept byte
//    for byte (no quote stripping, no escapes);
//  - a line whose first non-blank character is ';' is a comment; lines before
//    the first section and lines without '=' belong to no key;
//  - when a section or key occurs twice, the first one counts (reads and writes);
//  - writing a key rewrites that line only ("key=value", the key keeping the
//    spelling it has in the file); every other line, comment, blank line and the
//    order stay as they are; a new key goes after the last key of its section,
//    a new section at the end of the file;
//  - every write is saved at once and atomically (temporary file + rename); when
//    saving fails the call returns false with the last error set, the file on
//    disk is untouched and the parsed contents fall back to it.
// Files are UTF-8; a byte-order mark is accepted on read and kept on write.
// Line ends of an existing file are kept; new lines follow the file's first
// line end ("\n" for a new file).
// The parsed file is kept in memory, one string per line grouped by section,
// with an index of the sections and of the keys of large sections, so adding
// keys costs in proportion to what is added. Before every call the file's size,
// modification time and inode are compared with those last seen (one stat
// call), so a file replaced by another program is read again.
// All calls are thread-safe.

#include "core/atomic_file.h"
#include "core/win_types.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <mutex>
#include <optional>
#include <sys/types.h>
#include <vector>

// One change of a batch written with CProfileIni::WriteChanges: a value to
// write, or no value to delete the key (with an empty key: the whole section).
struct ProfileChange {
    QString section;
    QString key;
    std::optional<QString> value;
};

class CProfileIni {
public:
    CProfileIni() = default;
    explicit CProfileIni(const QString &fileName);
    CProfileIni(const CProfileIni &) = delete;
    CProfileIni &operator=(const CProfileIni &) = delete;

    // Sets the file and reads it (a missing file reads as empty).
    void SetFileName(const QString &fileName);
    QString GetFileName() const;
    // Files that hold passwords are written private (FileAccess).
    void SetFileAccess(FileAccess access);

    // The value of the key, else defaultValue.
    QString GetString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    // The value as a 32-bit integer: optional '+' or '-' and decimal digits, or
    // "0x" and one to eight hexadecimal digits (read as an unsigned 32-bit
    // pattern, so 0xFFFFFFFF gives -1). Any other text, an empty value and a
    // decimal value outside the 32-bit range give defaultValue.
    int GetInt(const QString &section, const QString &key, int defaultValue) const;
    // GetInt(...) != 0.
    bool GetBool(const QString &section, const QString &key, bool defaultValue) const;
    // A time of day "H:M:S" (hours 0-23, minutes and seconds 0-59); anything
    // else gives defaultValue. The fourth field is 0.
    TimeValue GetTime(const QString &section, const QString &key, const TimeValue &defaultValue) const;

    bool HasSection(const QString &section) const;
    bool HasKey(const QString &section, const QString &key) const;

    // Each write is saved at once; false (with the last error) when the value
    // cannot be stored: names that are empty or hold line breaks, a key with
    // '=' or leading ';' or '[', a section with ']', a value with a line break
    // (ERROR_INVALID_PARAMETER), or a failed save.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInt(const QString &section, const QString &key, int value);
    bool WriteBool(const QString &section, const QString &key, bool value);
    // "HH:MM:SS"
    bool WriteTime(const QString &section, const QString &key, const TimeValue &value);
    // Deleting a key or section that does not exist succeeds without a save.
    bool DeleteKey(const QString &section, const QString &key);
    bool DeleteSection(const QString &section);
    // Applies every change in order and saves once; all or nothing.
    bool WriteChanges(const QList<ProfileChange> &changes);

    static std::optional<int> ParseInt(const QString &text);

    // True when the file exists but is not an INI file: it could not be read,
    // holds NUL bytes, or has lines but not one section. Its keys then read as
    // absent, so callers fall back to their defaults. The first write sets
    // such a file aside as "<name>.damaged" and starts a fresh one (a write
    // fails when it cannot be set aside); it still counts as damaged after.
    bool IsDamaged() const;

private:
    enum class LineKind { Other, Comment, Section, Key };
    // What a line says; name and value point into the line's bytes.
    struct LineInfo {
        LineKind kind = LineKind::Other;
        QByteArrayView name;  // section or key name as written (trimmed)
        QByteArrayView value; // a key's value (trimmed)
    };
    // One section: its header line and the lines up to the next header; the
    // lines before the first header form a block of their own without one.
    // Each line is one string holding its line end ("\n", "\r\n", or none for
    // a last line without one). A block with many lines indexes its keys.
    struct Block {
        QList<QByteArray> lines;
        int lastKeyLine = -1; // -1: no key yet
        std::unique_ptr<QHash<QString, int>> keys; // case-folded key -> first line
    };
    struct FileStamp {
        bool exists = false;
        off_t size = 0;
        qint64 mtimeNs = 0;
        ino_t inode = 0;
        friend bool operator==(const FileStamp &, const FileStamp &) = default;
    };

    static QString fold(const QString &name);
    static QString fold(QByteArrayView name);
    static bool isValidChange(const ProfileChange &change);
    static LineInfo parseLine(const QByteArray &line);
    static QByteArray lineEndOf(const QByteArray &line);
    static void indexKeys(Block &block);
    static int findKeyLine(const Block &block, const QString &foldedKey);

    FileStamp stampOfFile() const;
    void refreshLocked() const;
    void readLocked() const;
    void parseBytes(const QByteArray &bytes) const;
    void rebuildSectionIndex() const;
    const Block *findBlock(const QString &section) const;
    std::optional<QByteArray> valueLocked(const QString &section, const QString &key) const;
    QByteArray newLineEnd() const;
    void applyLocked(const ProfileChange &change);
    void setKeyLocked(const QString &section, const QString &key, const QString &value);
    void deleteKeyLocked(const QString &section, const QString &key);
    void deleteSectionLocked(const QString &section);
    void appendSection(const QString &section, const QByteArray &keyLine, const QByteArray &end);
    static void insertLine(Block &block, int position, const QByteArray &line);
    QByteArray serialize() const;
    bool saveLocked();

    mutable std::mutex m_mutex;
    QString m_fileName;
    FileAccess m_access = FileAccess::KeepMode;
    // The parsed file; mutable because a read may find the file replaced on disk.
    mutable std::vector<Block> m_blocks;
    mutable bool m_hasBom = false;
    mutable bool m_readFailed = false; // the file exists but could not be read
    mutable bool m_notIni = false;     // the file's bytes are not an INI file
    bool m_setAside = false;           // a damaged file was set aside by a write
    mutable QHash<QString, int> m_sections; // case-folded name -> first block of that name
    mutable FileStamp m_stamp;
};
