#include "ui/contents/play_position_dlg.h"

#include "widgets/control_id.h"
#include "core/app_ini.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "ui/contents/content_dialog_messages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr quint32 kMsgTooShort = 5100;
constexpr quint32 kPositionTexts[] = {5940, 5941, 5942, 5774};
constexpr int kMinPlaySeconds = 5;
constexpr int kWideMaximum = 1000;

const char *const kInterruptPlayTitle = "割り込み再生";
const char *const kUntilStopped = "[停止]するまで再生";
const char *const kGivenTime = "指定時間再生";
const char *const kTimeLabel = "再生時間：";
const char *const kPositionGroup = "テロップの表示位置";
const char *const kPlay = "再生";

int secondsOf(const QTime &time)
{
    return time.hour() * 3600 + time.minute() * 60 + time.second();
}

} // namespace

CPlayPositionDlg::CPlayPositionDlg(int contentType, QWidget *parent) : QDialog(parent), m_contentType(contentType)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8(kInterruptPlayTitle));
    auto *column = new QVBoxLayout(this);
    m_untilStopped = WithControlId(new QRadioButton(QString::fromUtf8(kUntilStopped), this), kUntilStoppedId);
    m_givenTime = WithControlId(new QRadioButton(QString::fromUtf8(kGivenTime), this), kGivenTimeId);
    column->addWidget(m_untilStopped);
    column->addWidget(m_givenTime);
    auto *timeRow = new QFormLayout;
    m_time = WithControlId(new QTimeEdit(this), kTimeId);
    m_time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    timeRow->addRow(QString::fromUtf8(kTimeLabel), m_time);
    column->addLayout(timeRow);

    m_positionGroup = WithControlId(new QGroupBox(QString::fromUtf8(kPositionGroup), this), kPositionGroupId);
    auto *positionRow = new QHBoxLayout(m_positionGroup);
    m_positionCombo = WithControlId(new QComboBox(m_positionGroup), kPositionComboId);
    m_positionEdit = WithControlId(new QLineEdit(m_positionGroup), kPositionEditId);
    m_positionRange = WithControlId(new QLabel(QStringLiteral("(0-1080)"), m_positionGroup), kPositionRangeId);
    positionRow->addWidget(m_positionCombo);
    positionRow->addWidget(m_positionEdit);
    positionRow->addWidget(m_positionRange);
    column->addWidget(m_positionGroup);

    m_play = WithControlId(new QPushButton(QString::fromUtf8(kPlay), this), kPlayButtonId);
    m_play->setDefault(true);
    column->addWidget(m_play, 0, Qt::AlignHCenter);
    connect(m_play, &QPushButton::clicked, this, &CPlayPositionDlg::accept);
    connect(m_untilStopped, &QRadioButton::toggled, this, [this](bool on) { m_time->setEnabled(!on); });
    connect(m_positionCombo, &QComboBox::currentIndexChanged, this, [this] { updatePosition(); });
}

CPlayPositionDlg::~CPlayPositionDlg() = default;

int CPlayPositionDlg::ownSeconds() const
{
    return m_settings.hours * 3600 + m_settings.minutes * 60 + m_settings.seconds;
}

void CPlayPositionDlg::showEvent(QShowEvent *event)
{
    if (!m_initialised)
        OnInitDialog();
    QDialog::showEvent(event);
}

