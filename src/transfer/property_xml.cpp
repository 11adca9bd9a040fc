#include "transfer/property_xml.h"

#include "core/atomic_file.h"
#include "core/content_id.h"
#include "core/format_utils.h"
#include "core/last_error.h"
#include "core/xml_text.h"
#include "model/audio_property.h"
#include "model/control_property.h"
#include "model/flash_property.h"
#include "model/img_property.h"
#include "model/movie_property.h"
#include "model/pin_p_property.h"
#include "model/property_fields.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"

#include <QXmlStreamWriter>

namespace {

// Element writers with the document's text rules: characters XML cannot
// carry are dropped.
void WriteText(QXmlStreamWriter &writer, const QString &name, const QString &text)
{
    writer.writeTextElement(name, RemoveXmlInvalidChars(text));
}

void WriteInt(QXmlStreamWriter &writer, const QString &name, qint64 value)
{
    writer.writeTextElement(name, QString::number(value));
}

void WriteUInt64(QXmlStreamWriter &writer, const QString &name, quint64 value)
{
    writer.writeTextElement(name, QString::number(value));
}


// A deletion date outside the months means "never delete".
QString DeleteDateText(const DateValue &date)
{
    if (date.month == 0 || date.month > 12)
        return FormatDateText(9999, 12, 31);
    return FormatDateText(date.year, date.month, date.day);
}

// The name part of a stored file path, after its last separator.
QString FileNamePart(const QString &path)
{
    const qsizetype separator = qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(separator + 1);
}

QString CommonLink(const CPropertyBase &record, const QString &storedLink)
{
    switch (record.GetContentType()) {
    case CONTENT_CONTROL:
    case CONTENT_PINP:
        return QString();
    case CONTENT_STREAMING:
        return static_cast<const CStreamingProperty &>(record).GetAddress();
    default:
        return storedLink;
    }
}

QString CommonFileName(const CPropertyBase &record)
{
    switch (record.GetContentType()) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_FLASH:
    case CONTENT_AUDIO:
        return FileNamePart(static_cast<const CMediaProperty &>(record).GetLink());
    case CONTENT_TELOP:
        return FormatContentId(record.GetIndex());
    default:
        return QString();
    }
}

void WriteAudioLevel(QXmlStreamWriter &writer, const CMediaProperty &record)
{
    if (record.GetAudioLevelFlag())
        WriteInt(writer, QStringLiteral("audiolevel"), record.GetAudioLevel());
}

void WritePictureSize(QXmlStreamWriter &writer, const CMediaProperty &record)
{
    WriteInt(writer, QStringLiteral("width"), record.GetWidth());
    WriteInt(writer, QStringLiteral("height"), record.GetHeight());
}

void WriteCredentials(QXmlStreamWriter &writer, const QString &user, const QString &password)
{
    if (!user.isEmpty())
        WriteText(writer, QStringLiteral("usr"), user);
    if (!password.isEmpty())
        WriteText(writer, QStringLiteral("pass"), password);
}

// The bytes to send and the answer expected, as hexadecimal text with their
// lengths in bytes.
void WriteHexData(QXmlStreamWriter &writer, const QString &send, const QString &receive)
{
    WriteInt(writer, QStringLiteral("txlen"), send.size() / 2);
    WriteText(writer, QStringLiteral("txd"), send);
    WriteInt(writer, QStringLiteral("rxlen"), receive.size() / 2);
    WriteText(writer, QStringLiteral("rxd"), receive);
}

void WriteEffect(QXmlStreamWriter &writer, int row, int column, const QString &value)
{
    writer.writeStartElement(QStringLiteral("effect"));
    writer.writeAttribute(QStringLiteral("row"), QString::number(row));
    writer.writeAttribute(QStringLiteral("col"), QString::number(column));
    writer.writeCharacters(value);
    writer.writeEndElement();
}

