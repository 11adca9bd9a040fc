#include "ui/contents/contents_tab_ctrl.h"

#include "widgets/color_dialog.h"
#include "core/system_ini.h"
#include "model/property_base.h"
#include "ui/contents/contents_list_dlg.h"

#include <QPainter>

namespace {
constexpr int kItemHeight = 20;
} // namespace

CContentsTabCtrl::CContentsTabCtrl(QWidget *parent) : QTabBar(parent)
{
    setObjectName(QString::number(kControlId));
    setExpanding(false);
    setDrawBase(false);
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(true);
}

void CContentsTabCtrl::RemoveAllTabs()
{
    while (count() > 0)
        removeTab(count() - 1);
    m_pages.clear();
}

int CContentsTabCtrl::AddTab(const QString &caption, CContentsListDlg *page)
{
    m_pages.append(page);
    const int index = addTab(caption);
    setTabEnabled(index, page != nullptr);
    return index;
}

CContentsListDlg *CContentsTabCtrl::GetPage(int index) const
{
    return m_pages.value(index);
}

bool CContentsTabCtrl::isEditedType(int type) const
{
    return (m_mode == 11 && type == CONTENT_PLAYLIST) || (m_mode == 12 && type == CONTENT_BGMLIST)
        || (m_mode == 13 && type == CONTENT_SCHEDULE);
}

QSize CContentsTabCtrl::tabSizeHint(int index) const
{
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    const int width = QFontMetrics(bold).horizontalAdvance(tabText(index)) + 16;
    return {width, kItemHeight};
}

void CContentsTabCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool editingMode = m_mode >= 11 && m_mode <= 13;
    for (int i = 0; i < count(); ++i) {
        const CContentsListDlg *page = GetPage(i);
        if (!page)
            continue;
        const QRect rect = tabRect(i);
        const bool edited = isEditedType(page->GetContentType());
        const QColor fill = editingMode && !edited ? ToQColor(CSystemIni::GetContentColor(page->GetContentType()))
                                                   : palette().color(QPalette::Button);
        painter.fillRect(rect, fill);
        painter.setPen(palette().color(i == currentIndex() ? QPalette::Dark : QPalette::Mid));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        QFont font = this->font();
        if (editingMode && edited)
            font.setWeight(QFont::Bold);
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, tabText(i));
    }
}
