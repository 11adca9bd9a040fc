// The navigation views of the main frame: which panes each view shows, where
// they stand (remembered per view in the per-user state file, else a default
// arrangement), switching between views, and the guided first set-up.
#include "app/main_frame.h"

#include "app/child_frame.h"
#include "app/frame_message_ids.h"
#include "app/guidance_bar.h"
#include "app/guide_bar.h"
#include "app/pane_roles.h"
#include "app/telv_pane_dlg.h"
#include "app/window_placement.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "ops/layout_selection.h"

#include <QApplication>
#include <QLayout>
#include <QMdiArea>

namespace {

constexpr quint32 kMsgNoGroup = 5326;
constexpr quint32 kMsgDiscardEdits = 5012;
constexpr quint32 kStandardLayoutTitle = 5523;

// The pane slot of the overview's list pane: the playlist or the
// background-music contents, whichever the overview shows.
constexpr int kCheckedListPane = -2;

bool IsSettingsPage(int viewId)
{
    return (viewId >= CMainFrame::VIEW_SET_SYSTEM && viewId <= CMainFrame::VIEW_SET_OPTIONS) ||
           viewId == CMainFrame::VIEW_SET_LAYOUT;
}

// Pages of a fixed size: moved to their place, never resized.
bool IsFixedSizePage(int viewId)
{
    return viewId == CMainFrame::VIEW_SET_SYSTEM || viewId == CMainFrame::VIEW_SET_MATERIALS ||
           viewId == CMainFrame::VIEW_SET_OPTIONS;
}

bool IsLayoutPane(int index)
{
    return index == CMainFrame::PANE_LAYOUT || index == CMainFrame::PANE_LAYOUT_PROP;
}

int SecondsOfDay(const TimeValue &time)
{
    return time.hour * 3600 + time.minute * 60 + time.second;
}

bool AnyEditModified()
{
    CContentsStore &store = GetContentFolders();
    return store.GetPlaylistModel(CONTENT_PLAYLIST)->IsModified()
        || store.GetPlaylistModel(CONTENT_BGMLIST)->IsModified() || store.GetScheduleModel()->IsModified();
}

} // namespace

struct CMainFrame::ViewPane {
    int index;  // the pane slot
    int window; // the window number of its rectangle
};

struct CMainFrame::ViewInfo {
    int id;
    QList<ViewPane> panes;
    int contentsMode; // 0: the contents pane keeps its mode
    int statusMode;   // 0: the status pane keeps its mode
    quint32 guidance;
};

const CMainFrame::ViewInfo *CMainFrame::findView(int viewId)
{
    static const QList<ViewInfo> kViews = {
        {VIEW_CONTENTS, {{PANE_CONTENTS, 10}}, 10, 0, 6110},
        {VIEW_PLAYLIST, {{PANE_CONTENTS, 11}, {PANE_PLAYLIST_EDIT, 20}, {PANE_LAYOUT_DISP, 22}}, 11, 0, 6111},
        {VIEW_BGM, {{PANE_CONTENTS, 12}, {PANE_BGM_EDIT, 21}}, 12, 0, 6112},
        {VIEW_SCHEDULE, {{PANE_CONTENTS, 13}, {PANE_SCHEDULE_EDIT, 30}, {PANE_CALENDAR_MONTH, 50}}, 13, 0, 6113},
        {VIEW_ADVANCE_DELIVERY, {{PANE_CONTENTS, 14}, {PANE_STATUS, 40}}, 14, 40, 6114},
        {VIEW_GROUP_DELIVERY, {{PANE_CONTENTS, 15}, {PANE_STATUS, 41}, {PANE_CALENDAR_STATUS, 51}}, 15, 41, 6115},
        {VIEW_OVERVIEW,
         {{PANE_SCHEDULE_VIEW, 31},
          {PANE_CALENDAR_GROUP, 52},
          {PANE_SCHEDULE_CHECK, 32},
          {PANE_LAYOUT_DISP, 27},
          {kCheckedListPane, 0}},
         0, 0, 6123},
        {VIEW_INTERRUPT_PLAY, {{PANE_CONTENTS, 16}, {PANE_STATUS, 42}}, 16, 42, 6120},
        {VIEW_PLAYER_CONTENTS, {{PANE_PLAYER_CONTENTS, 17}}, 0, 0, 6121},
        {VIEW_COMM_STATUS, {{PANE_STATUS, 43}}, 0, 43, 6122},
        {VIEW_SET_SYSTEM, {{PANE_SET_SYSTEM, 62}}, 0, 0, 6101},
        {VIEW_SET_PLAYERS, {{PANE_SET_R40_LIST, 63}}, 0, 0, 6102},
        {VIEW_SET_GROUPS, {{PANE_SET_GROUP, 64}}, 0, 0, 6103},
        {VIEW_SET_MATERIALS, {{PANE_SET_CONT, 65}}, 0, 0, 6104},
        {VIEW_SET_OPTIONS, {{PANE_SET_OPT, 66}}, 0, 0, 6105},
        {VIEW_SET_LAYOUT, {{PANE_LAYOUT, 67}, {PANE_LAYOUT_PROP, 68}}, 0, 0, 6106},
    };
    for (const ViewInfo &view : kViews) {
        if (view.id == viewId)
            return &view;
    }
    return nullptr;
}

