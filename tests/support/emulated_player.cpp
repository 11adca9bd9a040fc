#include "support/emulated_player.h"

#include <httplib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <arpa/inet.h>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace {

using Row = EmulatedPlayer::Row;
using Field = EmulatedPlayer::Field;
using Fault = EmulatedPlayer::Fault;
using Parameters = QList<QPair<QString, QString>>;

// SERR codes of the player (docs/player-protocol.md).
constexpr int kSerrBadCommand = 101;
constexpr int kSerrNotFound = 110;
constexpr int kSerrFileNotFound = 112;
constexpr int kSerrNoRows = 115;
constexpr int kSerrDiskFull = 120;
constexpr int kSerrPathRefused = 122;

constexpr int kCalendarTable = 3;

QString parameterOf(const Parameters &parameters, const QString &name)
{
    for (const auto &parameter : parameters) {
        if (parameter.first == name)
            return parameter.second;
    }
    return QString();
}

// The query of a request target in the order the client sent it.
Parameters parseQuery(const std::string &target)
{
    const QString text = QString::fromStdString(target);
    const int mark = text.indexOf(QLatin1Char('?'));
    if (mark < 0)
        return {};
    return QUrlQuery(text.mid(mark + 1)).queryItems(QUrl::FullyDecoded);
}

// An IPv4 address and port as a socket address; the family stays unset when
// the address does not parse.
sockaddr_in socketAddress(const std::string &address, int port)
{
    sockaddr_in result {};
    if (::inet_pton(AF_INET, address.c_str(), &result.sin_addr) == 1) {
        result.sin_family = AF_INET;
        result.sin_port = htons(quint16(port));
    }
    return result;
}

bool sameEndpoint(const sockaddr_in &a, const sockaddr_in &b)
{
    return a.sin_family == AF_INET && b.sin_family == AF_INET && a.sin_port == b.sin_port
        && a.sin_addr.s_addr == b.sin_addr.s_addr;
}

// True when the descriptor is a connected IPv4 socket with these two ends.
bool isConnection(int fd, const sockaddr_in &local, const sockaddr_in &remote)
{
    sockaddr_in own {};
    sockaddr_in peer {};
    socklen_t ownSize = sizeof own;
    socklen_t peerSize = sizeof peer;
    return ::getsockname(fd, reinterpret_cast<sockaddr *>(&own), &ownSize) == 0 && ownSize == sizeof own
        && ::getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &peerSize) == 0 && peerSize == sizeof peer
        && sameEndpoint(own, local) && sameEndpoint(peer, remote);
}

// The socket of the connection a request came in on: the process's own
// descriptor whose two ends are the request's. Asked of each descriptor, not
// looked up in the kernel's TCP table, whose reads are not atomic and miss
// entries while other connections come and go (as they do when many tests
// run side by side). Other descriptors of the process are never touched.
// Only the thread that serves the connection looks for its socket: the
// server library closes a socket on that thread alone.
int connectionSocket(const httplib::Request &request)
{
    const sockaddr_in local = socketAddress(request.local_addr, request.local_port);
    const sockaddr_in remote = socketAddress(request.remote_addr, request.remote_port);
    if (local.sin_family != AF_INET || remote.sin_family != AF_INET)
        return -1;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString &name : descriptors.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int fd = name.toInt(&number);
        if (number && isConnection(fd, local, remote))
            return fd;
    }
    return -1;
}

// True while the kernel has this end of a TCP connection (own, towards
// peer) established. Asked of the kernel by the two ends (sock_diag), not of
// a socket, which the server's threads close and whose number they reuse.
bool isEstablished(const sockaddr_in &own, const sockaddr_in &peer)
{
    const int diag = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (diag < 0)
        return false;
    struct {
        nlmsghdr header;
        inet_diag_req_v2 request;
    } query {};
    query.header.nlmsg_len = sizeof query;
    query.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    query.header.nlmsg_flags = NLM_F_REQUEST;
    query.request.sdiag_family = AF_INET;
    query.request.sdiag_protocol = IPPROTO_TCP;
    query.request.idiag_states = ~0u;
    query.request.id.idiag_sport = own.sin_port;
    query.request.id.idiag_dport = peer.sin_port;
    query.request.id.idiag_src[0] = own.sin_addr.s_addr;
    query.request.id.idiag_dst[0] = peer.sin_addr.s_addr;
    query.request.id.idiag_cookie[0] = INET_DIAG_NOCOOKIE;
    query.request.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
    sockaddr_nl kernel {};
    kernel.nl_family = AF_NETLINK;
    bool established = false;
    if (::sendto(diag, &query, sizeof query, 0, reinterpret_cast<const sockaddr *>(&kernel), sizeof kernel)
        == ssize_t(sizeof query)) {
        alignas(nlmsghdr) char reply[1024];
        const ssize_t length = ::recv(diag, reply, sizeof reply, 0);
        const auto *header = reinterpret_cast<const nlmsghdr *>(reply);
        // An end the kernel no longer has reads as an error, or as the
        // listening socket of the same end.
        established = length > 0 && NLMSG_OK(header, size_t(length)) && header->nlmsg_type == SOCK_DIAG_BY_FAMILY
            && static_cast<const inet_diag_msg *>(NLMSG_DATA(header))->idiag_state == TCP_ESTABLISHED;
    }
    ::close(diag);
    return established;
}

// True while the client holds the connection with these two ends (the
// player's, the client's): both are established, so the client has neither
// closed nor reset it. The client's own end is asked too (it is on this
// host): a close whose FIN waits behind data the player has not read leaves
// the player's end established.
bool isHeldByClient(const sockaddr_in &local, const sockaddr_in &remote)
{
    return isEstablished(local, remote) && isEstablished(remote, local);
}

// The receive buffer asked for on every connection the player accepts. The
// kernel otherwise grows a connection's buffer as the host's tuning and load
// allow (to tens of MiB), so how much a stalled player holds unread would be
// the host's choice; fixed, it also stops that growth.
constexpr int kReceiveBufferBytes = 256 * 1024;

// Fixes the receive buffer on the listening socket, before it listens, so
// the connections it accepts inherit it (their window is scaled for it as
// they open). Returns the size in effect, as the kernel counts it (it
// doubles what is asked and caps it by the host's limit); 0 when unknown.
int FixReceiveBuffer(int socket)
{
    httplib::default_socket_options(socket);
    int size = kReceiveBufferBytes;
    ::setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    socklen_t length = sizeof size;
    return ::getsockopt(socket, SOL_SOCKET, SO_RCVBUF, &size, &length) == 0 ? size : 0;
}

