#include "player/r40_http.h"
#include "core/atomic_file.h"

#include "core/last_error.h"
#include "core/syslog.h"
#include "player/r40_request.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <curl/curl.h>

#include <cerrno>
#include <algorithm>
#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr long kMinUploadBuffer = 16 * 1024;
constexpr long kMaxUploadBuffer = 2 * 1024 * 1024; // the largest upload buffer libcurl takes
constexpr int kMaxPollMs = 1000;

CURL *easyOf(void *handle) { return static_cast<CURL *>(handle); }
CURLM *multiOf(void *handle) { return static_cast<CURLM *>(handle); }

bool isTimeoutValid(quint32 value) { return value <= kR40MaxTimeoutMs; }
bool isBufferSizeValid(quint32 value) { return value >= 1 && value <= kR40MaxBufferKiB; }

// Letters, digits, ".", "-" and "_" only: a host name or dotted address, or a
// file name of one component. Anything that could change the meaning of a URL
// or a path is refused.
bool isPlainName(const QString &text)
{
    if (text.isEmpty() || text.size() > 255)
        return false;
    for (const QChar c : text) {
        const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') || c == QLatin1Char('-')
            || c == QLatin1Char('_');
        if (!ok)
            return false;
    }
    return true;
}

// A file name the player gives for a file reply: one plain component.
bool isSafeReplyFileName(const QString &name)
{
    return isPlainName(name) && !name.startsWith(QLatin1Char('.'));
}

// filename="name" or filename=name of a Content-Disposition value.
QString fileNameFromDisposition(const QByteArray &value)
{
    const int at = value.indexOf("filename=");
    if (at < 0)
        return QString();
    QByteArray name = value.mid(at + 9).trimmed();
    const int end = name.indexOf(';');
    if (end >= 0)
        name = name.left(end).trimmed();
    if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"'))
        name = name.mid(1, name.size() - 2);
    return QString::fromUtf8(name);
}

bool isXmlContentType(const char *contentType)
{
    if (!contentType)
        return false;
    const QByteArray type = QByteArray(contentType).trimmed().toLower();
    return type.startsWith("text/xml") || type.startsWith("application/xml");
}

quint32 mapSocketFailure(long osErrno)
{
    return osErrno == ECONNRESET ? INET_ERROR_CONNECTION_RESET : INET_ERROR_CONNECTION_ABORTED;
}

} // namespace

// The state of one HTTP exchange, shared with libcurl's callbacks.
struct CR40Http::Exchange {
    explicit Exchange(CR40Http *owner)
        : client(owner)
    {
    }

    CR40Http *client;

    // Upload body: length bytes of the file from bodyStart on.
    int fileDescriptor = -1;
    off_t bodyStart = 0;
    quint64 length = 0;
    quint64 remaining = 0;
    int readErrno = 0;

    // Reply.
    QByteArray body;
    bool bodyTooLarge = false;
    QByteArray disposition;
    CR40Request *download = nullptr; // a request whose PASS reply is a file
    bool repeatable = true; // may be sent again when lost on a reused connection
    bool decided = false;
    bool replyIsFile = false;
    bool badFileName = false;
    std::unique_ptr<CAtomicFile> file;
    int writeErrno = 0;

    // Progress and time-out.
    quint64 reportedUp = 0;
    quint64 reportedDown = 0;
    SteadyClock::time_point lastActivity = SteadyClock::now();
    bool transferStarted = false;

    long httpStatus = 0;

    // Back to the state before the exchange was sent, for sending it again;
    // the amounts reported so far stay, so nothing is reported twice.
    bool rewind()
    {
        if (fileDescriptor >= 0 && ::lseek(fileDescriptor, bodyStart, SEEK_SET) != bodyStart)
            return false;
        remaining = length;
        readErrno = 0;
        body.clear();
        bodyTooLarge = false;
        disposition.clear();
        decided = false;
        replyIsFile = false;
        badFileName = false;
        file.reset();
        writeErrno = 0;
        lastActivity = SteadyClock::now();
        transferStarted = false;
        httpStatus = 0;
        return true;
    }
};

