#pragma once

#include "dialogform.h"

#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

// Copies the viewer's selection to the clipboard each time it becomes active
// and shows what the clipboard then holds: its text and its picture.
class TformaCopiar : public TDialogForm {
    Q_OBJECT

public:
    TformaCopiar();

    QLabel *Label1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QLabel *Image1 = nullptr; // the picture, at its own size
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr; // "&Vaciar"
    QPushButton *Button2 = nullptr; // "&Mantener"

    void FormActivate() override;
    void Button1Click();
    void Button2Click();

private:
    void CopySelection();
    void ShowClipboard();

    // The runtime's scratch record for clearing a selection.
    std::array<char, 1020> scratch_{};
};

extern TformaCopiar *formaCopiar;
