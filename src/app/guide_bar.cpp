#include "app/guide_bar.h"

#include "app/pane_frame.h"
#include "widgets/password_prompter.h"
#include "widgets/telv_bmp_button.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "core/syslog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <climits>

namespace {

// Left edge of a button label: past the symbol of a view button, or a small
// margin on a group toggle.
constexpr int kViewLabelLeft = 34;
constexpr int kToggleLabelLeft = 8;

// The bar's background colour.
const QColor kBackground(98, 126, 160);

// The views that the settings can switch off; every other id is always on.
constexpr int kSwitchableViews[] = {1506, 1508, 1510, 1522};

constexpr quint32 kConfirmSystemSettings = 5307;

} // namespace

const std::vector<CGuideBar::Entry> &CGuideBar::ButtonTable()
{
    static const std::vector<Entry> table = {
        {1532, KIND_PICTURE, -1, {165, -1, -1}},
        {1504, KIND_VIEW, -1, {115, 116, 119}},
        {1505, KIND_VIEW, -1, {121, 122, 120}},
        {1506, KIND_VIEW, -1, {124, 125, 123}},
        {1507, KIND_VIEW, -1, {127, 128, 126}},
        {1508, KIND_VIEW, -1, {131, 132, 130}},
        {1510, KIND_VIEW, -1, {170, 171, 169}},
        {1509, KIND_VIEW, -1, {117, 118, 129}},
        {1533, KIND_PICTURE, -1, {114, -1, -1}},
        {1511, KIND_VIEW, -1, {134, 135, 133}},
        {1522, KIND_VIEW, -1, {162, 163, 161}},
        {1523, KIND_VIEW, -1, {150, 151, 149}},
        {1534, KIND_PICTURE, -1, {166, -1, -1}},
        {1524, KIND_TOGGLE, -1, {110, 111, -1}},
        {1530, KIND_TOGGLE, 1524, {155, 156, -1}},
        {1535, KIND_PICTURE, 1524, {167, -1, -1}},
        {1525, KIND_VIEW, 1524, {112, 113, 136}},
        {1526, KIND_VIEW, 1524, {138, 139, 137}},
        {1527, KIND_VIEW, 1524, {141, 142, 140}},
        {1528, KIND_VIEW, 1524, {144, 145, 143}},
        {1529, KIND_VIEW, 1524, {147, 148, 146}},
        {1531, KIND_VIEW, 1524, {153, 154, 152}},
        {1536, KIND_PICTURE, 1524, {168, -1, -1}},
        {1537, KIND_PICTURE, -1, {164, -1, -1}},
    };
    return table;
}

CGuideBar::CGuideBar() : CTelvDlgBar(QSize(52, 133)) {}

bool CGuideBar::Create(QWidget *parent)
{
    return CTelvDlgBar::Create(parent, kTemplateId, kBarStyle, kBarId);
}

void CGuideBar::OnInitDialogBar()
{
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) { scrollTo(value); });
    createButtons();
    buildItems();
    m_visibleHeight = height();
    hideItems();
    layoutItems();
    showItems();
}

void CGuideBar::createButtons()
{
    m_items.clear();
    for (const Entry &entry : ButtonTable()) {
        auto *button = new CTelvBmpButton(this);
        button->setObjectName(QString::number(entry.id));
        button->setFont(font());
        button->setGeometry(0, 0, 1, 1);
        button->hide();
        bool loaded;
        if (entry.kind == KIND_PICTURE) {
            button->setFocusPolicy(Qt::NoFocus);
            loaded = button->SetBitmaps(QString(), entry.bitmaps[0], entry.bitmaps[0], -1);
        } else {
            button->setFocusPolicy(Qt::StrongFocus);
            loaded = button->SetBitmaps(LoadString(quint32(entry.id)), entry.bitmaps[0], entry.bitmaps[1],
                                        entry.bitmaps[2]);
            // View buttons carry their symbol at the left; group toggles only a chevron at the right.
            button->SetTextOffset(entry.kind == KIND_VIEW ? kViewLabelLeft : kToggleLabelLeft);
        }
        if (!loaded)
            WriteSyslog(LOG_ERR_APP, "Button ID = %d : Failed in the allotment of the bitmap.", entry.id);
        const int id = entry.id;
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnGuideCommand(id); });
        Item item;
        item.id = entry.id;
        item.kind = entry.kind;
        item.parent = entry.parent;
        item.button = button;
        m_items.push_back(item);
    }
}

