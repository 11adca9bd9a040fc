#include "player/r40_request.h"

#include "core/last_error.h"
#include "core/xml_text.h"

#include <QStringList>
#include <QUrl>
#include <QXmlStreamReader>

CR40Request::CR40Request(const QString &command)
    : m_command(command)
{
}

CR40Request::~CR40Request() = default;

std::unique_ptr<CR40Request> CR40Request::Clone() const
{
    return std::unique_ptr<CR40Request>(new CR40Request(*this));
}

QString CR40Request::GetQueryString() const
{
    QString query = QStringLiteral("cmd=") + QString::fromLatin1(QUrl::toPercentEncoding(m_command));
    for (const auto &parameter : m_parameters) {
        query += QLatin1Char('&') + QString::fromLatin1(QUrl::toPercentEncoding(parameter.first))
            + QLatin1Char('=') + QString::fromLatin1(QUrl::toPercentEncoding(parameter.second));
    }
    return query;
}

QString CR40Request::GetSerialText() const
{
    QString text = m_command;
    for (const auto &parameter : m_parameters)
        text += QLatin1Char(' ') + parameter.first + QLatin1Char('=') + parameter.second;
    return text;
}

QString CR40Request::GetParameter(const QString &name) const
{
    for (const auto &parameter : m_parameters) {
        if (parameter.first == name)
            return parameter.second;
    }
    return QString();
}

bool CR40Request::GetErrorCode(int &code) const
{
    if (m_status != R40_REPLY_SERR)
        return false;
    code = m_code;
    return true;
}

bool CR40Request::IsSafeToRepeat() const
{
    static const QStringList queries{QStringLiteral("SYST"), QStringLiteral("FINF"), QStringLiteral("DRST"),
                                     QStringLiteral("CLST"), QStringLiteral("STBL"), QStringLiteral("NLOG")};
    return queries.contains(m_command);
}

void CR40Request::ResetReply()
{
    m_status = R40_REPLY_NONE;
    m_code = 0;
    m_description.clear();
    m_result.clear();
    m_downloadedFile.clear();
    if (m_error == R40_ERROR_ANALYZE)
        m_error = 0;
    ClearReplyData();
}

bool CR40Request::AnalyzeReply(const QByteArray &document)
{
    ResetReply();
    // A hostile reply (a DTD, an element of many attributes) is refused in one
    // linear pass before the reader, whose cost grows with the square of an
    // element's attributes, sees it.
    if (document.size() > kMaxReplyDocumentSize || !XmlDataWithinBounds(document)) {
        SetAnalyzeError();
        return false;
    }
    QXmlStreamReader reader(document);
    if (!readStatusDocument(reader) || reader.hasError()) {
        SetAnalyzeError();
        return false;
    }
    return true;
}

void CR40Request::SetDownloadedFile(const QString &path)
{
    ResetReply();
    m_downloadedFile = path;
    m_status = R40_REPLY_PASS;
}

void CR40Request::SetAnalyzeError()
{
    ResetReply();
    m_error = R40_ERROR_ANALYZE;
}

void CR40Request::BeginRequest(const QString &command)
{
    m_command = command;
    m_parameters.clear();
    m_localPath.clear();
    m_localIsFolder = false;
    m_error = 0;
    ResetReply();
}

void CR40Request::AddParameter(const QString &name, const QString &value)
{
    m_parameters.append(qMakePair(name, value));
}

void CR40Request::AddParameter(const QString &name, qint64 value)
{
    AddParameter(name, QString::number(value));
}

void CR40Request::SetDownloadTarget(const QString &localPath, bool isFolder)
{
    m_localPath = localPath;
    m_localIsFolder = isFolder;
}

bool CR40Request::FailRequest()
{
    m_error = ERROR_INVALID_PARAMETER;
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

bool CR40Request::ReadReplyElement(QXmlStreamReader &reader)
{
    reader.skipCurrentElement();
    return true;
}

QString CR40Request::ReadElementText(QXmlStreamReader &reader)
{
    return reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
}

// The status document: a root "response" whose children carry "status"
// ("PASS" or "SERR"), "code", "description", "result" and the fields of the
// command. An SERR reply must carry a numeric code.
bool CR40Request::readStatusDocument(QXmlStreamReader &reader)
{
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("response"))
        return false;
    QString status;
    QString codeText;
    while (reader.readNextStartElement()) {
        const auto name = reader.name();
        if (name == QLatin1String("status"))
            status = ReadElementText(reader);
        else if (name == QLatin1String("code"))
            codeText = ReadElementText(reader);
        else if (name == QLatin1String("description"))
            m_description = ReadElementText(reader);
        else if (name == QLatin1String("result"))
            m_result = ReadElementText(reader);
        else if (!ReadReplyElement(reader))
            return false;
    }
    if (reader.hasError())
        return false;
    bool codeOk = false;
    const int code = codeText.toInt(&codeOk);
    if (status.compare(QLatin1String("PASS"), Qt::CaseInsensitive) == 0) {
        m_status = R40_REPLY_PASS;
        m_code = codeOk ? code : 0;
        return true;
    }
    if (status.compare(QLatin1String("SERR"), Qt::CaseInsensitive) == 0 && codeOk) {
        m_status = R40_REPLY_SERR;
        m_code = code;
        return true;
    }
    return false;
}
