#include "app/telv_tool_bar_ctrl.h"

#include "widgets/app_resources.h"
#include "app/cmd_ui.h"
#include "widgets/idle_signal.h"
#include "app/pane_frame.h"
#include "widgets/separator_cleanup.h"
#include "core/string_table.h"

#include <QAction>
#include <QIcon>
#include <QToolButton>

CTelvToolBarCtrl::CTelvToolBarCtrl(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QString::number(kControlId));
    setMovable(false);
    setFloatable(false);
    setOrientation(Qt::Horizontal);
    connect(&CIdleSignal::Instance(), &CIdleSignal::idle, this, [this] { OnIdleUpdateCmdUI(); });
}

bool CTelvToolBarCtrl::Initialize(const QSize &buttonSize, bool listStyle)
{
    if (buttonSize.isEmpty())
        return false;
    setIconSize(buttonSize);
    setToolButtonStyle(listStyle ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    m_listStyle = listStyle;
    return true;
}

bool CTelvToolBarCtrl::AddButton(const ToolBarButton &button)
{
    if (button.command < 0)
        return false;
    QIcon icon;
    icon.addPixmap(LoadIconResource(button.normalIcon), QIcon::Normal);
    icon.addPixmap(LoadIconResource(button.hotIcon), QIcon::Active);
    icon.addPixmap(LoadIconResource(button.disabledIcon), QIcon::Disabled);

    const QString text = LoadString(quint32(button.command));
    auto *action = new QAction(icon, m_listStyle ? text : QString(), this);
    action->setObjectName(QString::number(button.command));
    action->setToolTip(text);
    action->setCheckable(button.style & BTNS_CHECK);
    action->setChecked(button.state & TBSTATE_CHECKED);
    action->setEnabled(button.state & TBSTATE_ENABLED);
    action->setVisible(!(button.state & TBSTATE_HIDDEN));
    const int command = button.command;
    connect(action, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
    addAction(action);
    if (QWidget *w = widgetForAction(action))
        w->setObjectName(action->objectName());
    return true;
}

void CTelvToolBarCtrl::AddSeparator()
{
    addSeparator();
}

void CTelvToolBarCtrl::RemoveExtraSeparators()
{
    RemoveExtraSeparatorActions(this);
}

QAction *CTelvToolBarCtrl::FindButton(int commandId) const
{
    const QString name = QString::number(commandId);
    for (QAction *action : actions()) {
        if (!action->isSeparator() && action->objectName() == name)
            return action;
    }
    return nullptr;
}

int CTelvToolBarCtrl::GetButtonCount() const
{
    return int(actions().size());
}

QSize CTelvToolBarCtrl::GetMaxSize() const
{
    return sizeHint();
}

void CTelvToolBarCtrl::updateCommandState(CCmdUI &cmdUi) const
{
    if (auto *pane = dynamic_cast<ICmdUiTarget *>(parentWidget()))
        pane->OnUpdateCommand(cmdUi);
    if (!cmdUi.handled) {
        if (IPaneFrame *frame = GetPaneFrame())
            frame->OnUpdateCommand(cmdUi);
    }
}

void CTelvToolBarCtrl::OnIdleUpdateCmdUI(bool disableIfNoHandler)
{
    if (!isVisible() || !parentWidget())
        return;
    for (QAction *action : actions()) {
        if (action->isSeparator())
            continue;
        CCmdUI cmdUi(action->objectName().toInt());
        cmdUi.enabled = action->isEnabled();
        cmdUi.checked = action->isChecked();
        updateCommandState(cmdUi);
        if (!cmdUi.handled && disableIfNoHandler)
            cmdUi.enabled = false;
        action->setEnabled(cmdUi.enabled);
        if (action->isCheckable())
            action->setChecked(cmdUi.checked);
    }
}

void CTelvToolBarCtrl::showEvent(QShowEvent *event)
{
    QToolBar::showEvent(event);
    OnIdleUpdateCmdUI();
}
