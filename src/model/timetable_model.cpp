#include "model/timetable_model.h"

#include "core/content_id.h"
#include "core/last_error.h"
#include "core/staged_files.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/property_base.h"
#include "model/sequence_file.h"
#include "model/stored_list_files.h"
#include "model/timetable_file.h"


#include <algorithm>

namespace {

// The same item with another kind; the rectangle is kept.
CTimetableItem withKind(const CTimetableItem &item, int kind)
{
    CTimetableItem copy = item;
    copy.Set(item.GetIndex(), item.GetStartTime(), item.GetEndTime(), item.GetContentType(), kind);
    return copy;
}

} // namespace

CTimetableModel::CTimetableModel(std::vector<TimetableTrack> tracks, bool fromMidnight)
    : m_tracks(std::move(tracks))
    , m_fromMidnight(fromMidnight)
    , m_items(m_tracks.size())
{
}

CTimetableModel::~CTimetableModel() = default;

bool CTimetableModel::SetIdPrefix(int prefix)
{
    if (prefix < 0 || prefix > 9)
        return FailWith(ERROR_INVALID_PARAMETER);
    m_idPrefix = prefix;
    return true;
}

void CTimetableModel::SetFolders(const QString &listFolder, const QString &sequenceFolder)
{
    m_listFolder = listFolder;
    m_sequenceFolder = sequenceFolder;
}

bool CTimetableModel::GetStartTime(int row, TimeValue &time) const
{
    if (row < 0 || row >= GetRowCount())
        return FailWith(ERROR_INVALID_PARAMETER);
    return FramesToTimeCode(m_edges[size_t(row)], time);
}

bool CTimetableModel::GetEndTime(int row, TimeValue &time) const
{
    if (row < 0 || row >= GetRowCount())
        return FailWith(ERROR_INVALID_PARAMETER);
    return FramesToTimeCode(m_edges[size_t(row) + 1], time);
}

const CTimetableModel::CellRef &CTimetableModel::cellAt(int row, int track) const
{
    return m_cells[size_t(row) * m_tracks.size() + size_t(track - 1)];
}

bool CTimetableModel::IsCellUsed(int row, int track, bool countGaps) const
{
    if (!isCell(row, track))
        return false;
    const CellRef &ref = cellAt(row, track);
    return ref.item >= 0 && (countGaps || ref.ownerRow == row);
}

bool CTimetableModel::GetItem(int row, int track, TimetableCell &cell) const
{
    if (!isCell(row, track))
        return FailWith(ERROR_INVALID_PARAMETER);
    const CellRef &ref = cellAt(row, track);
    cell = TimetableCell{};
    if (ref.item < 0)
        return true;
    cell.item = m_items[size_t(track - 1)][size_t(ref.item)];
    cell.kind = trackAt(track).key;
    cell.gap = ref.ownerRow != row;
    cell.ownerRow = ref.ownerRow;
    return true;
}

int CTimetableModel::GetItemCount() const
{
    size_t count = 0;
    for (const auto &items : m_items)
        count += items.size();
    return int(count);
}

bool CTimetableModel::TakesType(int track, int contentType) const
{
    if (!isItemTrack(track))
        return false;
    const int wanted = trackAt(track).itemType;
    return wanted != 0 ? contentType == wanted : CSequenceFile::IsPlayableType(contentType);
}

bool CTimetableModel::trackTakes(int track, const CTimetableItem &item) const
{
    return item.GetIndex() >= 0 && TakesType(track, item.GetContentType());
}

bool CTimetableModel::insertSorted(std::vector<CTimetableItem> &items, const CTimetableItem &item)
{
    const auto next = std::lower_bound(items.begin(), items.end(), item, [](const auto &a, const auto &b) {
        return a.GetStartFrames() < b.GetStartFrames();
    });
    if (next != items.end() && next->GetStartFrames() < item.GetEndFrames())
        return false;
    if (next != items.begin() && std::prev(next)->GetEndFrames() > item.GetStartFrames())
        return false;
    // Items carry no kind of their own in a model: the track gives it.
    items.insert(next, withKind(item, 0));
    return true;
}

bool CTimetableModel::InsertItem(int track, const CTimetableItem &item)
{
    if (!trackTakes(track, item) || !insertSorted(m_items[size_t(track - 1)], item))
        return FailWith(ERROR_INVALID_PARAMETER);
    m_modified = true;
    rebuildGrid();
    return true;
}

bool CTimetableModel::UpdateItem(int row, int track, const CTimetableItem &item)
{
    if (!isCell(row, track) || cellAt(row, track).item < 0 || !trackTakes(track, item))
        return FailWith(ERROR_INVALID_PARAMETER);
    std::vector<CTimetableItem> items = m_items[size_t(track - 1)];
    items.erase(items.begin() + cellAt(row, track).item);
    if (!insertSorted(items, item))
        return FailWith(ERROR_INVALID_PARAMETER);
    m_items[size_t(track - 1)] = std::move(items);
    m_modified = true;
    rebuildGrid();
    return true;
}

