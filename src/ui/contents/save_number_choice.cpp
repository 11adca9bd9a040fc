#include "ui/contents/save_number_choice.h"

#include "app/main_frame.h"
#include "core/content_id.h"
#include "core/message_box.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/property_base.h"
#include "ops/frame_checks.h"
#include "ops/save_number.h"

#include <QDialog>

namespace {

constexpr quint32 kAskSaveUnderNumber = 5000;
constexpr quint32 kAskDiscard = 5004;

} // namespace

bool AcceptUnderChosenNumber(QDialog &dialog, CPropertyBase &record, int type, qint32 newIndex,
                             const std::function<void(qint32 copiedNumber)> &newCopy)
{
    const qint32 number = record.GetIndex();
    if (number < 1) {
        record.SetIndex(newIndex);
        dialog.QDialog::accept();
        return true;
    }
    const CContentsList *list = GetContentFolders().GetList(type);
    if (!list)
        return false;
    const SaveNumber choice = ChooseSaveNumber(&dialog, *list, type, number, [&] {
        return ShowMessageFormat(&dialog, kTitleCaption, MB_YESNO | MB_ICONQUESTION, kAskSaveUnderNumber,
                                 FormatContentIdFixed(number))
            != IDYES;
    });
    switch (choice) {
    case SaveNumber::Stored:
        // A record the running transfer sends is not written over (5332 from the frame).
        if (CMainFrame *frame = GetMainFrame(); frame && frame->IsContentInTransfer({number}, type, false))
            return false;
        dialog.QDialog::accept();
        return true;
    case SaveNumber::New:
        if (newCopy)
            newCopy(number);
        [[fallthrough]];
    case SaveNumber::NewFromSample:
        record.SetIndex(newIndex);
        dialog.QDialog::accept();
        return true;
    case SaveNumber::Discard:
        dialog.QDialog::reject();
        return false;
    case SaveNumber::ListFull:
        ShowListFull(&dialog, type);
        return false;
    }
    return false;
}

bool MayDiscardEdits(QWidget *owner, bool modified)
{
    return !modified || ShowMessage(owner, kAskDiscard, kTitleCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
