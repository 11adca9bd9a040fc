#pragma once
// Application messages: how a worker thread, the transfer manager's callback
// or a dialog reports to a window. A message is a custom event carrying its
// number n (the message is WM_APP + n) and two 32-bit values, posted with
// QCoreApplication::postEvent so that the receiving window handles it on the
// user-interface thread. Workers never touch windows; posting is their only
// way to reach one.

#include <QEvent>

class QObject;

// The first application message number.
constexpr int WM_APP = 0x8000;

// The numbers (n of WM_APP + n), grouped by operation in blocks of ten.
enum AppMessage : int {
    APPMSG_REGIST_END = 1,         // content registration finished (result, detail)
    APPMSG_REGIST_COPY = 2,        // copying the file at an index of the registered paths
    APPMSG_REGIST_STEP = 3,        // registration or replacement reached an item index
    APPMSG_REGIST_THUMB = 4,       // making the thumbnail of the file at an index
    APPMSG_DELETE_END = 11,        // contents deletion finished (outcome, error)
    APPMSG_DELETE_STEP = 12,       // deletion reached an item index
    APPMSG_TRANSFER_END = 21,      // the transfer manager ended (1 success, 0 not)
    APPMSG_TRANSFER_NOTICE = 22,   // a retry pass of the transfer begins
    APPMSG_TRANSFER_PROGRESS = 23, // a player finished a unit of work
    APPMSG_LOG_END = 31,           // log archive written (nonzero) or not (0)
    APPMSG_COMMAND_END = 41,       // player command finished (result, detail)
    APPMSG_CONTROL_TEST_END = 51,  // control command test send finished (to its editor)
    APPMSG_PRINT_END = 81,         // printing finished (0, 1 no spreadsheet program, other)
    APPMSG_TELOP_PREVIEW_END = 91, // telop preview closed (to the telop editor)
    APPMSG_TELOP_CHANGED = 92,     // telop text changed (to the telop editor)
    APPMSG_EXPORT_FIRST = 101,     // export progress: 101 to 106
    APPMSG_EXPORT_LAST_STEP = 106,
    APPMSG_EXPORT_END = 107,       // export ended (result)
    APPMSG_IMPORT_FIRST = 120,     // import question (120) and progress: 121 to 125
    APPMSG_IMPORT_LAST_STEP = 125,
    APPMSG_IMPORT_END = 126,       // import ended (result)
    APPMSG_REPLACE_END = 131,      // material replacement finished (result, detail)
    APPMSG_LAST = 152,             // the highest number any window uses
};

class CAppMessageEvent : public QEvent {
public:
    CAppMessageEvent(int number, quint32 wParam, quint32 lParam);

    // The event type of every application message.
    static QEvent::Type EventType();

    int Number() const { return m_number; }      // n
    int Message() const { return WM_APP + m_number; }
    quint32 WParam() const { return m_wParam; }
    quint32 LParam() const { return m_lParam; }

private:
    int m_number;
    quint32 m_wParam;
    quint32 m_lParam;
};

// Posts message n to target; safe from any thread while target lives. False
// (last error 1400) when there is no target or no application to deliver it.
bool PostAppMessage(QObject *target, int number, quint32 wParam, quint32 lParam);

// The application message an event carries; null for any other event.
const CAppMessageEvent *AsAppMessage(const QEvent *event);
