#include "widgets/anchor_layout.h"

#include <algorithm>

bool CAnchorLayout::AddControl(QWidget *control, unsigned flags)
{
    if (!control || !control->parentWidget())
        return false;
    const QRect client = control->parentWidget()->rect();
    const QRect g = control->geometry();
    const QMargins margins(g.left(), g.top(), client.width() - (g.x() + g.width()),
                           client.height() - (g.y() + g.height()));
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) { return e.control == control; });
    if (it == m_entries.end())
        it = m_entries.insert(m_entries.end(), Entry{});
    it->control = control;
    it->flags = flags;
    it->margins = margins;
    return true;
}

bool CAnchorLayout::AddControl(QWidget *parent, int controlId, unsigned flags)
{
    if (!parent)
        return false;
    return AddControl(parent->findChild<QWidget *>(QString::number(controlId), Qt::FindDirectChildrenOnly), flags);
}

void CAnchorLayout::RemoveAll()
{
    m_entries.clear();
}

QRect CAnchorLayout::PlaceControl(const QRect &current, const QMargins &margins, unsigned flags, const QSize &client)
{
    int left = current.x();
    int width = current.width();
    if (flags & ANCHOR_RIGHT) {
        const int right = client.width() - margins.right();
        if (flags & ANCHOR_KEEP_WIDTH)
            left = right - width;
        else
            width = std::max(0, right - left);
    }
    int top = current.y();
    int height = current.height();
    if (flags & ANCHOR_BOTTOM) {
        const int bottom = client.height() - margins.bottom();
        if (flags & ANCHOR_KEEP_HEIGHT)
            top = bottom - height;
        else
            height = std::max(0, bottom - top);
    }
    return QRect(left, top, width, height);
}

void CAnchorLayout::Apply(QWidget *parent) const
{
    if (!parent)
        return;
    const QSize client = parent->size();
    // Compute every place first, then move, so no control sees a half-done pass.
    std::vector<std::pair<QWidget *, QRect>> moves;
    moves.reserve(m_entries.size());
    for (const Entry &e : m_entries) {
        if (!e.control || e.control->parentWidget() != parent)
            continue;
        moves.emplace_back(e.control.data(), PlaceControl(e.control->geometry(), e.margins, e.flags, client));
    }
    for (const auto &[control, rect] : moves) {
        if (control->geometry() != rect)
            control->setGeometry(rect);
    }
}
