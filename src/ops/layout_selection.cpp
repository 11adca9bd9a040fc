#include "ops/layout_selection.h"

#include "core/app_ini.h"
#include "core/clock.h"
#include "core/content_id.h"
#include "core/data_folders.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/media_property.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_property.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"
#include "model/web_property.h"
#include "ops/frame_checks.h"
#include "ops/playlist_storage.h"

#include <QDir>

namespace {

constexpr QSize kProgramPictureSize(640, 480);
constexpr QSize kSmallCheckSize(300, 300);
constexpr QSize kRoomNeeded(500, 300);
constexpr QSize kMinimumClient(800, 600);
constexpr QSize kLargeClient(1200, 900);
constexpr QSize kLargeCheckSizes[] = {{420, 500}, {500, 450}, {400, 500}, {500, 500}};

const char *const kNoAreaToSave = "使用しているトラックの表示エリアが、このプレイリストの解像度と向きのレイアウトにありません。\n"
                                  "このままでは何も表示されないため、保存できません。";

// The cell's item, or for a gap the item of the row that owns it.
bool itemOfCell(const CPlaylistEditModel &model, int row, int track, TimetableCell &cell)
{
    if (!model.GetItem(row, track, cell) || cell.kind == 0)
        return false;
    return !cell.gap || model.GetItem(cell.ownerRow, track, cell);
}

QString programPicture(const PreviewFolders &folders, const char *name)
{
    return QDir(folders.programFolder).filePath(QLatin1String(name));
}

void setPicture(LayoutPreviewEntry &entry, const QString &picture, qint32 width, qint32 height)
{
    entry.on = true;
    entry.picture = picture;
    entry.pictureWidth = width;
    entry.pictureHeight = height;
}

QString thumbnailOf(const PreviewFolders &folders, int type, qint32 number)
{
    QString path;
    MakeThumbnailPath(ThumbnailFolder(folders.dataRoot, type), number, false, path);
    return path;
}

// The picture of one item by its content type; the entry stays off when the
// content's record is gone.
void fillPicture(LayoutPreviewEntry &entry, const CTimetableItem &item, bool portrait, CContentsStore &store,
                 const PreviewFolders &folders)
{
    const int type = item.GetContentType();
    if (type == 11) {
        setPicture(entry, programPicture(folders, "ExInput.jpg"), kProgramPictureSize.width(),
                   kProgramPictureSize.height());
        return;
    }
    const CPropertyBase *record = store.FindRecord(type, item.GetIndex());
    if (!record)
        return;
    const auto *media = dynamic_cast<const CMediaProperty *>(record);
    switch (type) {
    case 1:
    case 2:
    case 5:
        if (media)
            setPicture(entry, thumbnailOf(folders, type, item.GetIndex()), media->GetWidth(), media->GetHeight());
        break;
    case 3:
        if (const auto *telop = dynamic_cast<const CTelopProperty *>(record)) {
            QString bitmap;
            MakeTelopFilePath(TextFolderOf(folders.dataRoot), item.GetIndex(), TELOP_FILE_BITMAP, bitmap);
            setPicture(entry, bitmap, telop->GetWidth(), telop->GetHeight());
            quint8 flag = 0;
            telop->GetColor(flag, entry.color);
        }
        break;
    case 4:
        if (const auto *web = dynamic_cast<const CWebProperty *>(record)) {
            setPicture(entry, thumbnailOf(folders, type, item.GetIndex()), web->GetWidth(), web->GetHeight());
            entry.xOffset = web->GetXOffset();
            entry.yOffset = web->GetYOffset();
            entry.offsetDrawn = true;
        }
        break;
    case 8:
        setPicture(entry, programPicture(folders, "IpCamera.jpg"), kProgramPictureSize.width(),
                   kProgramPictureSize.height());
        break;
    case 10: {
        const QSize size = portrait ? kProgramPictureSize.transposed() : kProgramPictureSize;
        setPicture(entry, programPicture(folders, "PinP.jpg"), size.width(), size.height());
        break;
    }
    default:
        break;
    }
}

// Shown nowhere yet: placed before any layout gave it an area.
bool withoutRect(const CTimetableItem &item)
{
    return item.GetWidth() <= 0 || item.GetHeight() <= 0;
}

// The item of a cell takes the rectangle of an area the layout uses.
bool placeInArea(CPlaylistEditModel &model, const TimetableCell &cell, int track, const LayoutArea &area)
{
    CTimetableItem item = cell.item;
    return area.use && item.SetRect(area.rect.left, area.rect.top, area.rect.width(), area.rect.height())
        && model.UpdateItem(cell.ownerRow, track, item);
}

} // namespace

