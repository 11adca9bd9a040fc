#pragma once
// Runs the URL settings and URL options dialogs for the frame's editing
// operations (installed as the frame's web dialogs at start-up).

#include "widgets/web_dialogs.h"

class CWebDialogsRunner final : public IWebDialogs {
public:
    bool RunUrlSetDlg(QWidget *parent, CWebProperty &record, qint32 newIndex, UrlSetResult &result) override;
    bool RunUrlOptDlg(QWidget *parent, UrlOptValues &values) override;

    static CWebDialogsRunner &Instance();
};
