#include "model/streaming_property.h"

#include "model/property_fields.h"

CStreamingProperty::CStreamingProperty()
    : CPropertyBase(CONTENT_STREAMING)
{
}

bool CStreamingProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}

bool CStreamingProperty::SetAddress(const QString &address)
{
    return setChecked(address.size() <= kMaxAddress, m_address, address);
}

bool CStreamingProperty::SetMode(qint32 mode)
{
    return setChecked(mode >= 0, m_mode, mode);
}

bool CStreamingProperty::SetUser(const QString &user)
{
    return setChecked(user.size() <= kMaxCredential, m_user, user);
}

bool CStreamingProperty::SetPassword(const QString &password)
{
    return setChecked(password.size() <= kMaxCredential, m_password, password);
}

bool CStreamingProperty::SetPort(qint32 port)
{
    return setChecked(port >= 0 && port <= 65535, m_port, port);
}

int CStreamingProperty::CompareBy(int column, const CPropertyBase &other) const
{
    const auto *stream = dynamic_cast<const CStreamingProperty *>(&other);
    if (column == SORT_ADDRESS && stream)
        return CompareText(m_address, stream->m_address);
    return CPropertyBase::CompareBy(column, other);
}

void CStreamingProperty::WriteFields(CPropertyWriter &writer) const
{
    CPropertyBase::WriteFields(writer);
    writer.WriteField(u"link", m_address);
    writer.WriteField(u"mode", QString::number(m_mode));
    if (!m_user.isEmpty())
        writer.WriteField(u"usr", m_user);
    if (!m_password.isEmpty())
        writer.WriteField(u"pass", m_password);
    writer.WriteField(u"port", QString::number(m_port));
}

FieldResult CStreamingProperty::ReadField(QStringView name, const QString &text)
{
    qint64 number = 0;
    if (name == u"link")
        return FieldResultOf(SetAddress(text));
    if (name == u"mode")
        return FieldResultOf(ParseIntField(text, 0, INT32_MAX, number) && SetMode(qint32(number)));
    if (name == u"usr")
        return FieldResultOf(SetUser(text));
    if (name == u"pass")
        return FieldResultOf(SetPassword(text));
    if (name == u"port")
        return FieldResultOf(ParseIntField(text, 0, 65535, number) && SetPort(qint32(number)));
    return CPropertyBase::ReadField(name, text);
}
