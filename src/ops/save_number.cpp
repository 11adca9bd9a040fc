#include "ops/save_number.h"

#include "core/message_box.h"
#include "core/system_ini.h"
#include "model/contents_list.h"
#include "model/property_checks.h"

namespace {

constexpr quint32 kAskSampleAsNew = 5002;
constexpr quint32 kMsgListFull = 5101;

} // namespace

SaveNumber ChooseSaveNumber(QObject *owner, const CContentsList &list, int type, qint32 number,
                            const std::function<bool()> &asNew)
{
    SaveNumber choice = SaveNumber::New;
    if (IsSampleIndex(number)) {
        if (ShowMessage(owner, kAskSampleAsNew, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return SaveNumber::Discard;
        choice = SaveNumber::NewFromSample;
    } else if (number > 0 && !asNew()) {
        return SaveNumber::Stored;
    }
    return IsListFull(list, type) ? SaveNumber::ListFull : choice;
}

bool IsListFull(const CContentsList &list, int type)
{
    return list.GetCount() >= GetSystemIni().GetMaxCount(type);
}

void ShowListFull(QObject *owner, int type)
{
    ShowMessageFormat(owner, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgListFull, GetSystemIni().GetMaxCount(type));
}
