#pragma once
// The OK ("1") and Cancel ("2") buttons of a modal dialog, wired to its
// accept and reject.

class QDialog;
class QDialogButtonBox;

QDialogButtonBox *CreateOkCancelButtons(QDialog *dialog);