// The number of the connection the calling server thread serves (0 on any
// other thread); set by the player's task queue for as long as it serves it.
thread_local qint64 t_servedConnection = 0;

// The server library, built without ThreadSanitizer, fills statics of its
// own (the set of request methods) as it parses its first request; only a
// guard the sanitizer cannot see orders that before readers on other threads.
// So the first player of a process has one request served by a server of its
// own whose threads have all ended before any other server thread starts.
void ServeFirstRequestAlone()
{
    static std::once_flag once;
    std::call_once(once, [] {
        httplib::Server server;
        server.Get("/", [](const httplib::Request &, httplib::Response &response) {
            response.set_content("", "text/plain");
        });
        const int port = server.bind_to_any_port("127.0.0.1");
        if (port <= 0)
            return;
        std::thread listener([&server] { server.listen_after_bind(); });
        httplib::Client("127.0.0.1", port).Get("/");
        server.stop();
        listener.join();
    });
}

// Drops the connection with a TCP reset: the socket's place is taken by a
// fresh unconnected socket, so the server library later closes that one.
void resetConnection(const httplib::Request &request)
{
    const int fd = connectionSocket(request);
    if (fd < 0)
        return;
    const linger abortive {1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    const int spare = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::dup2(spare, fd);
    ::close(spare);
}

// The first digit of a 9-digit content number.
int typePartOf(const QString &index)
{
    return int(index.toLongLong() / 100000000);
}

bool sameIndex(const QString &a, const QString &b)
{
    bool okA = false;
    bool okB = false;
    const qint64 x = a.toLongLong(&okA);
    const qint64 y = b.toLongLong(&okB);
    return okA && okB ? x == y : a == b;
}

// Reads and drops the rest of a request body, counting its bytes.
void drainBody(const httplib::ContentReader &reader, qint64 &bodyBytes)
{
    reader([&](const char *, size_t length) {
        bodyBytes += qint64(length);
        return true;
    });
}

QString formatIndex(qint64 number)
{
    return QStringLiteral("%1").arg(number, 9, 10, QLatin1Char('0'));
}

// What a handler answers.
struct Outcome {
    int httpStatus = 200;
    QByteArray body;
    QByteArray contentType = "text/xml; charset=UTF-8";
    QString fileName; // Content-Disposition of a file reply
    QString status;   // "PASS" / "SERR" of a status document
    int code = 0;
    bool resetMidBody = false;
};

// Writes a status document; extra adds the command's elements.
Outcome statusReply(const QString &status, int code, const QString &description, const QString &result = QString(),
    const std::function<void(QXmlStreamWriter &)> &extra = {})
{
    Outcome outcome;
    outcome.status = status;
    outcome.code = code;
    QXmlStreamWriter writer(&outcome.body);
    writer.writeStartDocument(QStringLiteral("1.0"));
    writer.writeStartElement(QStringLiteral("response"));
    writer.writeTextElement(QStringLiteral("status"), status);
    writer.writeTextElement(QStringLiteral("code"), QString::number(code));
    writer.writeTextElement(QStringLiteral("description"), description);
    if (!result.isNull())
        writer.writeTextElement(QStringLiteral("result"), result);
    if (extra)
        extra(writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    return outcome;
}

Outcome pass(const QString &result = QString(), const std::function<void(QXmlStreamWriter &)> &extra = {})
{
    return statusReply(QStringLiteral("PASS"), 0, QStringLiteral("OK"), result, extra);
}

Outcome serr(int code, const QString &description)
{
    return statusReply(QStringLiteral("SERR"), code, description);
}

void writeRow(QXmlStreamWriter &writer, const Row &row)
{
    writer.writeStartElement(QStringLiteral("row"));
    for (const Field &field : row) {
        writer.writeStartElement(field.name);
        for (const auto &attribute : field.attributes)
            writer.writeAttribute(attribute.first, attribute.second);
        writer.writeCharacters(field.text);
        writer.writeEndElement();
    }
    writer.writeEndElement();
}

Outcome rowsReply(const QList<Row> &rows)
{
    return pass(QString(), [&](QXmlStreamWriter &writer) {
        writer.writeStartElement(QStringLiteral("rows"));
        for (const Row &row : rows)
            writeRow(writer, row);
        writer.writeEndElement();
    });
}

// Reads the child elements of the current element as a row.
Row readRow(QXmlStreamReader &reader)
{
    Row row;
    while (reader.readNextStartElement()) {
        Field field;
        field.name = reader.name().toString();
        for (const auto &attribute : reader.attributes())
            field.attributes.append({attribute.name().toString(), attribute.value().toString()});
        field.text = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        row.append(field);
    }
    return row;
}

void mergeRow(Row &target, const Row &changes)
{
    for (const Field &change : changes) {
        bool replaced = false;
        for (Field &field : target) {
            if (field.name == change.name && field.attributes == change.attributes) {
                field.text = change.text;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            target.append(change);
    }
}

} // namespace

Row EmulatedPlayer::makeRow(const QList<QPair<QString, QString>> &fields)
{
    Row row;
    for (const auto &field : fields)
        row.append({field.first, {}, field.second});
    return row;
}

QString EmulatedPlayer::fieldText(const Row &row, const QString &name)
{
    for (const Field &field : row) {
        if (field.name == name)
            return field.text;
    }
    return QString();
}

QString EmulatedPlayer::Request::parameter(const QString &name) const
{
    return parameterOf(parameters, name);
}

struct EmulatedPlayer::Impl {
    explicit Impl(const QString &bindAddress)
        : address(bindAddress)
    {
        system = {
            {QStringLiteral("datetime"), QStringLiteral("2026-04-01 12:00:00.000")},
            {QStringLiteral("timezone"), QStringLiteral("GMT +09:00")},
            {QStringLiteral("version"), QStringLiteral("1.23")},
            {QStringLiteral("serial"), QStringLiteral("R40-000001")},
            {QStringLiteral("mac"), QStringLiteral("00-11-22-33-44-55")},
            {QStringLiteral("summertime"), QStringLiteral("0")},
            {QStringLiteral("resolution"), QStringLiteral("1920x1080")},
            {QStringLiteral("ntp"), QStringLiteral("1")},
            {QStringLiteral("fan1"), QStringLiteral("0")},
            {QStringLiteral("fan2"), QStringLiteral("0")},
            {QStringLiteral("temp1"), QStringLiteral("0")},
            {QStringLiteral("temp2"), QStringLiteral("0")},
            {QStringLiteral("configdate"), QStringLiteral("2026-04-01 09:00:00.000")},
        };
        QDir(root.path()).mkpath(QStringLiteral("import"));
    }

    // -- plumbing ----------------------------------------------------------

    bool authorised(const httplib::Request &request, QString *givenUser) const;
    Fault takeFault(Fault &slot);
    Fault takeCommandFault(const QString &command);
    bool waitFor(int ms);
    // The log entry of a request as it arrived (without its user).
    Request arrival(const httplib::Request &request, const Parameters &parameters);
    // The server's task queue: it numbers each connection as it is accepted
    // and keeps it among the connections until the server has closed it.
    class ConnectionQueue;
    qint64 connectionAccepted();
    void connectionClosed(qint64 number);
    // Notes a request on the calling thread's connection, and its two ends.
    void noteRequest(const httplib::Request &request);
    // The connections to the player that the client holds, the request's own
    // included.
    int openConnectionCount();
    // True when the fault drops this request (logged unanswered): the
    // connection served one before.
    bool dropsOnReuse(const Fault &fault, const httplib::Request &request, const Request &arrived,
        const std::function<void()> &actFirst = {});
    void record(Request entry, qint64 bodyBytes, const Outcome &outcome);
    void send(const httplib::Request &request, httplib::Response &response, const Outcome &outcome);
    QString localPath(const QString &remotePath) const;
    bool isImportPath(const QString &remotePath) const;

    void handleCommand(const httplib::Request &request, httplib::Response &response);
    void handleUpload(const httplib::Request &request, httplib::Response &response, const httplib::ContentReader &reader);
    Outcome faultOutcome(const Fault &fault);
    Outcome runCommand(const QString &command, const Parameters &parameters);
    // recordCut logs the request when a reset fault cuts its body.
    Outcome storeUpload(const Parameters &parameters, const httplib::Request &request, const httplib::ContentReader &reader,
        const Fault &fault, qint64 &bodyBytes, const std::function<void(qint64)> &recordCut);

    // -- commands (called with the mutex held) -----------------------------

    Outcome system_();
    Outcome disk();
    Outcome contentList(const Parameters &parameters);
    Outcome tableList(const Parameters &parameters);
    Outcome fileInfo(const Parameters &parameters);
    Outcome playerLog();
    Outcome loadConfig(const Parameters &parameters);
    Outcome loadTable(const Parameters &parameters);
    Outcome removeContent(const Parameters &parameters);
    Outcome removeTableFile(const Parameters &parameters);
    Outcome deleteCalendar(const Parameters &parameters);
    Outcome comSend(const Parameters &parameters);

    // -- registration (LTBL) ------------------------------------------------

    void applyGroupFile(const QString &remotePath);
    void applyPropertyFile(const QString &remotePath);
    void applyCalendarFile(const QString &remotePath);
    void applyTableFile(int table, const QString &remotePath, const QString &prefix, const QString &registered);
    int contentTableFor(const QString &table, const QString &index, const Row &row) const;
    QList<int> contentTablesNamed(const QString &name) const;
    bool removeRow(QList<Row> &rows, const QString &index);
    void putRow(QList<Row> &rows, const Row &row);

    QString address;
    quint16 port = 0;
    std::atomic<int> receiveBuffer {0}; // the accepted connections' receive buffer, in effect
    QTemporaryDir root;
    httplib::Server server;
    std::thread thread;

    mutable std::mutex mutex;
    std::condition_variable stopSignal;
    bool stopping = false;
    int stallsBegun = 0; // delay faults that have started to wait

    QString user = QString::fromLatin1(kDefaultUser);
    QString password = QString::fromLatin1(kDefaultPassword);
    QList<QPair<QString, QString>> system;
    bool diskKnown = true;
    quint64 diskTotal = 64ULL << 30;
    quint64 diskRemain = 48ULL << 30;
    quint64 diskTotalAv = 128ULL << 30;
    quint64 diskRemainAv = 100ULL << 30;
    QMap<int, QList<Row>> contents;
    QMap<int, QList<Row>> tables;
    QString logName = QStringLiteral("syslog.cab");
    QByteArray logData = "MSCF emulated player log";
    QString comReply;
    QHash<QString, Fault> commandFaults;
    // The connections accepted and not yet closed by the server, by the
    // number each got as it was accepted; their two ends are known once they
    // bring a request.
    struct Connection {
        sockaddr_in local {};
        sockaddr_in remote {};
        int requests = 0;
    };
    std::map<qint64, Connection> connections;
    qint64 acceptedConnections = 0;
    Fault uploadFault;
    QList<Request> log;
};

bool EmulatedPlayer::Impl::authorised(const httplib::Request &request, QString *givenUser) const
{
    const std::string header = request.get_header_value("Authorization");
    if (header.rfind("Basic ", 0) != 0)
        return false;
    const QByteArray decoded = QByteArray::fromBase64(QByteArray::fromStdString(header.substr(6)));
    const int colon = decoded.indexOf(':');
    if (colon < 0)
        return false;
    *givenUser = QString::fromUtf8(decoded.left(colon));
    std::lock_guard<std::mutex> lock(mutex);
    return *givenUser == user && QString::fromUtf8(decoded.mid(colon + 1)) == password;
}

Fault EmulatedPlayer::Impl::takeFault(Fault &slot)
{
    const Fault fault = slot;
    if (slot.times > 0 && --slot.times == 0)
        slot = Fault {};
    return fault;
}

Fault EmulatedPlayer::Impl::takeCommandFault(const QString &command)
{
    std::lock_guard<std::mutex> lock(mutex);
    for (const QString &key : {command, QStringLiteral("*")}) {
        auto found = commandFaults.find(key);
        if (found != commandFaults.end() && found->kind != Fault::None)
            return takeFault(*found);
    }
    return Fault {};
}

bool EmulatedPlayer::Impl::dropsOnReuse(const Fault &fault, const httplib::Request &request, const Request &arrived,
                                        const std::function<void()> &actFirst)
{
    bool reused = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto served = connections.find(t_servedConnection);
        reused = served != connections.end() && served->second.requests > 1;
    }
    if ((fault.kind != Fault::DropReused && fault.kind != Fault::ActThenDropReused) || !reused)
        return false;
    if (fault.kind == Fault::ActThenDropReused && actFirst) {
        actFirst();
    } else {
        Outcome dropped;
        dropped.httpStatus = 0;
        record(arrived, 0, dropped);
    }
    resetConnection(request);
    return true;
}

// Sleeps unless the player stops first; false when it stopped.
bool EmulatedPlayer::Impl::waitFor(int ms)
{
    std::unique_lock<std::mutex> lock(mutex);
    ++stallsBegun;
    stopSignal.notify_all();
    if (ms != Fault::kUntilDropped)
        return !stopSignal.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping; });
    const auto served = connections.find(t_servedConnection);
    if (served == connections.end())
        return !stopping;
    const Connection ends = served->second;
    // Nothing signals the client's going but the kernel's state of the
    // connection, so that is asked every few milliseconds.
    while (!stopSignal.wait_for(lock, std::chrono::milliseconds(10), [this] { return stopping; })) {
        lock.unlock();
        const bool held = isHeldByClient(ends.local, ends.remote);
        lock.lock();
        if (!held)
            return !stopping;
    }
    return false;
}