CurrentLayout &SelectedLayout(bool current)
{
    return current ? GetAppData().GetCurrentLayout() : GetContentFolders().GetPlaylistLayout();
}

LayoutTemplate::Areas GetLayoutAreas(bool current)
{
    return SelectedLayout(current).areas;
}

bool LookupLayout(const CLayoutTemplateStore &templates, qint32 number, qint32 displayMode, CurrentLayout &layout)
{
    layout = CurrentLayout();
    layout.number = number;
    layout.displayMode = displayMode;
    layout.modeOne = displayMode == 1;
    if (!templates.Lookup(number, displayMode, layout.areas))
        return false;
    layout.displayKind = 2;
    return true;
}

bool SetCurrentLayout(CAppData &data, qint32 number, qint32 displayMode)
{
    return LookupLayout(data.GetLayoutTemplates(), number, displayMode, data.GetCurrentLayout());
}

int AreaOfTrackFlag(int flag)
{
    for (int area = 0; area < LayoutTemplate::kAreaCount; ++area) {
        if (LayoutTemplate::kTrackFlags[size_t(area)] == flag)
            return area;
    }
    return -1;
}

bool LayoutPlaylistRow(CPlaylistEditModel &model, int row, const LayoutTemplate::Areas &areas)
{
    if (row < 0 || row >= model.GetRowCount())
        return true;
    const CPlaylistEditModel snapshot = model;
    for (int track = 1; track < model.GetTrackCount(); ++track) {
        const int area = AreaOfTrackFlag(model.GetTrackFlag(track));
        TimetableCell cell;
        // Audio and control tracks have no area: their items keep their size.
        if (area < 0 || !itemOfCell(model, row, track, cell))
            continue;
        // An area the layout does not use would hide what the track plays.
        if (!placeInArea(model, cell, track, areas[size_t(area)])) {
            model = snapshot;
            return false;
        }
    }
    model.SetModified(true);
    return true;
}

bool PlacePlaylistItems(CPlaylistEditModel &model, const CLayoutTemplateStore &templates)
{
    LayoutTemplate::Areas areas{};
    templates.Lookup(model.GetResolution(), model.GetOrientation(), areas);
    bool placed = true;
    for (int track = 1; track < model.GetTrackCount(); ++track) {
        const int area = AreaOfTrackFlag(model.GetTrackFlag(track));
        if (area < 0)
            continue;
        for (int row = 0; row < model.GetRowCount(); ++row) {
            TimetableCell cell;
            if (!model.GetItem(row, track, cell) || cell.kind == 0 || cell.gap || !withoutRect(cell.item))
                continue;
            placed = placeInArea(model, cell, track, areas[size_t(area)]) && placed;
        }
    }
    return placed;
}

bool CheckPlaylistAreas(CPlaylistEditModel &model, const CLayoutTemplateStore &templates)
{
    if (PlacePlaylistItems(model, templates))
        return true;
    MessageBoxWithCaptionId(nullptr, QString::fromUtf8(kNoAreaToSave), kTitleCaption, MB_OK | MB_ICONWARNING);
    return false;
}

