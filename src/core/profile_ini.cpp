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

QByteArrayView trimBlanks(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

// A line's text without its line end.
QByteArrayView textOf(const QByteArray &line)
{
    QByteArrayView text(line);
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.endsWith('\r'))
        text.chop(1);
    return text;
}

// Blocks of more lines than this index their keys; smaller ones are searched.
constexpr qsizetype kIndexedBlockLines = 16;

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
    m_setAside = false;
    readLocked();
}

QString CProfileIni::GetFileName() const
{
    std::lock_guard lock(m_mutex);
    return m_fileName;
}

void CProfileIni::SetFileAccess(FileAccess access)
{
    std::lock_guard lock(m_mutex);
    m_access = access;
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

bool CProfileIni::IsDamaged() const
{
    std::lock_guard lock(m_mutex);
    refreshLocked();
    return m_setAside || m_readFailed || m_notIni;
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
    // A damaged file is never written into, nor replaced by the few keys
    // written now: it is set aside and the write starts a fresh file.
    if (m_readFailed || m_notIni) {
        if (!SetDamagedFileAside(m_fileName))
            return false;
        m_setAside = true;
        readLocked();
    }
    const QByteArray before = serialize();
    for (const ProfileChange &change : changes)
        applyLocked(change);
    if (serialize() == before)
        return true;
    if (saveLocked())
        return true;
    parseBytes(before);
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

QString CProfileIni::fold(QByteArrayView name)
{
    return QString::fromUtf8(name).toCaseFolded();
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

CProfileIni::LineInfo CProfileIni::parseLine(const QByteArray &line)
{
    LineInfo info;
    const QByteArrayView trimmed = trimBlanks(textOf(line));
    if (trimmed.startsWith(';')) {
        info.kind = LineKind::Comment;
    } else if (const qsizetype close = trimmed.lastIndexOf(']'); trimmed.startsWith('[') && close > 0) {
        info.kind = LineKind::Section;
        info.name = trimBlanks(trimmed.sliced(1, close - 1));
    } else if (const qsizetype eq = trimmed.indexOf('='); eq > 0) {
        info.kind = LineKind::Key;
        info.name = trimBlanks(trimmed.first(eq));
        info.value = trimBlanks(trimmed.sliced(eq + 1));
    }
    return info;
}

QByteArray CProfileIni::lineEndOf(const QByteArray &line)
{
    if (line.endsWith("\r\n"))
        return QByteArray("\r\n");
    if (line.endsWith('\n'))
        return QByteArray("\n");
    return line.endsWith('\r') ? QByteArray("\r") : QByteArray();
}

void CProfileIni::indexKeys(Block &block)
{
    block.keys.reset();
    if (block.lines.size() <= kIndexedBlockLines)
        return;
    block.keys = std::make_unique<QHash<QString, int>>();
    for (int i = 0; i <= block.lastKeyLine; ++i) {
        const LineInfo info = parseLine(block.lines.at(i));
        if (info.kind != LineKind::Key)
            continue;
        const QString name = fold(info.name);
        if (!block.keys->contains(name)) // the first of a repeated key counts
            block.keys->insert(name, i);
    }
}

int CProfileIni::findKeyLine(const Block &block, const QString &foldedKey)
{
    if (block.keys)
        return block.keys->value(foldedKey, -1);
    for (int i = 0; i <= block.lastKeyLine; ++i) {
        const LineInfo info = parseLine(block.lines.at(i));
        if (info.kind == LineKind::Key && fold(info.name) == foldedKey)
            return i;
    }
    return -1;
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
    m_blocks.clear();
    m_blocks.emplace_back(); // the lines before the first section
    m_hasBom = bytes.startsWith(kBom);
    const qsizetype bodyStart = m_hasBom ? kBom.size() : 0;
    qsizetype start = bodyStart;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        // A last line without a line end keeps its bytes as they are.
        const qsizetype end = newline < 0 ? bytes.size() : newline + 1;
        const QByteArray line = bytes.sliced(start, end - start);
        start = end;
        const LineKind kind = parseLine(line).kind;
        if (kind == LineKind::Section)
            m_blocks.emplace_back();
        Block &block = m_blocks.back();
        if (kind == LineKind::Key && m_blocks.size() > 1)
            block.lastKeyLine = int(block.lines.size());
        block.lines.append(line);
    }
    for (Block &block : m_blocks)
        indexKeys(block);
    rebuildSectionIndex();
    const auto saysSomething = [](const QByteArray &line) {
        const LineInfo info = parseLine(line);
        return info.kind != LineKind::Comment && !trimBlanks(textOf(line)).isEmpty();
    };
    const QList<QByteArray> &lead = m_blocks.front().lines;
    m_notIni = bytes.contains('\0')
        || (m_blocks.size() == 1 && std::any_of(lead.begin(), lead.end(), saysSomething));
    // Nothing of a damaged file is used: the start says so, so not even the
    // sections it seems to hold (a start-up password among them) may count.
    if (m_notIni) {
        m_blocks.clear();
        m_blocks.emplace_back();
        rebuildSectionIndex();
    }
}

void CProfileIni::rebuildSectionIndex() const
{
    m_sections.clear();
    m_sections.reserve(qsizetype(m_blocks.size()));
    for (int i = 1; i < int(m_blocks.size()); ++i) {
        // A repeated section is ignored: its keys stay invisible.
        const qsizetype count = m_sections.size();
        int &block = m_sections[fold(parseLine(m_blocks[size_t(i)].lines.first()).name)];
        if (m_sections.size() != count)
            block = i;
    }
}

const CProfileIni::Block *CProfileIni::findBlock(const QString &section) const
{
    const int index = m_sections.value(fold(section), -1);
    return index < 0 ? nullptr : &m_blocks[size_t(index)];
}

std::optional<QByteArray> CProfileIni::valueLocked(const QString &section, const QString &key) const
{
    const Block *block = findBlock(section);
    if (!block)
        return std::nullopt;
    const int line = findKeyLine(*block, fold(key));
    if (line < 0)
        return std::nullopt;
    return parseLine(block->lines.at(line)).value.toByteArray();
}

QByteArray CProfileIni::newLineEnd() const
{
    for (const Block &block : m_blocks) {
        for (const QByteArray &line : block.lines) {
            if (line.endsWith('\n'))
                return lineEndOf(line);
        }
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
    const QByteArray keyLine = key.trimmed().toUtf8() + '=' + value.toUtf8();
    const int blockIndex = m_sections.value(fold(section), -1);
    if (blockIndex < 0) {
        appendSection(section, keyLine, end);
        return;
    }
    Block &block = m_blocks[size_t(blockIndex)];
    const QString folded = fold(key);
    const int line = findKeyLine(block, folded);
    if (line >= 0) {
        // The key keeps its bytes as written in the file.
        QByteArray &text = block.lines[line];
        const QByteArrayView trimmed = trimBlanks(textOf(text));
        const QByteArray keyBytes = trimBlanks(trimmed.first(trimmed.indexOf('='))).toByteArray();
        text = keyBytes + '=' + value.toUtf8() + lineEndOf(text);
        return;
    }
    // Only lines without keys follow the last key, so no key moves.
    const int position = (block.lastKeyLine >= 0 ? block.lastKeyLine : 0) + 1;
    insertLine(block, position, keyLine + end);
    block.lastKeyLine = position;
    if (block.keys)
        block.keys->insert(folded, position);
    else if (block.lines.size() > kIndexedBlockLines)
        indexKeys(block);
}

void CProfileIni::appendSection(const QString &section, const QByteArray &keyLine, const QByteArray &end)
{
    auto last = std::find_if(m_blocks.rbegin(), m_blocks.rend(), [](const Block &block) { return !block.lines.isEmpty(); });
    if (last != m_blocks.rend()) {
        // The file's last line gets a whole line end, then a blank line
        // parts it from the new section.
        QByteArray &tail = last->lines.last();
        const bool blank = trimBlanks(textOf(tail)).isEmpty();
        if (!tail.endsWith('\n'))
            tail += tail.endsWith('\r') ? QByteArray("\n") : end;
        if (!blank)
            last->lines.append(end);
    }
    Block block;
    block.lines.append('[' + section.trimmed().toUtf8() + ']' + end);
    block.lines.append(keyLine + end);
    block.lastKeyLine = 1;
    m_blocks.push_back(std::move(block));
    m_sections.insert(fold(section), int(m_blocks.size()) - 1);
}

void CProfileIni::deleteKeyLocked(const QString &section, const QString &key)
{
    const int blockIndex = m_sections.value(fold(section), -1);
    if (blockIndex < 0)
        return;
    Block &block = m_blocks[size_t(blockIndex)];
    const QString folded = fold(key);
    // Every occurrence inside the section goes, so a repeated key cannot
    // reappear once the first one is deleted.
    for (int i = block.lastKeyLine; i > 0; --i) {
        const LineInfo info = parseLine(block.lines.at(i));
        if (info.kind == LineKind::Key && fold(info.name) == folded)
            block.lines.removeAt(i);
    }
    const int lastKey = std::min(block.lastKeyLine, int(block.lines.size()) - 1);
    block.lastKeyLine = -1;
    for (int i = lastKey; i > 0 && block.lastKeyLine < 0; --i) {
        if (parseLine(block.lines.at(i)).kind == LineKind::Key)
            block.lastKeyLine = i;
    }
    indexKeys(block);
}

void CProfileIni::deleteSectionLocked(const QString &section)
{
    const QString folded = fold(section);
    // Every section of that name goes, with the lines up to the next section.
    const auto named = [&folded](const Block &block) {
        return !block.lines.isEmpty() && parseLine(block.lines.first()).kind == LineKind::Section
            && fold(parseLine(block.lines.first()).name) == folded;
    };
    const auto first = std::remove_if(m_blocks.begin() + 1, m_blocks.end(), named);
    if (first == m_blocks.end())
        return;
    m_blocks.erase(first, m_blocks.end());
    rebuildSectionIndex();
}

void CProfileIni::insertLine(Block &block, int position, const QByteArray &line)
{
    // The line before gets a whole line end if it had none (the last line).
    if (position > 0) {
        QByteArray &before = block.lines[position - 1];
        const QByteArray end = lineEndOf(line);
        if (!before.endsWith('\n'))
            before += before.endsWith('\r') ? QByteArray("\n") : end;
    }
    block.lines.insert(position, line);
}

QByteArray CProfileIni::serialize() const
{
    qsizetype size = m_hasBom ? kBom.size() : 0;
    for (const Block &block : m_blocks) {
        for (const QByteArray &line : block.lines)
            size += line.size();
    }
    QByteArray bytes;
    bytes.reserve(size);
    if (m_hasBom)
        bytes += kBom;
    for (const Block &block : m_blocks) {
        for (const QByteArray &line : block.lines)
            bytes += line;
    }
    return bytes;
}

bool CProfileIni::saveLocked()
{
    if (!WriteFileAtomically(m_fileName, serialize(), FileDurability::Synced, m_access))
        return false;
    m_stamp = stampOfFile();
    return true;
}
