#include "ui/contents/telop_editor_dialogs.h"

#include "core/message_box.h"
#include "ops/telop_files.h"
#include "ui/contents/telop_detail_dlg.h"
#include "ui/contents/telop_edit_dlg.h"

int CTelopEditorDialogs::EditText(QWidget *owner, CTelopProperty &property, qint32 newNumber, CTelopFileStage &stage)
{
    CTelopEditDlg dialog;
    dialog.SetProperty(property);
    dialog.SetNewNumber(newNumber);
    dialog.SetFileStage(&stage);
    const int result = dialog.DoModal(owner);
    if (result != IDOK) {
        stage.Discard();
        return result;
    }
    dialog.GetProperty(property);
    return IDOK;
}

int CTelopEditorDialogs::EditDetail(QWidget *owner, CTelopProperty &property)
{
    CTelopDetailDlg dialog(owner);
    dialog.SetProperty(property);
    dialog.SetBackColorFlag(true);
    const int result = dialog.DoModal();
    if (result == IDOK)
        dialog.GetProperty(property);
    return result;
}

void RegisterTelopEditor()
{
    static CTelopEditorDialogs dialogs;
    SetTelopEditor(&dialogs);
}
