#include "widgets/telv_list_header.h"

#include "widgets/app_resources.h"
#include "widgets/telv_list_model.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

namespace {

constexpr int kAscendingIcon = 804;
constexpr int kDescendingIcon = 803;
constexpr int kMarkSize = 16;
constexpr int kMarkGap = 4;

} // namespace

TelvListHeader::TelvListHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    m_marks[TelvListModel::MARK_ASCENDING] = LoadIconResource(kAscendingIcon);
    m_marks[TelvListModel::MARK_DESCENDING] = LoadIconResource(kDescendingIcon);
    setSectionsMovable(false);
    setSectionsClickable(true);
    setHighlightSections(false);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(this, &QHeaderView::sectionResized, this, [this](int logicalIndex, int, int) {
        if (m_pressed)
            m_tracked = logicalIndex;
    });
}

int TelvListHeader::markOf(int logicalIndex) const
{
    const auto *listModel = qobject_cast<const TelvListModel *>(model());
    if (!listModel || logicalIndex < 0 || logicalIndex >= listModel->ColumnCount())
        return TelvListModel::MARK_NONE;
    return listModel->ColumnAt(logicalIndex).mark;
}

void TelvListHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    const int mark = markOf(logicalIndex);
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.sortIndicator = QStyleOptionHeader::None;
    option.icon = QIcon();
    if (mark == TelvListModel::MARK_NONE || m_marks[mark].isNull()) {
        style()->drawControl(QStyle::CE_Header, &option, painter, this);
        return;
    }

    // Draw the section, then its label in the room left of the mark, then the
    // mark just right of the label.
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    QStyleOptionHeader label = option;
    label.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    label.rect.setRight(label.rect.right() - kMarkSize - kMarkGap);
    style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);

    const int textWidth = fontMetrics().horizontalAdvance(option.text);
    int markLeft;
    if (option.textAlignment & Qt::AlignRight)
        markLeft = label.rect.right() + kMarkGap;
    else if (option.textAlignment & Qt::AlignHCenter)
        markLeft = label.rect.center().x() + textWidth / 2 + kMarkGap;
    else
        markLeft = label.rect.left() + textWidth + kMarkGap;
    markLeft = std::min(markLeft, rect.right() - kMarkSize - 1);
    painter->drawPixmap(markLeft, rect.top() + (rect.height() - kMarkSize) / 2, m_marks[mark]);
}

QSize TelvListHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    if (markOf(logicalIndex) != TelvListModel::MARK_NONE)
        size.rwidth() += kMarkSize + kMarkGap;
    return size;
}

void TelvListHeader::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    m_tracked = -1;
    QHeaderView::mousePressEvent(event);
}

void TelvListHeader::mouseReleaseEvent(QMouseEvent *event)
{
    QHeaderView::mouseReleaseEvent(event);
    m_pressed = false;
    const int tracked = m_tracked;
    m_tracked = -1;
    if (tracked >= 0)
        emit sectionTrackEnded(tracked, sectionSize(tracked));
}
