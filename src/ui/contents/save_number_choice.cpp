#include "ui/contents/save_number_choice.h"

#include "app/main_frame.h"
#include "core/content_id.h"
#include "core/message_box.h"
#include "core/system_ini.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/property_base.h"
#include "ops/frame_checks.h"

#include <QDialog>

namespace {

constexpr quint32 kAskSaveUnderNumber = 5000;
constexpr quint32 kAskSampleAsNew = 5002;
constexpr quint32 kAskDiscard = 5004;
constexpr quint32 kMsgListFull = 5101;

} // namespace

bool HasRoomForNewContent(QWidget *owner, int type)
{
    CContentsList *list = GetContentFolders().GetList(type);
    const int limit = GetSystemIni().GetMaxCount(type);
    if (!list || list->GetCount() < limit)
        return list != nullptr;
    ShowMessageFormat(owner, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgListFull, limit);
    return false;
}

SaveNumber ChooseSaveNumber(QWidget *owner, int type, qint32 number)
{
    const quint32 question = MB_YESNO | MB_ICONQUESTION;
    int serial = 0;
    SplitContentId(number, nullptr, nullptr, &serial);
    if (serial >= kSampleSerialBase) {
        if (ShowMessage(owner, kAskSampleAsNew, kTitleCaption, question) != IDYES)
            return SaveNumber::Discard;
        return HasRoomForNewContent(owner, type) ? SaveNumber::NewFromSample : SaveNumber::Stay;
    }
    if (ShowMessageFormat(owner, kTitleCaption, question, kAskSaveUnderNumber, FormatContentIdFixed(number)) == IDYES) {
        CMainFrame *frame = GetMainFrame();
        return frame && frame->IsContentInTransfer({number}, type, false) ? SaveNumber::Stay : SaveNumber::Stored;
    }
    return HasRoomForNewContent(owner, type) ? SaveNumber::New : SaveNumber::Stay;
}

bool AcceptUnderChosenNumber(QDialog &dialog, CPropertyBase &record, int type, qint32 newIndex,
                             const std::function<void(qint32 copiedNumber)> &newCopy)
{
    const qint32 number = record.GetIndex();
    if (number < 1) {
        record.SetIndex(newIndex);
        dialog.QDialog::accept();
        return true;
    }
    switch (ChooseSaveNumber(&dialog, type, number)) {
    case SaveNumber::Stored:
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
    case SaveNumber::Stay:
        break;
    }
    return false;
}

bool MayDiscardEdits(QWidget *owner, bool modified)
{
    return !modified || ShowMessage(owner, kAskDiscard, kTitleCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
