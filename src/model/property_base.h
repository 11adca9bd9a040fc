#pragma once
// The property record of one content: the part every content type shares
// (number, title, category, data format, dates, size, export mark) and the
// hooks through which a list sorts, copies, writes and reads its records.

#include "core/content_type.h"
#include "core/win_types.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <typeinfo>

// Columns a list can be sorted by. The stored sort key of a list is 2 x column
// for ascending and 2 x column + 1 for descending; the input column and the
// order as received have keys of their own.
enum SortColumn : int {
    SORT_INDEX = 0,
    SORT_CATEGORY = 1,
    SORT_TITLE = 2,
    SORT_FORMAT = 3,
    SORT_SIZE = 4,
    SORT_DELETE_DATE = 5,
    SORT_UPDATE = 6,
    SORT_IMAGE_SIZE = 8,
    SORT_PLAY_TIME = 9,
    SORT_FILE_NAME = 10,
    SORT_ADDRESS = 11,
    SORT_EFFECT = 12,
    SORT_CONTROL_KIND = 13,
    SORT_START_TIME = 14,
    SORT_END_TIME = 15,
    SORT_START_DATE = 16,
    SORT_END_DATE = 17,
    SORT_WEEK = 18,
    SORT_BG_COLOR = 19,
    SORT_RECEIVED = 20,
    SORT_INPUT = 21,
};
constexpr int kSortKeyAsReceived = 42;
constexpr int kSortKeyInputAscending = 43;
constexpr int kSortKeyInputDescending = 44;

// Receives the fields of a record in writing order (element name, text).
class CPropertyWriter {
public:
    virtual ~CPropertyWriter() = default;
    virtual void WriteField(QStringView name, const QString &text) = 0;
};

// What a record made of one stored field.
enum class FieldResult { Taken, Refused, Unknown };
inline FieldResult FieldResultOf(bool accepted)
{
    return accepted ? FieldResult::Taken : FieldResult::Refused;
}

class CPropertyBase {
public:
    static constexpr int kMaxTitle = 40;
    static constexpr int kMaxInfo = 20;
    static constexpr int kMaxDataFormat = 20;

    virtual ~CPropertyBase();

    int GetContentType() const { return m_contentType; }
    quint32 GetLastError() const { return m_lastError; }

    // Copies a whole record of the same class; another class or null: error 87.
    virtual bool Copy(const CPropertyBase *source) = 0;

    qint32 GetIndex() const { return m_index; }
    virtual bool SetIndex(qint32 index);
    const QString &GetTitle() const { return m_title; }
    bool SetTitle(const QString &title);
    // The category.
    const QString &GetInfo() const { return m_info; }
    bool SetInfo(const QString &info);
    const QString &GetDataFormat() const { return m_dataFormat; }
    bool SetDataFormat(const QString &format);
    // When the record was registered or last edited ("cdate").
    const SystemTime &GetCreateDate() const { return m_createDate; }
    bool SetCreateDate(const SystemTime &time);
    // The date-time stamp of the content's file as last delivered ("ddate");
    // all zero means none.
    const SystemTime &GetDDate() const { return m_dDate; }
    bool SetDDate(const SystemTime &time);
    // When the content was last written into an export package or drive
    // ("exportdate"); all zero means never.
    const SystemTime &GetExportDate() const { return m_exportDate; }
    bool SetExportDate(const SystemTime &time);
    // Auto-delete date; year 0 means none and 9999-12-31 never.
    const DateValue &GetDeleteDate() const { return m_deleteDate; }
    bool SetDeleteDate(const DateValue &date);
    quint64 GetSize() const { return m_size; }
    void SetSize(quint64 size) { m_size = size; }
    // The one-byte export mark (kept in memory only).
    quint8 GetMark() const { return m_mark; }
    void SetMark(quint8 mark) { m_mark = mark; }

    // <0, 0, >0 as this record sorts before, with or after other by column.
    virtual int CompareBy(int column, const CPropertyBase &other) const;
    // Writes the stored fields in their fixed order.
    virtual void WriteFields(CPropertyWriter &writer) const;
    // Takes one stored field; Refused when its text does not parse or the
    // value is not accepted, Unknown for a name the record does not have.
    virtual FieldResult ReadField(QStringView name, const QString &text);

protected:
    explicit CPropertyBase(int contentType);
    CPropertyBase(const CPropertyBase &) = default;
    CPropertyBase &operator=(const CPropertyBase &) = default;

    // Sets the last error and returns false, for setters.
    bool refuse(quint32 error = 87);
    bool accept();
    // Stores value in field when valid, else refuses it with error 87.
    template <class Field, class Value>
    bool setChecked(bool valid, Field &field, const Value &value)
    {
        if (!valid)
            return refuse();
        field = value;
        return accept();
    }
    // The content type may be changed by records that serve two types.
    void setContentType(int type) { m_contentType = type; }

    // The source of a Copy as the record's own class; null (error 87) when it
    // is null or of another class.
    template <class Record>
    const Record *sourceOf(const CPropertyBase *source)
    {
        if (!source || typeid(*source) != typeid(Record)) {
            refuse();
            return nullptr;
        }
        return static_cast<const Record *>(source);
    }
    // The whole of Copy for a record class whose fields copy by assignment.
    template <class Record>
    bool copyFrom(Record &self, const CPropertyBase *source)
    {
        const Record *typed = sourceOf<Record>(source);
        if (!typed)
            return false;
        self = *typed;
        return accept();
    }

private:
    int m_contentType;
    quint32 m_lastError = 0;
    qint32 m_index = 0;
    QString m_title;
    QString m_info;
    QString m_dataFormat;
    SystemTime m_createDate;
    SystemTime m_dDate;
    SystemTime m_exportDate;
    DateValue m_deleteDate;
    quint64 m_size = 0;
    quint8 m_mark = 0;
};

// An empty record of the class that serves a content type; null for other types.
std::unique_ptr<CPropertyBase> CreateProperty(int contentType);
// True for the types that have a record class.
bool IsPropertyType(int contentType);
