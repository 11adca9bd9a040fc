// The playlist grid with 2,000 events (250 on each of the eight tracks, with
// edges apart so the grid has several thousand rows and gaps) against a plain
// QTableView with the grid's view settings over a lean model that reads the
// same cells from the playlist on demand, in the same run. Open: the view
// takes the model and paints its first page; scroll: every page of rows is
// brought into view and painted, top to bottom. Neither side builds cells
// before its clock starts, and the side that goes first alternates, so
// neither gains from warm caches. Drop: one content dropped through the
// grid's drop target at the end of a track until the grid has painted again.
// Counters are medians: ms (ours), base_ms, ratio = ms / base_ms (targets:
// ratio <= 1.5 for open and scroll, ms <= 16 for the drop).

#include "widgets/telv_edit_drop.h"
#include "core/content_id.h"
#include "core/format_utils.h"
#include "core/time_utils.h"
#include "model/playlist_edit_model.h"
#include "ops/clipboard_formats.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/timetable_editor.h"
#include "ui/timetable/timetable_grid.h"
#include "widget_bench.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMimeData>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QSize kViewSize(1000, 700);

TimeValue framesToTime(int frames)
{
    TimeValue time;
    FramesToTimeCode(frames, time);
    return time;
}

const CPlaylistEditModel &playlist()
{
    static CPlaylistEditModel model = [] {
        CPlaylistEditModel made(52);
        for (int track = 1; track <= 8; ++track) {
            int at = track * 7;
            for (int i = 0; i < 250; ++i) {
                const int length = 30 * (track + 3) + i % 30;
                CTimetableItem item;
                item.Set(100000000 + track * 1000 + i, framesToTime(at), framesToTime(at + length), 1, 0);
                made.InsertItem(track, item);
                at += length + (i % 3 == 0 ? 11 : 0);
            }
        }
        return made;
    }();
    return model;
}

// The baseline's model: the cell texts the grid shows, read from the
// playlist on demand, without the grid's look-up of content titles.
class CLeanCells : public QAbstractTableModel {
public:
    CLeanCells(const CTimetableModel &model, const QStringList &names) : m_model(model), m_names(names) {}
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_model.GetRowCount(); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_model.GetTrackCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (index.column() == 0) {
            TimeValue start;
            TimeValue end;
            m_model.GetStartTime(index.row(), start);
            m_model.GetEndTime(index.row(), end);
            return FormatTimeText(start, false) + QStringLiteral(" - ") + FormatTimeText(end, false);
        }
        TimetableCell cell;
        if (!m_model.GetItem(index.row(), index.column(), cell) || cell.kind == 0)
            return {};
        return cell.gap ? QStringLiteral("│") : FormatContentIdFixed(cell.item.GetIndex());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        return section == 0 ? QStringLiteral("時間") : m_names.value(section - 1);
    }

private:
    const CTimetableModel &m_model;
    QStringList m_names;
};

// A plain table view set up as the grid sets itself up.
void setUpAsTheGrid(QTableView &table)
{
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.verticalHeader()->setVisible(false);
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.horizontalHeader()->setDefaultSectionSize(140);
}

void scrollThrough(QTableView &view)
{
    const int rows = view.model()->rowCount();
    const int page = std::max(1, view.viewport()->height() / std::max(1, view.rowHeight(0)));
    for (int row = 0; row < rows; row += page) {
        view.scrollTo(view.model()->index(std::min(row + page, rows - 1), 0), QAbstractItemView::PositionAtBottom);
        view.viewport()->grab();
    }
}

void record(benchmark::State &state, const std::vector<double> &ours, const std::vector<double> &base)
{
    state.counters["ms"] = Median(ours);
    state.counters["base_ms"] = Median(base);
    state.counters["ratio"] = Median(ours) / Median(base);
}

