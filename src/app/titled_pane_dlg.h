#pragma once
// A pane that shows its own title in the middle of its client area, at a
// given initial size. The panes that the frame must have before their real
// content exists are built on it.

#include "app/telv_pane_dlg.h"

class QLabel;

class CTitledPaneDlg : public CTelvPaneDlg {
    Q_OBJECT
public:
    // titleId 0 shows no title.
    CTitledPaneDlg(int templateId, const QSize &initialSize, quint32 titleId);

    QString GetTitleText() const;

protected:
    bool OnInitDialog() override;
    QLabel *GetTitleLabel() const { return m_title; }

private:
    QSize m_initialSize;
    quint32 m_titleId;
    QLabel *m_title = nullptr;
};
