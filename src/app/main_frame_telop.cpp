// Telop editing: a new or typed telop goes through the text telop editor, a
// bitmap telop (its record names its bitmap) through its property dialog.
// The editor stages the telop's files; they are put in place only once its
// record is stored, so a telop that cannot be stored leaves no files behind.

#include "app/frame_message_ids.h"
#include "app/main_frame.h"
#include "widgets/telop_editor.h"
#include "core/clock.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/telop_property.h"
#include "ops/save_number.h"
#include "ops/telop_files.h"

namespace {

constexpr quint32 kMsgTelopSaveFailed = 5221;
constexpr quint32 kStrEditableData = 6026;

// Puts the staged files in place once the record is in its list; when they
// cannot be, the record does not stay either.
bool placeTelopFiles(QWidget *owner, CTelopFileStage &stage)
{
    if (!stage.IsStaged() || stage.Commit())
        return true;
    WriteSyslog(LOG_ERR_WIN, "EditTelop : Putting the telop files in place failed : Error = %u", GetLastError());
    ShowMessage(owner, kMsgTelopSaveFailed, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

} // namespace

void CMainFrame::EditTelop(const CTelopProperty *record)
{
    CContentsList *list = GetContentFolders().GetList(CONTENT_TELOP);
    ITelopEditor *editor = GetTelopEditor();
    if (!list || !editor) {
        WriteSyslog(LOG_ERR_APP, "EditTelop : Invalid content type : type = %d", int(CONTENT_TELOP));
        return;
    }
    CTelopProperty property;
    if (record) {
        property.Copy(record);
    } else if (IsListFull(*list, CONTENT_TELOP)) {
        ShowListFull(this, CONTENT_TELOP);
        return;
    }
    int counter = 0;
    const qint32 newNumber = GetContentFolders().GetNewCode(CONTENT_TELOP, counter);
    if (newNumber < 0) {
        WriteSyslog(LOG_ERR_APP, "EditTelop : GetNewCode failed.");
        return;
    }
    property.SetFormat(CTelopProperty::FORMAT_BITMAP);

    const bool bitmapTelop = record && record->IsBitmapTelop();
    CTelopFileStage stage;
    if (bitmapTelop) {
        if (IsContentInTransfer({property.GetIndex()}, CONTENT_TELOP, false)
            || editor->EditDetail(this, property) != IDOK)
            return;
    } else if (editor->EditText(this, property, newNumber, stage) != IDOK) {
        return;
    }
    property.SetCreateDate(GetLocalTime());
    if (!bitmapTelop)
        property.SetDataFormat(LoadString(kStrEditableData));
    if (!storeEditedRecord(*list, property, [&] { return placeTelopFiles(this, stage); }))
        return;
    if (property.GetIndex() == newNumber) {
        CSystemIni &system = GetSystemIni();
        system.SetContentIndex(CONTENT_TELOP, counter);
        system.AdvanceContentIndex(CONTENT_TELOP);
        system.SaveContentIndex(CONTENT_TELOP);
    }
    NotifyContentsListChanged(CONTENT_TELOP, 0, 0);
}
