#include "model/contents_list.h"

#include "core/last_error.h"
#include "model/contents_list_file.h"
#include "model/media_property.h"
#include "model/playlist_property.h"
#include "model/property_checks.h"
#include "model/property_fields.h"

#include <algorithm>
#include <set>

namespace {

// The column and direction a sort key stands for; column -1 keeps the order
// as received.
struct SortOrder {
    int column = -1;
    bool descending = false;
};

SortOrder sortOrderOf(int key)
{
    if (key == kSortKeyInputAscending)
        return {SORT_INPUT, false};
    if (key == kSortKeyInputDescending)
        return {SORT_INPUT, true};
    if (key < 0 || key >= kSortKeyAsReceived)
        return {};
    return {key / 2, (key % 2) != 0};
}

DateValue dateOf(const SystemTime &time)
{
    return DateValue{time.year, time.month, time.day};
}

} // namespace

CContentsList::CContentsList(int contentType)
    : m_contentType(contentType)
{
}

CContentsList::~CContentsList() = default;

bool CContentsList::fail(quint32 error)
{
    m_lastError = error;
    SetLastError(error);
    return false;
}

bool CContentsList::succeed()
{
    m_lastError = ERROR_SUCCESS;
    return true;
}

bool CContentsList::isOwnType(const CPropertyBase *record) const
{
    return record && record->GetContentType() == m_contentType;
}

void CContentsList::invalidate()
{
    m_displayValid = false;
    m_indexMapValid = false;
}

int CContentsList::GetDisplayCount() const
{
    rebuildDisplay();
    return int(m_display.size());
}

int CContentsList::GetFilterHiddenCount() const
{
    rebuildDisplay();
    return m_hiddenByResolution;
}

void CContentsList::rebuildIndexMap() const
{
    if (m_indexMapValid)
        return;
    m_indexMap.clear();
    m_indexMap.reserve(qsizetype(m_records.size()));
    // The first record with a number wins, as a search from the front would find it.
    for (int i = int(m_records.size()) - 1; i >= 0; --i)
        m_indexMap.insert(m_records[size_t(i)]->GetIndex(), i);
    m_indexMapValid = true;
}

int CContentsList::FindCode(qint32 index) const
{
    rebuildIndexMap();
    return m_indexMap.value(index, -1);
}

int CContentsList::FindDisplayCode(qint32 index) const
{
    const int position = FindCode(index);
    if (position < 0)
        return -1;
    rebuildDisplay();
    const auto it = std::find(m_display.begin(), m_display.end(), position);
    return it == m_display.end() ? -1 : int(it - m_display.begin());
}

bool CContentsList::Get(int position, CPropertyBase *out)
{
    const CPropertyBase *record = GetAt(position);
    if (!record)
        return false;
    if (!out || !out->Copy(record))
        return fail(out ? out->GetLastError() : quint32(ERROR_INVALID_PARAMETER));
    return succeed();
}

CPropertyBase *CContentsList::GetAt(int position)
{
    if (position < 0 || position >= GetCount()) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    succeed();
    return m_records[size_t(position)].get();
}

bool CContentsList::GetDisplay(int displayPosition, CPropertyBase *out)
{
    rebuildDisplay();
    if (displayPosition < 0 || displayPosition >= int(m_display.size()))
        return fail(ERROR_INVALID_PARAMETER);
    return Get(m_display[size_t(displayPosition)], out);
}

CPropertyBase *CContentsList::GetDisplayAt(int displayPosition)
{
    rebuildDisplay();
    if (displayPosition < 0 || displayPosition >= int(m_display.size())) {
        fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return GetAt(m_display[size_t(displayPosition)]);
}

bool CContentsList::Add(const CPropertyBase *record)
{
    if (!isOwnType(record))
        return fail(ERROR_INVALID_PARAMETER);
    std::unique_ptr<CPropertyBase> copy = CreateProperty(m_contentType);
    if (!copy)
        return fail(ERROR_OUTOFMEMORY);
    if (!copy->Copy(record))
        return fail(copy->GetLastError());
    m_records.push_back(std::move(copy));
    invalidate();
    return succeed();
}

bool CContentsList::Update(int position, const CPropertyBase *record)
{
    CPropertyBase *target = GetAt(position);
    if (!target)
        return false;
    if (!isOwnType(record))
        return fail(ERROR_INVALID_PARAMETER);
    if (!target->Copy(record))
        return fail(target->GetLastError());
    invalidate();
    return succeed();
}

bool CContentsList::Delete(int position)
{
    if (!GetAt(position))
        return false;
    m_records.erase(m_records.begin() + position);
    invalidate();
    return succeed();
}

void CContentsList::RemoveAll()
{
    m_records.clear();
    invalidate();
}

bool CContentsList::EditProperty(int position, const QString &title, const QString &info, const PlayLength *playTime)
{
    CPropertyBase *record = GetAt(position);
    if (!record)
        return false;
    std::unique_ptr<CPropertyBase> edited = CreateProperty(m_contentType);
    edited->Copy(record);
    bool accepted = edited->SetTitle(title) && edited->SetInfo(info);
    if (accepted && playTime) {
        if (auto *media = dynamic_cast<CMediaProperty *>(edited.get()))
            accepted = media->SetPlayTime(*playTime);
    }
    if (!accepted)
        return fail(edited->GetLastError());
    record->Copy(edited.get());
    invalidate();
    return succeed();
}

void CContentsList::ClearMarks()
{
    for (auto &record : m_records)
        record->SetMark(0);
}

bool CContentsList::SetMark(int position)
{
    CPropertyBase *record = GetAt(position);
    if (!record)
        return false;
    record->SetMark(1);
    return true;
}

QStringList CContentsList::GetCategories() const
{
    std::set<QString> names;
    for (const auto &record : m_records) {
        if (!record->GetInfo().isEmpty())
            names.insert(record->GetInfo());
    }
    QStringList sorted(names.begin(), names.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const QString &a, const QString &b) { return CompareText(a, b) < 0; });
    return sorted;
}