int CGuideBar::initialState(const Entry &entry) const
{
    const auto switchedOff = [](int id) {
        if (std::find(std::begin(kSwitchableViews), std::end(kSwitchableViews), id) == std::end(kSwitchableViews))
            return false;
        IPaneFrame *frame = GetPaneFrame();
        return frame && !frame->IsViewUsed(id);
    };
    if (switchedOff(entry.id))
        return STATE_OFF;
    if (entry.parent < 0)
        return STATE_SHOWN;
    return switchedOff(entry.parent) ? STATE_OFF : STATE_HIDDEN;
}

void CGuideBar::buildItems()
{
    const std::vector<Entry> &table = ButtonTable();
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i].state = initialState(table[i]);
        m_items[i].height = m_items[i].button->height();
    }
}

void CGuideBar::RebuildItems()
{
    buildItems();
    Relayout();
}

int CGuideBar::FindItem(int id) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].id == id)
            return int(i);
    }
    return -1;
}

int CGuideBar::GetItemState(int id) const
{
    const int i = FindItem(id);
    return i < 0 ? -1 : m_items[size_t(i)].state;
}

void CGuideBar::SetItemState(int id, int state)
{
    const int i = FindItem(id);
    if (i >= 0 && state >= STATE_SHOWN && state <= STATE_OFF)
        m_items[size_t(i)].state = state;
}

bool CGuideBar::isShownState(int state) const
{
    return state == STATE_SHOWN || state == STATE_DISABLED;
}

bool CGuideBar::IsItemAvailable(int id) const
{
    return isShownState(GetItemState(id));
}

bool CGuideBar::IsCommandEnabled(int id) const
{
    return GetItemState(id) == STATE_SHOWN;
}

CTelvBmpButton *CGuideBar::GetButton(int id) const
{
    const int i = FindItem(id);
    return i < 0 ? nullptr : m_items[size_t(i)].button;
}

int CGuideBar::GetCurrentView() const
{
    for (const Item &item : m_items) {
        if (item.button->IsPushed())
            return item.id;
    }
    return -1;
}

void CGuideBar::Highlight(int id)
{
    for (const Item &item : m_items)
        item.button->SetPushed(item.id == id);
}

void CGuideBar::Select(int id)
{
    const int i = FindItem(id);
    if (i < 0)
        return;
    const Item &item = m_items[size_t(i)];
    int group;
    if (item.kind == KIND_TOGGLE)
        group = item.id;
    else if (item.kind == KIND_VIEW && item.parent >= 0)
        group = item.parent;
    else
        return;
    // Opening a group shows its hidden items; items disabled or switched off
    // stay as they are.
    for (Item &child : m_items) {
        if (child.parent == group && child.state == STATE_HIDDEN)
            child.state = STATE_SHOWN;
    }
    if (group == kSettingsGroup)
        SetItemState(kSettingsGroup, STATE_HIDDEN);
    Relayout();
}

void CGuideBar::Relayout()
{
    hideItems();
    layoutItems();
    showItems();
}

void CGuideBar::toggleChildren(int parentId)
{
    for (Item &child : m_items) {
        if (child.parent != parentId)
            continue;
        if (child.state == STATE_SHOWN)
            child.state = STATE_HIDDEN;
        else if (child.state == STATE_HIDDEN)
            child.state = STATE_SHOWN;
    }
}