class EmulatedPlayer::Impl::ConnectionQueue final : public httplib::TaskQueue {
public:
    explicit ConnectionQueue(Impl &player) : m_player(player), m_pool(CPPHTTPLIB_THREAD_POOL_COUNT) {}

    void enqueue(std::function<void()> serve) override
    {
        const qint64 number = m_player.connectionAccepted();
        m_pool.enqueue([this, number, serve = std::move(serve)] {
            t_servedConnection = number;
            serve();
            t_servedConnection = 0;
            m_player.connectionClosed(number);
        });
    }
    void shutdown() override { m_pool.shutdown(); }

private:
    Impl &m_player;
    httplib::ThreadPool m_pool;
};

qint64 EmulatedPlayer::Impl::connectionAccepted()
{
    std::lock_guard<std::mutex> lock(mutex);
    connections[++acceptedConnections] = Connection {};
    return acceptedConnections;
}

void EmulatedPlayer::Impl::connectionClosed(qint64 number)
{
    std::lock_guard<std::mutex> lock(mutex);
    connections.erase(number);
}

void EmulatedPlayer::Impl::noteRequest(const httplib::Request &request)
{
    std::lock_guard<std::mutex> lock(mutex);
    const auto served = connections.find(t_servedConnection);
    if (served == connections.end())
        return;
    served->second.local = socketAddress(request.local_addr, request.local_port);
    served->second.remote = socketAddress(request.remote_addr, request.remote_port);
    ++served->second.requests;
}

