#include "app/file_dialog.h"

#include <QFileDialog>

namespace {

class SystemFileDialog final : public IFileDialogPrompter {
public:
    QStringList GetOpenFileNames(QWidget *owner, const QString &caption, const QString &folder,
                                 const QString &filter) override
    {
        return QFileDialog::getOpenFileNames(owner, caption, folder, filter);
    }
};

SystemFileDialog g_systemDialog;
IFileDialogPrompter *g_prompter = &g_systemDialog;

} // namespace

void SetFileDialogPrompter(IFileDialogPrompter *prompter)
{
    g_prompter = prompter ? prompter : &g_systemDialog;
}

QStringList PromptOpenFileNames(QWidget *owner, const QString &caption, const QString &folder,
                                const QString &filter)
{
    return g_prompter->GetOpenFileNames(owner, caption, folder, filter);
}