CR40Http::CR40Http() = default;

CR40Http::~CR40Http()
{
    Close();
}

bool CR40Http::SetParameter(const R40HttpParam &param)
{
    const quint32 mask = param.mask;
    const bool valid = (!(mask & R40_PARAM_PORT) || param.port != 0)
        && (!(mask & R40_PARAM_CONNECT_TIMEOUT) || isTimeoutValid(param.connectTimeout))
        && (!(mask & R40_PARAM_TRANSFER_TIMEOUT) || isTimeoutValid(param.transferTimeout))
        && (!(mask & R40_PARAM_SEND_BUFFER) || isBufferSizeValid(param.sendBufferSize))
        && (!(mask & R40_PARAM_RECEIVE_BUFFER) || isBufferSizeValid(param.receiveBufferSize))
        && (mask & ~quint32(R40_PARAM_ALL)) == 0;
    if (!valid) {
        WriteSyslog(LOG_ERR_APP, "CR40Http::SetParameter : Invalid Parameter : mask = 0x%X", mask);
        return fail(R40_ERROR_BAD_PARAMETER);
    }
    if (mask & R40_PARAM_PORT)
        m_param.port = param.port;
    if (mask & R40_PARAM_CONNECT_TIMEOUT)
        m_param.connectTimeout = param.connectTimeout;
    if (mask & R40_PARAM_TRANSFER_TIMEOUT)
        m_param.transferTimeout = param.transferTimeout;
    if (mask & R40_PARAM_SEND_BUFFER)
        m_param.sendBufferSize = param.sendBufferSize;
    if (mask & R40_PARAM_RECEIVE_BUFFER)
        m_param.receiveBufferSize = param.receiveBufferSize;
    if (mask & R40_PARAM_WORK_FOLDER)
        m_param.workFolder = param.workFolder;
    return true;
}

R40HttpParam CR40Http::GetParameter() const
{
    R40HttpParam param = m_param;
    param.mask = R40_PARAM_ALL;
    return param;
}

bool CR40Http::Init()
{
    Close();
    m_abort = false;
    CURL *easy = curl_easy_init();
    CURLM *multi = curl_multi_init();
    if (!easy || !multi) {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
        WriteSyslog(LOG_ERR_WIN, "CR40Http::Init : InternetOpen Error : Error = %d", INET_ERROR_INTERNAL);
        return fail(INET_ERROR_INTERNAL);
    }
    // The pool keeps one idle connection, the kept-alive one: a command that
    // acts never enters it, and a lost request sent again finds no other
    // kept-alive connection to be lost on.
    curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, 1L);
    // The client keeps the sockets of its connections: their send queues
    // tell how much of an upload the player has not acknowledged.
    const curl_sockopt_callback opened = [](void *client, curl_socket_t socket, curlsocktype) {
        static_cast<CR40Http *>(client)->m_sockets.push_back(socket);
        return int(CURL_SOCKOPT_OK);
    };
    const curl_closesocket_callback closed = [](void *client, curl_socket_t socket) {
        std::vector<int> &sockets = static_cast<CR40Http *>(client)->m_sockets;
        sockets.erase(std::remove(sockets.begin(), sockets.end(), socket), sockets.end());
        return ::close(socket);
    };
    curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, opened);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, this);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, closed);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, this);
    std::lock_guard<std::mutex> lock(m_handleMutex);
    m_easy = easy;
    m_multi = multi;
    // An empty "Expect:" keeps libcurl from waiting for "100 Continue" before
    // each upload body, which halves the throughput on a fast link.
    m_headers = curl_slist_append(nullptr, "Expect:");
    return true;
}

bool CR40Http::Connect(const QString &host, const QString &user, const QString &password)
{
    m_abort = false;
    if (!m_easy)
        return fail(R40_ERROR_NOT_CONNECTED);
    if (!isPlainName(host)) {
        WriteSyslog(LOG_ERR_APP, "CR40Http::Connect : InternetConnect Error : Error = %d", ERROR_INVALID_PARAMETER);
        return fail(ERROR_INVALID_PARAMETER);
    }
    m_host = host;
    m_user = user;
    m_password = password;
    m_connected = true;
    return true;
}

