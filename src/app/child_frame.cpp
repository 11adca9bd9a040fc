#include "app/child_frame.h"

#include "app/telv_pane_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>

CChildFrame::CChildFrame(CTelvPaneDlg *pane) : m_pane(pane)
{
    connect(this, &QMdiSubWindow::windowStateChanged, this, &CChildFrame::onStateChanged);
    // By the time the frame hears of its deactivation the focus has left the
    // pane, so the pane's focused control is followed as it changes.
    connect(qApp, &QApplication::focusChanged, this, &CChildFrame::onFocusChanged);
}

CChildFrame::~CChildFrame()
{
    // The sub-window reports state changes while it is torn down; this part
    // of it is gone by then.
    disconnect(this, &QMdiSubWindow::windowStateChanged, this, &CChildFrame::onStateChanged);
    disconnect(qApp, &QApplication::focusChanged, this, &CChildFrame::onFocusChanged);
    CTelvPaneDlg *pane = m_pane;
    DetachPane();
    delete pane;
}

void CChildFrame::DetachPane()
{
    m_pane = nullptr;
    m_focusControl = nullptr;
    m_lastFocus = nullptr;
}

bool CChildFrame::Create(QMdiArea *client, const QString &title, quint32 style, const QRect &rect)
{
    if (!m_pane || !client)
        return false;
    m_style = style;
    Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::WindowMinimizeButtonHint;
    if (IsSizable())
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    setWindowTitle(title);
    // The frame shows no icon in its caption.
    QPixmap noIcon(1, 1);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));

    if (!m_pane->Create(this))
        return false;
    const QSize paneSize = m_pane->size();
    setWidget(m_pane);
    client->addSubWindow(this);
    m_pane->show();

    const QSize needed = FrameSizeForClient(paneSize);
    if (IsSizable() && rect.width() > needed.width() && rect.height() > needed.height())
        setGeometry(rect);
    else
        setGeometry(QRect(rect.isNull() ? QPoint(0, 0) : rect.topLeft(), needed));

    const QSize initial = m_pane->GetInitialSize();
    if (initial.width() > 0 && initial.height() > 0)
        setMinimumSize(FrameSizeForClient(initial));
    return true;
}

QMargins CChildFrame::frameMargins() const
{
    // The sub-window keeps its caption and border as its contents margins.
    return contentsMargins();
}

QSize CChildFrame::FrameSizeForClient(const QSize &clientSize) const
{
    const QMargins m = frameMargins();
    return clientSize.grownBy(m);
}

void CChildFrame::closeEvent(QCloseEvent *event)
{
    // The frame is never destroyed by closing; the pane decides whether it hides.
    event->ignore();
    if (!m_pane || m_pane->QueryClose())
        hide();
}

void CChildFrame::changeEvent(QEvent *event)
{
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMaximized())
        fillClientArea();
}

void CChildFrame::fillClientArea()
{
    // The same room the frame arranges its panes in.
    setWindowState(windowState() & ~Qt::WindowMaximized);
    if (QMdiArea *client = mdiArea())
        setGeometry(GetMdiClientRect(client));
}

void CChildFrame::onStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState)
{
    const bool wasActive = oldState & Qt::WindowActive;
    const bool isActive = newState & Qt::WindowActive;
    if (wasActive == isActive || !m_pane)
        return;
    if (!isActive)
        m_focusControl = (m_lastFocus && m_pane->isAncestorOf(m_lastFocus)) ? m_lastFocus.data() : nullptr;
    m_pane->OnFrameActivate(isActive);
    if (isActive)
        restoreFocus();
}

void CChildFrame::onFocusChanged(QWidget *, QWidget *now)
{
    if (now && m_pane && m_pane->isAncestorOf(now))
        m_lastFocus = now;
}

void CChildFrame::focusInEvent(QFocusEvent *event)
{
    QMdiSubWindow::focusInEvent(event);
    restoreFocus();
}

void CChildFrame::restoreFocus()
{
    if (!m_pane)
        return;
    QWidget *target = m_focusControl ? m_focusControl.data() : m_pane.data();
    m_focusControl = nullptr;
    target->setFocus(Qt::OtherFocusReason);
}

QRect GetMdiClientRect(QMdiArea *client)
{
    if (!client)
        return QRect();
    // The room without scroll bars, taken from the area's own size: scroll
    // bars shown for a pane that sticks out do not make the room smaller, and
    // the size holds before the frame is first shown, when the viewport has
    // not been laid out yet.
    const QRect rect(QPoint(0, 0), client->maximumViewportSize());
    for (QMdiSubWindow *child : client->subWindowList()) {
        if (child->isMaximized()) {
            child->setWindowState(child->windowState() & ~Qt::WindowMaximized);
            child->setGeometry(rect);
        }
    }
    return rect;
}
