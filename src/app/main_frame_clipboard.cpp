// The frame's clipboard formats and the copy of playlists, background-music
// lists and schedules; the blocks themselves are built in ops.
#include "app/main_frame.h"

#include "model/app_data.h"
#include "ops/clipboard_formats.h"

void CMainFrame::RegisterClipboardFormats()
{
    m_clipboardFormats.clear();
    for (int format = 0; format < CLIPBOARD_FORMAT_COUNT; ++format)
        m_clipboardFormats.append(ClipboardMimeType(ClipboardFormat(format)));
}

QString CMainFrame::GetContentsDataFormat() const
{
    return m_clipboardFormats.value(CLIPBOARD_CONTENTS);
}

void CMainFrame::CopyPlaylist(int type, const QList<quint32> &indexes)
{
    CopyPlaylistSelection(type, indexes);
}

void CMainFrame::CopySchedule(const QList<quint32> &indexes)
{
    CopyScheduleSelection(GetAppData().GetGroupXml(), m_currentGroup, indexes);
}