int EmulatedPlayer::Impl::openConnectionCount()
{
    QList<std::pair<sockaddr_in, sockaddr_in>> ends;
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (const auto &[number, connection] : connections)
            if (connection.requests > 0)
                ends.append({connection.local, connection.remote});
    }
    return int(std::count_if(ends.cbegin(), ends.cend(),
                             [](const auto &pair) { return isHeldByClient(pair.first, pair.second); }));
}

EmulatedPlayer::Request EmulatedPlayer::Impl::arrival(const httplib::Request &request, const Parameters &parameters)
{
    Request entry;
    entry.method = QString::fromStdString(request.method);
    entry.path = QString::fromStdString(request.path);
    entry.parameters = parameters;
    entry.remotePort = request.remote_port;
    entry.connection = t_servedConnection;
    noteRequest(request);
    entry.openConnections = openConnectionCount();
    return entry;
}

void EmulatedPlayer::Impl::record(Request entry, qint64 bodyBytes, const Outcome &outcome)
{
    entry.bodyBytes = bodyBytes;
    entry.httpStatus = outcome.httpStatus;
    entry.status = outcome.status;
    entry.code = outcome.code;
    std::lock_guard<std::mutex> lock(mutex);
    log.append(entry);
}

void EmulatedPlayer::Impl::send(const httplib::Request &request, httplib::Response &response, const Outcome &outcome)
{
    response.status = outcome.httpStatus;
    if (outcome.httpStatus == 401)
        response.set_header("WWW-Authenticate", "Basic realm=\"KDP-R40\"");
    if (!outcome.fileName.isEmpty())
        response.set_header("Content-Disposition", ("attachment; filename=\"" + outcome.fileName + "\"").toStdString());
    const std::string type = outcome.contentType.toStdString();
    if (!outcome.resetMidBody) {
        response.set_content(outcome.body.toStdString(), type.c_str());
        return;
    }
    // Half the announced body, then a reset.
    const std::string body = outcome.body.toStdString();
    const httplib::Request *connection = &request;
    response.set_content_provider(body.size(), type.c_str(),
        [body, connection](size_t, size_t, httplib::DataSink &sink) {
            sink.write(body.data(), body.size() / 2);
            resetConnection(*connection);
            return false;
        });
}

QString EmulatedPlayer::Impl::localPath(const QString &remotePath) const
{
    return root.path() + QDir::cleanPath(QLatin1Char('/') + remotePath);
}

// Only paths inside "/import" are the client's to write.
bool EmulatedPlayer::Impl::isImportPath(const QString &remotePath) const
{
    if (!remotePath.startsWith(QLatin1Char('/')))
        return false;
    const QString clean = QDir::cleanPath(remotePath);
    return clean == QLatin1String("/import") || clean.startsWith(QLatin1String("/import/"));
}

Outcome EmulatedPlayer::Impl::faultOutcome(const Fault &fault)
{
    Outcome outcome;
    switch (fault.kind) {
    case Fault::Serr:
        return serr(fault.code, QStringLiteral("injected fault"));
    case Fault::HttpStatus:
        outcome.httpStatus = fault.code;
        outcome.contentType = "text/plain";
        outcome.body = "injected status";
        return outcome;
    case Fault::NotXml:
        outcome.contentType = "text/html";
        outcome.body = "<html><body>Internal Server Error</body></html>";
        return outcome;
    case Fault::DiskFull:
        return serr(kSerrDiskFull, QStringLiteral("disk full"));
    case Fault::Reply:
        outcome.body = fault.body;
        return outcome;
    default:
        return outcome;
    }
}