void WriteTelopElements(QXmlStreamWriter &writer, const CTelopProperty &record)
{
    WritePictureSize(writer, record);
    WriteInt(writer, QStringLiteral("lineheight"), record.GetLineHeight());
    quint8 colorFlag = 0;
    ColorRef color = 0;
    record.GetColor(colorFlag, color);
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    const qint32 effect = record.GetEffectType();
    WriteEffect(writer, 1, 1, flag(effect == CTelopProperty::EFFECT_SCROLL));
    WriteEffect(writer, 1, 2, QString::number(record.GetSpeed()));
    WriteEffect(writer, 2, 1, flag(false));
    WriteEffect(writer, 2, 2, flag(false));
    WriteEffect(writer, 2, 3, flag(false));
    WriteEffect(writer, 3, 1, flag(effect == CTelopProperty::EFFECT_BLINK));
    WriteEffect(writer, 4, 1, flag(colorFlag != 0));
    WriteEffect(writer, 4, 2, ColorFieldText(color));
}

void WriteWebElements(QXmlStreamWriter &writer, const CWebProperty &record)
{
    WritePictureSize(writer, record);
    WriteInt(writer, QStringLiteral("xoffset"), record.GetXOffset());
    WriteInt(writer, QStringLiteral("yoffset"), record.GetYOffset());
    WriteCredentials(writer, record.GetUser(), record.GetPassword());
    WriteAudioLevel(writer, record);
    WriteInt(writer, QStringLiteral("xoption"), record.GetOption());
    WriteInt(writer, QStringLiteral("xreload"), record.GetReload());
}

void WriteControlElements(QXmlStreamWriter &writer, const CControlProperty &record)
{
    switch (record.GetCtrlType()) {
    case CControlProperty::CTRL_DISPLAY:
        WriteText(writer, QStringLiteral("filename"), QStringLiteral("DISPLAY"));
        [[fallthrough]];
    case CControlProperty::CTRL_COM:
        WriteHexData(writer, record.GetCtrlParam1(), record.GetCtrlParam2());
        WriteInt(writer, QStringLiteral("port"), record.GetPort());
        break;
    case CControlProperty::CTRL_VOLUME:
        WriteText(writer, QStringLiteral("audiolevel"), record.GetCtrlParam1());
        break;
    case CControlProperty::CTRL_GPIO:
        WriteText(writer, QStringLiteral("pattern"), record.GetCtrlParam1());
        WriteText(writer, QStringLiteral("width"), record.GetCtrlParam2());
        break;
    default:
        break; // a control without a table never gets here
    }
}

void WriteStreamingElements(QXmlStreamWriter &writer, const CStreamingProperty &record)
{
    WriteInt(writer, QStringLiteral("mode"), record.GetMode());
    WriteCredentials(writer, record.GetUser(), record.GetPassword());
    WriteInt(writer, QStringLiteral("port"), record.GetPort());
}

void WritePinPElements(QXmlStreamWriter &writer, const CPinPProperty &record)
{
    WriteText(writer, QStringLiteral("filename"), QStringLiteral("PinP"));
    WriteText(writer, QStringLiteral("link"), record.GetLink());
    WriteHexData(writer, record.GetSendData(), record.GetReceiveData());
}

} // namespace

QString GetPropertyTableName(const CPropertyBase &record)
{
    switch (record.GetContentType()) {
    case CONTENT_MOVIE: return QStringLiteral("MOVIE_TBL");
    case CONTENT_IMAGE: return QStringLiteral("STILL_TBL");
    case CONTENT_TELOP: return QStringLiteral("TEXT_TBL");
    case CONTENT_WEB:
    case CONTENT_FLASH: return QStringLiteral("WEB_TBL");
    case CONTENT_AUDIO: return QStringLiteral("AUDIO_TBL");
    case CONTENT_STREAMING: return QStringLiteral("STREAM_TBL");
    case CONTENT_PINP: return QStringLiteral("EXTSIO_TBL");
    case CONTENT_CONTROL:
        switch (static_cast<const CControlProperty &>(record).GetCtrlType()) {
        case CControlProperty::CTRL_VOLUME: return QStringLiteral("AUDCONT_TBL");
        case CControlProperty::CTRL_GPIO: return QStringLiteral("EXTGPIO_TBL");
        case CControlProperty::CTRL_COM:
        case CControlProperty::CTRL_DISPLAY: return QStringLiteral("EXTSIO_TBL");
        default: return QString();
        }
    default: return QString();
    }
}

