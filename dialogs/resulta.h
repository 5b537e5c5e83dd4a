#pragma once

#include "dialogform.h"

class QLabel;
class QListWidget;
class QPushButton;

// The hits of the last search, by their topics' titles; "&Ir a" opens one.
class TformaResulta : public TDialogForm {
    Q_OBJECT

public:
    TformaResulta();

    QLabel *Label1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr; // "&Ir a"
    QPushButton *Button2 = nullptr; // "&Cerrar"

    void FormActivate() override;
    void Button1Click();
    void Button2Click();
};

extern TformaResulta *formaResulta;
