#include "core/message_box.h"

#include "core/staged_files.h"
#include "core/string_table.h"
#include "core/syslog.h"

#include <atomic>

namespace {

const char *ButtonName(int button)
{
    switch (button) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDABORT:
        return "Abort";
    case IDRETRY:
        return "Retry";
    case IDIGNORE:
        return "Ignore";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    }
    return "?";
}

// Without a window nobody can answer: the message goes to the log and the
// question gets the answer that changes nothing.
class LoggingPrompter final : public IMessagePrompter {
public:
    int prompt(const MessagePrompt &message) override
    {
        const int answer = SafeDefaultAnswer(message.style);
        QString text = message.text;
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        WriteSyslog(LOG_NOTICE, "ShowMessage : ID = %u : %s : Answer = %s", message.stringId, qUtf8Printable(text),
                    ButtonName(answer));
        return answer;
    }
};

LoggingPrompter g_loggingPrompter;
std::atomic<IMessagePrompter *> g_prompter{nullptr};

// An id without text is a fault of the table; the empty box still shows so
// that the caller's flow stays as written, and the log names the id.
QString LoadMessageText(quint32 id)
{
    QString text = LoadString(id);
    if (text.isEmpty())
        WriteSyslog(LOG_WARNING, "ShowMessage : No text for string ID = %u", id);
    return text;
}

int Prompt(MessagePrompt message)
{
    if (!PromptAllowedNow(message.text))
        return SafeDefaultAnswer(message.style);
    message.caption = LoadString(message.captionId);
    return MessagePrompter().prompt(message);
}

} // namespace

void SetMessagePrompter(IMessagePrompter *prompter)
{
    g_prompter.store(prompter);
}

IMessagePrompter &MessagePrompter()
{
    IMessagePrompter *prompter = g_prompter.load();
    return prompter ? *prompter : g_loggingPrompter;
}

int SafeDefaultAnswer(quint32 style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default: // OK/Cancel, Yes/No/Cancel, Retry/Cancel and unknown sets
        return IDCANCEL;
    }
}

int ShowMessage(QObject *owner, quint32 id, quint32 captionId, quint32 style)
{
    MessagePrompt message;
    message.owner = owner;
    message.text = LoadMessageText(id);
    message.captionId = captionId;
    message.stringId = id;
    message.style = style;
    return Prompt(std::move(message));
}

int ShowMessageFormatArgs(QObject *owner, quint32 captionId, quint32 style, quint32 formatId,
                          const QList<PrintfArg> &args)
{
    MessagePrompt message;
    message.owner = owner;
    message.text = FormatPrintf(LoadMessageText(formatId), args);
    message.captionId = captionId;
    message.stringId = formatId;
    message.style = style;
    for (const PrintfArg &arg : args)
        message.arguments += arg.toText();
    return Prompt(std::move(message));
}

int MessageBoxWithCaptionId(QObject *owner, const QString &text, quint32 captionId, quint32 style)
{
    MessagePrompt message;
    message.owner = owner;
    message.text = text;
    message.captionId = captionId;
    message.style = style;
    return Prompt(std::move(message));
}