bool CTimetableModel::RemoveItem(int row, int track)
{
    if (!isCell(row, track) || cellAt(row, track).item < 0)
        return FailWith(ERROR_INVALID_PARAMETER);
    std::vector<CTimetableItem> &items = m_items[size_t(track - 1)];
    items.erase(items.begin() + cellAt(row, track).item);
    m_modified = true;
    rebuildGrid();
    return true;
}

const CTimetableItem *CTimetableModel::itemAt(int row, int track) const
{
    if (!isCell(row, track) || cellAt(row, track).item < 0)
        return nullptr;
    return &m_items[size_t(track - 1)][size_t(cellAt(row, track).item)];
}

bool CTimetableModel::withinLimits(const CTimetableItem &item, int added) const
{
    if (GetItemCount() + added > kMaxItems)
        return FailWith(ERROR_TOO_MANY_NAMES);
    if (item.GetEndFrames() > m_latestEnd)
        return FailWith(ERROR_ARITHMETIC_OVERFLOW);
    return true;
}

TimeValue CTimetableModel::PlaceStart(int track, int row, const TimeValue &firstStart) const
{
    TimeValue start;
    if (row >= 0 && row < GetRowCount()) {
        GetStartTime(row, start);
        return start;
    }
    if (isItemTrack(track) && !m_items[size_t(track - 1)].empty())
        return m_items[size_t(track - 1)].back().GetEndTime();
    if (GetRowCount() > 0 && GetStartTime(0, start))
        return start;
    return firstStart;
}

bool CTimetableModel::PlaceItem(int track, const TimeValue &start, int lengthFrames, qint32 index, int contentType)
{
    if (!isItemTrack(track) || lengthFrames <= 0)
        return FailWith(ERROR_INVALID_PARAMETER);
    const int first = TimeCodeToFrames(start);
    int last = first + lengthFrames;
    // A later item of the track cuts the new one short.
    for (const CTimetableItem &other : m_items[size_t(track - 1)]) {
        if (other.GetStartFrames() > first) {
            last = std::min(last, other.GetStartFrames());
            break;
        }
    }
    TimeValue end;
    CTimetableItem item;
    if (!FramesToTimeCode(last, end) || !item.Set(index, start, end, contentType, 0))
        return FailWith(ERROR_ARITHMETIC_OVERFLOW);
    return withinLimits(item, 1) && InsertItem(track, item);
}

bool CTimetableModel::MoveItem(int row, int track, int toTrack, const TimeValue &start)
{
    const CTimetableItem *source = itemAt(row, track);
    if (!source || !isItemTrack(toTrack))
        return FailWith(ERROR_INVALID_PARAMETER);
    const CTimetableItem moving = *source;
    TimeValue end;
    CTimetableItem moved = moving;
    const int last = TimeCodeToFrames(start) + moving.GetEndFrames() - moving.GetStartFrames();
    if (!FramesToTimeCode(last, end) || !moved.Set(moving.GetIndex(), start, end, moving.GetContentType(), 0))
        return FailWith(ERROR_ARITHMETIC_OVERFLOW);
    if (!withinLimits(moved, 0))
        return false;
    if (toTrack == track)
        return UpdateItem(row, track, moved);
    leaveTrack(moved);
    const TrackItems before = m_items;
    const bool wasModified = m_modified;
    if (RemoveItem(row, track) && InsertItem(toTrack, moved))
        return true;
    m_items = before;
    m_modified = wasModified;
    rebuildGrid();
    return FailWith(ERROR_INVALID_PARAMETER);
}

bool CTimetableModel::SetItemTimes(int row, int track, const TimeValue &start, const TimeValue &end)
{
    const CTimetableItem *source = itemAt(row, track);
    if (!source)
        return FailWith(ERROR_INVALID_PARAMETER);
    // An end past the day is too long, not a bad value: refused before the
    // item is set, so the caller can tell the two apart.
    if (TimeCodeToFrames(end) > m_latestEnd)
        return FailWith(ERROR_ARITHMETIC_OVERFLOW);
    CTimetableItem changed = *source;
    if (!changed.Set(source->GetIndex(), start, end, source->GetContentType(), 0))
        return false;
    return withinLimits(changed, 0) && UpdateItem(row, track, changed);
}

bool CTimetableModel::RemoveRow(int row)
{
    if (row < 0 || row >= GetRowCount())
        return FailWith(ERROR_INVALID_PARAMETER);
    bool removed = false;
    for (size_t t = 0; t < m_tracks.size(); ++t) {
        const CellRef &ref = cellAt(row, int(t) + 1);
        if (ref.item >= 0 && ref.ownerRow == row) {
            m_items[t].erase(m_items[t].begin() + ref.item);
            removed = true;
        }
    }
    if (!removed)
        return FailWith(ERROR_INVALID_PARAMETER);
    m_modified = true;
    rebuildGrid();
    return true;
}