bool CR40Http::Close()
{
    std::lock_guard<std::mutex> lock(m_handleMutex);
    if (m_multi)
        curl_multi_cleanup(multiOf(m_multi));
    if (m_easy)
        curl_easy_cleanup(easyOf(m_easy));
    curl_slist_free_all(static_cast<curl_slist *>(m_headers));
    m_multi = nullptr;
    m_easy = nullptr;
    m_headers = nullptr;
    m_connected = false;
    return true;
}

void CR40Http::Abort()
{
    m_abort = true;
    std::lock_guard<std::mutex> lock(m_handleMutex);
    if (m_multi)
        curl_multi_wakeup(multiOf(m_multi));
}

void CR40Http::EnableCallback(bool enable, R40HttpCallback callback, void *context)
{
    m_callback = enable ? callback : nullptr;
    m_callbackContext = enable ? context : nullptr;
}

bool CR40Http::fail(quint32 error)
{
    m_lastError = error;
    ::SetLastError(error);
    return false;
}

bool CR40Http::checkReady()
{
    if (!m_easy || !m_connected)
        return fail(R40_ERROR_NOT_CONNECTED);
    if (m_abort)
        return fail(R40_ERROR_STOPPED);
    return true;
}

QString CR40Http::baseUrl() const
{
    return QStringLiteral("http://%1:%2/").arg(m_host).arg(m_param.port);
}

bool CR40Http::SendCommand(CR40Request *request)
{
    if (!request)
        return fail(ERROR_INVALID_PARAMETER);
    if (!checkReady())
        return false;
    request->ResetReply();

    CURL *easy = easyOf(m_easy);
    const QByteArray url = (baseUrl() + QStringLiteral("command.php?") + request->GetQueryString()).toUtf8();
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);

    Exchange exchange(this);
    exchange.download = request->IsDownload() ? request : nullptr;
    exchange.repeatable = request->IsSafeToRepeat();
    if (!perform(exchange)) {
        WriteSyslog(LOG_DEBUG, "CR40Http::SendCommand : Request Error : Error = %u : %s", m_lastError,
            request->GetSerialText().toUtf8().constData());
        return false;
    }
    if (!checkReplyStatus(exchange))
        return false;
    if (!exchange.decided)
        decideReplyKind(exchange); // an empty body: an empty file, or no document
    if (exchange.replyIsFile)
        return finishDownload(exchange, request);
    if (exchange.bodyTooLarge || !request->AnalyzeReply(exchange.body)) {
        request->SetAnalyzeError();
        WriteSyslog(LOG_ERR_HTTP, "CR40Http::SendCommand : Reply Analyze Error : %s", request->GetSerialText().toUtf8().constData());
        return true;
    }
    // A file was asked for and a PASS document came instead: nothing was fetched.
    if (request->IsDownload() && request->GetStatus() == R40_REPLY_PASS)
        request->SetAnalyzeError();
    return true;
}

bool CR40Http::checkReplyStatus(const Exchange &exchange)
{
    if (exchange.httpStatus == 200)
        return true;
    WriteSyslog(LOG_ERR_HTTP, "CR40Http : HTTP Status Error : Status = %ld", exchange.httpStatus);
    const long status = qBound(0L, exchange.httpStatus, long(R40_ERROR_HTTP_STATUS_LAST - R40_ERROR_HTTP_STATUS));
    return fail(R40_ERROR_HTTP_STATUS + quint32(status));
}

bool CR40Http::finishDownload(Exchange &exchange, CR40Request *request)
{
    if (exchange.badFileName) {
        request->SetAnalyzeError();
        WriteSyslog(LOG_ERR_HTTP, "CR40Http::SendCommand : Invalid File Name : %s", exchange.disposition.constData());
        return true;
    }
    if (!exchange.file->isOpen() || !exchange.file->Commit()) {
        const quint32 error = ErrorFromErrno(exchange.writeErrno ? exchange.writeErrno : ENOSPC);
        WriteSyslog(LOG_ERR_WIN, "CR40Http::SendCommand : File Write Error : Error = %u : %s", error,
            exchange.file->TargetName().toUtf8().constData());
        return fail(error);
    }
    request->SetDownloadedFile(exchange.file->TargetName());
    return true;
}

