#include "model/sequence_file.h"

#include "core/path_utils.h"
#include "model/property_base.h"

CSequenceFile::CSequenceFile()
    : CTimetableFile(QStringLiteral("sequence"), Reference::ByContent, &MakeSequenceXmlPath)
{
}

bool CSequenceFile::IsPlayableType(int contentType)
{
    return (contentType >= CONTENT_MOVIE && contentType <= CONTENT_STREAMING) || contentType == CONTENT_PINP
        || contentType == CONTENT_EXTERNAL_INPUT;
}

bool CSequenceFile::acceptsItem(const CTimetableItem &item) const
{
    return IsPlayableType(item.GetContentType()) && item.GetKind() == 0;
}