void EmulatedPlayer::Impl::handleCommand(const httplib::Request &request, httplib::Response &response)
{
    const Parameters parameters = parseQuery(request.target);
    Request arrived = arrival(request, parameters);
    Outcome outcome;
    if (!authorised(request, &arrived.user)) {
        outcome.httpStatus = 401;
        outcome.contentType = "text/plain";
        outcome.body = "authorisation required";
    } else {
        const QString command = parameterOf(parameters, QStringLiteral("cmd"));
        const Fault fault = takeCommandFault(command);
        const auto act = [&] {
            Outcome acted;
            {
                std::lock_guard<std::mutex> lock(mutex);
                acted = runCommand(command, parameters);
            }
            acted.httpStatus = 0;
            record(arrived, 0, acted);
        };
        if (dropsOnReuse(fault, request, arrived, act))
            return;
        if (fault.kind == Fault::Delay && !waitFor(fault.delayMs))
            return;
        if (fault.kind == Fault::None || fault.kind == Fault::Delay || fault.kind == Fault::Reset
            || fault.kind == Fault::DropReused || fault.kind == Fault::ActThenDropReused) {
            std::lock_guard<std::mutex> lock(mutex);
            outcome = runCommand(command, parameters);
        } else {
            outcome = faultOutcome(fault);
        }
        outcome.resetMidBody = fault.kind == Fault::Reset;
    }
    record(arrived, 0, outcome);
    send(request, response, outcome);
}

void EmulatedPlayer::Impl::handleUpload(const httplib::Request &request, httplib::Response &response,
    const httplib::ContentReader &reader)
{
    const Parameters parameters = parseQuery(request.target);
    Request arrived = arrival(request, parameters);
    qint64 bodyBytes = 0;
    bool recorded = false;
    Outcome outcome;
    if (!authorised(request, &arrived.user)) {
        drainBody(reader, bodyBytes);
        outcome.httpStatus = 401;
        outcome.contentType = "text/plain";
        outcome.body = "authorisation required";
    } else {
        Fault fault;
        {
            std::lock_guard<std::mutex> lock(mutex);
            fault = takeFault(uploadFault);
        }
        if (dropsOnReuse(fault, request, arrived))
            return;
        if (fault.kind == Fault::Serr || fault.kind == Fault::HttpStatus || fault.kind == Fault::NotXml) {
            drainBody(reader, bodyBytes);
            outcome = faultOutcome(fault);
        } else {
            outcome = storeUpload(parameters, request, reader, fault, bodyBytes, [&](qint64 bytes) {
                Outcome cut;
                cut.httpStatus = 0;
                record(arrived, bytes, cut);
                recorded = true;
            });
        }
    }
    if (!recorded)
        record(arrived, bodyBytes, outcome);
    send(request, response, outcome);
}

// Stores an upload body (or makes a folder), applying a delay, a reset or a
// full disk after the fault's byte count.
Outcome EmulatedPlayer::Impl::storeUpload(const Parameters &parameters, const httplib::Request &request,
    const httplib::ContentReader &reader, const Fault &fault, qint64 &bodyBytes,
    const std::function<void(qint64)> &recordCut)
{
    const QString href = parameterOf(parameters, QStringLiteral("href"));
    const bool makeFolder = parameterOf(parameters, QStringLiteral("mkdir")) == QLatin1String("1");
    const QString appendText = parameterOf(parameters, QStringLiteral("append"));
    if (!isImportPath(href)) {
        drainBody(reader, bodyBytes);
        return serr(kSerrPathRefused, QStringLiteral("path refused"));
    }
    const QString path = localPath(href);
    if (makeFolder) {
        drainBody(reader, bodyBytes);
        return QDir().mkpath(path) ? pass() : serr(kSerrPathRefused, QStringLiteral("cannot make folder"));
    }
    QFile target(path);
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Truncate;
    if (!appendText.isEmpty()) {
        const qint64 offset = appendText.toLongLong();
        if (!target.exists() || target.size() < offset || offset <= 0) {
            drainBody(reader, bodyBytes);
            return serr(kSerrFileNotFound, QStringLiteral("nothing to append to"));
        }
        target.resize(offset);
        mode = QIODevice::WriteOnly | QIODevice::Append;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!target.open(mode)) {
        drainBody(reader, bodyBytes);
        return serr(kSerrPathRefused, QStringLiteral("cannot write"));
    }
    bool faultDone = false;
    bool reset = false;
    reader([&](const char *data, size_t length) {
        qint64 take = qint64(length);
        const bool limited = fault.kind == Fault::Reset || fault.kind == Fault::DiskFull || fault.kind == Fault::Delay;
        if (limited && !faultDone)
            take = qMin(take, qMax<qint64>(0, fault.afterBytes - bodyBytes));
        else if (fault.kind == Fault::DiskFull)
            take = 0;
        target.write(data, take);
        bodyBytes += qint64(length);
        if (!limited || faultDone || bodyBytes < fault.afterBytes)
            return true;
        faultDone = true;
        if (fault.kind == Fault::Delay) {
            target.write(data + take, qint64(length) - take);
            target.flush();
            return waitFor(fault.delayMs);
        }
        if (fault.kind == Fault::Reset) {
            target.flush();
            // Logged before the reset: the client goes on the moment it sees it.
            recordCut(bodyBytes);
            resetConnection(request);
            reset = true;
            return false;
        }
        return true; // full disk: the rest of the body is read and dropped
    });
    target.close();
    if (reset) {
        Outcome outcome;
        outcome.httpStatus = 0;
        return outcome;
    }
    return fault.kind == Fault::DiskFull ? faultOutcome(fault) : pass();
}