bool CR40Http::SendFile(const QString &localPath, const QString &remotePath, quint64 offset)
{
    if (localPath.isEmpty() || remotePath.isEmpty())
        return fail(ERROR_INVALID_PARAMETER);
    if (!checkReady())
        return false;
    const int fd = ::open(QFile::encodeName(localPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const quint32 error = ErrorFromErrno(errno);
        WriteSyslog(LOG_ERR_WIN, "CR40Http::SendFile : File Open Error : Error = %u : %s", error, localPath.toUtf8().constData());
        return fail(error);
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && offset <= quint64(info.st_size)
        && ::lseek(fd, off_t(offset), SEEK_SET) == off_t(offset);
    if (!ok) {
        ::close(fd);
        return fail(ERROR_INVALID_PARAMETER);
    }
    QString query = QStringLiteral("href=") + QString::fromLatin1(QUrl::toPercentEncoding(remotePath));
    if (offset > 0)
        query += QStringLiteral("&append=") + QString::number(offset);
    ok = sendUpload(query, fd, quint64(info.st_size) - offset);
    ::close(fd);
    return ok;
}

bool CR40Http::MakeDirectory(const QString &remoteFolder)
{
    if (remoteFolder.isEmpty())
        return fail(ERROR_INVALID_PARAMETER);
    if (!checkReady())
        return false;
    return sendUpload(QStringLiteral("href=") + QString::fromLatin1(QUrl::toPercentEncoding(remoteFolder)) + QStringLiteral("&mkdir=1"),
        -1, 0);
}

// PUT "upload.php" with the query and length bytes read from the file (none
// without a file); the player answers with a status document.
bool CR40Http::sendUpload(const QString &query, int fileDescriptor, quint64 length)
{
    CURL *easy = easyOf(m_easy);
    const QByteArray url = (baseUrl() + QStringLiteral("upload.php?") + query).toUtf8();
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, curl_off_t(length));

    Exchange exchange(this);
    exchange.fileDescriptor = fileDescriptor;
    exchange.bodyStart = fileDescriptor >= 0 ? ::lseek(fileDescriptor, 0, SEEK_CUR) : 0;
    exchange.length = length;
    exchange.remaining = length;
    if (!perform(exchange) || !checkReplyStatus(exchange))
        return false;
    CR40Request reply;
    if (exchange.bodyTooLarge || !reply.AnalyzeReply(exchange.body)) {
        WriteSyslog(LOG_ERR_HTTP, "CR40Http::SendFile : Reply Analyze Error");
        return fail(R40_ERROR_ANALYZE);
    }
    int code = 0;
    if (reply.GetErrorCode(code)) {
        WriteSyslog(LOG_ERR_HTTP, "CR40Http::SendFile : Upload Error : SERR = %d : %s", code,
            reply.GetDescription().toUtf8().constData());
        return fail(R40_ERROR_UPLOAD_REFUSED);
    }
    return true;
}

// Maps a failed libcurl transfer to the error numbers callers act on.
static quint32 mapTransportError(CURLcode code, long osErrno, int readErrno, int writeErrno)
{
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return R40_ERROR_TIMEOUT;
    case CURLE_COULDNT_RESOLVE_HOST:
        return INET_ERROR_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
        return INET_ERROR_CANNOT_CONNECT;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    // A reused connection that the player dropped: libcurl cannot send the
    // upload again on a new one, and the socket's error says why.
    case CURLE_SEND_FAIL_REWIND:
        return mapSocketFailure(osErrno);
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return INET_ERROR_CONNECTION_ABORTED;
    case CURLE_WEIRD_SERVER_REPLY:
        return INET_ERROR_INVALID_SERVER_RESPONSE;
    case CURLE_OUT_OF_MEMORY:
        return ERROR_OUTOFMEMORY;
    case CURLE_READ_ERROR:
    case CURLE_ABORTED_BY_CALLBACK:
        return ErrorFromErrno(readErrno ? readErrno : EIO);
    case CURLE_WRITE_ERROR:
        return ErrorFromErrno(writeErrno ? writeErrno : EIO);
    default:
        return INET_ERROR_INTERNAL;
    }
}

