#pragma once
// A drop target that hands every drag event of a window to callback
// functions, each called with its context value first. A target without a
// callback for an event accepts nothing for it.
//
// Effects and key states keep the values the callers compare:
// DROPEFFECT_* and MK_*.

#include <QObject>
#include <QPoint>

class QMimeData;
class QWidget;

enum : quint32 {
    DROPEFFECT_NONE = 0,
    DROPEFFECT_COPY = 1,
    DROPEFFECT_MOVE = 2,
    DROPEFFECT_LINK = 4,
    DROPEFFECT_SCROLL = 0x80000000,
};

enum : quint32 {
    MK_LBUTTON = 0x01,
    MK_RBUTTON = 0x02,
    MK_SHIFT = 0x04,
    MK_CONTROL = 0x08,
    MK_MBUTTON = 0x10,
    MK_ALT = 0x20,
};

using DragLeaveHandler = void (*)(void *context, QWidget *window);
using DragOverHandler = quint32 (*)(void *context, QWidget *window, const QMimeData *data, quint32 keyState,
                                    const QPoint &point);
using DragScrollHandler = quint32 (*)(void *context, QWidget *window, quint32 keyState, const QPoint &point);
using DropHandler = quint32 (*)(void *context, QWidget *window, const QMimeData *data, quint32 defaultEffect,
                                quint32 allowedEffects, const QPoint &point);

class CTelvEditDrop : public QObject {
    Q_OBJECT
public:
    explicit CTelvEditDrop(QObject *parent = nullptr);

    // Makes the window accept drags and routes its drag events here.
    bool Register(QWidget *window);
    void Revoke();

    void SetDragLeaveHandler(DragLeaveHandler handler, void *context);
    void SetDragOverHandler(DragOverHandler handler, void *context);
    void SetDragScrollHandler(DragScrollHandler handler, void *context);
    void SetDropHandler(DropHandler handler, void *context);

    // The events as the window receives them.
    quint32 OnDragOver(QWidget *window, const QMimeData *data, quint32 keyState, const QPoint &point);
    quint32 OnDrop(QWidget *window, const QMimeData *data, quint32 defaultEffect, quint32 allowedEffects,
                   const QPoint &point);
    void OnDragLeave(QWidget *window);
    quint32 OnDragScroll(QWidget *window, quint32 keyState, const QPoint &point);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window = nullptr;
    DragLeaveHandler m_dragLeave = nullptr;
    void *m_dragLeaveContext = nullptr;
    DragOverHandler m_dragOver = nullptr;
    void *m_dragOverContext = nullptr;
    DragScrollHandler m_dragScroll = nullptr;
    void *m_dragScrollContext = nullptr;
    DropHandler m_drop = nullptr;
    void *m_dropContext = nullptr;
};

// Conversions between drop effects and Qt's drop actions.
quint32 DropEffectFromActions(Qt::DropActions actions);
Qt::DropAction DropActionFromEffect(quint32 effect);