bool CContentsList::readFile(const QString &path, std::vector<std::unique_ptr<CPropertyBase>> &records)
{
    quint32 error = ERROR_SUCCESS;
    if (!CContentsListFile::Read(path, m_contentType, records, error))
        return fail(error);
    return true;
}

bool CContentsList::Load(const QString &path)
{
    std::vector<std::unique_ptr<CPropertyBase>> records;
    if (!readFile(path, records))
        return false;
    m_records = std::move(records);
    ClearMarks();
    invalidate();
    return succeed();
}

bool CContentsList::Merge(const QString &path)
{
    std::vector<std::unique_ptr<CPropertyBase>> records;
    if (!readFile(path, records))
        return false;
    for (auto &record : records) {
        if (FindCode(record->GetIndex()) >= 0)
            continue;
        m_records.push_back(std::move(record));
        invalidate();
    }
    return succeed();
}

bool CContentsList::Save(const QString &path, int flag)
{
    CContentsListFile::Filter keep;
    if (flag != 0)
        keep = [](const CPropertyBase &record) { return !IsSampleIndex(record.GetIndex()); };
    quint32 error = ERROR_SUCCESS;
    if (!CContentsListFile::Write(path, m_contentType, m_records, keep, error))
        return fail(error);
    return succeed();
}

void CContentsList::SetDisplayFilter(const ContentsFilter &filter)
{
    m_filter = filter;
    m_displayValid = false;
}

void CContentsList::SetPlaylistFilter(bool on, qint32 resolution, qint32 orientation)
{
    m_playlistFilter = on;
    m_filterResolution = resolution;
    m_filterOrientation = orientation;
    m_displayValid = false;
}

void CContentsList::Sort(int key)
{
    m_sortKey = key;
    m_displayValid = false;
}

bool CContentsList::passesDisplayFilter(const CPropertyBase &record) const
{
    if (m_filter.useDate && CompareDates(dateOf(record.GetCreateDate()), dateOf(m_filter.date)) < 0)
        return false;
    if (m_filter.useType && !record.GetInfo().isEmpty() && m_filter.excluded.contains(record.GetInfo()))
        return false;
    return true;
}

bool CContentsList::hiddenByPlaylistFilter(const CPropertyBase &record) const
{
    if (!m_playlistFilter)
        return false;
    const auto *playlist = dynamic_cast<const CPlaylistProperty *>(&record);
    return playlist
        && (playlist->GetResolution() != m_filterResolution || playlist->GetOrientation() != m_filterOrientation);
}

void CContentsList::rebuildDisplay() const
{
    if (m_displayValid)
        return;
    m_display.clear();
    m_display.reserve(m_records.size());
    m_hiddenByResolution = 0;
    for (size_t i = 0; i < m_records.size(); ++i) {
        const CPropertyBase &record = *m_records[i];
        if (hiddenByPlaylistFilter(record)) {
            ++m_hiddenByResolution;
            continue;
        }
        if (passesDisplayFilter(record))
            m_display.push_back(int(i));
    }
    const SortOrder order = sortOrderOf(m_sortKey);
    if (order.column >= 0) {
        std::stable_sort(m_display.begin(), m_display.end(), [&](int a, int b) {
            const int c = m_records[size_t(a)]->CompareBy(order.column, *m_records[size_t(b)]);
            return order.descending ? c > 0 : c < 0;
        });
    }
    m_displayValid = true;
}
