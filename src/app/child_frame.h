#pragma once
// The multiple-document child window that hosts one pane. It sizes itself to
// the pane, never gets smaller than the pane's initial size, never really
// closes (closing hides it once the pane agrees) and never stays maximised:
// maximising fills the frame's client area with the frame in its normal state.
// It remembers the pane control that had the focus when it was deactivated
// and gives the focus back to it when it is activated again.

#include "app/telv_pane_dlg.h"

#include <QMdiSubWindow>
#include <QPointer>

class QMdiArea;

class CChildFrame : public QMdiSubWindow, public IPaneHost {
    Q_OBJECT
public:
    // Window styles of the frames: a caption, with or without a sizing border.
    static constexpr quint32 WS_THICKFRAME = 0x00040000;
    static constexpr quint32 WS_CAPTION = 0x00C00000;
    static constexpr quint32 kFramedStyle = WS_CAPTION | WS_THICKFRAME;
    static constexpr quint32 kFixedStyle = WS_CAPTION;

    // Takes ownership of the pane.
    explicit CChildFrame(CTelvPaneDlg *pane);
    ~CChildFrame() override;

    // Creates the frame in the client area with a caption and style, creates
    // the pane inside it and sizes the frame to the pane. A sizable frame
    // given a larger creation rectangle keeps it and stretches the pane. False
    // when the pane cannot be created.
    bool Create(QMdiArea *client, const QString &title, quint32 style, const QRect &rect = QRect());

    CTelvPaneDlg *GetPane() const { return m_pane; }
    // Lets go of the pane without deleting it. The pane calls it as its own
    // destruction begins: the dialog's teardown hides it, the focus moves to
    // the frame, and the frame must by then no longer treat the half-destroyed
    // object as a pane.
    void DetachPane() override;
    bool IsSizable() const { return m_style & WS_THICKFRAME; }
    // The frame size that gives the pane a client area of the given size.
    QSize FrameSizeForClient(const QSize &clientSize) const override;
    // The pane control that gets the focus on the next activation; null when
    // the pane itself gets it.
    QWidget *GetRememberedFocus() const { return m_focusControl; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void onStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);
    void onFocusChanged(QWidget *old, QWidget *now);
    void fillClientArea();
    void restoreFocus();
    QMargins frameMargins() const;

    QPointer<CTelvPaneDlg> m_pane;
    quint32 m_style = kFramedStyle;
    QPointer<QWidget> m_focusControl;
    QPointer<QWidget> m_lastFocus;
};

// The client rectangle of the frame's client area: its viewport as it is
// without scroll bars, at (0, 0). A child
// frame that is maximised is instead moved to (0, 0) with that size, in its
// normal state.
QRect GetMdiClientRect(QMdiArea *client);
