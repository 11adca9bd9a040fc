#include "ui/contents/contents_dlg_view.h"

#include "widgets/idle_signal.h"
#include "app/main_frame.h"
#include "widgets/name_fields.h"
#include "app/telv_tool_bar_ctrl.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "core/printf_format.h"
#include "core/setting_ini.h"
#include "core/shell_open.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "ops/send_info.h"
#include "ui/contents/contents_list_ctrl.h"
#include "ui/contents/contents_list_dlg.h"
#include "ui/contents/contents_registration.h"
#include "ui/contents/contents_tab_ctrl.h"
#include "ui/contents/filter_dlg.h"
#include "ui/contents/id_lists.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {

constexpr int kSeparator = -1;

// The page types in the order the pane keeps them.
constexpr std::array<int, CContentsDlgView::kPageCount> kPageTypes = {1, 8, 2, 3, 4, 5, 6, 7, 52, 53, 51, 10};

// The tool bar commands of the visible tab's type (-1: a separator).
std::vector<int> toolBarCommands(int type, int mode)
{
    if (mode == 17)
        return {4017};
    switch (type) {
    case 1:
    case 2:
    case 5:
        return {4201, 4023, 4022, 6302, 4017, 4204, kSeparator, 4208, 4041, 4037, 4042};
    case 7:
    case 8:
        return {57600, 57601, 6302, 4017, 4204, kSeparator, 4208, 4041, 4037, 4080, 4042};
    case 4:
        return {57600, 57601, 4202, 4023, 4022, 6302, 4017, 4204, kSeparator, 4208, 4041, 4037, 4080, 4042};
    case 6:
        return {4201, 6302, 4017, 4204, kSeparator, 4208, 4041, 4037, 4042};
    case 3:
        return {57600, 57601, 4203, 4023, 4022, 6302, 4017, 4204, kSeparator, 4208, 4041, 4037, 4042};
    case 52:
    case 53:
        return {57601, 6302, 4017, 4204, 57634, 57637, kSeparator, 6300, 6301, kSeparator, 4208, 4041, 4037, 4042};
    case 51:
        return {57601, 4017, 4204, 57634, 57637, kSeparator, 4059};
    case 10:
        return {4204, kSeparator, 4208, 4041, 4037, 4042};
    default:
        return {};
    }
}

// The tool bar's command of changing category and title is the menu's.
int listCommandOf(int commandId)
{
    return commandId == 4204 ? 4004 : commandId;
}

bool hasFilterDocument(int type)
{
    return (type >= 1 && type <= 8) || type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST;
}

// The audio and control rules: with the layer option the layers decide,
// without it the content types in use.
bool audioRule()
{
    if (GetSettingIni().Options().SILayer)
        return GetSystemIni().IsContentLayerUsed(ContentLayer::Audio);
    return GetSystemIni().IsContentTypeUsed(6);
}

bool controlRule()
{
    if (!GetSettingIni().Options().SILayer)
        return GetSystemIni().IsContentTypeUsed(7);
    const CSystemIni &settings = GetSystemIni();
    return settings.IsContentLayerUsed(ContentLayer::Volume) || settings.IsContentLayerUsed(ContentLayer::Display) ||
           settings.IsContentLayerUsed(ContentLayer::Com1) || settings.IsContentLayerUsed(ContentLayer::Com2);
}

bool currentGroup(CGroupRecord &group)
{
    CMainFrame *frame = GetMainFrame();
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    const int position = frame ? groups.FindGroupByName(frame->GetCurrentGroupName()) : -1;
    return position >= 0 && groups.GetGroup(position, group);
}

} // namespace

CContentsDlgView::CContentsDlgView(int mode) : CTelvPaneDlg(kTemplateId), m_mode(mode)
{
    for (size_t i = 0; i < kPageTypes.size(); ++i)
        m_pages[i] = new CContentsListDlg(kPageTypes[i]);
}

CContentsDlgView::~CContentsDlgView()
{
    delete m_filterDlg;
    // Pages that never got a window have no parent to delete them.
    for (CContentsListDlg *page : m_pages) {
        if (!page->parent())
            delete page;
    }
}

int CContentsDlgView::modeSlot(int mode)
{
    return mode >= 10 && mode <= 16 ? mode - 10 : -1;
}

CContentsListDlg *CContentsDlgView::GetPage(int type) const
{
    for (CContentsListDlg *page : m_pages) {
        if (page->GetContentType() == type)
            return page;
    }
    return nullptr;
}