void BM_OpenAndScroll(benchmark::State &state)
{
    const QStringList names = CPlaylistEditDlgView::TrackNames(playlist());
    std::vector<double> openMs, baseOpenMs, scrollMs, baseScrollMs;
    bool gridFirst = true;
    for (auto _ : state) {
        CTimetableGrid grid;
        QTableView table;
        setUpAsTheGrid(table);
        grid.resize(kViewSize);
        table.resize(kViewSize);
        CLeanCells cells(playlist(), names);
        const auto openGrid = [&] {
            openMs.push_back(MillisecondsOf([&] {
                grid.ShowModel(playlist(), names);
                grid.show();
                grid.grab();
            }));
        };
        const auto openTable = [&] {
            baseOpenMs.push_back(MillisecondsOf([&] {
                table.setModel(&cells);
                table.show();
                table.grab();
            }));
        };
        const auto scrollGrid = [&] { scrollMs.push_back(MillisecondsOf([&] { scrollThrough(grid); })); };
        const auto scrollTable = [&] { baseScrollMs.push_back(MillisecondsOf([&] { scrollThrough(table); })); };
        if (gridFirst) {
            openGrid();
            openTable();
            scrollGrid();
            scrollTable();
        } else {
            openTable();
            openGrid();
            scrollTable();
            scrollGrid();
        }
        gridFirst = !gridFirst;
        state.SetIterationTime((openMs.back() + scrollMs.back()) / 1000);
    }
    record(state, openMs, baseOpenMs);
    state.counters["rows"] = playlist().GetRowCount();
    state.counters["scroll_ms"] = Median(scrollMs);
    state.counters["base_scroll_ms"] = Median(baseScrollMs);
    state.counters["scroll_ratio"] = Median(scrollMs) / Median(baseScrollMs);
}

// Scrolls the grid to its end and gives the point just below its last row in
// the column, where a drop appends to the track.
QPoint BelowLastRow(CTimetableGrid &grid, int column)
{
    grid.scrollToBottom();
    const int last = grid.model()->rowCount() - 1;
    const int y = last >= 0 ? grid.rowViewportPosition(last) + grid.rowHeight(last) + 5 : 5;
    return QPoint(grid.columnViewportPosition(column) + 5, y);
}

void BM_DropUpdatesTheGrid(benchmark::State &state)
{
    CPlaylistEditModel model = playlist();
    // Room for the drops below the item limit.
    for (int row = 0; model.GetItemCount() > CTimetableModel::kMaxItems - 50 && row < model.GetRowCount();) {
        if (!model.RemoveRow(row))
            ++row;
    }
    const QStringList names = CPlaylistEditDlgView::TrackNames(model);
    CTimetableGrid grid;
    grid.resize(kViewSize);
    grid.ShowModel(model, names);
    grid.show();
    CTimetableEditor::Setup setup;
    setup.model = [&model] { return static_cast<CTimetableModel *>(&model); };
    setup.changed = [&] { grid.ShowModel(model, names); };
    setup.firstStart = [] { return TimeValue{}; };
    setup.tooMany = [] {};
    setup.eventFormat = CLIPBOARD_PLAYLIST_EVENT;
    CTimetableEditor editor(&grid, std::move(setup));
    QMimeData data;
    data.setData(ClipboardMimeType(CLIPBOARD_CONTENTS), MakeContentsDataBlock(1, {100000001}));
    std::vector<double> dropMs;
    for (auto _ : state) {
        const QPoint end = BelowLastRow(grid, 1);
        const int itemsBefore = model.GetItemCount();
        quint32 effect = DROPEFFECT_NONE;
        dropMs.push_back(MillisecondsOf([&] {
            effect = editor.Drop(&data, end);
            grid.viewport()->grab();
        }));
        state.SetIterationTime(dropMs.back() / 1000);
        if (effect == DROPEFFECT_NONE || model.GetItemCount() <= itemsBefore) {
            state.SkipWithError("the drop below the last row was not taken");
            return;
        }
    }
    state.counters["ms"] = Median(dropMs);
}

} // namespace

BENCHMARK(BM_OpenAndScroll)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DropUpdatesTheGrid)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv);
}
