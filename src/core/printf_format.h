#pragma once
// printf-style formatting of texts that come from the string table.
//
// The format is data (an override table can replace it), so the arguments
// travel with their types: a conversion that does not match its argument
// prints that argument as well as it can, and a missing argument prints
// nothing, instead of reading memory that was never passed. Supported:
// flags "-+ #0", width and precision (also "*"), the conversions
// d i u o x X c s S e E f F g G p % and the length modifiers
// h hh l ll q j z t L I32 I64 (accepted and skipped: the argument's own type
// decides its size). "%n" prints nothing. An unknown conversion is copied
// as it stands. Numbers are written with the C locale; text widths and
// precisions count UTF-16 units, as the program's wide strings do.

#include <QList>
#include <QString>

#include <type_traits>

class PrintfArg {
public:
    enum class Kind { Signed, Unsigned, Floating, Text };

    template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
    PrintfArg(T value) : m_kind(Kind::Signed), m_bytes(sizeof(T)), m_signed(value)
    {
    }
    template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T>, int> = 0>
    PrintfArg(T value) : m_kind(Kind::Unsigned), m_bytes(sizeof(T)), m_unsigned(value)
    {
    }
    template <typename T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
    PrintfArg(T value) : PrintfArg(static_cast<std::underlying_type_t<T>>(value))
    {
    }
    template <typename T, std::enable_if_t<std::is_floating_point_v<T>, int> = 0>
    PrintfArg(T value) : m_kind(Kind::Floating), m_floating(static_cast<double>(value))
    {
    }
    // A UTF-8 C string; a null pointer prints "(null)".
    PrintfArg(const char *utf8);
    PrintfArg(const QByteArray &utf8);
    PrintfArg(const QString &text);

    Kind kind() const { return m_kind; }
    // The value as a signed or unsigned integer of the argument's own width,
    // as printf reinterprets an int passed to "%u" or an unsigned to "%d".
    qint64 toSigned() const;
    quint64 toUnsigned() const;
    double toDouble() const;
    // The plain text of the value: decimal for integers, "%g" for floating point.
    QString toText() const;

private:
    Kind m_kind;
    int m_bytes = 8;
    qint64 m_signed = 0;
    quint64 m_unsigned = 0;
    double m_floating = 0;
    QString m_text;
};

QString FormatPrintf(const QString &format, const QList<PrintfArg> &args);

template <typename... Args>
QString FormatText(const QString &format, const Args &...args)
{
    return FormatPrintf(format, {PrintfArg(args)...});
}
