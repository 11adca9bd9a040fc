#include "model/model_xml_document.h"

#include "core/last_error.h"
#include "model/property_fields.h"

#include <QFileInfo>

bool CModelXmlDocument::Load(const QString &path)
{
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        beginLoad();
        commitLoad();
        SetLastError(ERROR_SUCCESS);
        return true;
    }
    m_refused = false;
    beginLoad();
    if (!CXmlDocument::Load(path))
        return false;
    if (m_refused) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    commitLoad();
    return true;
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

bool ParseBool(const QString &text, bool &value)
{
    if (text != u"0" && text != u"1")
        return false;
    value = text == u"1";
    return true;
}

bool ParseInt32(const QString &text, qint32 minimum, qint32 maximum, qint32 &value)
{
    qint64 parsed = 0;
    if (!ParseIntField(text, minimum, maximum, parsed))
        return false;
    value = qint32(parsed);
    return true;
}
