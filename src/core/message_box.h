#pragma once
// Message boxes by string id. Every message the program shows goes through
// one prompter; the user interface installs one that opens a real dialog,
// tests install a scripted one. Styles and answers keep their Win32 values,
// because the callers compare them (only IDYES continues a question).

#include "core/printf_format.h"

#include <QString>
#include <QStringList>

class QObject;

// Style: the buttons (low four bits), the icon and the default button.
enum : quint32 {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,

    MB_ICONHAND = 0x10,
    MB_ICONERROR = MB_ICONHAND,
    MB_ICONSTOP = MB_ICONHAND,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = MB_ICONEXCLAMATION,
    MB_ICONINFORMATION = 0x40,
    MB_ICONASTERISK = MB_ICONINFORMATION,
    MB_ICONMASK = 0xF0,

    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xF00,
};

// The button pressed.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

// One message as it is to be shown.
struct MessagePrompt {
    QObject *owner = nullptr; // the window the box belongs to; may be null
    QString text;             // final text, arguments filled in
    QString caption;
    quint32 captionId = 0;
    quint32 stringId = 0;     // 0 for a ready text (MessageBoxWithCaptionId)
    quint32 style = MB_OK;
    QStringList arguments;    // the format arguments as plain text, in order
};

class IMessagePrompter {
public:
    virtual ~IMessagePrompter() = default;
    // Shows the message and returns the button pressed (IDOK ... IDNO).
    virtual int prompt(const MessagePrompt &message) = 0;
};

// Installs the prompter; nullptr restores the default one. The caller keeps
// ownership and uninstalls it before destroying it.
void SetMessagePrompter(IMessagePrompter *prompter);
IMessagePrompter &MessagePrompter();

// The answer given when nobody can be asked: OK to a notice, and the answer
// that changes nothing to a question (No for Yes/No, Cancel where there is a
// Cancel button, Abort for Abort/Retry/Ignore). The default prompter logs the
// message and gives this answer.
int SafeDefaultAnswer(quint32 style);

// The string-table id of the caption the program's messages carry: its title.
inline constexpr quint32 kTitleCaption = 1;

// The string-table text of id with the caption of captionId.
int ShowMessage(QObject *owner, quint32 id, quint32 captionId, quint32 style);

// The string-table format of formatId filled with the arguments by printf
// rules (FormatPrintf: "%s" takes a UTF-8 C string or a QString).
int ShowMessageFormatArgs(QObject *owner, quint32 captionId, quint32 style, quint32 formatId,
                          const QList<PrintfArg> &args);

template <typename... Args>
int ShowMessageFormat(QObject *owner, quint32 captionId, quint32 style, quint32 formatId, const Args &...args)
{
    return ShowMessageFormatArgs(owner, captionId, style, formatId, {PrintfArg(args)...});
}

// A ready text with the caption of captionId.
int MessageBoxWithCaptionId(QObject *owner, const QString &text, quint32 captionId, quint32 style);
