#pragma once
// A list of the property records of one content type, kept in the order they
// were added (the order of the list file), with a display order on top: the
// records that pass the display filter (and, for playlists, the resolution
// filter), sorted by the list's sort key. Positions passed to Get, Update,
// Delete and SetMark are storage positions; the Display operations take
// positions in the display order.
//
// A list is not locked: the user-interface thread owns the store's lists (other
// threads hand it their steps on them), each transfer worker lists of its own.

#include "model/property_base.h"

#include <QHash>
#include <QStringList>

#include <memory>
#include <vector>

// Which records the display order shows.
struct ContentsFilter {
    bool useDate = false;       // only records updated on or after date
    SystemTime date;
    bool useType = false;       // only records whose category is not excluded
    QStringList excluded;       // excluded category names (exact match)
};

class CContentsList {
public:
    explicit CContentsList(int contentType);
    virtual ~CContentsList();

    CContentsList(const CContentsList &) = delete;
    CContentsList &operator=(const CContentsList &) = delete;

    int GetContentType() const { return m_contentType; }
    quint32 GetLastError() const { return m_lastError; }

    // Every record of the list.
    int GetCount() const { return int(m_records.size()); }
    int GetDisplayCount() const;
    // Playlists that the resolution filter keeps out of the display order.
    int GetFilterHiddenCount() const;

    // Storage position of the record with a content number, or -1.
    int FindCode(qint32 index) const;
    // Display position of the record with a content number, or -1.
    int FindDisplayCode(qint32 index) const;

    // Copies the record at a position into out (through out's Copy); false
    // with error 87 for a bad position or a buffer of another class.
    bool Get(int position, CPropertyBase *out);
    // The record at a position; null with error 87 for a bad position.
    CPropertyBase *GetAt(int position);
    bool GetDisplay(int displayPosition, CPropertyBase *out);
    CPropertyBase *GetDisplayAt(int displayPosition);

    // Appends a copy of a record of the list's type; false with error 87 for
    // another type or a record the copy refuses.
    bool Add(const CPropertyBase *record);
    // Overwrites the record at a position.
    bool Update(int position, const CPropertyBase *record);
    bool Delete(int position);
    void RemoveAll();
    // Sets title, category and (for records with a length) play time of the
    // record at a position; playTime may be null.
    virtual bool EditProperty(int position, const QString &title, const QString &info, const PlayLength *playTime);

    // The export mark of every record.
    void ClearMarks();
    bool SetMark(int position);

    // The distinct non-empty categories, sorted.
    QStringList GetCategories() const;

    // Reads the list file: a missing file gives an empty list; a file that
    // does not parse or holds a refused value fails with error 13 and leaves
    // the list as it was.
    virtual bool Load(const QString &path);
    // Writes the list file atomically. With a non-zero flag the sample
    // records (serials from 999000 on) are left out: they come from the sample
    // lists beside the program.
    virtual bool Save(const QString &path, int flag);

    // Adds the records of another file whose numbers the list does not hold
    // (the sample lists); a missing file adds nothing.
    bool Merge(const QString &path);

    // The display order.
    void SetDisplayFilter(const ContentsFilter &filter);
    const ContentsFilter &GetDisplayFilter() const { return m_filter; }
    void SetPlaylistFilter(bool on, qint32 resolution, qint32 orientation);
    // Sorts the display order by a key (2n ascending, 2n + 1 descending for
    // column n; 42 as received; 43 and 44 by input) and remembers the key.
    void Sort(int key);
    int GetSortKey() const { return m_sortKey; }

private:
    bool fail(quint32 error);
    bool succeed();
    bool isOwnType(const CPropertyBase *record) const;
    bool passesDisplayFilter(const CPropertyBase &record) const;
    bool hiddenByPlaylistFilter(const CPropertyBase &record) const;
    void invalidate();
    void rebuildDisplay() const;
    void rebuildIndexMap() const;
    bool readFile(const QString &path, std::vector<std::unique_ptr<CPropertyBase>> &records);

    int m_contentType;
    quint32 m_lastError = 0;
    std::vector<std::unique_ptr<CPropertyBase>> m_records;
    ContentsFilter m_filter;
    bool m_playlistFilter = false;
    qint32 m_filterResolution = 0;
    qint32 m_filterOrientation = 0;
    int m_sortKey = 0;

    // Derived from the records; rebuilt on first use after a change.
    mutable bool m_displayValid = false;
    mutable std::vector<int> m_display;
    mutable int m_hiddenByResolution = 0;
    mutable bool m_indexMapValid = false;
    mutable QHash<qint32, int> m_indexMap;
};

// An empty list of the class that serves a content type (CMovieList for 1 ...,
// CPlaylistList for 52 and 53); null for types without a list.
std::unique_ptr<CContentsList> CreateContentsList(int contentType);
