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

namespace {

// The index just past the first occurrence of terminator from position, or
// the end of data.
qsizetype SkipPast(QByteArrayView data, qsizetype from, QByteArrayView terminator)
{
    const qsizetype found = data.indexOf(terminator, from);
    return found < 0 ? data.size() : found + terminator.size();
}

} // namespace

bool XmlDataWithinBounds(QByteArrayView data, int maxAttributes)
{
    if (data.size() > kDataXmlMaxBytes)
        return false;
    qsizetype i = 0;
    while ((i = data.indexOf('<', i)) >= 0) {
        const QByteArrayView rest = data.sliced(i);
        if (rest.startsWith("<!--")) {
            i = SkipPast(data, i + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            i = SkipPast(data, i + 9, "]]>");
        } else if (rest.startsWith("<?")) {
            i = SkipPast(data, i + 2, "?>");
        } else if (rest.startsWith("<!")) {
            // A document type declaration: its default attributes and entities
            // would bypass every bound checked here.
            return false;
        } else {
            // A tag: every '=' outside quotes starts a value.
            int attributes = 0;
            char quote = 0;
            for (++i; i < data.size(); ++i) {
                const char c = data[i];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                } else if (c == '=' && ++attributes > maxAttributes) {
                    return false;
                }
            }
        }
    }
    return true;
}
