#include "core/string_table.h"

#include "core/format_utils.h"
#include "core/syslog.h"

#include <QFile>
#include <QReadWriteLock>

namespace {

QString Unescape(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            result += c;
            continue;
        }
        const QChar next = text[i + 1];
        if (next == QLatin1Char('n'))
            result += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            result += QLatin1Char('\t');
        else if (next == QLatin1Char('\\'))
            result += QLatin1Char('\\');
        else { // an unknown escape stays as written
            result += c;
            result += next;
        }
        ++i;
    }
    return result;
}

// "<decimal id><TAB>"; false for anything else.
bool ParseId(QStringView field, quint32 &id)
{
    if (field.size() > 10 || !IsDecimalDigits(field))
        return false;
    bool ok = false;
    id = field.toUInt(&ok);
    return ok;
}

bool ReadTable(const QString &path, StringTableParse &table)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    table = ParseStringTable(file.readAll());
    return true;
}

class StringTables {
public:
    StringTables()
    {
        if (!ReadTable(QString::fromLatin1(kBuiltInStringTable), m_builtIn))
            WriteSyslog(LOG_ERR_APP, "LoadString : Built-in string table missing : %s", kBuiltInStringTable);
    }

    QString lookUp(quint32 id) const
    {
        {
            QReadLocker locker(&m_overrideLock);
            const auto found = m_overrides.constFind(id);
            if (found != m_overrides.constEnd())
                return found.value();
        }
        return m_builtIn.texts.value(id);
    }

    void setOverrides(QHash<quint32, QString> texts)
    {
        QWriteLocker locker(&m_overrideLock);
        m_overrides = std::move(texts);
    }

private:
    StringTableParse m_builtIn; // read once, never changed afterwards
    mutable QReadWriteLock m_overrideLock;
    QHash<quint32, QString> m_overrides;
};

StringTables &Tables()
{
    static StringTables tables; // built on first use; C++ makes that thread-safe
    return tables;
}

} // namespace

StringTableParse ParseStringTable(const QByteArray &data)
{
    StringTableParse result;
    QString text = QString::fromUtf8(data);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        quint32 id = 0;
        if (tab < 0 || !ParseId(line.left(tab), id) || result.texts.contains(id)) {
            ++result.badLines;
            continue;
        }
        result.texts.insert(id, Unescape(line.mid(tab + 1)));
    }
    return result;
}

QString LoadString(quint32 id)
{
    return Tables().lookUp(id);
}

bool LoadStringOverrides(const QString &path)
{
    StringTableParse table;
    if (!ReadTable(path, table)) {
        WriteSyslog(LOG_WARNING, "LoadStringOverrides : Cannot read : %s", qUtf8Printable(path));
        return false;
    }
    if (table.badLines > 0)
        WriteSyslog(LOG_WARNING, "LoadStringOverrides : %d bad lines skipped : %s", table.badLines, qUtf8Printable(path));
    if (table.texts.isEmpty())
        return false;
    Tables().setOverrides(std::move(table.texts));
    return true;
}

void ClearStringOverrides()
{
    Tables().setOverrides({});
}