CFilterDlg *CContentsDlgView::GetFilterDlg() const
{
    return m_filterDlg;
}

CContentsListCtrl *CContentsDlgView::GetVisibleList() const
{
    CContentsListDlg *page = m_tabs ? m_tabs->GetPage(m_visibleTab) : nullptr;
    return page && page->IsPageCreated() ? page->GetList() : nullptr;
}

int CContentsDlgView::visibleType() const
{
    CContentsListCtrl *list = GetVisibleList();
    return list ? list->GetContentType() : 0;
}

// ---- Controls ---------------------------------------------------------------

bool CContentsDlgView::OnInitDialog()
{
    resize(640, 360);
    createControls();
    InitMode(m_mode);
    return true;
}

void CContentsDlgView::createControls()
{
    m_captionBand = new QWidget(this);
    m_captionBand->setObjectName(QString::number(kToolBarPlaceholderId));
    m_captionBand->setFixedHeight(26);
    auto *line = new QFrame(this);
    line->setObjectName(QString::number(IDC_SEPARATOR));
    line->setFrameShape(QFrame::HLine);

    m_comboLabel = new QLabel(QStringLiteral("グループ："), this);
    m_comboLabel->setObjectName(QString::number(IDC_COMBO_LABEL));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QString::number(IDC_COMBO));
    FitNameCombo(m_combo);
    m_action = new QPushButton(this);
    m_action->setObjectName(QString::number(IDC_ACTION));
    m_stop = new QPushButton(LoadString(5811), this);
    m_stop->setObjectName(QString::number(IDC_STOP));
    m_resolution = new QLabel(this);
    m_resolution->setObjectName(QString::number(IDC_RESOLUTION));
    connect(m_combo, &QComboBox::activated, this, &CContentsDlgView::onComboConfirmed);
    connect(m_action, &QPushButton::clicked, this, &CContentsDlgView::onActionButton);
    connect(m_stop, &QPushButton::clicked, this, &CContentsDlgView::onStopButton);
    // The stop follows the frame's transfer, which starts and ends without telling the pane.
    connect(&CIdleSignal::Instance(), &CIdleSignal::idle, this, &CContentsDlgView::updateStopButton);

    auto *row = new QHBoxLayout;
    row->addWidget(m_comboLabel);
    row->addWidget(m_combo);
    row->addWidget(m_action);
    row->addWidget(m_stop);
    row->addWidget(m_resolution);
    row->addStretch();

    m_tabs = new CContentsTabCtrl(this);
    connect(m_tabs, &QTabBar::currentChanged, this, &CContentsDlgView::onTabChanged);
    m_pageArea = new QWidget(this);
    m_pageStack = new QStackedLayout(m_pageArea);
    m_pageStack->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_captionBand);
    layout->addWidget(line);
    layout->addLayout(row);
    layout->addWidget(m_tabs);
    layout->addWidget(m_pageArea, 1);
}

void CContentsDlgView::createPages()
{
    for (CContentsListDlg *page : m_pages) {
        if (page->IsPageCreated() || (m_mode == 17 && page->GetContentType() == CONTENT_BGMLIST))
            continue;
        page->SetMode(m_mode);
        if (page->CreatePage(m_pageArea))
            m_pageStack->addWidget(page);
    }
}

// ---- Modes and tabs ---------------------------------------------------------

void CContentsDlgView::SetViewMode(int mode)
{
    if (m_initialized)
        ChangeMode(mode);
    else
        m_mode = mode;
}

void CContentsDlgView::InitMode(int mode)
{
    m_mode = mode;
    m_lastTypes.fill(0);
    for (auto &saved : m_savedSelections)
        saved.clear();
    createPages();
    buildTabSet();
    fillTabControl();
    SelectTab(0);
    fillCombo();
}

