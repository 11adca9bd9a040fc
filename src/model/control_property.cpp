#include "model/control_property.h"

#include "model/property_checks.h"
#include "model/property_fields.h"

CControlProperty::CControlProperty()
    : CControlProperty(CONTENT_CONTROL, CTRL_VOLUME)
{
}

CControlProperty::CControlProperty(int contentType, qint32 ctrlType)
    : CPropertyBase(contentType)
    , m_ctrlType(ctrlType)
{
}

bool CControlProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}

bool CControlProperty::SetCtrlType(qint32 type)
{
    const bool known = type == CTRL_COM || type == CTRL_VOLUME || type == CTRL_GPIO || type == CTRL_DISPLAY;
    return setChecked(known, m_ctrlType, type);
}

void CControlProperty::GetCtrlParams(QString &param1, QString &param2) const
{
    param1 = m_param1;
    param2 = m_param2;
}

bool CControlProperty::carriesHexData() const
{
    return m_ctrlType == CTRL_COM || m_ctrlType == CTRL_DISPLAY || m_ctrlType == CTRL_PINP;
}

bool CControlProperty::isAcceptedParam(const QString &param, bool first) const
{
    if (carriesHexData())
        return IsHexByteText(param, kMaxHexDigits);
    if (m_ctrlType == CTRL_VOLUME && first && !param.isEmpty()) {
        qint64 level = 0;
        return ParseIntField(param, -1, 100, level);
    }
    return param.size() <= kMaxParam;
}

bool CControlProperty::SetCtrlParams(const QString &param1, const QString &param2)
{
    if (!isAcceptedParam(param1, true) || !isAcceptedParam(param2, false))
        return refuse();
    m_param1 = param1;
    m_param2 = param2;
    return accept();
}

bool CControlProperty::SetPort(qint32 port)
{
    return setChecked(port >= 0 && port <= 65535, m_port, port);
}

int CControlProperty::CompareBy(int column, const CPropertyBase &other) const
{
    const auto *control = dynamic_cast<const CControlProperty *>(&other);
    if (column == SORT_CONTROL_KIND && control)
        return CompareNumbers(m_ctrlType, control->m_ctrlType);
    return CPropertyBase::CompareBy(column, other);
}

void CControlProperty::WriteFields(CPropertyWriter &writer) const
{
    CPropertyBase::WriteFields(writer);
    writer.WriteField(u"ctrltype", QString::number(m_ctrlType));
    writer.WriteField(u"ctrlparam1", m_param1);
    writer.WriteField(u"ctrlparam2", m_param2);
    writer.WriteField(u"port", QString::number(m_port));
}

FieldResult CControlProperty::ReadField(QStringView name, const QString &text)
{
    qint64 number = 0;
    if (name == u"ctrltype")
        return FieldResultOf(ParseIntField(text, 1, 5, number) && SetCtrlType(qint32(number)));
    if (name == u"ctrlparam1")
        return FieldResultOf(SetCtrlParams(text, m_param2));
    if (name == u"ctrlparam2")
        return FieldResultOf(SetCtrlParams(m_param1, text));
    if (name == u"port")
        return FieldResultOf(ParseIntField(text, 0, 65535, number) && SetPort(qint32(number)));
    return CPropertyBase::ReadField(name, text);
}