CPropertyXml::CPropertyXml() = default;
CPropertyXml::~CPropertyXml() = default;

template <class Record>
bool CPropertyXml::addRow(const Record *record, const QString &link, bool update)
{
    if (!record)
        return fail(ERROR_INVALID_PARAMETER);
    auto copy = std::make_unique<Record>();
    if (!copy->Copy(record))
        return fail(copy->GetLastError());
    m_rows.push_back(Row{std::move(copy), link, update});
    return true;
}

bool CPropertyXml::AddMovie(const CMovieProperty *record, const QString &link, bool update)
{
    return addRow(record, link, update);
}

bool CPropertyXml::AddImage(const CImgProperty *record, const QString &link, bool update)
{
    return addRow(record, link, update);
}

bool CPropertyXml::AddTelop(const CTelopProperty *record, const QString &link, bool update)
{
    return addRow(record, link, update);
}

bool CPropertyXml::AddFlash(const CFlashProperty *record, const QString &link, bool update)
{
    return addRow(record, link, update);
}

bool CPropertyXml::AddAudio(const CAudioProperty *record, const QString &link, bool update)
{
    return addRow(record, link, update);
}

bool CPropertyXml::AddWeb(const CWebProperty *record, const QString &link, bool update)
{
    if (!record)
        return fail(ERROR_INVALID_PARAMETER);
    return addRow(record, link.isEmpty() ? record->GetUrl() : link, update);
}

bool CPropertyXml::AddControl(const CControlProperty *record, bool update)
{
    return addRow(record, QString(), update);
}

bool CPropertyXml::AddPinP(const CPinPProperty *record, bool update)
{
    return addRow(record, QString(), update);
}

bool CPropertyXml::AddStreaming(const CStreamingProperty *record, bool update)
{
    return addRow(record, QString(), update);
}

bool CPropertyXml::Save(const QString &path, const SystemTime &fileTime, qint32 signal)
{
    if (path.isEmpty())
        return fail(ERROR_INVALID_PARAMETER);
    m_fileTime = fileTime;
    m_signal = signal;
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(-1); // one tab per level
    writer.writeStartDocument(QStringLiteral("1.0"));
    if (!WriteContents(writer))
        return fail(ERROR_INVALID_DATA);
    writer.writeEndDocument();
    if (writer.hasError())
        return fail(ERROR_INVALID_DATA);
    // Made afresh for each send and uploaded at once: never half-written, but
    // not worth a flush to the disk.
    if (!WriteFileAtomically(path, bytes, FileDurability::Unsynced, FileAccess::OwnerOnly))
        return fail(::GetLastError());
    clearLastError();
    return true;
}

// A row without a table stops the writing: the player would refuse the whole
// file, so none of it is written.
bool CPropertyXml::WriteContents(QXmlStreamWriter &writer) const
{
    writer.writeStartElement(QStringLiteral("content"));
    writer.writeAttribute(QStringLiteral("ver"), QStringLiteral("1.0"));
    writer.writeAttribute(QStringLiteral("date"), FormatDateText(m_fileTime.year, m_fileTime.month, m_fileTime.day));
    writer.writeAttribute(QStringLiteral("time"),
                          FormatTimeText(TimeValue{m_fileTime.hour, m_fileTime.minute, m_fileTime.second, 0}, false));
    for (const Row &row : m_rows) {
        if (GetPropertyTableName(*row.record).isEmpty())
            return false;
        writeRow(writer, row);
    }
    writer.writeEndElement();
    return true;
}