void CPlayPositionDlg::OnInitDialog()
{
    m_initialised = true;
    const CAppIni &ini = GetAppIni();
    const bool given = ini.GetLastPlayMode(m_contentType) == 1;
    (given ? m_givenTime : m_untilStopped)->setChecked(true);
    m_time->setEnabled(given);
    // What is offered is never refused: a content shorter than the shortest
    // play is offered that.
    const int own = ownSeconds() > 0 ? std::max(ownSeconds(), kMinPlaySeconds) : 0;
    const PlayLength shown = own > 0 ? PlayLength{quint16(own / 3600), quint16(own / 60 % 60), quint16(own % 60), 0}
                                     : ini.GetLastPlayTime(m_contentType);
    m_time->setTime(QTime(shown.hour, shown.minute, shown.second));
    if (!isTelop()) {
        m_positionGroup->hide();
        layout()->activate();
        m_anchors.AddControl(m_play, ANCHOR_BOTTOM | ANCHOR_KEEP_HEIGHT);
        resize(width(), kShortHeight);
        return;
    }
    m_positionCombo->clear();
    for (quint32 id : kPositionTexts)
        m_positionCombo->addItem(LoadString(id));
    m_userPosition = ini.GetLastPlayTelopPosY();
    m_positionCombo->setCurrentIndex(qBound(0, ini.GetLastPlayTelopPosSel(), kUserPosition));
    updatePosition();
}

void CPlayPositionDlg::updatePosition()
{
    const int maximum = m_settings.maxPosition;
    const int selection = m_positionCombo->currentIndex();
    const int positions[] = {0, maximum / 2, maximum, m_userPosition};
    m_positionEdit->setText(QString::number(positions[qBound(0, selection, kUserPosition)]));
    m_positionEdit->setMaxLength(maximum >= kWideMaximum ? 4 : 3);
    m_positionRange->setText(QStringLiteral("(0-%1)").arg(maximum));
    m_positionEdit->setEnabled(selection == kUserPosition);
}

bool CPlayPositionDlg::readPosition()
{
    const QString text = m_positionEdit->text();
    bool isNumber = IsDecimalDigits(text);
    const int position = isNumber ? text.toInt(&isNumber) : -1;
    // A position that is not a whole number from 0 to the screen height
    // would put the telop off the screen.
    if (!isNumber || position > m_settings.maxPosition) {
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgOutOfRange, 0, m_settings.maxPosition);
        m_positionEdit->setFocus();
        return false;
    }
    m_settings.telopPosition = position;
    if (m_positionCombo->currentIndex() == kUserPosition) {
        m_userPosition = position;
        GetAppIni().SetLastPlayTelopPosY(position);
    }
    GetAppIni().SetLastPlayTelopPosSel(m_positionCombo->currentIndex());
    return true;
}

void CPlayPositionDlg::accept()
{
    if (isTelop() && !readPosition())
        return;
    const bool given = m_givenTime->isChecked();
    int playSeconds = 0;
    if (given) {
        playSeconds = secondsOf(m_time->time());
        if (playSeconds < kMinPlaySeconds) {
            ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgTooShort, kMinPlaySeconds);
            return;
        }
        if (ownSeconds() == 0) {
            const QTime picked = m_time->time();
            GetAppIni().SetLastPlayTime(
                m_contentType, PlayLength{quint16(picked.hour()), quint16(picked.minute()), quint16(picked.second()), 0});
        }
    }
    m_settings.playSeconds = playSeconds;
    // Cleared as well as set, so a block used before carries no old flag.
    m_settings.longPlay = playSeconds == 0 || (ownSeconds() > 0 && playSeconds > ownSeconds()) ? 1 : 0;
    GetAppIni().SetLastPlayMode(m_contentType, given ? 1 : 0);
    QDialog::accept();
}

void CPlayPositionDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (!isMinimized())
        m_anchors.Apply(this);
}

bool CPlayPositionPrompter::PromptPlayPosition(QWidget *owner, InterruptPlayChoice &choice)
{
    CPlayPositionDlg dialog(choice.contentType, owner);
    PlaySettings settings;
    settings.hours = choice.hours;
    settings.minutes = choice.minutes;
    settings.seconds = choice.seconds;
    settings.maxPosition = choice.maxPosition;
    dialog.SetPlaySettings(settings);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetPlaySettings(settings);
    choice.playSeconds = settings.playSeconds;
    choice.telopPosition = settings.telopPosition;
    choice.longPlay = settings.longPlay;
    return true;
}

CPlayPositionPrompter &CPlayPositionPrompter::Instance()
{
    static CPlayPositionPrompter prompter;
    return prompter;
}
