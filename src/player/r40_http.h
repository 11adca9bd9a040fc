#pragma once
// The HTTP client to one player: commands as GET "command.php", uploads as PUT
// "upload.php", HTTP Basic authorisation, one kept-alive connection (and a
// connection of its own for each command that acts on the player). Calls block
// the calling thread; Abort from any other thread ends the waiting call at
// once. The wire is described in docs/player-protocol.md.

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class CR40Request;

// Own error values of the client (bit 0x20000000 set). Every other last error
// is a platform error number (see MapTransportError in r40_http.cpp).
enum : quint32 {
    R40_ERROR_OWN = 0x20000000,
    R40_ERROR_STOPPED = 0x20000001,      // Abort ended the call
    R40_ERROR_TIMEOUT = 0x20000002,      // connect or transfer time-out
    R40_ERROR_NOT_CONNECTED = 0x20000003, // Init and Connect were not called
    R40_ERROR_UPLOAD_REFUSED = 0x2000000B, // the player answered an upload with SERR
    R40_ERROR_BAD_PARAMETER = 0x200003E7,  // SetParameter refused a value
    R40_ERROR_HTTP_STATUS = 0x200003E8,    // + the HTTP status of a reply other than 200
    R40_ERROR_HTTP_STATUS_LAST = 0x200007CF,
};

// Network error numbers of the platform HTTP layer that callers act on.
enum : quint32 {
    INET_ERROR_INTERNAL = 12004,
    INET_ERROR_NAME_NOT_RESOLVED = 12007,
    INET_ERROR_CANNOT_CONNECT = 12029,
    INET_ERROR_CONNECTION_ABORTED = 12030,
    INET_ERROR_CONNECTION_RESET = 12031,
    INET_ERROR_INVALID_SERVER_RESPONSE = 12152,
    INET_ERROR_DISCONNECTED = 12163,
};

// Parameter block of SetParameter; mask says which fields to take.
enum : quint32 {
    R40_PARAM_PORT = 0x02,
    R40_PARAM_CONNECT_TIMEOUT = 0x04,
    R40_PARAM_TRANSFER_TIMEOUT = 0x08,
    R40_PARAM_SEND_BUFFER = 0x10,
    R40_PARAM_RECEIVE_BUFFER = 0x20,
    R40_PARAM_WORK_FOLDER = 0x40,
    R40_PARAM_ALL = 0x7E,
};

constexpr quint32 kR40MaxTimeoutMs = 1800000;
constexpr quint32 kR40MaxBufferKiB = 10240;
constexpr quint16 kR40DefaultPort = 4980;
// The HTTP status a player answers a command with a wrong password.
constexpr int kHttpStatusUnauthorized = 401;

struct R40HttpParam {
    quint32 mask = 0;
    quint16 port = kR40DefaultPort;
    quint32 connectTimeout = 30000;  // ms
    quint32 transferTimeout = 60000; // ms without any byte moving
    quint32 sendBufferSize = 1024;   // KiB
    quint32 receiveBufferSize = 512; // KiB
    QString workFolder;              // where file replies are written
};

// Progress kinds reported through the callback.
enum : int {
    R40_PROGRESS_SENT = 1,
    R40_PROGRESS_RECEIVED = 2,
};
using R40HttpCallback = void (*)(void *context, int kind, quint64 amount);

class CR40Http {
public:
    CR40Http();
    ~CR40Http();
    CR40Http(const CR40Http &) = delete;
    CR40Http &operator=(const CR40Http &) = delete;

    // Takes the fields named by the mask; false and R40_ERROR_BAD_PARAMETER
    // when a value is out of range (nothing is taken then).
    bool SetParameter(const R40HttpParam &param);
    // The current values, with every mask bit set.
    R40HttpParam GetParameter() const;

    // Opens the client's handles and clears an earlier abort.
    bool Init();
    // Remembers the player and the Basic credentials; clears an earlier abort.
    bool Connect(const QString &host, const QString &user, const QString &password);
    // Sends the request's command and fills its reply. False only when the
    // exchange failed (GetLastError tells why); a reply that could not be
    // analysed gives true with the request's status R40_REPLY_NONE.
    bool SendCommand(CR40Request *request);
    // Uploads a file: whole when offset is 0, else the bytes from offset on
    // are appended to the player's copy.
    bool SendFile(const QString &localPath, const QString &remotePath, quint64 offset);
    // Creates a folder (and the folders above it) on the player.
    bool MakeDirectory(const QString &remoteFolder);
    // Releases the handles; the next use needs Init and Connect again.
    bool Close();
    // Callable from any thread: the waiting call ends with R40_ERROR_STOPPED,
    // and so does every later call until Init or Connect.
    void Abort();
    // True while a request is open.
    bool IsBusy() const { return m_busy.load(); }

    // Progress reports (amount = bytes moved since the previous report; of an
    // upload, bytes the player acknowledged, not those still on their way).
    void EnableCallback(bool enable, R40HttpCallback callback, void *context);

    quint32 GetLastError() const { return m_lastError; }

private:
    struct Exchange;

    bool fail(quint32 error);
    bool checkReady();
    // Which connection an attempt goes out on.
    enum ConnectionUse {
        Reuse,         // the kept-alive connection, or a new one kept alive
        NewKeptAlive,  // a new connection, kept alive afterwards
        OwnConnection, // a new connection, closed after the answer
    };

    bool perform(Exchange &exchange);
    // One attempt; the libcurl result code.
    int transfer(Exchange &exchange, ConnectionUse use, bool &aborted, bool &timedOut);
    bool checkReplyStatus(const Exchange &exchange);
    bool finishDownload(Exchange &exchange, CR40Request *request);
    void decideReplyKind(Exchange &exchange);
    void reportProgress(Exchange &exchange, bool answered);
    quint64 acknowledgedUpload(quint64 written, quint64 whenUnknown) const;
    void reportAmounts(Exchange &exchange, quint64 uploaded, quint64 downloaded);
    bool sendUpload(const QString &query, int fileDescriptor, quint64 length);
    QString baseUrl() const;

    static size_t onWrite(char *data, size_t size, size_t count, void *user);
    static size_t onHeader(char *data, size_t size, size_t count, void *user);
    static size_t onRead(char *data, size_t size, size_t count, void *user);
    static int onSeek(void *user, int64_t offset, int origin);
    static int onProgress(void *user, int64_t downloadTotal, int64_t downloadNow, int64_t uploadTotal, int64_t uploadNow);

    R40HttpParam m_param;
    QString m_host;
    QString m_user;
    QString m_password;

    void *m_easy = nullptr;  // CURL *
    void *m_multi = nullptr; // CURLM *
    void *m_headers = nullptr; // curl_slist *
    // The open connections' sockets, kept by libcurl's callbacks on the
    // thread that runs the exchange.
    std::vector<int> m_sockets;
    std::mutex m_handleMutex; // guards m_multi against Abort from another thread

    std::atomic<bool> m_abort{false};
    std::atomic<bool> m_busy{false};
    bool m_connected = false;

    R40HttpCallback m_callback = nullptr;
    void *m_callbackContext = nullptr;

    quint32 m_lastError = 0;
};

// The client shared by the main frame for single player commands.
CR40Http &GetHttpClient();

// The fixed user name of HTTP Basic authorisation with every player, also the
// password used when a player record holds none.
QString DefaultPlayerUser();
