#include "widgets/separator_cleanup.h"

#include <QAction>
#include <QWidget>

int RemoveExtraSeparatorActions(QWidget *widget)
{
    if (!widget)
        return 0;
    QList<QAction *> doomed;
    bool previousWasSeparator = true; // a separator at the start goes
    QAction *lastKeptSeparator = nullptr;
    for (QAction *action : widget->actions()) {
        if (!action->isSeparator()) {
            previousWasSeparator = false;
            lastKeptSeparator = nullptr;
            continue;
        }
        if (previousWasSeparator) {
            doomed.append(action);
            continue;
        }
        previousWasSeparator = true;
        lastKeptSeparator = action;
    }
    if (lastKeptSeparator) // a separator at the end goes
        doomed.append(lastKeptSeparator);
    for (QAction *action : doomed) {
        widget->removeAction(action);
        if (action->parent() == widget)
            delete action;
    }
    return int(doomed.size());
}