QList<CMainFrame::ViewPane> CMainFrame::panesOfView(const ViewInfo &view) const
{
    const bool playlistLayout = isPlaylistLayoutMode();
    QList<ViewPane> panes;
    for (const ViewPane &pane : view.panes) {
        if (IsLayoutPane(pane.index) && playlistLayout) {
            panes.append({pane.index, pane.index == PANE_LAYOUT ? kPlaylistCanvasWindow : kPlaylistPropWindow});
            continue;
        }
        if (pane.index != kCheckedListPane) {
            panes.append(pane);
            continue;
        }
        const bool bgm = m_checkListWindow == kCheckBgmWindow;
        panes.append({bgm ? PANE_BGM_CHECK : PANE_PLAYLIST_CHECK, bgm ? kCheckBgmWindow : kCheckPlaylistWindow});
    }
    // The playlist's layout windows open over the playlist view belong to it.
    const QWidget *canvas = GetViewPane(PANE_LAYOUT);
    if (view.id == VIEW_PLAYLIST && playlistLayout && canvas && canvas->isVisible()) {
        panes.append({PANE_LAYOUT, kPlaylistCanvasWindow});
        panes.append({PANE_LAYOUT_PROP, kPlaylistPropWindow});
    }
    return panes;
}

bool CMainFrame::isPlaylistLayoutMode() const
{
    const auto *properties = paneRole<ILayoutPropView>(PANE_LAYOUT_PROP);
    return properties && properties->IsPlaylistLayoutMode();
}

int CMainFrame::GetCurrentView() const
{
    return m_guideBar ? m_guideBar->GetCurrentView() : -1;
}

// ---- Switching ------------------------------------------------------------------

bool CMainFrame::SwitchView(int viewId, bool forced)
{
    const int current = GetCurrentView();
    if (!forced && (current == viewId || !CanLeaveView(viewId)))
        return false;
    if (current >= 0)
        SaveViewState(current);
    if (forced && m_guideBar)
        m_guideBar->Select(viewId);
    return ShowView(viewId);
}

bool CMainFrame::ShowView(int viewId)
{
    const ViewInfo *view = findView(viewId);
    if (!view)
        return false;
    HideAllViews();
    arrangeView(*view);
    if (m_guideBar)
        m_guideBar->Highlight(viewId);
    if (viewId >= VIEW_CONTENTS && viewId <= VIEW_COMM_STATUS)
        GetAppIni().SetLastGuideSelect(viewId);
    return true;
}