void UpdateLayoutPreview(const CPlaylistEditModel &model, int row, bool option, CContentsStore &store,
                         const CLayoutTemplateStore &templates, const PreviewFolders &folders,
                         LayoutPreview &preview)
{
    preview = LayoutPreview();
    preview.layoutMissing = !templates.Has(model.GetResolution(), model.GetOrientation());
    CAppData::GetResolutionSize(model.GetResolution(), model.GetOrientation(), preview.screenWidth,
                                preview.screenHeight);
    preview.portrait = model.GetOrientation() == 1;
    preview.option = option;
    if (row < 0 || row >= model.GetRowCount())
        return;
    for (int track = 1; track < model.GetTrackCount(); ++track) {
        const int area = AreaOfTrackFlag(model.GetTrackFlag(track));
        TimetableCell cell;
        if (area < 0 || !itemOfCell(model, row, track, cell))
            continue;
        LayoutPreviewEntry &entry = preview.entries[size_t(area)];
        const CTimetableItem &item = cell.item;
        entry.rect = WinRect{item.GetX(), item.GetY(), item.GetX() + item.GetWidth(), item.GetY() + item.GetHeight()};
        fillPicture(entry, item, preview.portrait, store, folders);
    }
}

QSize LayoutCheckDefaultSize(int mode, const QSize &current, const QSize &client)
{
    const bool largeWindow = current.width() > kSmallCheckSize.width() || current.height() > kSmallCheckSize.height();
    if (largeWindow && client.width() >= kRoomNeeded.width() && client.height() >= kRoomNeeded.height())
        return current;
    const bool largeClient = client.width() >= kLargeClient.width() && client.height() >= kLargeClient.height();
    if (largeClient && mode >= 0 && mode < int(std::size(kLargeCheckSizes)))
        return kLargeCheckSizes[mode];
    // On a small client the window still gets what room there is.
    return kSmallCheckSize.boundedTo(client.expandedTo(QSize(0, 0)));
}

void GetLastLayoutChoice(qint32 &resolution, qint32 &orientation)
{
    CAppIni &ini = GetAppIni();
    const QList<QPair<qint32, qint32>> pairs = GetAppData().GetResolutionPairs();
    const QPair<qint32, qint32> last(ini.GetLastResolution(), ini.GetLastOrientation());
    QPair<qint32, qint32> chosen(0, 0);
    const std::vector<PlayerRecord> players = GetAppData().GetPlayerXml().CopyPlayers();
    if (pairs.contains(last))
        chosen = last;
    else if (!players.empty())
        chosen = {players.front().ResolutionId, players.front().Orientation};
    resolution = chosen.first;
    orientation = chosen.second;
    ini.SetLastResolution(resolution);
    ini.SetLastOrientation(orientation);
}

bool PlaylistSavePreview(CPlaylistEditModel &model, int type, CPlaylistProperty &record)
{
    if (type != CONTENT_PLAYLIST && type != CONTENT_BGMLIST) {
        WriteSyslog(LOG_ERR_APP, "PlaylistSavePreview : Invalid content type : type = %d", type);
        return false;
    }
    if (!CheckPlaylist(model, type) || !CheckPlaylistAreas(model, GetAppData().GetLayoutTemplates()))
        return false;
    record.SetResolution(model.GetResolution());
    record.SetOrientation(model.GetOrientation());
    const int ownPrefix = model.GetIdPrefix();
    const bool modified = model.IsModified();
    const bool saved = model.SetIdPrefix(ContentIdPrefix(record.GetIndex())) && model.Save(record.GetIndex(), type);
    // The files written are the preview's; the edited list is still unsaved.
    model.SetIdPrefix(ownPrefix);
    model.SetModified(modified);
    if (!saved) {
        ShowSaveFailed(type, MB_ICONERROR);
        return false;
    }
    record.SetCreateDate(ToSystemTime(Clock().now()));
    TimeValue end;
    if (model.GetEndTime(model.GetRowCount() - 1, end))
        record.SetDuration(end);
    return true;
}
