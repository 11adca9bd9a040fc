#include "model/web_property.h"

#include "model/property_fields.h"

CWebProperty::CWebProperty()
    : CMediaProperty(CONTENT_WEB, MEDIA_PICTURE | MEDIA_LENGTH | MEDIA_AUDIO)
{
}

bool CWebProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}

bool CWebProperty::SetOffset(qint32 x, qint32 y)
{
    if (x < 0 || x > kMaxShift || y < 0 || y > kMaxShift)
        return refuse();
    m_xOffset = x;
    m_yOffset = y;
    return accept();
}

bool CWebProperty::SetUser(const QString &user)
{
    return setChecked(user.size() <= kMaxCredential, m_user, user);
}

bool CWebProperty::SetPassword(const QString &password)
{
    return setChecked(password.size() <= kMaxCredential, m_password, password);
}

bool CWebProperty::SetOption(qint32 option)
{
    return setChecked(option >= 0, m_option, option);
}

bool CWebProperty::SetReload(qint32 seconds)
{
    return setChecked(seconds >= 0 && seconds <= kMaxReload, m_reload, seconds);
}

void CWebProperty::WriteFields(CPropertyWriter &writer) const
{
    CMediaProperty::WriteFields(writer);
    writer.WriteField(u"xoffset", QString::number(m_xOffset));
    writer.WriteField(u"yoffset", QString::number(m_yOffset));
    if (!m_user.isEmpty())
        writer.WriteField(u"usr", m_user);
    if (!m_password.isEmpty())
        writer.WriteField(u"pass", m_password);
    writer.WriteField(u"xoption", QString::number(m_option));
    writer.WriteField(u"xreload", QString::number(m_reload));
}

FieldResult CWebProperty::ReadField(QStringView name, const QString &text)
{
    qint64 number = 0;
    if (name == u"xoffset")
        return FieldResultOf(ParseIntField(text, 0, kMaxShift, number) && SetOffset(qint32(number), m_yOffset));
    if (name == u"yoffset")
        return FieldResultOf(ParseIntField(text, 0, kMaxShift, number) && SetOffset(m_xOffset, qint32(number)));
    if (name == u"usr")
        return FieldResultOf(SetUser(text));
    if (name == u"pass")
        return FieldResultOf(SetPassword(text));
    if (name == u"xoption")
        return FieldResultOf(ParseIntField(text, 0, INT32_MAX, number) && SetOption(qint32(number)));
    if (name == u"xreload")
        return FieldResultOf(ParseIntField(text, 0, kMaxReload, number) && SetReload(qint32(number)));
    return CMediaProperty::ReadField(name, text);
}
