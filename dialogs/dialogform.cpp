#include "dialogform.h"

#include "visor.h"

TDialogForm::TDialogForm(const QString &caption) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    OnClose = [] { CommonDialogClose(); };
}
