#include "core/printf_format.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A width or precision beyond this is clamped: a table entry must not be
// able to ask for gigabytes of padding.
constexpr int kMaxFieldWidth = 4096;

struct ConversionSpec {
    QString flags;
    int width = -1;
    bool widthFromArg = false;
    int precision = -1;
    bool precisionFromArg = false;
    QChar conversion;
};

int ParseNumber(const QString &format, qsizetype &pos)
{
    int value = 0;
    while (pos < format.size() && format[pos].isDigit() && format[pos].unicode() < 128) {
        value = std::min(value * 10 + (format[pos].unicode() - '0'), kMaxFieldWidth);
        ++pos;
    }
    return value;
}

void SkipLengthModifier(const QString &format, qsizetype &pos)
{
    if (format.mid(pos, 3) == QLatin1String("I64") || format.mid(pos, 3) == QLatin1String("I32")) {
        pos += 3;
        return;
    }
    static const QString kModifiers = QStringLiteral("hlqjztLI");
    while (pos < format.size() && kModifiers.contains(format[pos]))
        ++pos;
}

// Parses the conversion that starts after a '%' at pos. Returns the position
// after its conversion character, or -1 when the format ends first.
qsizetype ParseSpec(const QString &format, qsizetype pos, ConversionSpec &spec)
{
    static const QString kFlags = QStringLiteral("-+ #0");
    while (pos < format.size() && kFlags.contains(format[pos]))
        spec.flags += format[pos++];
    if (pos < format.size() && format[pos] == QLatin1Char('*')) {
        spec.widthFromArg = true;
        ++pos;
    } else {
        const qsizetype start = pos;
        const int width = ParseNumber(format, pos);
        if (pos > start)
            spec.width = width;
    }
    if (pos < format.size() && format[pos] == QLatin1Char('.')) {
        ++pos;
        if (pos < format.size() && format[pos] == QLatin1Char('*')) {
            spec.precisionFromArg = true;
            ++pos;
        } else {
            spec.precision = ParseNumber(format, pos);
        }
    }
    SkipLengthModifier(format, pos);
    if (pos >= format.size())
        return -1;
    spec.conversion = format[pos];
    return pos + 1;
}

class ArgCursor {
public:
    explicit ArgCursor(const QList<PrintfArg> &args) : m_args(args) {}
    const PrintfArg *next() { return m_index < m_args.size() ? &m_args[m_index++] : nullptr; }

private:
    const QList<PrintfArg> &m_args;
    qsizetype m_index = 0;
};

// Takes "*" width and precision from the arguments, as printf does: a
// negative width means left-justified, a negative precision none.
void ResolveStars(ConversionSpec &spec, ArgCursor &cursor)
{
    if (spec.widthFromArg) {
        const PrintfArg *arg = cursor.next();
        const qint64 width = arg ? arg->toSigned() : 0;
        if (width < 0)
            spec.flags += QLatin1Char('-');
        spec.width = static_cast<int>(std::min<qint64>(std::llabs(width), kMaxFieldWidth));
    }
    if (spec.precisionFromArg) {
        const PrintfArg *arg = cursor.next();
        const qint64 precision = arg ? arg->toSigned() : -1;
        spec.precision = precision < 0 ? -1 : static_cast<int>(std::min<qint64>(precision, kMaxFieldWidth));
    }
}

QString PadText(const QString &text, const ConversionSpec &spec)
{
    if (text.size() >= spec.width)
        return text;
    const QString padding(spec.width - text.size(), QLatin1Char(' '));
    return spec.flags.contains(QLatin1Char('-')) ? text + padding : padding + text;
}

QString FormatTextConversion(const QString &text, const ConversionSpec &spec)
{
    return PadText(spec.precision >= 0 ? text.left(spec.precision) : text, spec);
}

// The conversion rebuilt for Qt's printf, which writes numbers in the C locale.
QByteArray NumberSpec(const ConversionSpec &spec, const char *lengthModifier, char conversion)
{
    QByteArray result = "%" + spec.flags.toLatin1();
    if (spec.width >= 0)
        result += QByteArray::number(spec.width);
    if (spec.precision >= 0)
        result += "." + QByteArray::number(spec.precision);
    return result + lengthModifier + conversion;
}