Outcome EmulatedPlayer::Impl::runCommand(const QString &command, const Parameters &parameters)
{
    if (command == QLatin1String("SYST"))
        return system_();
    if (command == QLatin1String("DRST"))
        return disk();
    if (command == QLatin1String("CLST"))
        return contentList(parameters);
    if (command == QLatin1String("STBL"))
        return tableList(parameters);
    if (command == QLatin1String("FINF"))
        return fileInfo(parameters);
    if (command == QLatin1String("NLOG"))
        return playerLog();
    if (command == QLatin1String("LCNF"))
        return loadConfig(parameters);
    if (command == QLatin1String("LTBL"))
        return loadTable(parameters);
    if (command == QLatin1String("RMCL"))
        return removeContent(parameters);
    if (command == QLatin1String("RMPL"))
        return removeTableFile(parameters);
    if (command == QLatin1String("DTBL"))
        return deleteCalendar(parameters);
    if (command == QLatin1String("COMC"))
        return comSend(parameters);
    static const QStringList simple = {QStringLiteral("DATE"), QStringLiteral("RSET"), QStringLiteral("PLCL"),
        QStringLiteral("PLPL"), QStringLiteral("SPPL"), QStringLiteral("SPCL")};
    if (simple.contains(command))
        return pass();
    return serr(kSerrBadCommand, QStringLiteral("unknown command"));
}

Outcome EmulatedPlayer::Impl::system_()
{
    return pass(parameterOf(system, QStringLiteral("version")), [this](QXmlStreamWriter &writer) {
        for (const auto &value : system) {
            if (value.first != QLatin1String("version"))
                writer.writeTextElement(value.first, value.second);
        }
    });
}

Outcome EmulatedPlayer::Impl::disk()
{
    return pass(QString(), [this](QXmlStreamWriter &writer) {
        if (!diskKnown)
            return;
        writer.writeTextElement(QStringLiteral("total"), QString::number(diskTotal));
        writer.writeTextElement(QStringLiteral("remain"), QString::number(diskRemain));
        writer.writeTextElement(QStringLiteral("totalav"), QString::number(diskTotalAv));
        writer.writeTextElement(QStringLiteral("remainav"), QString::number(diskRemainAv));
    });
}

Outcome EmulatedPlayer::Impl::contentList(const Parameters &parameters)
{
    const QList<Row> &rows = contents[parameterOf(parameters, QStringLiteral("table")).toInt()];
    const QString index = parameterOf(parameters, QStringLiteral("index"));
    if (!index.isEmpty()) {
        for (const Row &row : rows) {
            if (sameIndex(fieldText(row, QStringLiteral("index")), index))
                return rowsReply({row});
        }
        return serr(kSerrNoRows, QStringLiteral("no such content"));
    }
    if (rows.isEmpty())
        return serr(kSerrNoRows, QStringLiteral("no contents"));
    return pass(QString(), [&rows](QXmlStreamWriter &writer) {
        writer.writeStartElement(QStringLiteral("indexes"));
        for (const Row &row : rows)
            writer.writeTextElement(QStringLiteral("index"), fieldText(row, QStringLiteral("index")));
        writer.writeEndElement();
    });
}

Outcome EmulatedPlayer::Impl::tableList(const Parameters &parameters)
{
    const int table = parameterOf(parameters, QStringLiteral("table")).toInt();
    const QString index = parameterOf(parameters, QStringLiteral("index"));
    if (parameterOf(parameters, QStringLiteral("file")) == QLatin1String("1")) {
        const QString prefix = table == 1 ? QStringLiteral("PL") : QStringLiteral("SC");
        QFile file(localPath(QStringLiteral("/import/db/%1%2.xml").arg(prefix, formatIndex(index.toLongLong()))));
        if (table < 1 || table > 2 || !file.open(QIODevice::ReadOnly))
            return serr(kSerrFileNotFound, QStringLiteral("no such file"));
        Outcome outcome;
        outcome.contentType = "application/octet-stream";
        outcome.fileName = QFileInfo(file.fileName()).fileName();
        outcome.body = file.readAll();
        return outcome;
    }
    QList<Row> rows;
    for (const Row &row : tables[table]) {
        if (index.isEmpty() || sameIndex(fieldText(row, QStringLiteral("index")), index))
            rows.append(row);
    }
    if (rows.isEmpty())
        return serr(kSerrNoRows, QStringLiteral("no rows"));
    return rowsReply(rows);
}

Outcome EmulatedPlayer::Impl::fileInfo(const Parameters &parameters)
{
    const QString remote = parameterOf(parameters, QStringLiteral("file"));
    const QFileInfo info(localPath(remote));
    if (!isImportPath(remote) || !info.isFile())
        return serr(kSerrFileNotFound, QStringLiteral("no such file"));
    return pass(QString::number(info.size()));
}

Outcome EmulatedPlayer::Impl::playerLog()
{
    Outcome outcome;
    outcome.contentType = "application/octet-stream";
    outcome.fileName = logName;
    outcome.body = logData;
    return outcome;
}

Outcome EmulatedPlayer::Impl::loadConfig(const Parameters &parameters)
{
    const QString remote = parameterOf(parameters, QStringLiteral("file"));
    if (!isImportPath(remote) || !QFileInfo(localPath(remote)).isFile())
        return serr(kSerrFileNotFound, QStringLiteral("no such file"));
    return pass();
}

Outcome EmulatedPlayer::Impl::loadTable(const Parameters &parameters)
{
    const QString remote = parameterOf(parameters, QStringLiteral("file"));
    if (remote.isEmpty())
        return pass();
    if (!isImportPath(remote) || !QFileInfo(localPath(remote)).isFile())
        return serr(kSerrFileNotFound, QStringLiteral("no such file"));
    applyGroupFile(remote);
    return pass();
}

Outcome EmulatedPlayer::Impl::removeContent(const Parameters &parameters)
{
    const QString index = parameterOf(parameters, QStringLiteral("index"));
    for (const int table : contentTablesNamed(parameterOf(parameters, QStringLiteral("table")))) {
        if (removeRow(contents[table], index))
            return pass();
    }
    return serr(kSerrNotFound, QStringLiteral("no such content"));
}

Outcome EmulatedPlayer::Impl::removeTableFile(const Parameters &parameters)
{
    const QString table = parameterOf(parameters, QStringLiteral("table"));
    const QString name = parameterOf(parameters, QStringLiteral("name"));
    static const QHash<QString, QPair<int, QString>> kinds = {
        {QStringLiteral("playlist"), {1, QStringLiteral("PL")}},
        {QStringLiteral("schedule"), {2, QStringLiteral("SC")}},
        {QStringLiteral("sequence"), {0, QStringLiteral("SQ")}},
    };
    const auto kind = kinds.value(table, {-1, QString()});
    if (kind.first < 0 || !name.startsWith(kind.second) || !name.endsWith(QLatin1String("_TBL")))
        return serr(kSerrBadCommand, QStringLiteral("bad table"));
    const qint64 number = name.mid(2, name.size() - 6).toLongLong();
    const bool rowRemoved = kind.first > 0 && removeRow(tables[kind.first], formatIndex(number));
    const bool fileRemoved = QFile::remove(localPath(QStringLiteral("/import/db/%1%2.xml").arg(kind.second, formatIndex(number))));
    return rowRemoved || fileRemoved ? pass() : serr(kSerrNotFound, QStringLiteral("no such table"));
}

