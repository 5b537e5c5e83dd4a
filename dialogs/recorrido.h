#pragma once

#include "dialogform.h"

class QLabel;
class QListWidget;
class QPushButton;

// The topics visited in this run, oldest first; "&Ir a" goes back to one
// without recording the jump as a new visit.
class TformaRecorrido : public TDialogForm {
    Q_OBJECT

public:
    TformaRecorrido();

    QLabel *Label1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr; // "&Ir a"
    QPushButton *Button2 = nullptr; // "&Cerrar"

    void FormActivate() override;
    void Button1Click();
    void Button2Click();
};

extern TformaRecorrido *formaRecorrido;
