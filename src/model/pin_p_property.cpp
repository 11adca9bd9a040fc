#include "model/pin_p_property.h"

#include "model/property_fields.h"

CPinPProperty::CPinPProperty()
    : CControlProperty(CONTENT_PINP, CTRL_PINP)
{
}

bool CPinPProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}

bool CPinPProperty::SetCtrlType(qint32 type)
{
    if (type != CTRL_PINP)
        return refuse();
    return accept();
}

bool CPinPProperty::SetLink(const QString &link)
{
    return setChecked(link.size() <= kMaxInput, m_link, link);
}

int CPinPProperty::CompareBy(int column, const CPropertyBase &other) const
{
    const auto *pinp = dynamic_cast<const CPinPProperty *>(&other);
    if (column == SORT_INPUT && pinp)
        return CompareText(m_link, pinp->m_link);
    return CControlProperty::CompareBy(column, other);
}

void CPinPProperty::WriteFields(CPropertyWriter &writer) const
{
    CControlProperty::WriteFields(writer);
    writer.WriteField(u"link", m_link);
}

FieldResult CPinPProperty::ReadField(QStringView name, const QString &text)
{
    if (name == u"link")
        return FieldResultOf(SetLink(text));
    return CControlProperty::ReadField(name, text);
}
