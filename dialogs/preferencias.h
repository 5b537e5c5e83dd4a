#pragma once

#include "dialogform.h"

#include <QSpinBox>
#include <cstdint>

class QLabel;
class QPushButton;

// A whole-number field with up and down arrows. Its number is always within
// its range: a number typed outside it counts as the nearer bound, and the
// field shows that bound once it loses the focus; text that is not a whole
// number counts as the minimum. Typed characters other than digits, signs
// and the decimal separator are refused with a beep; pasted text is not.
class TSpinEdit : public QSpinBox {
    Q_OBJECT

public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The zoom the font size dialog writes to the title view whenever it closes;
// every activation reads it from the view first.
extern int32_t ZoomSetting;

// Sets the size of the viewer's text as a percentage.
class TformaPreferencias : public TDialogForm {
    Q_OBJECT

public:
    TformaPreferencias();

    QLabel *Label1 = nullptr;
    TSpinEdit *SpinEdit1 = nullptr;
    QLabel *Label2 = nullptr;       // "%"
    QPushButton *Button1 = nullptr; // "&Aceptar"
    QPushButton *Button2 = nullptr; // "&Cancelar"

    void FormActivate() override;
    void FormClose() override;
    void Button1Click();
    void Button2Click();
};

extern TformaPreferencias *formaPreferencias;
