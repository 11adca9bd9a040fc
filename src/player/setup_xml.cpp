#include "player/setup_xml.h"

#include "core/atomic_file.h"
#include "core/data_folders.h"
#include "core/format_utils.h"
#include "core/last_error.h"
#include "core/xml_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

constexpr char kRoot[] = "setup";

bool isElementName(const QString &name)
{
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == QLatin1Char('_')) || name[0].unicode() > 0x7F)
        return false;
    for (const QChar c : name) {
        const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') || c == QLatin1Char('-');
        if (!ok)
            return false;
    }
    return true;
}

QString setupFolder(const QString &baseFolder, int setupNumber)
{
    if (baseFolder.isEmpty() || setupNumber < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return QString();
    }
    return DataFolderOf(baseFolder) + QStringLiteral("/Setup/") + QString::number(setupNumber);
}

QString inSetupFolder(const QString &baseFolder, int setupNumber, const QString &name)
{
    const QString folder = setupFolder(baseFolder, setupNumber);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

} // namespace

QString SetupData::Value(const QString &section, const QString &name) const
{
    for (const Section &entry : m_sections) {
        if (entry.name != section)
            continue;
        for (const auto &value : entry.values) {
            if (value.first == name)
                return value.second;
        }
    }
    return QString();
}

bool SetupData::SetValue(const QString &section, const QString &name, const QString &value)
{
    if (!isElementName(section) || !isElementName(name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    auto found = std::find_if(m_sections.begin(), m_sections.end(), [&](const Section &entry) { return entry.name == section; });
    if (found == m_sections.end()) {
        m_sections.append(Section {section, {}});
        found = m_sections.end() - 1;
    }
    for (auto &entry : found->values) {
        if (entry.first == name) {
            entry.second = value;
            return true;
        }
    }
    found->values.append(qMakePair(name, value));
    return true;
}

void SetupData::MergeFrom(const SetupData &other)
{
    for (const Section &section : other.m_sections) {
        for (const auto &value : section.values)
            SetValue(section.name, value.first, value.second);
    }
}

bool CSetupXml::Load(const QString &path)
{
    m_data = SetupData();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SetLastError(QFileInfo(path).absoluteDir().exists() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return false;
    }
    // A file beyond any the program writes, or with a DTD or an element of
    // many attributes, is damaged and never reaches the reader.
    const QByteArray bytes = file.size() <= kDataXmlMaxBytes ? file.readAll() : QByteArray();
    if (bytes.isEmpty() || !XmlDataWithinBounds(bytes)) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    QXmlStreamReader reader(bytes);
    SetupData data;
    bool valid = reader.readNextStartElement() && reader.name() == QLatin1String(kRoot);
    while (valid && reader.readNextStartElement()) {
        const QString section = reader.name().toString();
        while (reader.readNextStartElement()) {
            const QString name = reader.name().toString();
            data.SetValue(section, name, reader.readElementText(QXmlStreamReader::SkipChildElements));
        }
    }
    if (!valid || reader.hasError()) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    m_data = data;
    return true;
}

QByteArray CSetupXml::document(const SystemTime *time) const
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(-1);
    writer.writeStartDocument(QStringLiteral("1.0"));
    writer.writeStartElement(QLatin1String(kRoot));
    writer.writeAttribute(QStringLiteral("ver"), QStringLiteral("1.0"));
    if (time) {
        writer.writeAttribute(QStringLiteral("date"),
            FormatDateText(time->year, time->month, time->day));
        writer.writeAttribute(QStringLiteral("time"),
            QString::asprintf("%02d:%02d:%02d", time->hour, time->minute, time->second));
    }
    for (const SetupData::Section &section : m_data.Sections()) {
        writer.writeStartElement(section.name);
        for (const auto &value : section.values)
            writer.writeTextElement(value.first, value.second);
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return bytes;
}

bool CSetupXml::Save(const QString &path) const
{
    return WriteFileAtomically(path, document(nullptr), FileDurability::Synced, FileAccess::OwnerOnly);
}

bool CSetupXml::SaveForSend(const QString &path, const SystemTime &time) const
{
    return WriteFileAtomically(path, document(&time), FileDurability::Synced, FileAccess::OwnerOnly);
}

QString MakeSetupFilePath(const QString &baseFolder, int setupNumber)
{
    return inSetupFolder(baseFolder, setupNumber, QLatin1String(kSetupFileName));
}

QString MakeDetailSetupFilePath(const QString &baseFolder, int setupNumber)
{
    return inSetupFolder(baseFolder, setupNumber, QStringLiteral("detail_setup.xml"));
}

QString MakeSetupSendFilePath(const QString &folder)
{
    if (folder.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return QString();
    }
    return folder + u'/' + QLatin1String(kSetupSendFileName);
}

QString MakeSetupFileFolderPath(const QString &baseFolder, int setupNumber)
{
    return inSetupFolder(baseFolder, setupNumber, QStringLiteral("File"));
}

QString MakeSetupNetFilePath(const QString &baseFolder, bool forSend)
{
    if (baseFolder.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return QString();
    }
    return DataFolderOf(baseFolder) + QStringLiteral("/Setup/")
        + QLatin1String(forSend ? kSetupNetSendFileName : kSetupNetFileName);
}
