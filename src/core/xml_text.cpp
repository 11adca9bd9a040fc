#include "core/xml_text.h"

bool IsXmlTextChar(char32_t ch)
{
    if (ch < 0x20)
        return ch == 0x09 || ch == 0x0A || ch == 0x0D;
    if (ch <= 0xD7FF)
        return true;
    if (ch < 0xE000)
        return false; // a surrogate code unit on its own
    if (ch <= 0xFFFD)
        return true;
    return ch >= 0x10000 && ch <= 0x10FFFF;
}

QString RemoveXmlInvalidChars(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            result.append(unit);
            result.append(text[++i]);
        } else if (IsXmlTextChar(unit.unicode())) {
            result.append(unit);
        }
    }
    return result;
}