QString FormatConversion(const ConversionSpec &spec, const PrintfArg *arg)
{
    const char conversion = static_cast<char>(spec.conversion.unicode());
    if (!arg)
        return QString();
    const bool isText = arg->kind() == PrintfArg::Kind::Text;
    switch (conversion) {
    case 'd':
    case 'i':
        return isText ? FormatTextConversion(arg->toText(), spec)
                      : QString::asprintf(NumberSpec(spec, "ll", 'd').constData(), static_cast<long long>(arg->toSigned()));
    case 'u':
    case 'o':
    case 'x':
    case 'X':
        return isText ? FormatTextConversion(arg->toText(), spec)
                      : QString::asprintf(NumberSpec(spec, "ll", conversion).constData(),
                                          static_cast<unsigned long long>(arg->toUnsigned()));
    case 'p':
        return QString::asprintf(NumberSpec(spec, "ll", 'x').constData(), static_cast<unsigned long long>(arg->toUnsigned()))
            .prepend(QStringLiteral("0x"));
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
        return isText ? FormatTextConversion(arg->toText(), spec)
                      : QString::asprintf(NumberSpec(spec, "", conversion).constData(), arg->toDouble());
    case 'c':
        return PadText(isText ? arg->toText().left(1) : QString(QChar(static_cast<char16_t>(arg->toUnsigned()))), spec);
    case 's':
    case 'S':
        return FormatTextConversion(arg->toText(), spec);
    default: // 'n': nothing is written back and nothing printed
        return QString();
    }
}

bool IsKnownConversion(QChar conversion)
{
    static const QString kConversions = QStringLiteral("diuoxXcsSeEfFgGpn");
    return kConversions.contains(conversion);
}

} // namespace

PrintfArg::PrintfArg(const char *utf8)
    : m_kind(Kind::Text), m_text(utf8 ? QString::fromUtf8(utf8) : QStringLiteral("(null)"))
{
}

PrintfArg::PrintfArg(const QByteArray &utf8) : m_kind(Kind::Text), m_text(QString::fromUtf8(utf8)) {}

PrintfArg::PrintfArg(const QString &text) : m_kind(Kind::Text), m_text(text) {}

qint64 PrintfArg::toSigned() const
{
    switch (m_kind) {
    case Kind::Signed:
        return m_signed;
    case Kind::Unsigned: {
        if (m_bytes >= 8)
            return static_cast<qint64>(m_unsigned);
        const int bits = m_bytes * 8;
        const quint64 signBit = quint64(1) << (bits - 1);
        return static_cast<qint64>((m_unsigned ^ signBit) - signBit); // sign-extends the narrow value
    }
    case Kind::Floating:
        return static_cast<qint64>(m_floating);
    case Kind::Text:
        break;
    }
    return 0;
}

quint64 PrintfArg::toUnsigned() const
{
    switch (m_kind) {
    case Kind::Unsigned:
        return m_unsigned;
    case Kind::Signed:
        if (m_bytes >= 8)
            return static_cast<quint64>(m_signed);
        return static_cast<quint64>(m_signed) & ((quint64(1) << (m_bytes * 8)) - 1);
    case Kind::Floating:
        return static_cast<quint64>(m_floating);
    case Kind::Text:
        break;
    }
    return 0;
}

double PrintfArg::toDouble() const
{
    switch (m_kind) {
    case Kind::Floating:
        return m_floating;
    case Kind::Signed:
        return static_cast<double>(m_signed);
    case Kind::Unsigned:
        return static_cast<double>(m_unsigned);
    case Kind::Text:
        break;
    }
    return 0;
}

QString PrintfArg::toText() const
{
    switch (m_kind) {
    case Kind::Text:
        return m_text;
    case Kind::Signed:
        return QString::number(m_signed);
    case Kind::Unsigned:
        return QString::number(m_unsigned);
    case Kind::Floating:
        return QString::asprintf("%g", m_floating);
    }
    return QString();
}

QString FormatPrintf(const QString &format, const QList<PrintfArg> &args)
{
    QString result;
    result.reserve(format.size());
    ArgCursor cursor(args);
    qsizetype pos = 0;
    while (pos < format.size()) {
        const qsizetype percent = format.indexOf(QLatin1Char('%'), pos);
        if (percent < 0) {
            result += QStringView(format).mid(pos);
            break;
        }
        result += QStringView(format).mid(pos, percent - pos);
        ConversionSpec spec;
        const qsizetype end = ParseSpec(format, percent + 1, spec);
        if (end < 0) { // a '%' at the end stays as it is
            result += QStringView(format).mid(percent);
            break;
        }
        if (spec.conversion == QLatin1Char('%')) {
            result += QLatin1Char('%');
        } else if (!IsKnownConversion(spec.conversion)) {
            result += QStringView(format).mid(percent, end - percent);
        } else {
            ResolveStars(spec, cursor);
            result += FormatConversion(spec, cursor.next());
        }
        pos = end;
    }
    return result;
}
