#include "ui/contents/web_dialogs_runner.h"

#include "ui/contents/url_opt_dlg.h"
#include "ui/contents/url_set_dlg.h"

CWebDialogsRunner &CWebDialogsRunner::Instance()
{
    static CWebDialogsRunner runner;
    return runner;
}

bool CWebDialogsRunner::RunUrlSetDlg(QWidget *parent, CWebProperty &record, qint32 newIndex, UrlSetResult &result)
{
    CUrlSetDlg dialog(parent);
    dialog.SetProperty(record);
    dialog.SetNewIndex(newIndex);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetProperty(record);
    result = dialog.GetResult();
    return true;
}

bool CWebDialogsRunner::RunUrlOptDlg(QWidget *parent, UrlOptValues &values)
{
    CUrlOptDlg dialog(values, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = dialog.GetValues();
    return true;
}