Outcome EmulatedPlayer::Impl::deleteCalendar(const Parameters &parameters)
{
    const QString where = parameterOf(parameters, QStringLiteral("where"));
    if (parameterOf(parameters, QStringLiteral("table")) != QLatin1String("CALENDAR_TBL")
        || !where.startsWith(QLatin1String("index=")))
        return serr(kSerrBadCommand, QStringLiteral("bad table"));
    return removeRow(tables[kCalendarTable], where.mid(6)) ? pass() : serr(kSerrNotFound, QStringLiteral("no such row"));
}

Outcome EmulatedPlayer::Impl::comSend(const Parameters &parameters)
{
    return pass(comReply.isNull() ? parameterOf(parameters, QStringLiteral("rxd")) : comReply);
}

// -- registration ---------------------------------------------------------

void EmulatedPlayer::Impl::applyGroupFile(const QString &remotePath)
{
    QFile file(localPath(remotePath));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader reader(&file);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("group"))
        return;
    while (reader.readNextStartElement()) {
        const QString kind = reader.name().toString();
        // When the entry was registered: its group file date and time.
        const QString registered = QStringLiteral("%1 %2.000")
                                       .arg(reader.attributes().value(QLatin1String("date")).toString(),
                                            reader.attributes().value(QLatin1String("time")).toString());
        const QString name = reader.readElementText().trimmed();
        const QString remote = QStringLiteral("/import/db/") + name;
        if (kind == QLatin1String("property"))
            applyPropertyFile(remote);
        else if (kind == QLatin1String("calendar"))
            applyCalendarFile(remote);
        else if (kind == QLatin1String("playlist"))
            applyTableFile(1, remote, QStringLiteral("PL"), registered);
        else if (kind == QLatin1String("schedule"))
            applyTableFile(2, remote, QStringLiteral("SC"), registered);
    }
}

void EmulatedPlayer::Impl::applyPropertyFile(const QString &remotePath)
{
    QFile file(localPath(remotePath));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader reader(&file);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("content"))
        return;
    while (reader.readNextStartElement()) {
        const QString action = reader.name().toString();
        const QString table = reader.attributes().value(QLatin1String("table")).toString();
        const QString updateIndex = reader.attributes().value(QLatin1String("index")).toString();
        const Row row = readRow(reader);
        const QString index = action == QLatin1String("update") ? updateIndex : fieldText(row, QStringLiteral("index"));
        if (action == QLatin1String("delete")) {
            for (const int code : contentTablesNamed(table))
                removeRow(contents[code], index);
            continue;
        }
        const int code = contentTableFor(table, index, row);
        if (code == 0)
            continue;
        if (action == QLatin1String("insert")) {
            putRow(contents[code], row);
            continue;
        }
        for (Row &existing : contents[code]) {
            if (sameIndex(fieldText(existing, QStringLiteral("index")), index))
                mergeRow(existing, row);
        }
    }
}

void EmulatedPlayer::Impl::applyCalendarFile(const QString &remotePath)
{
    QFile file(localPath(remotePath));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader reader(&file);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("calendar"))
        return;
    while (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String("CALENDAR_TBL")) {
            reader.skipCurrentElement();
            continue;
        }
        while (reader.readNextStartElement()) {
            const QString action = reader.name().toString();
            const Row row = readRow(reader);
            if (action == QLatin1String("delete"))
                removeRow(tables[kCalendarTable], fieldText(row, QStringLiteral("index")));
            else if (action == QLatin1String("insert"))
                putRow(tables[kCalendarTable], row);
        }
    }
}

// A playlist or schedule file registers a row named by its number, with the
// root's attributes and simple child elements as the row's fields.
void EmulatedPlayer::Impl::applyTableFile(int table, const QString &remotePath, const QString &prefix,
                                          const QString &registered)
{
    const QString name = QFileInfo(remotePath).completeBaseName();
    if (!name.startsWith(prefix))
        return;
    Row row = {{QStringLiteral("index"), {}, formatIndex(name.mid(prefix.size()).toLongLong())},
               {QStringLiteral("cdate"), {}, registered}};
    QFile file(localPath(remotePath));
    if (file.open(QIODevice::ReadOnly)) {
        QXmlStreamReader reader(&file);
        if (reader.readNextStartElement()) {
            for (const auto &attribute : reader.attributes())
                row.append({attribute.name().toString(), {}, attribute.value().toString()});
            while (reader.readNextStartElement()) {
                const QString field = reader.name().toString();
                const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
                if (!text.isEmpty())
                    row.append({field, {}, text});
            }
        }
    }
    putRow(tables[table], row);
}

// The content table code of a property row by its table name; web pages and
// Flash share WEB_TBL, COM controls and picture-in-picture share EXTSIO_TBL.
int EmulatedPlayer::Impl::contentTableFor(const QString &table, const QString &index, const Row &row) const
{
    static const QHash<QString, int> codes = {
        {QStringLiteral("MOVIE_TBL"), 1}, {QStringLiteral("STILL_TBL"), 2}, {QStringLiteral("TEXT_TBL"), 3},
        {QStringLiteral("AUDIO_TBL"), 6}, {QStringLiteral("AUDCONT_TBL"), 7}, {QStringLiteral("EXTGPIO_TBL"), 9},
        {QStringLiteral("STREAM_TBL"), 12},
    };
    if (table == QLatin1String("WEB_TBL"))
        return typePartOf(index) == 5 ? 5 : 4;
    if (table == QLatin1String("EXTSIO_TBL"))
        return fieldText(row, QStringLiteral("filename")) == QLatin1String("PinP") ? 13 : 8;
    return codes.value(table, 0);
}

