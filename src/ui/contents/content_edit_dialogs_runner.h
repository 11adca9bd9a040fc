#pragma once
// The content editors the main frame's editing operations run, installed at
// start-up (widgets/content_edit_dialogs.h).

#include "widgets/content_edit_dialogs.h"

class CContentEditDialogsRunner final : public IContentEditDialogs {
public:
    static CContentEditDialogsRunner &Instance();

    bool RunControlEditDlg(QWidget *parent, CControlProperty &record, qint32 newIndex) override;
    bool RunIpCameraSetDlg(QWidget *parent, CStreamingProperty &record, qint32 newIndex) override;
    bool RunPropertySetDlg(QWidget *parent, PropertyValues &values) override;
    bool RunNoPlayDateSetDlg(QWidget *parent, PeriodValues &values) override;
};
