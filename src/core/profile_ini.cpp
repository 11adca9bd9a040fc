#include "core/profile_ini.h"

#include "core/atomic_file.h"
#include "core/format_utils.h"
#include "core/last_error.h"
#include "core/time_utils.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <sys/stat.h>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

CProfileIni::CProfileIni(const QString &fileName)
{
    SetFileName(fileName);
}

void CProfileIni::SetFileName(const QString &fileName)
{
    std::lock_guard lock(m_mutex);
    m_fileName = fileName;
    readLocked();
}

QString CProfileIni::GetFileName() const
{
    std::lock_guard lock(m_mutex);
    return m_fileName;
}

QString CProfileIni::GetString(const QString &section, const QString &key, const QString &defaultValue) const
{
    std::lock_guard lock(m_mutex);
    refreshLocked();
    const std::optional<QByteArray> value = valueLocked(section, key);
    return value ? QString::fromUtf8(*value) : defaultValue;
}

int CProfileIni::GetInt(const QString &section, const QString &key, int defaultValue) const
{
    return ParseInt(GetString(section, key)).value_or(defaultValue);
}

bool CProfileIni::GetBool(const QString &section, const QString &key, bool defaultValue) const
{
    return GetInt(section, key, defaultValue ? 1 : 0) != 0;
}

TimeValue CProfileIni::GetTime(const QString &section, const QString &key, const TimeValue &defaultValue) const
{
    // A read leaves the caller's last error as it was.
    const quint32 lastError = GetLastError();
    TimeValue time;
    const bool parsed = ParseTimeValue(GetString(section, key), time, false) && time.hour <= 23;
    SetLastError(lastError);
    return parsed ? time : defaultValue;
}

bool CProfileIni::HasSection(const QString &section) const
{
    std::lock_guard lock(m_mutex);
    refreshLocked();
    return m_sections.contains(fold(section));
}

bool CProfileIni::HasKey(const QString &section, const QString &key) const
{
    std::lock_guard lock(m_mutex);
    refreshLocked();
    return valueLocked(section, key).has_value();
}

bool CProfileIni::WriteString(const QString &section, const QString &key, const QString &value)
{
    return WriteChanges({ProfileChange{section, key, value}});
}

bool CProfileIni::WriteInt(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool CProfileIni::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteInt(section, key, value ? 1 : 0);
}

bool CProfileIni::WriteTime(const QString &section, const QString &key, const TimeValue &value)
{
    return WriteString(section, key, FormatTimeText(value, false));
}

bool CProfileIni::DeleteKey(const QString &section, const QString &key)
{
    return WriteChanges({ProfileChange{section, key, std::nullopt}});
}

bool CProfileIni::DeleteSection(const QString &section)
{
    // An empty key names the whole section.
    return WriteChanges({ProfileChange{section, QString(), std::nullopt}});
}

