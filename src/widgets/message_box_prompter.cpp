#include "widgets/message_box_prompter.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QThread>

#include <algorithm>

namespace {

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton first;
    QMessageBox::StandardButton second;
    QMessageBox::StandardButton third;
};

ButtonSet ButtonsOfStyle(quint32 style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::NoButton};
    case MB_ABORTRETRYIGNORE:
        return {QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Abort, QMessageBox::Retry,
                QMessageBox::Ignore};
    case MB_YESNOCANCEL:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No,
                QMessageBox::Cancel};
    case MB_YESNO:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No, QMessageBox::NoButton};
    case MB_RETRYCANCEL:
        return {QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry, QMessageBox::Cancel,
                QMessageBox::NoButton};
    default:
        return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::NoButton};
    }
}

QMessageBox::Icon IconOfStyle(quint32 style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButton DefaultButton(quint32 style, const ButtonSet &set)
{
    switch (style & MB_DEFMASK) {
    case MB_DEFBUTTON2:
        return set.second;
    case MB_DEFBUTTON3:
        return set.third;
    default:
        return set.first;
    }
}

// The messages name their buttons in Japanese ([はい], [いいえ]); the boxes
// say the same whatever translation the toolkit has loaded.
void NameButtons(QMessageBox &box)
{
    static const std::pair<QMessageBox::StandardButton, const char *> kTexts[] = {
        {QMessageBox::Ok, "OK"},          {QMessageBox::Cancel, "キャンセル"}, {QMessageBox::Yes, "はい"},
        {QMessageBox::No, "いいえ"},      {QMessageBox::Abort, "中止"},        {QMessageBox::Retry, "再試行"},
        {QMessageBox::Ignore, "無視"},
    };
    for (const auto &[button, text] : kTexts) {
        if (QAbstractButton *shown = box.button(button))
            shown->setText(QString::fromUtf8(text));
    }
}

// The toolkit wraps a message at 500 pixels and, past the widest box it
// allows on the screen, anywhere in a word; a file name or an address then
// breaks at the box's edge. The box is made as wide as the message's widest
// line instead, up to that limit, so the lines break only where they say.
constexpr int kWidestBoxOnLargeScreens = 1000;
constexpr int kLargeScreenWidth = 1024;
constexpr int kRoomBesideScreen = 480;
// The icon, the margins and a little slack beside the text.
constexpr int kRoomBesideText = 160;

void WidenToText(QMessageBox &box)
{
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    const int position = grid && label ? grid->indexOf(label) : -1;
    if (position < 0)
        return;
    int widest = 0;
    for (const QString &line : box.text().split(QLatin1Char('\n')))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line) + 1);
    const QScreen *screen = box.screen();
    const int screenWidth = screen ? screen->availableGeometry().width() : kLargeScreenWidth;
    const int widestBox = screenWidth <= kLargeScreenWidth
                              ? screenWidth
                              : std::min(screenWidth - kRoomBesideScreen, kWidestBoxOnLargeScreens);
    int row = 0;
    int column = 0;
    int rowSpan = 0;
    int columnSpan = 0;
    grid->getItemPosition(position, &row, &column, &rowSpan, &columnSpan);
    grid->addItem(new QSpacerItem(std::min(widest, widestBox - kRoomBesideText), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Minimum),
                  grid->rowCount(), column);
}

int AnswerOfButton(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Abort:
        return IDABORT;
    case QMessageBox::Retry:
        return IDRETRY;
    case QMessageBox::Ignore:
        return IDIGNORE;
    default:
        return IDCANCEL;
    }
}

QWidget *OwnerWindow(QObject *owner)
{
    if (auto *widget = qobject_cast<QWidget *>(owner))
        return widget->window();
    return QApplication::activeWindow();
}

} // namespace

CMessageBoxPrompter::CMessageBoxPrompter()
{
    SetMessagePrompter(this);
}

CMessageBoxPrompter::~CMessageBoxPrompter()
{
    if (&MessagePrompter() == this)
        SetMessagePrompter(nullptr);
}

int CMessageBoxPrompter::prompt(const MessagePrompt &message)
{
    // A box can only open on the user-interface thread; elsewhere the answer
    // that changes nothing is given.
    if (!qApp || QThread::currentThread() != qApp->thread())
        return SafeDefaultAnswer(message.style);
    const ButtonSet set = ButtonsOfStyle(message.style);
    QMessageBox box(IconOfStyle(message.style), message.caption, message.text, set.buttons,
                    OwnerWindow(message.owner));
    NameButtons(box);
    WidenToText(box);
    box.setDefaultButton(DefaultButton(message.style, set));
    const int escape = set.buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                       : (message.style & MB_TYPEMASK) == MB_YESNO ? QMessageBox::No
                                                                     : set.first;
    box.setEscapeButton(QMessageBox::StandardButton(escape));
    const int result = box.exec();
    return AnswerOfButton(result);
}
