#include "player/stbl_command.h"

#include "core/content_id.h"

CStblCommand::CStblCommand()
    : CR40TableQuery(QStringLiteral("STBL"))
{
}

std::unique_ptr<CR40Request> CStblCommand::Clone() const
{
    return std::unique_ptr<CR40Request>(new CStblCommand(*this));
}

bool CStblCommand::MakeRequest(int table, qint32 index, int flag)
{
    BeginRequest(QStringLiteral("STBL"));
    const bool flagValid = flag == -1 || (table == STBL_PLAYLIST && (flag == 0 || flag == 1));
    if (table < STBL_PLAYLIST || table > STBL_CALENDAR || (index != -1 && !IsValidContentId(index)) || !flagValid)
        return FailRequest();
    AddParameter(QStringLiteral("table"), table);
    if (index != -1)
        AddParameter(QStringLiteral("index"), FormatContentId(index));
    if (flag != -1)
        AddParameter(QStringLiteral("flag"), flag);
    return true;
}

bool CStblCommand::MakeFileRequest(int table, qint32 number)
{
    BeginRequest(QStringLiteral("STBL"));
    if ((table != STBL_PLAYLIST && table != STBL_SCHEDULE) || !IsValidContentId(number))
        return FailRequest();
    AddParameter(QStringLiteral("table"), table);
    AddParameter(QStringLiteral("index"), FormatContentId(number));
    AddParameter(QStringLiteral("file"), 1);
    const QString prefix = table == STBL_PLAYLIST ? QStringLiteral("PL") : QStringLiteral("SC");
    SetDownloadTarget(prefix + FormatContentId(number) + QStringLiteral(".xml"), false);
    return true;
}