void CTimetableModel::Clear()
{
    for (auto &items : m_items)
        items.clear();
    m_index = -1;
    m_modified = false;
    clearHeader();
    rebuildGrid();
}

int CTimetableModel::findTrackByKey(int key) const
{
    for (size_t i = 0; i < m_tracks.size(); ++i) {
        if (m_tracks[i].key == key)
            return int(i) + 1;
    }
    return -1;
}

void CTimetableModel::rebuildGrid()
{
    std::vector<int> edges;
    for (const auto &items : m_items) {
        for (const CTimetableItem &item : items) {
            edges.push_back(item.GetStartFrames());
            edges.push_back(item.GetEndFrames());
        }
    }
    if (m_fromMidnight && !edges.empty())
        edges.push_back(0);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    m_edges = std::move(edges);

    const size_t trackCount = m_tracks.size();
    m_cells.assign(size_t(GetRowCount()) * trackCount, CellRef{});
    auto rowOf = [this](int frames) {
        return int(std::lower_bound(m_edges.begin(), m_edges.end(), frames) - m_edges.begin());
    };
    for (size_t t = 0; t < trackCount; ++t) {
        const auto &items = m_items[t];
        for (size_t i = 0; i < items.size(); ++i) {
            const int first = rowOf(items[i].GetStartFrames());
            const int end = rowOf(items[i].GetEndFrames());
            for (int row = first; row < end; ++row)
                m_cells[size_t(row) * trackCount + t] = CellRef{int(i), first};
        }
    }
}

bool CTimetableModel::stageSequence(int track, qint32 number, TrackItems &staged) const
{
    CSequenceFile sequence;
    if (!sequence.LoadFrom(m_sequenceFolder, number))
        return false;
    std::vector<CTimetableItem> &items = staged[size_t(track - 1)];
    for (int i = 0; i < sequence.GetItemCount(); ++i) {
        CTimetableItem item;
        sequence.GetItem(i, item);
        if (!trackTakes(track, item) || !insertSorted(items, item))
            return FailWith(ERROR_INVALID_DATA);
    }
    return true;
}

bool CTimetableModel::stageListItem(const CTimetableItem &entry, TrackItems &staged) const
{
    for (size_t i = 0; i < m_tracks.size(); ++i) {
        const int track = int(i) + 1;
        const TimetableTrack &def = m_tracks[i];
        if (entry.GetContentType() == CONTENT_SEQUENCE && def.sequenceKind != 0 && def.sequenceKind == entry.GetKind())
            return stageSequence(track, entry.GetIndex(), staged);
        if (def.sequenceKind == 0 && def.itemType == entry.GetContentType()) {
            if (!insertSorted(staged[i], entry))
                return FailWith(ERROR_INVALID_DATA);
            return true;
        }
    }
    return FailWith(ERROR_INVALID_DATA);
}

bool CTimetableModel::loadFiles(CTimetableFile &listFile, qint32 index)
{
    if (!listFile.LoadFrom(m_listFolder, index))
        return false;
    TrackItems staged(m_tracks.size());
    for (int i = 0; i < listFile.GetItemCount(); ++i) {
        CTimetableItem entry;
        listFile.GetItem(i, entry);
        if (!stageListItem(entry, staged))
            return false;
    }
    m_items = std::move(staged);
    static_cast<CTimetableHeader &>(*this) = listFile;
    m_index = index;
    m_modified = false;
    rebuildGrid();
    return true;
}

bool CTimetableModel::saveFiles(CTimetableFile &listFile, int type, qint32 index)
{
    StoredListFiles files;
    if (!StoredListFilesOf(type, m_idPrefix, index, m_listFolder, m_sequenceFolder, files))
        return false;
    listFile.Clear();
    listFile.SetIndex(index);
    static_cast<CTimetableHeader &>(listFile) = *this;

    QStringList unused;
    for (int track = 1; track < GetTrackCount(); ++track) {
        const TimetableTrack &def = trackAt(track);
        const std::vector<CTimetableItem> &items = m_items[size_t(track - 1)];
        if (def.sequenceKind == 0) {
            for (const CTimetableItem &item : items)
                listFile.AddItem(withKind(item, def.key));
            continue;
        }
        const StoredListFiles::Layer *layer = files.LayerOfKind(def.sequenceKind);
        if (!layer)
            return FailWith(ERROR_INVALID_DATA);
        if (items.empty()) {
            unused.append(layer->path);
            continue;
        }
        CSequenceFile sequence;
        sequence.SetIndex(layer->number);
        static_cast<CTimetableHeader &>(sequence) = *this;
        for (const CTimetableItem &item : items)
            sequence.AddItem(item);
        if (!sequence.Save(layer->path))
            return false;
        CTimetableItem entry;
        entry.Set(layer->number, items.front().GetStartTime(), items.back().GetEndTime(), CONTENT_SEQUENCE,
                  def.sequenceKind);
        listFile.AddItem(entry);
    }
    if (!listFile.Save(files.listPath))
        return false;
    RemoveStoredFiles(unused);
    m_modified = false;
    return true;
}
