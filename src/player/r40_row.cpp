#include "player/r40_row.h"

#include "core/last_error.h"
#include "model/property_base.h"

#include <QXmlStreamReader>

QString R40Row::Value(const QString &name) const
{
    for (const R40Field &field : fields) {
        if (field.name == name && field.attributes.isEmpty())
            return field.text;
    }
    return QString();
}

bool R40Row::FillRecord(CPropertyBase &record) const
{
    for (const R40Field &field : fields) {
        if (!field.attributes.isEmpty())
            continue;
        if (record.ReadField(field.name, field.text) == FieldResult::Refused) {
            SetLastError(ERROR_INVALID_DATA);
            return false;
        }
    }
    return true;
}

R40Row ReadR40Row(QXmlStreamReader &reader)
{
    R40Row row;
    while (reader.readNextStartElement()) {
        R40Field field;
        field.name = reader.name().toString();
        for (const QXmlStreamAttribute &attribute : reader.attributes())
            field.attributes.append(qMakePair(attribute.name().toString(), attribute.value().toString()));
        field.text = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        row.fields.append(field);
    }
    return row;
}
