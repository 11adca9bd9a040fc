#include "model/layout_template_store.h"

#include "core/path_utils.h"

#include <QFileInfo>

namespace {

bool readRectField(WinRect &rect, QStringView name, const QString &text)
{
    qint32 *fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    const char16_t *names[] = {u"Left", u"Top", u"Right", u"Bottom"};
    for (int i = 0; i < 4; ++i) {
        if (name == names[i])
            return ParseInt32(text, INT32_MIN, INT32_MAX, *fields[i]);
    }
    return true;
}

} // namespace

CLayoutTemplateStore::CLayoutTemplateStore()
    : CRecordListXml(QStringLiteral("LayoutTemplateList"), QStringLiteral("Layout"))
{
}

int CLayoutTemplateStore::find(int number, int displayMode) const
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].Number == number && m_records[i].DisplayMode == displayMode)
            return int(i);
    }
    return -1;
}

void CLayoutTemplateStore::SetLayout(int number, int displayMode, const Areas &areas)
{
    LayoutTemplate layout;
    layout.Number = number;
    layout.DisplayMode = displayMode;
    layout.AreaList = areas;
    const int position = find(number, displayMode);
    if (position >= 0)
        SetAt(position, layout);
    else
        Add(layout);
}

bool CLayoutTemplateStore::Lookup(int number, int displayMode, Areas &areas) const
{
    const int position = find(number, displayMode);
    if (position < 0)
        return false;
    areas = m_records[size_t(position)].AreaList;
    return true;
}

CLayoutTemplateStore::Areas CLayoutTemplateStore::DefaultAreas(qint32 width, qint32 height)
{
    // Bands of a ninth of the height at the bottom (telops) and at the top,
    // and windows of a third of the screen each way between them.
    const qint32 band = height / 9;
    const qint32 windowWidth = width / 3;
    const qint32 windowHeight = height / 3;
    const auto area = [](qint32 left, qint32 top, qint32 right, qint32 bottom) {
        return LayoutArea{true, WinRect{left, top, right, bottom}};
    };
    return {
        area(0, 0, width, height),
        area(0, height - band, width, height),
        area(0, 0, width, band),
        area(width - windowWidth, band, width, band + windowHeight),
        area(0, band, windowWidth, band + windowHeight),
        area(width - windowWidth, height - band - windowHeight, width, height - band),
    };
}

bool CLayoutTemplateStore::LoadFrom(const QString &templateFolder)
{
    const QString path = JoinPath(templateFolder, QLatin1String(kFileName));
    if (!QFileInfo::exists(path)) {
        RemoveAll();
        return true;
    }
    return Load(path);
}

bool CLayoutTemplateStore::SaveTo(const QString &templateFolder)
{
    return CXmlDocument::Save(JoinPath(templateFolder, QLatin1String(kFileName)));
}

bool CLayoutTemplateStore::readField(LayoutTemplate &layout, QStringView name, const QString &text)
{
    if (name == u"No")
        return ParseInt32(text, 0, INT32_MAX, layout.Number);
    if (name == u"Mode")
        return ParseInt32(text, 0, INT32_MAX, layout.DisplayMode);
    if (!name.startsWith(u"Area/"))
        return true;
    const QStringView field = name.mid(5);
    // "Use" opens each area; a seventh area refuses the file.
    if (field == u"Use") {
        if (layout.areasRead >= kAreaCount)
            return false;
        ++layout.areasRead;
        qint32 use = 0;
        if (!ParseInt32(text, 0, 1, use))
            return false;
        layout.AreaList[size_t(layout.areasRead - 1)].use = use != 0;
        return true;
    }
    if (layout.areasRead == 0)
        return false;
    return readRectField(layout.AreaList[size_t(layout.areasRead - 1)].rect, field, text);
}

void CLayoutTemplateStore::writeFields(const LayoutTemplate &layout)
{
    WriteElementInt(QStringLiteral("No"), layout.Number);
    WriteElementInt(QStringLiteral("Mode"), layout.DisplayMode);
    for (const LayoutArea &area : layout.AreaList) {
        StartElement(QStringLiteral("Area"));
        WriteElementInt(QStringLiteral("Use"), area.use ? 1 : 0);
        WriteElementInt(QStringLiteral("Left"), area.rect.left);
        WriteElementInt(QStringLiteral("Top"), area.rect.top);
        WriteElementInt(QStringLiteral("Right"), area.rect.right);
        WriteElementInt(QStringLiteral("Bottom"), area.rect.bottom);
        EndElement(QStringLiteral("Area"));
    }
}