void CPropertyXml::writeRow(QXmlStreamWriter &writer, const Row &row) const
{
    const CPropertyBase &record = *row.record;
    const QString table = GetPropertyTableName(record);
    const QString index = FormatContentId(record.GetIndex());
    if (row.update) {
        writer.writeStartElement(QStringLiteral("update"));
        writer.writeAttribute(QStringLiteral("table"), table);
        writer.writeAttribute(QStringLiteral("index"), index);
    } else {
        writer.writeStartElement(QStringLiteral("delete"));
        writer.writeAttribute(QStringLiteral("table"), table);
        WriteText(writer, QStringLiteral("index"), index);
        writer.writeEndElement();
        writer.writeStartElement(QStringLiteral("insert"));
        writer.writeAttribute(QStringLiteral("table"), table);
    }

    WriteText(writer, QStringLiteral("index"), index);
    WriteText(writer, QStringLiteral("cdate"), FormatDateTimeText(record.GetCreateDate()));
    if (record.GetDDate().month != 0)
        WriteText(writer, QStringLiteral("ddate"), FormatDateTimeText(record.GetDDate()));
    WriteText(writer, QStringLiteral("title"), record.GetTitle());
    WriteUInt64(writer, QStringLiteral("size"), record.GetSize());
    WriteText(writer, QStringLiteral("deldate"), DeleteDateText(record.GetDeleteDate()));
    WriteText(writer, QStringLiteral("link"), CommonLink(record, row.link));
    WriteText(writer, QStringLiteral("info"), record.GetInfo());
    WriteText(writer, QStringLiteral("change"), QStringLiteral("01"));
    const QString fileName = CommonFileName(record);
    if (!fileName.isEmpty())
        WriteText(writer, QStringLiteral("filename"), fileName);
    writeTypeElements(writer, record);
    writer.writeEndElement();
}

void CPropertyXml::writeTypeElements(QXmlStreamWriter &writer, const CPropertyBase &record) const
{
    switch (record.GetContentType()) {
    case CONTENT_MOVIE: {
        const auto &movie = static_cast<const CMovieProperty &>(record);
        WritePictureSize(writer, movie);
        WriteUInt64(writer, QStringLiteral("duration"), movie.GetDuration());
        WriteInt(writer, QStringLiteral("signal"), m_signal);
        WriteAudioLevel(writer, movie);
        break;
    }
    case CONTENT_IMAGE:
        WritePictureSize(writer, static_cast<const CImgProperty &>(record));
        WriteText(writer, QStringLiteral("type"), QStringLiteral("03"));
        break;
    case CONTENT_TELOP:
        WriteTelopElements(writer, static_cast<const CTelopProperty &>(record));
        break;
    case CONTENT_WEB:
        WriteWebElements(writer, static_cast<const CWebProperty &>(record));
        break;
    case CONTENT_FLASH: {
        const auto &flash = static_cast<const CFlashProperty &>(record);
        WritePictureSize(writer, flash);
        WriteUInt64(writer, QStringLiteral("duration"), flash.GetDuration());
        WriteAudioLevel(writer, flash);
        WriteInt(writer, QStringLiteral("xoption"), 1);
        WriteInt(writer, QStringLiteral("xreload"), 0);
        break;
    }
    case CONTENT_AUDIO: {
        const auto &audio = static_cast<const CAudioProperty &>(record);
        WriteUInt64(writer, QStringLiteral("duration"), audio.GetDuration());
        WriteAudioLevel(writer, audio);
        break;
    }
    case CONTENT_CONTROL:
        WriteControlElements(writer, static_cast<const CControlProperty &>(record));
        break;
    case CONTENT_STREAMING:
        WriteStreamingElements(writer, static_cast<const CStreamingProperty &>(record));
        break;
    case CONTENT_PINP:
        WritePinPElements(writer, static_cast<const CPinPProperty &>(record));
        break;
    default:
        break;
    }
}