bool CProfileIni::WriteChanges(const QList<ProfileChange> &changes)
{
    for (const ProfileChange &change : changes) {
        if (!isValidChange(change)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
    }
    std::lock_guard lock(m_mutex);
    refreshLocked();
    if (m_readFailed) {
        // An existing file that could not be read must not be replaced by the
        // few keys written now.
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const QByteArray before = serialize();
    const QList<Line> savedLines = m_lines;
    for (const ProfileChange &change : changes)
        applyLocked(change);
    if (serialize() == before)
        return true;
    if (saveLocked())
        return true;
    m_lines = savedLines;
    rebuildIndex();
    return false;
}

std::optional<int> CProfileIni::ParseInt(const QString &text)
{
    if (text.size() > 2 && text[0] == QLatin1Char('0') && (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'))) {
        const QString digits = text.mid(2);
        const bool hexOnly = std::all_of(digits.begin(), digits.end(), [](QChar c) {
            return c.isDigit() ? c.unicode() <= '9' : (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
        });
        if (digits.size() > 8 || !hexOnly)
            return std::nullopt;
        return int(digits.toUInt(nullptr, 16));
    }
    const qsizetype start = (text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'))) ? 1 : 0;
    if (!IsDecimalDigits(QStringView(text).mid(start)))
        return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

QString CProfileIni::fold(const QString &name)
{
    return name.trimmed().toCaseFolded();
}

bool CProfileIni::isValidChange(const ProfileChange &change)
{
    const QString section = change.section.trimmed();
    const QString key = change.key.trimmed();
    if (section.isEmpty() || hasLineBreak(section) || section.contains(QLatin1Char(']')))
        return false;
    if (hasLineBreak(key) || key.contains(QLatin1Char('=')) || key.startsWith(QLatin1Char(';'))
        || key.startsWith(QLatin1Char('[')))
        return false;
    // An empty key is allowed only to delete the whole section.
    if (key.isEmpty() && change.value)
        return false;
    return !(change.value && hasLineBreak(*change.value));
}

CProfileIni::Line CProfileIni::parseLine(const QByteArray &text, const QByteArray &end)
{
    Line line;
    line.text = text;
    line.end = end;
    const QByteArray trimmed = trimBlanks(text);
    if (trimmed.startsWith(';')) {
        line.kind = LineKind::Comment;
    } else if (trimmed.startsWith('[') && trimmed.lastIndexOf(']') > 0) {
        line.kind = LineKind::Section;
        line.name = QString::fromUtf8(trimBlanks(trimmed.mid(1, trimmed.lastIndexOf(']') - 1)));
    } else if (const qsizetype eq = trimmed.indexOf('='); eq > 0) {
        line.kind = LineKind::Key;
        line.name = QString::fromUtf8(trimBlanks(trimmed.left(eq)));
        line.value = trimBlanks(trimmed.mid(eq + 1));
    }
    return line;
}

CProfileIni::Line CProfileIni::makeKeyLine(const QString &key, const QString &value, const QByteArray &end)
{
    return parseLine(key.trimmed().toUtf8() + '=' + value.toUtf8(), end);
}

CProfileIni::Line CProfileIni::makeSectionLine(const QString &section, const QByteArray &end)
{
    return parseLine('[' + section.trimmed().toUtf8() + ']', end);
}

CProfileIni::FileStamp CProfileIni::stampOfFile() const
{
    FileStamp stamp;
    struct stat info {};
    const QByteArray path = QFile::encodeName(m_fileName);
    if (m_fileName.isEmpty() || ::stat(path.constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = info.st_size;
    stamp.mtimeNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.inode = info.st_ino;
    return stamp;
}

void CProfileIni::refreshLocked() const
{
    if (stampOfFile() != m_stamp)
        readLocked();
}

void CProfileIni::readLocked() const
{
    m_stamp = stampOfFile();
    QByteArray bytes;
    QFile file(m_fileName);
    m_readFailed = false;
    if (m_stamp.exists) {
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        m_readFailed = file.error() != QFileDevice::NoError;
    }
    parseBytes(bytes);
}

void CProfileIni::parseBytes(const QByteArray &bytes) const
{
    m_lines.clear();
    m_hasBom = bytes.startsWith(kBom);
    const QByteArray body = m_hasBom ? bytes.mid(kBom.size()) : bytes;
    qsizetype start = 0;
    while (start < body.size()) {
        qsizetype newline = body.indexOf('\n', start);
        if (newline < 0) {
            // A last line without a line end; a lone CR there is its end.
            QByteArray text = body.mid(start);
            const bool cr = text.endsWith('\r');
            if (cr)
                text.chop(1);
            m_lines.append(parseLine(text, cr ? QByteArray("\r") : QByteArray()));
            break;
        }
        const bool crlf = newline > start && body.at(newline - 1) == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        m_lines.append(parseLine(body.mid(start, textEnd - start), crlf ? QByteArray("\r\n") : QByteArray("\n")));
        start = newline + 1;
    }
    rebuildIndex();
}

void CProfileIni::rebuildIndex() const
{
    m_sections.clear();
    SectionIndex *current = nullptr;
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines.at(i);
        if (line.kind == LineKind::Section) {
            const QString name = fold(line.name);
            // A repeated section is ignored: its keys stay invisible.
            current = m_sections.contains(name) ? nullptr : &m_sections[name];
            if (current) {
                current->headerLine = i;
                current->lastLine = i;
            }
            continue;
        }
        if (!current)
            continue;
        current->lastLine = i;
        if (line.kind == LineKind::Key) {
            const QString name = fold(line.name);
            if (!current->keys.contains(name)) // the first of a repeated key counts
                current->keys.insert(name, i);
            current->lastKeyLine = i;
        }
    }
}

std::optional<QByteArray> CProfileIni::valueLocked(const QString &section, const QString &key) const
{
    const auto sectionIt = m_sections.constFind(fold(section));
    if (sectionIt == m_sections.constEnd())
        return std::nullopt;
    const auto keyIt = sectionIt->keys.constFind(fold(key));
    if (keyIt == sectionIt->keys.constEnd())
        return std::nullopt;
    return m_lines.at(*keyIt).value;
}

QByteArray CProfileIni::newLineEnd() const
{
    for (const Line &line : m_lines) {
        if (line.end == "\n" || line.end == "\r\n")
            return line.end;
    }
    return QByteArray("\n");
}

void CProfileIni::applyLocked(const ProfileChange &change)
{
    if (change.value)
        setKeyLocked(change.section, change.key, *change.value);
    else if (change.key.trimmed().isEmpty())
        deleteSectionLocked(change.section);
    else
        deleteKeyLocked(change.section, change.key);
}

void CProfileIni::setKeyLocked(const QString &section, const QString &key, const QString &value)
{
    const QByteArray end = newLineEnd();
    const auto sectionIt = m_sections.constFind(fold(section));
    if (sectionIt == m_sections.constEnd()) {
        if (!m_lines.isEmpty() && !trimBlanks(m_lines.last().text).isEmpty())
            insertLine(m_lines.size(), parseLine(QByteArray(), end));
        insertLine(m_lines.size(), makeSectionLine(section, end));
        insertLine(m_lines.size(), makeKeyLine(key, value, end));
        rebuildIndex();
        return;
    }
    const auto keyIt = sectionIt->keys.constFind(fold(key));
    if (keyIt != sectionIt->keys.constEnd()) {
        Line &line = m_lines[*keyIt];
        // The key keeps its bytes as written in the file.
        const QByteArray trimmed = trimBlanks(line.text);
        const QByteArray keyBytes = trimBlanks(trimmed.left(trimmed.indexOf('=')));
        line = parseLine(keyBytes + '=' + value.toUtf8(), line.end);
        return;
    }
    const int after = sectionIt->lastKeyLine >= 0 ? sectionIt->lastKeyLine : sectionIt->headerLine;
    insertLine(after + 1, makeKeyLine(key, value, end));
    rebuildIndex();
}

void CProfileIni::deleteKeyLocked(const QString &section, const QString &key)
{
    const auto sectionIt = m_sections.constFind(fold(section));
    if (sectionIt == m_sections.constEnd())
        return;
    const QString folded = fold(key);
    // Every occurrence inside the section goes, so a repeated key cannot
    // reappear once the first one is deleted.
    for (int i = sectionIt->lastKeyLine; i > sectionIt->headerLine; --i) {
        if (m_lines.at(i).kind == LineKind::Key && fold(m_lines.at(i).name) == folded)
            m_lines.removeAt(i);
    }
    rebuildIndex();
}

void CProfileIni::deleteSectionLocked(const QString &section)
{
    const QString folded = fold(section);
    // Every section of that name goes, with the lines up to the next section.
    int i = 0;
    while (i < m_lines.size()) {
        if (m_lines.at(i).kind == LineKind::Section && fold(m_lines.at(i).name) == folded) {
            int end = i + 1;
            while (end < m_lines.size() && m_lines.at(end).kind != LineKind::Section)
                ++end;
            m_lines.remove(i, end - i);
        } else {
            ++i;
        }
    }
    rebuildIndex();
}

void CProfileIni::insertLine(int position, const Line &line)
{
    // The line before gets a whole line end if it had none (the last line).
    if (position > 0) {
        QByteArray &end = m_lines[position - 1].end;
        if (end.isEmpty())
            end = line.end;
        else if (end == "\r")
            end = "\r\n";
    }
    m_lines.insert(position, line);
}

QByteArray CProfileIni::serialize() const
{
    QByteArray bytes = m_hasBom ? kBom : QByteArray();
    for (const Line &line : m_lines)
        bytes += line.text + line.end;
    return bytes;
}

bool CProfileIni::saveLocked()
{
    if (!WriteFileAtomically(m_fileName, serialize()))
        return false;
    m_stamp = stampOfFile();
    return true;
}