std::vector<CContentsDlgView::TabEntry> CContentsDlgView::tabSetOf(int mode)
{
    auto tab = [](int type) { return TabEntry{TypeNameId(type), type}; };
    const TabEntry separator{0, 0};
    std::vector<TabEntry> tabs;
    auto add = [&](std::initializer_list<int> types) {
        for (int type : types)
            tabs.push_back(tab(type));
    };
    switch (mode) {
    case 10:
        add({1, 8, 2, 4, 5, 3, 6, 7, 10});
        break;
    case 11:
        tabs = {tab(52), separator};
        add({1, 8, 2, 4, 5, 3, 10});
        break;
    case 12:
        tabs = {tab(53), separator, tab(6)};
        break;
    case 13:
        tabs = {tab(51), separator, tab(52)};
        if (audioRule())
            tabs.push_back(tab(53));
        if (controlRule())
            tabs.push_back(tab(7));
        break;
    case 14:
        add({1, 8, 2, 4, 5, 3, 6, 7, 10, 52});
        if (audioRule())
            tabs.push_back(tab(53));
        break;
    case 15:
        add({51});
        break;
    case 16:
        add({1, 8, 2, 4, 5, 3, 6, 7, 52});
        break;
    case 17:
        add({1, 8, 2, 4, 5, 3, 6, 7, 10});
        tabs.push_back({5693, 52});
        tabs.push_back(tab(51));
        break;
    default:
        break;
    }
    return tabs;
}

void CContentsDlgView::showModeControls()
{
    const bool combo = m_mode >= 13;
    m_comboLabel->setVisible(combo);
    m_combo->setVisible(combo);
    m_resolution->setVisible(m_mode == 13);
    m_action->setVisible(m_mode >= 14);
    // The send modes stop the frame's transfer, also while it waits to retry.
    m_stop->setVisible(m_mode >= 14 && m_mode <= 16);
    updateStopButton();
    m_comboLabel->setText(m_mode == 17 ? LoadString(5887) : QStringLiteral("グループ："));
    if (m_mode == 14 || m_mode == 15)
        m_action->setText(LoadString(5808));
    else if (m_mode == 16)
        m_action->setText(LoadString(5810));
    else if (m_mode == 17)
        m_action->setText(LoadString(5901));
}

void CContentsDlgView::buildTabSet()
{
    for (CContentsListDlg *page : m_pages)
        page->hide();
    m_tabPages.clear();
    showModeControls();
    m_tabs->SetMode(m_mode);
    for (const TabEntry &entry : tabSetOf(m_mode)) {
        CContentsListDlg *page = entry.type ? GetPage(entry.type) : nullptr;
        if (page && !page->IsPageCreated())
            continue;
        m_tabPages.push_back(page);
        if (page)
            page->SetMode(m_mode);
    }
}

bool CContentsDlgView::isUsed(const TabEntry &entry) const
{
    return GetSystemIni().IsContentTypeUsed(entry.type);
}

void CContentsDlgView::fillTabControl()
{
    m_tabs->blockSignals(true);
    m_tabs->RemoveAllTabs();
    // A separator that no page in use follows is left out.
    std::vector<TabEntry> entries = tabSetOf(m_mode);
    size_t lastUsed = 0;
    bool anyUsed = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].type && isUsed(entries[i]) && GetPage(entries[i].type) &&
            GetPage(entries[i].type)->IsPageCreated()) {
            lastUsed = i;
            anyUsed = true;
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        const TabEntry &entry = entries[i];
        if (!entry.type) {
            if (anyUsed && i < lastUsed)
                m_tabs->AddTab(QString(), nullptr);
            continue;
        }
        CContentsListDlg *page = GetPage(entry.type);
        if (page && page->IsPageCreated() && isUsed(entry))
            m_tabs->AddTab(LoadString(entry.captionId), page);
    }
    m_tabs->blockSignals(false);
    m_tabs->show();
    m_initialized = true;
}

bool CContentsDlgView::SelectTab(int index)
{
    if (index < 0 || index >= m_tabs->count())
        index = 0;
    CContentsListDlg *page = m_tabs->GetPage(index);
    if (m_tabs->count() == 0 || !page)
        return false;
    m_tabs->blockSignals(true);
    m_tabs->setCurrentIndex(index);
    m_tabs->blockSignals(false);
    const int type = page->GetContentType();
    if (m_mode == 16) {
        m_action->setText(type == 7 ? LoadString(4080) : LoadString(5810));
        m_stop->setVisible(type != 7);
    }
    m_pageStack->setCurrentWidget(page);
    for (CContentsListDlg *other : m_pages) {
        if (other != page && other->IsPageCreated())
            other->hide();
    }
    page->show();
    m_visibleTab = index;
    rebuildToolBar(type);
    if (CMainFrame *frame = GetMainFrame())
        frame->NotifyContentPicked(m_mode, type);
    page->GetList()->GetActiveView()->setFocus(Qt::OtherFocusReason);
    updateFrameTitle();
    return true;
}

void CContentsDlgView::onTabChanged(int index)
{
    const int previous = m_visibleTab;
    if (!SelectTab(index))
        SelectTab(previous);
}

