#include "model/telop_property.h"

#include "core/path_utils.h"
#include "model/property_fields.h"

#include <QFileInfo>

#include <algorithm>

CTelopProperty::CTelopProperty()
    : CMediaProperty(CONTENT_TELOP, MEDIA_PICTURE)
{
}

bool CTelopProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}

bool CTelopProperty::SetFormat(qint32 format)
{
    return setChecked(format == FORMAT_BITMAP || format == FORMAT_TEXT, m_format, format);
}

bool CTelopProperty::SetEffectType(qint32 effect)
{
    return setChecked(effect >= EFFECT_STEADY && effect <= EFFECT_SCROLL, m_effectType, effect);
}

bool CTelopProperty::SetSpeed(qint32 speed)
{
    return setChecked(speed >= 0 && speed <= kMaxSpeed, m_speed, speed);
}

void CTelopProperty::GetColor(quint8 &flag, ColorRef &color) const
{
    flag = m_colorFlag;
    color = m_color;
}

bool CTelopProperty::SetColor(quint8 flag, ColorRef color)
{
    if (flag > 1 || color > 0xFFFFFF)
        return refuse();
    m_colorFlag = flag;
    m_color = color;
    return accept();
}

bool CTelopProperty::SetLineHeight(qint32 height)
{
    return setChecked(height >= 0 && height <= kMaxPictureSide, m_lineHeight, height);
}

int CTelopProperty::CompareBy(int column, const CPropertyBase &other) const
{
    const auto *telop = dynamic_cast<const CTelopProperty *>(&other);
    if (column == SORT_EFFECT && telop)
        return CompareNumbers(m_effectType, telop->m_effectType);
    return CMediaProperty::CompareBy(column, other);
}

void CTelopProperty::WriteFields(CPropertyWriter &writer) const
{
    CMediaProperty::WriteFields(writer);
    writer.WriteField(u"telopformat", QString::number(m_format));
    writer.WriteField(u"effect", QString::number(m_effectType));
    writer.WriteField(u"speed", QString::number(m_speed));
    writer.WriteField(u"colorflag", QString::number(m_colorFlag));
    writer.WriteField(u"color", ColorFieldText(m_color));
    writer.WriteField(u"lineheight", QString::number(m_lineHeight));
}

FieldResult CTelopProperty::ReadField(QStringView name, const QString &text)
{
    qint64 number = 0;
    if (name == u"telopformat")
        return FieldResultOf(ParseIntField(text, 1, 2, number) && SetFormat(qint32(number)));
    if (name == u"effect")
        return FieldResultOf(ParseIntField(text, 1, 3, number) && SetEffectType(qint32(number)));
    if (name == u"speed")
        return FieldResultOf(ParseIntField(text, 0, kMaxSpeed, number) && SetSpeed(qint32(number)));
    if (name == u"colorflag")
        return FieldResultOf(ParseIntField(text, 0, 1, number) && SetColor(quint8(number), m_color));
    if (name == u"color") {
        ColorRef color = 0;
        return FieldResultOf(ParseColorField(text, color) && SetColor(m_colorFlag, color));
    }
    if (name == u"lineheight")
        return FieldResultOf(ParseIntField(text, 0, kMaxPictureSide, number) && SetLineHeight(qint32(number)));
    return CMediaProperty::ReadField(name, text);
}

bool CTelopProperty::IsBitmapTelop() const
{
    return GetLink().endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

QStringList TelopFolderFiles(const QString &telopFolder, qint32 number)
{
    QString bitmap;
    QString text;
    if (!MakeTelopFilePath(telopFolder, number, TELOP_FILE_BITMAP, bitmap)
        || !MakeTelopFilePath(telopFolder, number, TELOP_FILE_TEXT, text))
        return {};
    return {bitmap, text};
}

QStringList TelopFilePaths(const QString &telopFolder, const CTelopProperty &record)
{
    const QStringList both = TelopFolderFiles(telopFolder, record.GetIndex());
    if (both.isEmpty())
        return {};
    const QString &bitmap = both[0];
    const QString &text = both[1];
    const bool bitmapTelop = record.IsBitmapTelop();
    QStringList files;
    if (!bitmapTelop || QFileInfo(text).isFile())
        files << text;
    if (bitmapTelop || QFileInfo(bitmap).isFile())
        files << bitmap;
    return files;
}

bool HasTelopFiles(const QString &telopFolder, const CTelopProperty &record)
{
    const QStringList files = TelopFilePaths(telopFolder, record);
    return !files.isEmpty()
           && std::all_of(files.begin(), files.end(), [](const QString &file) { return QFileInfo(file).isFile(); });
}
