#include "widgets/color_dialog.h"

#include "core/staged_files.h"

#include <QColorDialog>

namespace {

class SystemColorDialog final : public IColorDialogPrompter {
public:
    bool ChooseColor(QWidget *owner, ColorRef initial, ColorRef &chosen) override
    {
        const QColor color = QColorDialog::getColor(ToQColor(initial), owner);
        if (!color.isValid())
            return false;
        chosen = FromQColor(color);
        return true;
    }
};

SystemColorDialog g_systemDialog;
IColorDialogPrompter *g_colorDialogPrompter = &g_systemDialog;

} // namespace

QColor ToQColor(ColorRef color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

ColorRef FromQColor(const QColor &color)
{
    return MakeRgb(color.red(), color.green(), color.blue());
}

void SetColorDialogPrompter(IColorDialogPrompter *prompter)
{
    g_colorDialogPrompter = prompter ? prompter : &g_systemDialog;
}

bool PromptColor(QWidget *owner, ColorRef initial, ColorRef &chosen)
{
    return PromptAllowedNow(QStringLiteral("colour")) && g_colorDialogPrompter->ChooseColor(owner, initial, chosen);
}