// Whether a failed exchange was lost to the player closing a kept-alive
// connection as the request went out: it went out on a reused connection and
// not a byte of an answer came back.
static bool droppedOnReusedConnection(CURL *easy, CURLcode result, long httpStatus, quint64 received)
{
    const bool dropped = result == CURLE_SEND_ERROR || result == CURLE_RECV_ERROR || result == CURLE_GOT_NOTHING
        || result == CURLE_SEND_FAIL_REWIND;
    long newConnections = 0;
    curl_easy_getinfo(easy, CURLINFO_NUM_CONNECTS, &newConnections);
    return dropped && newConnections == 0 && httpStatus == 0 && received == 0;
}

// Runs one exchange; a request safe to repeat (queries and uploads) lost on
// a reused connection before any answer (an ordinary keep-alive time-out
// race) is sent once more on a fresh one. The player may have acted on a
// lost request, so a command that acts goes out on a fresh connection from
// the start, where that race cannot happen, is never sent again, and its
// connection is closed after the answer, so that it is never reused either.
// False with the last error set when the exchange did not complete.
//
// libcurl itself sends a request lost on a reused connection again when the
// loss shows while the answer is awaited; as the pool holds no connection
// but the lost one, that happens on a new connection, which the check below
// sees, so the request still goes out again only once.
bool CR40Http::perform(Exchange &exchange)
{
    CURL *easy = easyOf(m_easy);
    bool aborted = false;
    bool timedOut = false;
    CURLcode result = CURLcode(transfer(exchange, exchange.repeatable ? Reuse : OwnConnection, aborted, timedOut));
    if (exchange.repeatable && !aborted && !timedOut && result != CURLE_OK
        && droppedOnReusedConnection(easy, result, exchange.httpStatus, exchange.reportedDown) && exchange.rewind()) {
        WriteSyslog(LOG_INFO, "CR40Http : Connection closed by the player : Sent again on a new connection");
        result = CURLcode(transfer(exchange, NewKeptAlive, aborted, timedOut));
    }
    if (aborted)
        return fail(R40_ERROR_STOPPED);
    if (timedOut)
        return fail(R40_ERROR_TIMEOUT);
    if (result == CURLE_WRITE_ERROR && exchange.bodyTooLarge)
        return true;
    if (result != CURLE_OK) {
        long osErrno = 0;
        curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osErrno);
        return fail(mapTransportError(result, osErrno, exchange.readErrno, exchange.writeErrno));
    }
    return true;
}

// Runs one exchange on the easy handle through the client's multi handle, so
// that Abort can wake the wait at once.
int CR40Http::transfer(Exchange &exchange, ConnectionUse use, bool &aborted, bool &timedOut)
{
    CURL *easy = easyOf(m_easy);
    CURLM *multi = multiOf(m_multi);
    const QByteArray user = m_user.toUtf8();
    const QByteArray password = m_password.toUtf8();
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, use == Reuse ? 0L : 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, use == OwnConnection ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, m_headers);
    curl_easy_setopt(easy, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC));
    curl_easy_setopt(easy, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(m_param.connectTimeout));
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, long(m_param.receiveBufferSize) * 1024);
    curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE,
        qBound(kMinUploadBuffer, long(m_param.sendBufferSize) * 1024, kMaxUploadBuffer));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CR40Http::onWrite);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CR40Http::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &CR40Http::onRead);
    curl_easy_setopt(easy, CURLOPT_READDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_SEEKFUNCTION, &CR40Http::onSeek);
    curl_easy_setopt(easy, CURLOPT_SEEKDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &CR40Http::onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);

    const auto start = SteadyClock::now();
    const auto transferLimit = std::chrono::milliseconds(m_param.transferTimeout);
    const auto connectLimit = std::chrono::milliseconds(m_param.connectTimeout);
    CURLcode result = CURLE_OK;

    m_busy = true;
    curl_multi_add_handle(multi, easy);
    for (;;) {
        if (m_abort) {
            aborted = true;
            break;
        }
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_OUT_OF_MEMORY;
            break;
        }
        if (running == 0) {
            int queued = 0;
            const CURLMsg *message = curl_multi_info_read(multi, &queued);
            result = (message && message->msg == CURLMSG_DONE) ? message->data.result : CURLE_GOT_NOTHING;
            break;
        }
        const auto now = SteadyClock::now();
        if (!exchange.transferStarted) {
            curl_off_t pretransfer = 0;
            curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
            if (pretransfer > 0) {
                exchange.transferStarted = true;
                exchange.lastActivity = now;
            } else if (now - start > connectLimit + transferLimit) {
                timedOut = true;
                break;
            }
        }
        if (exchange.transferStarted && now - exchange.lastActivity > transferLimit) {
            timedOut = true;
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            transferLimit - (now - (exchange.transferStarted ? exchange.lastActivity : start)));
        const int waitMs = int(qBound<qint64>(1, qint64(left.count()) + 1, qint64(kMaxPollMs)));
        curl_multi_poll(multi, nullptr, 0, waitMs, nullptr);
    }
    curl_multi_remove_handle(multi, easy);
    m_busy = false;

    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &exchange.httpStatus);
    reportProgress(exchange, result == CURLE_OK && exchange.httpStatus / 100 == 2);
    return result;
}

