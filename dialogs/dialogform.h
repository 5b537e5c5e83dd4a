#pragma once

#include "forms.h"

// A non-modal dialog of the viewer: a fixed-border window with its caption,
// whose close runs the common dialog close and hides it.
class TDialogForm : public TForm {
    Q_OBJECT

public:
    explicit TDialogForm(const QString &caption);
};