QList<int> EmulatedPlayer::Impl::contentTablesNamed(const QString &name) const
{
    static const QHash<QString, QList<int>> tablesByName = {
        {QStringLiteral("movie"), {1}}, {QStringLiteral("stream"), {12}}, {QStringLiteral("still"), {2}},
        {QStringLiteral("web"), {4, 5}}, {QStringLiteral("text"), {3}}, {QStringLiteral("audio"), {6}},
        {QStringLiteral("audcont"), {7}}, {QStringLiteral("extsio"), {8, 13}}, {QStringLiteral("extgpio"), {9}},
        {QStringLiteral("MOVIE_TBL"), {1}}, {QStringLiteral("STILL_TBL"), {2}}, {QStringLiteral("TEXT_TBL"), {3}},
        {QStringLiteral("WEB_TBL"), {4, 5}}, {QStringLiteral("AUDIO_TBL"), {6}}, {QStringLiteral("AUDCONT_TBL"), {7}},
        {QStringLiteral("EXTSIO_TBL"), {8, 13}}, {QStringLiteral("EXTGPIO_TBL"), {9}}, {QStringLiteral("STREAM_TBL"), {12}},
    };
    return tablesByName.value(name);
}

bool EmulatedPlayer::Impl::removeRow(QList<Row> &rows, const QString &index)
{
    for (int i = 0; i < rows.size(); ++i) {
        if (sameIndex(fieldText(rows[i], QStringLiteral("index")), index)) {
            rows.removeAt(i);
            return true;
        }
    }
    return false;
}

void EmulatedPlayer::Impl::putRow(QList<Row> &rows, const Row &row)
{
    removeRow(rows, fieldText(row, QStringLiteral("index")));
    rows.append(row);
}

// -- public face -------------------------------------------------------------

EmulatedPlayer::EmulatedPlayer(const QString &address)
    : d(std::make_unique<Impl>(address))
{
    d->server.new_task_queue = [impl = d.get()] { return new Impl::ConnectionQueue(*impl); };
    d->server.set_keep_alive_timeout(2);
    d->server.set_tcp_nodelay(true);
    d->server.set_socket_options([impl = d.get()](socket_t socket) { impl->receiveBuffer = FixReceiveBuffer(socket); });
    d->server.Get("/command.php", [this](const httplib::Request &request, httplib::Response &response) {
        d->handleCommand(request, response);
    });
    d->server.Put("/upload.php", [this](const httplib::Request &request, httplib::Response &response,
                                     const httplib::ContentReader &reader) { d->handleUpload(request, response, reader); });
}

EmulatedPlayer::~EmulatedPlayer()
{
    stop();
}

bool EmulatedPlayer::start()
{
    ServeFirstRequestAlone();
    const int port = d->server.bind_to_any_port(d->address.toStdString());
    if (port <= 0)
        return false;
    d->port = quint16(port);
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = false;
    }
    d->thread = std::thread([this] { d->server.listen_after_bind(); });
    // The server takes a stop request only once it runs.
    for (int waited = 0; !d->server.is_running() && waited < 5000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return d->server.is_running();
}

void EmulatedPlayer::stop()
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = true;
    }
    d->stopSignal.notify_all();
    if (d->thread.joinable()) {
        d->server.stop();
        d->thread.join();
    }
}

bool EmulatedPlayer::waitForStalls(int count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(d->mutex);
    return d->stopSignal.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return d->stallsBegun >= count; });
}

qint64 EmulatedPlayer::unreadCapacity() const
{
    // The server reads a body in reads of this size at most and hands each
    // to the upload handler before it reads again.
    return qint64(d->receiveBuffer) + qint64(CPPHTTPLIB_RECV_BUFSIZ);
}

QString EmulatedPlayer::address() const { return d->address; }
quint16 EmulatedPlayer::port() const { return d->port; }
QString EmulatedPlayer::rootFolder() const { return d->root.path(); }

void EmulatedPlayer::setCredentials(const QString &user, const QString &password)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->user = user;
    d->password = password;
}

void EmulatedPlayer::setSystemValue(const QString &name, const QString &value)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    for (auto &entry : d->system) {
        if (entry.first == name) {
            entry.second = value;
            return;
        }
    }
    d->system.append({name, value});
}

QString EmulatedPlayer::systemValue(const QString &name) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return parameterOf(d->system, name);
}

void EmulatedPlayer::setDisk(quint64 total, quint64 remain, quint64 totalAv, quint64 remainAv)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->diskKnown = true;
    d->diskTotal = total;
    d->diskRemain = remain;
    d->diskTotalAv = totalAv;
    d->diskRemainAv = remainAv;
}

void EmulatedPlayer::setDiskUnknown()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->diskKnown = false;
}

void EmulatedPlayer::setContentRow(int table, const Row &row)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->putRow(d->contents[table], row);
}

QList<Row> EmulatedPlayer::contentRows(int table) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->contents.value(table);
}

void EmulatedPlayer::clearContentTable(int table)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->contents.remove(table);
}

void EmulatedPlayer::setTableRow(int table, const Row &row)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->putRow(d->tables[table], row);
}

QList<Row> EmulatedPlayer::tableRows(int table) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->tables.value(table);
}

void EmulatedPlayer::putFile(const QString &remotePath, const QByteArray &data)
{
    const QString path = d->localPath(remotePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
}

bool EmulatedPlayer::hasFile(const QString &remotePath) const
{
    return QFileInfo(d->localPath(remotePath)).isFile();
}

QByteArray EmulatedPlayer::file(const QString &remotePath) const
{
    QFile file(d->localPath(remotePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void EmulatedPlayer::setLogFile(const QString &name, const QByteArray &data)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->logName = name;
    d->logData = data;
}

void EmulatedPlayer::setComReply(const QString &hexText)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->comReply = hexText;
}

void EmulatedPlayer::setCommandFault(const QString &command, const Fault &fault)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->commandFaults[command] = fault;
}

void EmulatedPlayer::setUploadFault(const Fault &fault)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->uploadFault = fault;
}

void EmulatedPlayer::clearFaults()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->commandFaults.clear();
    d->uploadFault = Fault {};
}

QList<EmulatedPlayer::Request> EmulatedPlayer::requests() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->log;
}

QList<EmulatedPlayer::Request> EmulatedPlayer::requests(const QString &command) const
{
    QList<Request> matching;
    for (const Request &request : requests()) {
        if (request.command() == command)
            matching.append(request);
    }
    return matching;
}

void EmulatedPlayer::clearRequests()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->log.clear();
}