// The uploaded bytes the player acknowledged, of those written to the
// connection: less what the send queues still hold, which is all that a
// stalled player has not taken. Without an open connection the queue is
// unknown: whenUnknown.
quint64 CR40Http::acknowledgedUpload(quint64 written, quint64 whenUnknown) const
{
    if (m_sockets.empty())
        return whenUnknown;
    quint64 queued = 0;
    for (int socket : m_sockets) {
        int bytes = 0;
        if (::ioctl(socket, SIOCOUTQ, &bytes) == 0 && bytes > 0)
            queued += quint64(bytes);
    }
    return written > queued ? written - queued : 0;
}

// Reports the bytes moved since the last report to the progress callback and
// notes activity for the transfer time-out. An upload the player answered
// was taken whole; one that failed counts only what was acknowledged.
void CR40Http::reportProgress(Exchange &exchange, bool answered)
{
    curl_off_t uploaded = 0;
    curl_off_t downloaded = 0;
    curl_easy_getinfo(easyOf(m_easy), CURLINFO_SIZE_UPLOAD_T, &uploaded);
    curl_easy_getinfo(easyOf(m_easy), CURLINFO_SIZE_DOWNLOAD_T, &downloaded);
    const quint64 written = quint64(qMax<curl_off_t>(0, uploaded));
    reportAmounts(exchange, answered ? written : acknowledgedUpload(written, exchange.reportedUp),
                  quint64(qMax<curl_off_t>(0, downloaded)));
}

void CR40Http::reportAmounts(Exchange &exchange, quint64 uploaded, quint64 downloaded)
{
    if (uploaded > exchange.reportedUp) {
        const quint64 amount = uploaded - exchange.reportedUp;
        exchange.reportedUp = uploaded;
        exchange.lastActivity = SteadyClock::now();
        if (m_callback)
            m_callback(m_callbackContext, R40_PROGRESS_SENT, amount);
    }
    if (downloaded > exchange.reportedDown) {
        const quint64 amount = downloaded - exchange.reportedDown;
        exchange.reportedDown = downloaded;
        exchange.lastActivity = SteadyClock::now();
        if (m_callback)
            m_callback(m_callbackContext, R40_PROGRESS_RECEIVED, amount);
    }
}

int CR40Http::onProgress(void *user, int64_t, int64_t downloadNow, int64_t, int64_t uploadNow)
{
    auto *exchange = static_cast<Exchange *>(user);
    const quint64 written = quint64(qMax<int64_t>(0, uploadNow));
    exchange->client->reportAmounts(*exchange, exchange->client->acknowledgedUpload(written, written),
                                    quint64(qMax<int64_t>(0, downloadNow)));
    return 0;
}

