#include "widgets/telv_edit_drop.h"

#include <QDropEvent>
#include <QWidget>

namespace {

quint32 keyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    quint32 state = 0;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        state |= MK_ALT;
    return state;
}

// Accepts the event with the effect's action, or refuses it.
void answer(QDropEvent *event, quint32 effect)
{
    const Qt::DropAction action = DropActionFromEffect(effect);
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

} // namespace

quint32 DropEffectFromActions(Qt::DropActions actions)
{
    quint32 effect = DROPEFFECT_NONE;
    if (actions & Qt::CopyAction)
        effect |= DROPEFFECT_COPY;
    if (actions & Qt::MoveAction)
        effect |= DROPEFFECT_MOVE;
    if (actions & Qt::LinkAction)
        effect |= DROPEFFECT_LINK;
    return effect;
}

Qt::DropAction DropActionFromEffect(quint32 effect)
{
    if (effect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    if (effect & DROPEFFECT_LINK)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

CTelvEditDrop::CTelvEditDrop(QObject *parent) : QObject(parent) {}

bool CTelvEditDrop::Register(QWidget *window)
{
    if (!window)
        return false;
    Revoke();
    m_window = window;
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    return true;
}

void CTelvEditDrop::Revoke()
{
    if (!m_window)
        return;
    m_window->removeEventFilter(this);
    m_window->setAcceptDrops(false);
    m_window = nullptr;
}

void CTelvEditDrop::SetDragLeaveHandler(DragLeaveHandler handler, void *context)
{
    m_dragLeave = handler;
    m_dragLeaveContext = context;
}

void CTelvEditDrop::SetDragOverHandler(DragOverHandler handler, void *context)
{
    m_dragOver = handler;
    m_dragOverContext = context;
}

void CTelvEditDrop::SetDragScrollHandler(DragScrollHandler handler, void *context)
{
    m_dragScroll = handler;
    m_dragScrollContext = context;
}

void CTelvEditDrop::SetDropHandler(DropHandler handler, void *context)
{
    m_drop = handler;
    m_dropContext = context;
}

quint32 CTelvEditDrop::OnDragOver(QWidget *window, const QMimeData *data, quint32 keyState, const QPoint &point)
{
    return m_dragOver ? m_dragOver(m_dragOverContext, window, data, keyState, point) : DROPEFFECT_NONE;
}

quint32 CTelvEditDrop::OnDrop(QWidget *window, const QMimeData *data, quint32 defaultEffect, quint32 allowedEffects,
                              const QPoint &point)
{
    return m_drop ? m_drop(m_dropContext, window, data, defaultEffect, allowedEffects, point) : DROPEFFECT_NONE;
}

void CTelvEditDrop::OnDragLeave(QWidget *window)
{
    if (m_dragLeave)
        m_dragLeave(m_dragLeaveContext, window);
}

quint32 CTelvEditDrop::OnDragScroll(QWidget *window, quint32 keyState, const QPoint &point)
{
    return m_dragScroll ? m_dragScroll(m_dragScrollContext, window, keyState, point) : DROPEFFECT_NONE;
}

bool CTelvEditDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        const QPoint point = drag->position().toPoint();
        const quint32 keyState = keyStateOf(drag->buttons(), drag->modifiers());
        // Scrolling near the edges comes first; while it scrolls, its effect
        // is the answer.
        quint32 effect = OnDragScroll(m_window, keyState, point);
        if (!(effect & DROPEFFECT_SCROLL))
            effect = OnDragOver(m_window, drag->mimeData(), keyState, point);
        answer(drag, effect);
        // A window that takes no drag at all refuses it at the entry; with a
        // callback it keeps receiving moves so the answer can change.
        if (event->type() == QEvent::DragEnter && !drag->isAccepted() && (m_dragOver || m_dragScroll)) {
            drag->setDropAction(Qt::IgnoreAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::DragLeave:
        OnDragLeave(m_window);
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const quint32 effect = OnDrop(m_window, drop->mimeData(), DropEffectFromActions(drop->proposedAction()),
                                      DropEffectFromActions(drop->possibleActions()), drop->position().toPoint());
        answer(drop, effect);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
