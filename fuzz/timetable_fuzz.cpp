// Feeds arbitrary bytes to the playlist, schedule and sequence file readers,
// as a player's reply would reach them. The first byte picks the kind of
// file. Whatever a reader accepts must be entries that a fresh file of the
// same kind takes again, with spans that end after they start. Nothing
// touches the disk.

#include "model/playlist_file.h"
#include "model/schedule_file.h"
#include "model/sequence_file.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

std::unique_ptr<CTimetableFile> makeFile(uint8_t pick)
{
    switch (pick % 3) {
    case 0:
        return std::make_unique<CPlaylistFile>();
    case 1:
        return std::make_unique<CScheduleFile>();
    default:
        return std::make_unique<CSequenceFile>();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    std::unique_ptr<CTimetableFile> file = makeFile(data[0]);
    if (!file->LoadData(bytes))
        return 0;
    std::unique_ptr<CTimetableFile> again = makeFile(data[0]);
    for (int i = 0; i < file->GetItemCount(); ++i) {
        CTimetableItem item;
        if (!file->GetItem(i, item) || item.GetStartFrames() >= item.GetEndFrames() || !again->AddItem(item))
            __builtin_trap();
    }
    if (file->GetIndex() < 0 || !again->SetTitle(file->GetTitle()) || !again->SetInfo(file->GetInfo())
        || !again->SetDeleteDate(file->GetDeleteDate()))
        __builtin_trap();
    return 0;
}