void CGuideBar::OnGuideCommand(int id)
{
    const int i = FindItem(id);
    if (i < 0) // a command of the range that no button carries
        return;
    if (GetSettingIni().Options().InitSeq == 0) {
        ShowMessage(this, kConfirmSystemSettings, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const Item &item = m_items[size_t(i)];
    if (item.kind == KIND_VIEW) {
        if (IPaneFrame *frame = GetPaneFrame())
            frame->SwitchView(id, false);
        return;
    }
    if (item.kind != KIND_TOGGLE)
        return;
    if (id == kSettingsGroup) {
        if (GetSettingIni().Options().SetupPassUse && PromptPassword(this, PASSWORD_SETTINGS) != IDOK)
            return;
        SetItemState(kSettingsGroup, STATE_HIDDEN);
        toggleChildren(kSettingsGroup);
    } else if (id == kSettingsClose) {
        SetItemState(kSettingsGroup, STATE_SHOWN);
        toggleChildren(kSettingsGroup);
    } else {
        toggleChildren(id);
    }
    Relayout();
}

void CGuideBar::hideItems()
{
    for (const Item &item : m_items) {
        if (!isShownState(item.state))
            item.button->hide();
    }
}

void CGuideBar::layoutItems()
{
    int contentHeight = 0;
    int smallest = INT_MAX;
    for (const Item &item : m_items) {
        if (!isShownState(item.state))
            continue;
        contentHeight += item.height;
        smallest = std::min(smallest, item.height);
    }
    m_contentHeight = contentHeight;
    m_lineStep = smallest == INT_MAX ? 0 : smallest / 2;
    updateScrollRange();
}

void CGuideBar::updateScrollRange()
{
    int limit = 0;
    if (m_contentHeight > m_visibleHeight)
        limit = m_contentHeight - m_visibleHeight;
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setRange(0, limit);
    m_scrollBar->setSingleStep(std::max(1, m_lineStep));
    m_scrollBar->setPageStep(std::max(1, m_lineStep));
    // The bar keeps its scroll bar, disabled while there is nothing to scroll.
    m_scrollBar->setEnabled(limit > 0);
    m_scrollPos = std::clamp(m_scrollPos, 0, limit);
    m_scrollBar->setValue(m_scrollPos);
    placeButtons();
}

int CGuideBar::GetScrollLimit() const
{
    return m_scrollBar ? m_scrollBar->maximum() : 0;
}

void CGuideBar::placeButtons()
{
    int y = -m_scrollPos;
    for (const Item &item : m_items) {
        if (!isShownState(item.state))
            continue;
        item.button->move(0, y);
        y += item.height;
    }
}

void CGuideBar::showItems()
{
    for (const Item &item : m_items) {
        if (isShownState(item.state)) {
            item.button->setEnabled(item.state != STATE_DISABLED);
            item.button->show();
        }
        item.button->update();
    }
}

void CGuideBar::scrollTo(int position)
{
    const int clamped = std::clamp(position, 0, GetScrollLimit());
    if (clamped == m_scrollPos)
        return;
    m_scrollPos = clamped;
    {
        const QSignalBlocker blocker(m_scrollBar);
        m_scrollBar->setValue(clamped);
    }
    placeButtons();
}

void CGuideBar::OnVScroll(int code, int thumbPosition)
{
    switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP:
        scrollTo(m_scrollPos - m_lineStep);
        break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        scrollTo(m_scrollPos + m_lineStep);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        scrollTo(thumbPosition);
        break;
    case SB_TOP:
        scrollTo(0);
        break;
    case SB_BOTTOM:
        scrollTo(GetScrollLimit());
        break;
    default:
        break;
    }
}

QSize CGuideBar::CalcFixedLayout(bool, bool) const
{
    const int scrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int buttonWidth = m_items.empty() ? 0 : m_items.front().button->width();
    return QSize(buttonWidth + scrollBarWidth, kStretchLength);
}

void CGuideBar::resizeEvent(QResizeEvent *event)
{
    CTelvDlgBar::resizeEvent(event);
    m_visibleHeight = height();
    const int scrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_scrollBar->setGeometry(width() - scrollBarWidth, 0, scrollBarWidth, height());
    updateScrollRange();
}

void CGuideBar::keyPressEvent(QKeyEvent *event)
{
    if (GetScrollLimit() > 0) {
        switch (event->key()) {
        case Qt::Key_PageUp:
            OnVScroll(SB_PAGEUP);
            break;
        case Qt::Key_PageDown:
            OnVScroll(SB_PAGEDOWN);
            break;
        case Qt::Key_End:
            OnVScroll(SB_BOTTOM);
            break;
        case Qt::Key_Home:
            OnVScroll(SB_TOP);
            break;
        default:
            break;
        }
    }
    CTelvDlgBar::keyPressEvent(event);
}

void CGuideBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
}
