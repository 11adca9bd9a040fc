#include "model/stored_list_files.h"

#include "core/content_id.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "model/property_base.h"

#include <iterator>
#include <span>

namespace {

std::span<const int> layerKindsOf(int type, qint32 number)
{
    switch (type) {
    case CONTENT_PLAYLIST:
        if (number >= kTouchPanelIndexBase)
            return {};
        return kPlaylistSequenceKinds;
    case CONTENT_BGMLIST:
        return kBgmSequenceKinds;
    default:
        return kScheduleSequenceKinds;
    }
}

bool makeListPath(int type, const QString &folder, qint32 number, QString &path)
{
    switch (type) {
    case CONTENT_PLAYLIST:
    case CONTENT_BGMLIST:
        return MakePlaylistXmlPath(folder, number, path);
    case CONTENT_SCHEDULE:
        return MakeScheduleXmlPath(folder, number, path);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
}

} // namespace

const StoredListFiles::Layer *StoredListFiles::LayerOfKind(int kind) const
{
    for (const Layer &layer : layers) {
        if (layer.kind == kind)
            return &layer;
    }
    return nullptr;
}

QStringList StoredListFiles::Paths() const
{
    QStringList paths{listPath};
    for (const Layer &layer : layers)
        paths.append(layer.path);
    return paths;
}

bool StoredListFilesOf(int type, int idPrefix, qint32 number, const QString &listFolder,
                       const QString &sequenceFolder, StoredListFiles &files)
{
    StoredListFiles made;
    int serial = 0;
    if (!makeListPath(type, listFolder, number, made.listPath) || !SplitContentId(number, nullptr, nullptr, &serial))
        return false;
    for (int kind : layerKindsOf(type, number)) {
        StoredListFiles::Layer layer;
        layer.kind = kind;
        layer.number = MakeContentId(idPrefix, kind, serial);
        if (layer.number < 0 || !MakeSequenceXmlPath(sequenceFolder, layer.number, layer.path))
            return false;
        made.layers.push_back(layer);
    }
    files = std::move(made);
    return true;
}