size_t CR40Http::onHeader(char *data, size_t size, size_t count, void *user)
{
    auto *exchange = static_cast<Exchange *>(user);
    const QByteArray line(data, qsizetype(size * count));
    if (line.startsWith("HTTP/")) {
        exchange->disposition.clear(); // a new response begins
    } else if (line.toLower().startsWith("content-disposition:")) {
        exchange->disposition = line.mid(20).trimmed();
    }
    return size * count;
}

size_t CR40Http::onWrite(char *data, size_t size, size_t count, void *user)
{
    auto *exchange = static_cast<Exchange *>(user);
    const size_t length = size * count;
    if (!exchange->decided)
        exchange->client->decideReplyKind(*exchange);
    if (exchange->replyIsFile) {
        if (exchange->badFileName)
            return length; // read and dropped; the request fails analysis
        errno = 0;
        if (exchange->file->write(data, qint64(length)) != qint64(length)) {
            exchange->writeErrno = errno ? errno : ENOSPC;
            return 0;
        }
        return length;
    }
    if (exchange->body.size() + qint64(length) > kMaxReplyDocumentSize) {
        exchange->bodyTooLarge = true;
        return 0;
    }
    exchange->body.append(data, qsizetype(length));
    return length;
}

// At the first byte of a body: a 200 reply that is not a status document,
// to a request that asked for a file, is written to the file's place.
void CR40Http::decideReplyKind(Exchange &exchange)
{
    exchange.decided = true;
    if (!exchange.download)
        return;
    long status = 0;
    char *contentType = nullptr;
    curl_easy_getinfo(easyOf(m_easy), CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(easyOf(m_easy), CURLINFO_CONTENT_TYPE, &contentType);
    if (status != 200 || isXmlContentType(contentType))
        return;
    exchange.replyIsFile = true;
    QString path = exchange.download->GetLocalPath();
    if (QFileInfo(path).isRelative())
        path = QDir(m_param.workFolder).filePath(path);
    if (exchange.download->IsLocalFolder()) {
        const QString name = fileNameFromDisposition(exchange.disposition);
        if (!isSafeReplyFileName(name)) {
            exchange.badFileName = true;
            return;
        }
        QDir().mkpath(path);
        path = QDir(path).filePath(name);
    } else {
        QDir().mkpath(QFileInfo(path).absolutePath());
    }
    exchange.file = std::make_unique<CAtomicFile>(path);
    if (!exchange.file->open(QIODevice::WriteOnly))
        exchange.writeErrno = errno ? errno : EACCES;
}

size_t CR40Http::onRead(char *data, size_t size, size_t count, void *user)
{
    auto *exchange = static_cast<Exchange *>(user);
    const size_t wanted = size_t(qMin<quint64>(exchange->remaining, quint64(size * count)));
    if (wanted == 0)
        return 0;
    for (;;) {
        const ssize_t got = ::read(exchange->fileDescriptor, data, wanted);
        if (got > 0) {
            exchange->remaining -= quint64(got);
            return size_t(got);
        }
        if (got < 0 && errno == EINTR)
            continue;
        // The file shrank under the upload or could not be read.
        exchange->readErrno = got < 0 ? errno : EIO;
        return CURL_READFUNC_ABORT;
    }
}

// libcurl rewinds an upload body to send it again on a new connection.
int CR40Http::onSeek(void *user, int64_t offset, int origin)
{
    auto *exchange = static_cast<Exchange *>(user);
    if (origin != SEEK_SET || offset < 0 || quint64(offset) > exchange->length)
        return CURL_SEEKFUNC_CANTSEEK;
    const off_t position = exchange->bodyStart + off_t(offset);
    if (exchange->fileDescriptor >= 0 && ::lseek(exchange->fileDescriptor, position, SEEK_SET) != position)
        return CURL_SEEKFUNC_FAIL;
    exchange->remaining = exchange->length - quint64(offset);
    return CURL_SEEKFUNC_OK;
}

CR40Http &GetHttpClient()
{
    static CR40Http client;
    return client;
}

QString DefaultPlayerUser()
{
    return QStringLiteral("WYNDcarp");
}