void CContentsDlgView::rebuildToolBar(int type)
{
    std::vector<ToolBarButton> buttons;
    for (int command : toolBarCommands(type, m_mode)) {
        ToolBarButton button{};
        button.command = command;
        button.state = TBSTATE_ENABLED;
        buttons.push_back(button);
    }
    if (!buttons.empty() && CreateToolBar(buttons.data(), int(buttons.size()), true))
        GetToolBar()->RemoveExtraSeparators();
}

void CContentsDlgView::ChangeMode(int mode)
{
    const int oldSlot = modeSlot(m_mode);
    if (oldSlot >= 0) {
        m_lastTypes[size_t(oldSlot)] = visibleType();
        saveSelections(m_mode);
    }
    m_mode = mode;
    buildTabSet();
    fillTabControl();
    const int newSlot = modeSlot(mode);
    int tab = 0;
    for (int i = 0; i < m_tabs->count(); ++i) {
        CContentsListDlg *page = m_tabs->GetPage(i);
        if (page && newSlot >= 0 && page->GetContentType() == m_lastTypes[size_t(newSlot)]) {
            tab = i;
            break;
        }
    }
    SelectTab(tab);
    if (mode == 11 || mode == 12)
        SetPlaylistFilter(false);
    else if (mode >= 13 && mode <= 16)
        SetPlaylistFilter(true);
    updateFrameTitle();
    forEachPage([](CContentsListDlg &page) {
        page.GetList()->ReinsertColumns();
        page.GetList()->Refresh();
    });
    restoreSelections(mode);
}

void CContentsDlgView::saveSelections(int mode)
{
    auto &saved = m_savedSelections[size_t(modeSlot(mode))];
    saved.clear();
    for (int i = 0; i < m_tabs->count(); ++i) {
        CContentsListDlg *page = m_tabs->GetPage(i);
        if (!page) {
            saved.push_back(std::nullopt);
            continue;
        }
        CContentsListCtrl *list = page->GetList();
        saved.push_back(SavedSelection{page->GetContentType(), list->GetTopRow(), list->GetSelectedContentIndexes()});
    }
}

void CContentsDlgView::restoreSelections(int mode)
{
    const int slot = modeSlot(mode);
    forEachPage([&](CContentsListDlg &page) {
        CContentsListCtrl *list = page.GetList();
        const SavedSelection *record = nullptr;
        if (slot >= 0) {
            for (const auto &saved : m_savedSelections[size_t(slot)]) {
                if (saved && saved->type == page.GetContentType())
                    record = &*saved;
            }
        }
        list->SelectContentIndexes(record ? record->indexes : QList<qint32>());
        list->ScrollToTopRow(record ? record->topRow : 0);
    });
}

void CContentsDlgView::forEachPage(const std::function<void(CContentsListDlg &)> &action)
{
    for (CContentsListDlg *page : m_pages) {
        if (page->IsPageCreated())
            action(*page);
    }
}

// ---- Group, player and title ------------------------------------------------

void CContentsDlgView::fillCombo()
{
    m_combo->clear();
    CMainFrame *frame = GetMainFrame();
    if (m_mode == 17) {
        int selected = 0;
        for (const PlayerRecord &player : GetAppData().GetPlayerXml().CopyPlayers()) {
            m_combo->addItem(player.Name, player.Number);
            if (frame && player.Number == frame->GetCurrentPlayerId())
                selected = m_combo->count() - 1;
        }
        m_combo->setCurrentIndex(m_combo->count() ? selected : -1);
    } else {
        const CQ9GroupXml &groups = GetAppData().GetGroupXml();
        CGroupRecord group;
        for (int i = 0; groups.GetGroup(i, group); ++i)
            m_combo->addItem(group.Name);
        m_combo->setCurrentIndex(frame ? m_combo->findText(frame->GetCurrentGroupName()) : -1);
    }
    m_lastComboSel = m_combo->currentIndex();
}

void CContentsDlgView::onComboConfirmed(int index)
{
    CMainFrame *frame = GetMainFrame();
    if (!frame || index < 0)
        return;
    if (m_mode == 17) {
        frame->SelectPlayer(m_combo->itemData(index).toInt());
        return;
    }
    if (!frame->SelectGroup(m_combo->itemText(index), m_mode)) {
        m_combo->setCurrentIndex(m_lastComboSel);
        return;
    }
    m_lastComboSel = index;
    if (m_mode >= 13 && m_mode <= 16) {
        CGroupRecord group;
        if (currentGroup(group))
            GetContentFolders().SetPlaylistFilter(true, group.ResolutionId, group.Orientation);
        frame->NotifyContentsListChanged(CONTENT_PLAYLIST, 0, 1);
        updateFrameTitle();
    }
}

