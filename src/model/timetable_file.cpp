#include "model/timetable_file.h"

#include "core/content_id.h"
#include "core/last_error.h"
#include "model/property_base.h"
#include "model/property_fields.h"

#include <QHash>

namespace {

const QString kTimetableVersion = QStringLiteral("2.2");
const QString kItem = QStringLiteral("item");

} // namespace

// What a read has gathered so far; taken over only when the whole file is good.
struct CTimetableFile::Parse {
    bool rootSeen = false;
    bool valid = true;
    qint32 index = -1;
    CTimetableHeader header;
    std::vector<CTimetableItem> items;
    // Text of the leaf elements of the header and of the entry being read, by path.
    QHash<QString, QString> texts;
};

CTimetableFile::CTimetableFile(const QString &rootName, Reference reference, PathMaker makePath)
    : m_rootName(rootName)
    , m_reference(reference)
    , m_makePath(makePath)
{
}

CTimetableFile::~CTimetableFile() = default;

bool CTimetableFile::SetIndex(qint32 index)
{
    if (!IsValidContentId(index))
        return FailWith(ERROR_INVALID_PARAMETER);
    m_index = index;
    return true;
}

bool CTimetableFile::GetItem(int position, CTimetableItem &item) const
{
    if (position < 0 || position >= GetItemCount())
        return FailWith(ERROR_INVALID_PARAMETER);
    item = m_items[size_t(position)];
    return true;
}

bool CTimetableFile::AddItem(const CTimetableItem &item)
{
    if (item.GetIndex() < 0 || !acceptsItem(item))
        return FailWith(ERROR_INVALID_PARAMETER);
    m_items.push_back(item);
    return true;
}

void CTimetableFile::Clear()
{
    m_index = -1;
    clearHeader();
    m_items.clear();
}

bool CTimetableFile::isSequenceReference(const CTimetableItem &item)
{
    int layer = -1;
    return item.GetContentType() == CONTENT_SEQUENCE && SplitContentId(item.GetIndex(), nullptr, &layer, nullptr)
        && layer == item.GetKind();
}

bool CTimetableFile::Load(const QString &path)
{
    m_parse = std::make_unique<Parse>();
    return takeParse(CXmlDocument::Load(path), -1);
}

bool CTimetableFile::LoadData(const QByteArray &data)
{
    m_parse = std::make_unique<Parse>();
    return takeParse(loadFromData(data), -1);
}