bool CMainFrame::CanLeaveView(int targetView)
{
    if (targetView >= VIEW_SCHEDULE && targetView <= VIEW_INTERRUPT_PLAY &&
        GetAppData().GetGroupXml().GetCount() == 0) {
        ShowMessage(this, kMsgNoGroup, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    if (IsSettingsPage(targetView) && !discardEditsForSettings())
        return false;
    const int current = GetCurrentView();
    if (const ViewInfo *view = IsSettingsPage(current) ? findView(current) : nullptr) {
        for (const ViewPane &pane : panesOfView(*view)) {
            CTelvPaneDlg *page = GetViewPane(pane.index);
            if (page && !page->QueryClose())
                return false;
        }
    }
    return true;
}

bool CMainFrame::discardEditsForSettings()
{
    if (IsBusy()) {
        ShowMessage(this, kMsgCommunicating, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    if (AnyEditModified()) {
        if (ShowMessage(this, kMsgDiscardEdits, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        PlaylistNew(CONTENT_PLAYLIST, true);
        PlaylistNew(CONTENT_BGMLIST, true);
        ScheduleNew(true);
    }
    ScheduleCheckClear(CheckPanes::Keep, CalendarDay::Keep);
    return true;
}

int CMainFrame::OpenPlaylistEdit(qint32 number, int type)
{
    if ((type != CONTENT_PLAYLIST && type != CONTENT_BGMLIST) || !PlaylistLoad(number, type))
        return 0;
    return SwitchView(type == CONTENT_BGMLIST ? VIEW_BGM : VIEW_PLAYLIST, true) ? 1 : 0;
}

bool CMainFrame::OpenScheduleEdit(qint32 number)
{
    if (!ScheduleLoad(number))
        return false;
    return SwitchView(VIEW_SCHEDULE, true);
}

int CMainFrame::rememberedView() const
{
    const int last = GetAppIni().GetLastGuideSelect();
    return last >= 0 && m_guideBar && m_guideBar->IsItemAvailable(last) ? last : int(VIEW_CONTENTS);
}

void CMainFrame::ApplySetting(int settingId, bool stay, bool apply)
{
    if (!stay)
        SwitchView(rememberedView(), true);
    if (!apply)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_panes.NotifySettingChanged(settingId);
    ResetViews();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::AdvanceSetupStep(int settingId, bool stay)
{
    CSettingIni &options = GetSettingIni();
    const int step = options.Options().InitSeq;
    const auto advance = [&options](int next) {
        options.SetInitSeq(next);
        options.Save();
    };
    switch (step) {
    case 0:
        advance(1);
        SwitchView(VIEW_SET_PLAYERS, true);
        return;
    case 1:
    case 5:
        advance(CSettingIni::kSetupComplete);
        if (m_guideBar) {
            m_guideBar->RebuildItems();
            m_guideBar->Select(CGuideBar::kSettingsGroup);
        }
        ApplySetting(-1, stay, true);
        return;
    case 2:
        advance(3);
        SwitchView(VIEW_SET_MATERIALS, true);
        return;
    case 3:
        advance(4);
        SwitchView(VIEW_SET_OPTIONS, true);
        return;
    case 4:
        advance(5);
        if (auto *contents = paneRole<IContentsView>(PANE_CONTENTS))
            contents->SetPlaylistFilter(false);
        SwitchView(VIEW_SET_LAYOUT, true);
        return;
    case 6:
        return;
    default:
        ApplySetting(settingId, stay, true);
        return;
    }
}

void CMainFrame::ResetViews()
{
    setOperatingWindow();
    PlaylistNew(CONTENT_PLAYLIST, true);
    PlaylistNew(CONTENT_BGMLIST, true);
    ScheduleNew(true);
    ScheduleCheckClear(CheckPanes::Show, CalendarDay::Keep);
    GetContentFolders().LoadLists();
    NotifyContentsListChanged(0, 0, 0);
    keepCurrentGroup();
    keepCurrentPlayer();
    NotifyRefreshLists();
    NotifyContentsChanged(this);
}

void CMainFrame::setOperatingWindow()
{
    const SystemOptions options = GetSettingIni().Options();
    const TimeValue start = options.PowerOnTime;
    // An off time not after the on time runs the window to midnight (a
    // window that ends at 00:00:00 spans it); both at 00:00:00 is no window.
    const bool offAfterOn = SecondsOfDay(options.PowerOffTime) > SecondsOfDay(start);
    const TimeValue end = offAfterOn ? options.PowerOffTime : TimeValue{};
    GetContentFolders().GetScheduleModel()->SetTimeRange(start, end);
    GetContentFolders().GetSecondScheduleModel()->SetTimeRange(start, end);
}

void CMainFrame::keepCurrentGroup()
{
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    QString name;
    CGroupRecord group;
    if (!m_currentGroup.isEmpty() && groups.FindGroupByName(m_currentGroup) >= 0)
        name = m_currentGroup;
    else if (groups.GetGroup(0, group))
        name = group.Name;
    SelectGroup(name, 0);
}

void CMainFrame::keepCurrentPlayer()
{
    qint32 number = m_currentPlayer;
    if (!GetAppData().GetPlayerXml().HasPlayer(number)) {
        const QList<qint32> numbers = GetAppData().GetPlayerNumbers(false);
        number = numbers.isEmpty() ? -1 : numbers.first();
    }
    SelectPlayer(number);
}

// ---- Arrangement ------------------------------------------------------------------

QWidget *CMainFrame::windowOfPane(int index) const
{
    if (IsLayoutPane(index))
        return GetViewPane(index);
    return GetViewFrame(index);
}

QRect CMainFrame::paneRect(int index) const
{
    const QWidget *window = windowOfPane(index);
    if (!window)
        return QRect();
    // A window of its own is placed by its outer position on the screen.
    return IsLayoutPane(index) ? QRect(window->pos(), window->size()) : window->geometry();
}

void CMainFrame::placePane(int index, const QRect &rect, bool resize)
{
    QWidget *window = windowOfPane(index);
    if (!window)
        return;
    window->move(rect.topLeft());
    if (resize)
        window->resize(rect.size());
}

void CMainFrame::showPane(int index)
{
    if (QWidget *window = windowOfPane(index))
        window->show();
}

void CMainFrame::SaveViewState(int viewId)
{
    const ViewInfo *view = findView(viewId);
    if (!view)
        return;
    const QMdiSubWindow *active = m_mdiClient ? m_mdiClient->activeSubWindow() : nullptr;
    const QWidget *activeWindow = QApplication::activeWindow();
    for (const ViewPane &pane : panesOfView(*view)) {
        QWidget *window = windowOfPane(pane.index);
        if (!window)
            continue;
        GetAppIni().SetWindowRect(pane.window, ToWinRect(paneRect(pane.index)));
        if (window == active || window == activeWindow)
            GetAppIni().SetWindowActive(viewId, pane.window);
    }
}

void CMainFrame::arrangeView(const ViewInfo &view)
{
    layOutBeforeShow();
    prepareView(view);
    const QList<ViewPane> panes = panesOfView(view);
    if (!applySavedArrangement(view, panes)) {
        applyDefaultArrangement(view.id, panes);
        storePaneRects(panes);
    }
    for (const ViewPane &pane : panes)
        showPane(pane.index);
    activateRemembered(view, panes);
    if (m_guidanceBar)
        m_guidanceBar->SetGuidanceText(LoadString(view.guidance));
}

bool CMainFrame::applySavedArrangement(const ViewInfo &view, const QList<ViewPane> &panes)
{
    QList<QRect> rects;
    for (const ViewPane &pane : panes) {
        WinRect stored;
        if (!GetAppIni().GetWindowRect(pane.window, stored) || stored.isEmpty())
            return false;
        rects.append(ToQRect(stored));
    }
    const QPoint clientOrigin = m_mdiClient ? m_mdiClient->viewport()->mapToGlobal(QPoint(0, 0)) : QPoint();
    // A rectangle stored under other fonts (whose bars left the client area
    // another size) or on a larger screen is fitted into this client area, so
    // a pane's close button and bottom row stay in sight.
    const QRect client = GetMdiClientRect(m_mdiClient);
    for (int i = 0; i < panes.size(); ++i) {
        const int index = panes[i].index;
        QRect rect = rects[i];
        if (IsLayoutPane(index)) {
            // A window of its own whose screen is gone comes back to the
            // client area's corner.
            if (!IsWindowRectVisible(ToWinRect(rect)))
                rect.moveTopLeft(clientOrigin);
            placePane(index, FitOnScreen(rect), false);
        } else {
            placePane(index, client.isEmpty() ? rect : FitInside(rect, client), !IsFixedSizePage(view.id));
        }
    }
    return true;
}

void CMainFrame::layOutBeforeShow()
{
    if (isVisible())
        return;
    // Until the frame is first shown its layouts have not run; they run here
    // so that the first view is arranged in the client area it will have.
    if (layout())
        layout()->activate();
    if (centralWidget() && centralWidget()->layout())
        centralWidget()->layout()->activate();
}

void CMainFrame::applyDefaultArrangement(int viewId, const QList<ViewPane> &panes)
{
    const QRect client = GetMdiClientRect(m_mdiClient);
    const auto sizeOf = [this](int index) { return paneRect(index).size(); };
    const auto fill = [&](int index) { placePane(index, client, true); };
    const auto splitHalves = [&](int top, int bottom) {
        const int half = client.height() / 2;
        placePane(top, QRect(0, 0, client.width(), half), true);
        placePane(bottom, QRect(0, half, client.width(), client.height() - half), true);
    };
    // A pane at the bottom right with its own size, another at the bottom
    // left with that height, the contents pane above both. The row is never
    // lower than the left pane can be.
    const auto bottomRow = [&](int right, int left) {
        const QSize size = sizeOf(right);
        const QWidget *leftWindow = windowOfPane(left);
        const int rowHeight = std::max(size.height(), leftWindow ? leftWindow->minimumHeight() : 0);
        const int top = std::max(0, client.height() - rowHeight);
        placePane(right, QRect(QPoint(client.width() - size.width(), top), size), false);
        placePane(left, QRect(0, top, std::max(0, client.width() - size.width()), rowHeight), true);
        placePane(PANE_CONTENTS, QRect(0, 0, client.width(), top), true);
    };
    switch (viewId) {
    case VIEW_CONTENTS:
    case VIEW_PLAYER_CONTENTS:
    case VIEW_COMM_STATUS:
    case VIEW_SET_PLAYERS:
    case VIEW_SET_GROUPS:
        fill(panes.front().index);
        break;
    case VIEW_PLAYLIST:
        FitLayoutCheckWindow();
        bottomRow(PANE_LAYOUT_DISP, PANE_PLAYLIST_EDIT);
        if (GetViewPane(PANE_LAYOUT_PROP) && GetViewPane(PANE_LAYOUT_PROP)->isVisible())
            arrangeLayoutPanes(client);
        break;
    case VIEW_BGM:
        splitHalves(PANE_CONTENTS, PANE_BGM_EDIT);
        break;
    case VIEW_ADVANCE_DELIVERY:
    case VIEW_INTERRUPT_PLAY:
        splitHalves(PANE_CONTENTS, PANE_STATUS);
        break;
    case VIEW_SCHEDULE:
        bottomRow(PANE_CALENDAR_MONTH, PANE_SCHEDULE_EDIT);
        break;
    case VIEW_GROUP_DELIVERY:
        bottomRow(PANE_CALENDAR_STATUS, PANE_STATUS);
        break;
    case VIEW_OVERVIEW: {
        const QSize selector = sizeOf(PANE_SCHEDULE_VIEW);
        const QSize calendar = sizeOf(PANE_CALENDAR_GROUP);
        const QSize layout = sizeOf(PANE_LAYOUT_DISP);
        const int listPane = panes.back().index;
        placePane(PANE_SCHEDULE_VIEW, QRect(QPoint(0, 0), selector), false);
        placePane(PANE_CALENDAR_GROUP, QRect(QPoint(0, std::max(selector.height(), client.height() - calendar.height())), calendar),
                  false);
        placePane(PANE_SCHEDULE_CHECK, QRect(selector.width(), 0, std::max(0, client.width() - selector.width()),
                                              selector.height()),
                  true);
        // The schedule contents may need more height than the selector has;
        // the panes below start where they end, so none covers another.
        const int below = std::max(selector.height(), paneRect(PANE_SCHEDULE_CHECK).bottom() + 1);
        placePane(PANE_LAYOUT_DISP,
                  QRect(QPoint(client.width() - layout.width(), std::max(below, client.height() - layout.height())),
                        layout),
                  false);
        placePane(listPane, QRect(calendar.width(), below,
                                  std::max(0, client.width() - calendar.width() - layout.width()),
                                  std::max(0, client.height() - below)),
                  true);
        break;
    }
    case VIEW_SET_SYSTEM:
    case VIEW_SET_MATERIALS:
    case VIEW_SET_OPTIONS:
        placePane(panes.front().index, QRect(QPoint(0, 0), sizeOf(panes.front().index)), false);
        break;
    case VIEW_SET_LAYOUT:
        arrangeLayoutPanes(client);
        break;
    default:
        break;
    }
}

void CMainFrame::arrangeLayoutPanes(const QRect &client)
{
    if (!m_mdiClient || !GetViewPane(PANE_LAYOUT) || !GetViewPane(PANE_LAYOUT_PROP))
        return;
    const QRect area(m_mdiClient->viewport()->mapToGlobal(client.topLeft()), client.size());
    const QWidget *canvas = GetViewPane(PANE_LAYOUT);
    const QSize canvasSize = canvas->frameGeometry().size();
    placePane(PANE_LAYOUT, QRect(area.topLeft(), canvasSize), false);

    qint32 resolution = 0;
    qint32 displayMode = 0;
    if (auto *properties = paneRole<ILayoutPropView>(PANE_LAYOUT_PROP))
        properties->GetLayoutResolution(resolution, displayMode);
    const QSize propSize = GetViewPane(PANE_LAYOUT_PROP)->frameGeometry().size();
    QPoint at = displayMode == 1 ? QPoint(area.left() + canvasSize.width(), area.top())
                                 : QPoint(area.left(), area.top() + canvasSize.height());
    // Kept inside the client area: its far edge meets the area's edge.
    if (at.x() + propSize.width() > area.right() + 1)
        at.setX(std::max(area.left(), area.right() + 1 - propSize.width()));
    if (at.y() + propSize.height() > area.bottom() + 1)
        at.setY(std::max(area.top(), area.bottom() + 1 - propSize.height()));
    placePane(PANE_LAYOUT_PROP, QRect(at, propSize), false);
}

void CMainFrame::OnWindowArrange()
{
    const int current = GetCurrentView();
    const ViewInfo *view = findView(current);
    if (!view)
        return;
    const QList<ViewPane> panes = panesOfView(*view);
    applyDefaultArrangement(current, panes);
    storePaneRects(panes);
}

void CMainFrame::storePaneRects(const QList<ViewPane> &panes)
{
    for (const ViewPane &pane : panes) {
        if (windowOfPane(pane.index))
            GetAppIni().SetWindowRect(pane.window, ToWinRect(paneRect(pane.index)));
    }
}

void CMainFrame::prepareView(const ViewInfo &view)
{
    if (view.contentsMode != 0) {
        if (auto *contents = paneRole<IContentsView>(PANE_CONTENTS))
            contents->SetViewMode(view.contentsMode);
    }
    if (view.statusMode != 0) {
        if (auto *status = paneRole<IStatusView>(PANE_STATUS))
            status->SetViewMode(view.statusMode);
    }
    for (const ViewPane &pane : panesOfView(view)) {
        if (auto *page = paneRole<ISettingsPage>(pane.index))
            page->LoadSettings();
    }
    switch (view.id) {
    case VIEW_PLAYLIST:
    case VIEW_OVERVIEW:
        prepareLayoutCheck(view.id == VIEW_PLAYLIST);
        break;
    case VIEW_SET_LAYOUT:
        prepareStandardLayout();
        break;
    default:
        break;
    }
}

void CMainFrame::prepareLayoutCheck(bool edited)
{
    if (edited)
        ApplyPlaylistLayout();
    else
        ApplyCheckPlaylistLayout();
    // Only the edited playlist's layout can be changed from the check.
    if (auto *check = paneRole<ILayoutCheckView>(PANE_LAYOUT_DISP))
        check->ShowLayoutButton(edited);
    UpdateLayoutPreview(edited ? m_editPlaylist : m_checkPlaylist, edited);
}

void CMainFrame::prepareStandardLayout()
{
    qint32 resolution = 0;
    qint32 orientation = 0;
    GetLastLayoutChoice(resolution, orientation);
    SetCurrentLayout(GetAppData(), resolution, orientation);
    if (auto *canvas = paneRole<ILayoutView>(PANE_LAYOUT))
        canvas->SetPlaylistLayoutMode(false);
    if (auto *properties = paneRole<ILayoutPropView>(PANE_LAYOUT_PROP))
        properties->SetStandardLayout(LoadString(kStandardLayoutTitle), resolution, orientation);
    NotifyLayoutChanged(this, 0);
}

void CMainFrame::activateRemembered(const ViewInfo &view, const QList<ViewPane> &panes)
{
    if (panes.isEmpty())
        return;
    const int remembered = GetAppIni().GetWindowActive(view.id);
    int index = panes.front().index;
    for (const ViewPane &pane : panes) {
        if (pane.window == remembered)
            index = pane.index;
    }
    if (IsLayoutPane(index)) {
        if (QWidget *window = windowOfPane(index)) {
            window->raise();
            window->activateWindow();
        }
    } else if (CChildFrame *frame = GetViewFrame(index); frame && m_mdiClient) {
        m_mdiClient->setActiveSubWindow(frame);
    }
}