void CContentsDlgView::SetPlaylistFilter(bool on)
{
    if (on == m_playlistFilter)
        return;
    CGroupRecord group;
    if (on && !currentGroup(group))
        group = CGroupRecord{};
    m_playlistFilter = on;
    GetContentFolders().SetPlaylistFilter(on, group.ResolutionId, group.Orientation);
    if (CMainFrame *frame = GetMainFrame())
        frame->NotifyContentsListChanged(CONTENT_PLAYLIST, 0, 1);
}

void CContentsDlgView::updateFrameTitle()
{
    m_title = LoadString(kTitleId);
    CContentsListCtrl *list = GetVisibleList();
    const int type = visibleType();
    if (list && m_mode != 17 && hasFilterDocument(type)) {
        const CDispFilterXml *filter = GetAppData().GetDispFilter(type);
        CContentsList *contents = list->GetList();
        if (filter && contents && (filter->GetUseDate() || filter->GetUseType())) {
            int total = contents->GetCount();
            if (type == CONTENT_PLAYLIST && m_playlistFilter)
                total -= contents->GetFilterHiddenCount();
            m_title += FormatText(LoadString(5643), contents->GetDisplayCount(), total);
        }
    }
    if (parentWidget() && !isWindow())
        parentWidget()->setWindowTitle(m_title);
}

// ---- Notifications ----------------------------------------------------------

void CContentsDlgView::OnSettingChanged(int settingId)
{
    InitMode(m_mode);
    forEachPage([settingId](CContentsListDlg &page) { page.OnSettingChanged(settingId); });
}

void CContentsDlgView::OnPlayerChanged()
{
    forEachPage([](CContentsListDlg &page) { page.OnPlayerChanged(); });
    CMainFrame *frame = GetMainFrame();
    if (m_mode != 17 || !frame)
        return;
    const int index = m_combo->findData(frame->GetCurrentPlayerId());
    m_combo->setCurrentIndex(index);
    updateFrameTitle();
}