bool CTimetableFile::takeParse(bool parsed, qint32 expectedIndex)
{
    const std::unique_ptr<Parse> result = std::move(m_parse);
    if (!parsed)
        return false; // the document layer has set the error
    if (!result->rootSeen || !result->valid || (expectedIndex >= 0 && result->index != expectedIndex))
        return FailWith(ERROR_INVALID_DATA);
    m_index = result->index;
    static_cast<CTimetableHeader &>(*this) = result->header;
    m_items = std::move(result->items);
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool CTimetableFile::Save(const QString &path)
{
    if (m_index < 0)
        return FailWith(ERROR_INVALID_PARAMETER);
    return CXmlDocument::Save(path);
}

bool CTimetableFile::MakePath(const QString &folder, qint32 number, QString &path) const
{
    return m_makePath(folder, number, path);
}

bool CTimetableFile::LoadFrom(const QString &folder, qint32 number)
{
    QString path;
    if (!MakePath(folder, number, path))
        return false;
    m_parse = std::make_unique<Parse>();
    return takeParse(CXmlDocument::Load(path), number);
}

bool CTimetableFile::SaveTo(const QString &folder)
{
    QString path;
    if (!MakePath(folder, m_index, path))
        return false;
    return Save(path);
}

void CTimetableFile::OnStartElement(const QString &path, const QStringList &attrNames, const QStringList &attrValues)
{
    Parse &parse = *m_parse;
    const QString root = u'/' + m_rootName;
    if (!parse.rootSeen) {
        parse.rootSeen = true;
        const QString version = attrValues.value(int(attrNames.indexOf(QStringLiteral("ver"))));
        const QString index = attrValues.value(int(attrNames.indexOf(QStringLiteral("index"))));
        parse.valid = path == root && version == kTimetableVersion && ParseIndexField(index, parse.index);
        return;
    }
    // Every element below the root starts with no text; unknown ones are
    // gathered too and simply never asked for.
    parse.texts.insert(path, QString());
}

void CTimetableFile::OnCharacters(const QString &path, const QString &text)
{
    if (m_parse->texts.contains(path))
        m_parse->texts[path] += text;
}

void CTimetableFile::OnEndElement(const QString &path)
{
    Parse &parse = *m_parse;
    if (!parse.valid)
        return;
    const QString root = u'/' + m_rootName;
    const QString itemPath = root + u'/' + kItem;
    if (path == itemPath) {
        CTimetableItem item;
        parse.valid = readItem(itemPath, item);
        if (parse.valid)
            parse.items.push_back(item);
        // The next entry starts with none of this one's fields.
        for (auto it = parse.texts.begin(); it != parse.texts.end();)
            it = it.key().startsWith(itemPath + u'/') ? parse.texts.erase(it) : std::next(it);
    } else if (path == root) {
        parse.valid = readHeader();
    }
}

bool CTimetableFile::readHeader()
{
    Parse &parse = *m_parse;
    const QString root = u'/' + m_rootName;
    if (!parse.header.SetTitle(parse.texts.value(root + QStringLiteral("/title")))
        || !parse.header.SetInfo(parse.texts.value(root + QStringLiteral("/info"))))
        return false;
    const QString dateKey = root + QStringLiteral("/deldate");
    if (!parse.texts.contains(dateKey))
        return true;
    DateValue date;
    return ParseDateField(parse.texts.value(dateKey), date) && date.month != 0 && parse.header.SetDeleteDate(date);
}

bool CTimetableFile::readItem(const QString &itemPath, CTimetableItem &item) const
{
    const QHash<QString, QString> &texts = m_parse->texts;
    const QString prefix = itemPath + u'/';
    auto field = [&](const char *name) { return texts.value(prefix + QLatin1StringView(name)); };
    auto has = [&](const char *name) { return texts.contains(prefix + QLatin1StringView(name)); };
    auto number = [&](const char *name, qint64 minimum, qint64 maximum, qint64 &value) {
        return has(name) && ParseIntField(field(name), minimum, maximum, value);
    };

    qint64 contentType = 0;
    TimeValue start;
    TimeValue end;
    if (!number("ctype", 0, 99, contentType) || !ParseTimeField(field("stime"), start)
        || !ParseTimeField(field("etime"), end))
        return false;

    if (m_reference == Reference::ByTable) {
        qint64 kind = 0;
        const qint32 index = CTimetableItem::ParseTableName(field("table"), int(contentType));
        return index >= 0 && number("kind", 0, 99, kind)
            && item.Set(index, start, end, int(contentType), int(kind)) && acceptsItem(item);
    }

    qint32 index = 0;
    qint64 rect[4] = {};
    const char *rectNames[] = {"x", "y", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        if (!number(rectNames[i], INT32_MIN, INT32_MAX, rect[i]))
            return false;
    }
    return ParseIndexField(field("index"), index) && item.Set(index, start, end, int(contentType), 0)
        && item.SetRect(qint32(rect[0]), qint32(rect[1]), qint32(rect[2]), qint32(rect[3])) && acceptsItem(item);
}

bool CTimetableFile::WriteContents()
{
    StartElement(m_rootName, {QStringLiteral("ver"), QStringLiteral("index")}, {kTimetableVersion, IndexFieldText(m_index)});
    WriteElement(QStringLiteral("title"), GetTitle());
    WriteElement(QStringLiteral("info"), GetInfo());
    if (GetDeleteDate().month != 0)
        WriteElement(QStringLiteral("deldate"), DateFieldText(GetDeleteDate()));
    for (const CTimetableItem &item : m_items)
        writeItem(item);
    EndElement(m_rootName);
    return true;
}

void CTimetableFile::writeItem(const CTimetableItem &item)
{
    StartElement(kItem);
    if (m_reference == Reference::ByTable) {
        WriteElement(QStringLiteral("table"), item.GetTableName());
        WriteElementInt(QStringLiteral("ctype"), item.GetContentType());
        WriteElementInt(QStringLiteral("kind"), item.GetKind());
    } else {
        WriteElement(QStringLiteral("index"), IndexFieldText(item.GetIndex()));
        WriteElementInt(QStringLiteral("ctype"), item.GetContentType());
    }
    WriteElement(QStringLiteral("stime"), TimeFieldText(item.GetStartTime()));
    WriteElement(QStringLiteral("etime"), TimeFieldText(item.GetEndTime()));
    if (m_reference == Reference::ByContent) {
        WriteElementInt(QStringLiteral("x"), item.GetX());
        WriteElementInt(QStringLiteral("y"), item.GetY());
        WriteElementInt(QStringLiteral("width"), item.GetWidth());
        WriteElementInt(QStringLiteral("height"), item.GetHeight());
    }
    EndElement(kItem);
}