void CContentsDlgView::OnGroupChanged()
{
    forEachPage([](CContentsListDlg &page) { page.OnGroupChanged(); });
    CMainFrame *frame = GetMainFrame();
    if (m_mode == 17 || !frame)
        return;
    const int index = m_combo->findText(frame->GetCurrentGroupName(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_combo->setCurrentIndex(index >= 0 ? index : (m_combo->count() ? 0 : -1));
    m_lastComboSel = m_combo->currentIndex();
    CGroupRecord group;
    if (currentGroup(group)) {
        qint32 width = 0;
        qint32 height = 0;
        group.GetScreenSize(width, height);
        m_resolution->setText(FormatText(LoadString(5639), QString::asprintf("%d x %d", width, height)));
    }
    if (CContentsListCtrl *list = GetVisibleList())
        list->Refresh();
    updateFrameTitle();
}

void CContentsDlgView::OnContentsListChanged(int contentType, int index, int flag)
{
    forEachPage([=](CContentsListDlg &page) { page.OnContentsListChanged(contentType, index, flag); });
    if (contentType == 0 || contentType == visibleType())
        updateFrameTitle();
}

void CContentsDlgView::OnRefreshLists()
{
    forEachPage([](CContentsListDlg &page) { page.GetList()->ApplySortMark(); });
}

// ---- Commands ---------------------------------------------------------------

bool CContentsDlgView::CanExecuteCommand(int id)
{
    const int type = visibleType();
    switch (m_mode) {
    case 10:
        return !(id == 4037 || (type == 7 && (id == 4041 || id == 4042)) || (type != 7 && id == 4080));
    case 11:
        return !isIn(id, {4037, 4080});
    case 12:
        return !isIn(id, {4037, 6300, 6301, 4080});
    case 13:
        return !(isIn(id, {4037, 4041, 4208, 4059, 4042, 6300, 6301, 4080}) ||
                 (type != CONTENT_SCHEDULE && type != 7 && isIn(id, {57600, 57601, 4204, 57634, 57637})));
    case 14:
        return isIn(id, {4022, 4023, 4017, 6302});
    case 15:
        return isIn(id, {4017, 4059, 6302});
    case 16:
        if (type == 7 && isIn(id, {4037, 4042}))
            return false;
        if (type != 7 && id == 4080)
            return false;
        return isIn(id, {4022, 4023, 4037, 4042, 6302, 4080});
    default:
        return true;
    }
}

bool CContentsDlgView::isListCommand(int id) const
{
    return isIn(id, {57634, 57637, 57600, 57601, 6301, 4017, 4204, 4080, 4037, 4041, 4042, 4059, 4022, 4023});
}

bool CContentsDlgView::isCommandEnabled(int id) const
{
    CContentsListCtrl *list = GetVisibleList();
    if (!list)
        return false;
    const int type = list->GetContentType();
    switch (id) {
    case 4201:
    case 4202:
    case 4203:
        return CanRegisterFiles(type);
    case 6302:
        return hasFilterDocument(type);
    case 6300:
    case 4208:
    case 4200:
        return true;
    case 4022:
        return list->IsThumbnailMode() && list->CanExecute(id);
    case 4023:
        return !list->IsThumbnailMode() && list->CanExecute(id);
    default:
        return isListCommand(id) && list->CanExecute(listCommandOf(id));
    }
}

void CContentsDlgView::OnUpdateCommand(CCmdUI &cmdUi)
{
    cmdUi.Enable(CanExecuteCommand(cmdUi.id) && isCommandEnabled(cmdUi.id));
}

bool CContentsDlgView::OnCommand(int id)
{
    CContentsListCtrl *list = GetVisibleList();
    if (!list)
        return false;
    if (!CanExecuteCommand(id) || !isCommandEnabled(id))
        return true;
    switch (id) {
    case 4201:
    case 4202:
    case 4203:
        registerFiles();
        break;
    case 6300:
        if (CMainFrame *frame = GetMainFrame())
            frame->ShowImportDlg();
        break;
    case 6302:
        openFilter();
        break;
    case 4200:
        exploreLastFolder();
        break;
    case 4208:
        if (CMainFrame *frame = GetMainFrame())
            frame->ShowPreviewSetDlg();
        break;
    default:
        list->OnCommand(listCommandOf(id));
        break;
    }
    return true;
}

void CContentsDlgView::registerFiles()
{
    const int type = visibleType();
    const RegistrationChoice choice = PromptRegistrationFiles(this, type);
    if (!choice.refused.isEmpty()) {
        // Files the tab does not take are named, never dropped silently.
        MessageBoxWithCaptionId(this, LoadString(5357) + QLatin1Char('\n') + choice.refused.join(QLatin1Char('\n')),
                                kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    CMainFrame *frame = GetMainFrame();
    if (frame && !choice.taken.isEmpty())
        frame->StartAddContentsFiles(choice.taken, choice.code);
}

void CContentsDlgView::openFilter()
{
    QWidget *owner = window();
    if (CMainFrame *frame = GetMainFrame())
        owner = frame;
    delete m_filterDlg;
    m_filterDlg = new CFilterDlg(owner);
    owner->setEnabled(false);
    m_filterDlg->setEnabled(true);
    m_filterDlg->show();
    m_filterDlg->raise();
    // Keys (Escape is Cancel) go to the dialog, not to the disabled frame.
    m_filterDlg->activateWindow();
    m_filterDlg->Start(visibleType());
}

void CContentsDlgView::exploreLastFolder()
{
    QString folder;
    QString extension;
    GetAppIni().GetLastFolder(visibleType(), folder, extension);
    ShellOpenFile(folder);
}

void CContentsDlgView::onActionButton()
{
    CContentsListCtrl *list = GetVisibleList();
    if (!list)
        return;
    const int type = list->GetContentType();
    switch (m_mode) {
    case 14:
    case 15:
        list->OnCommand(4058);
        break;
    case 16:
        list->OnCommand(type == 7 ? 4080 : 4037);
        break;
    case 17:
        if (CMainFrame *frame = GetMainFrame())
            frame->R40GetRemoteList(type);
        break;
    default:
        break;
    }
}

void CContentsDlgView::updateStopButton()
{
    const bool sendMode = m_mode == 14 || m_mode == 15;
    CMainFrame *frame = GetMainFrame();
    m_stop->setEnabled(!sendMode || (frame && frame->IsBusy()));
}

void CContentsDlgView::onStopButton()
{
    if (m_mode == 14 || m_mode == 15) {
        if (CMainFrame *frame = GetMainFrame())
            frame->StopTransfer();
    } else if (CContentsListCtrl *list = GetVisibleList()) {
        list->OnCommand(4042);
    }
}
