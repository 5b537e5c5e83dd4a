#include "preferencias.h"

#include "errors.h"
#include "iconos.h"
#include "intconv.h"
#include "medview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

TformaPreferencias *formaPreferencias = nullptr;
int32_t ZoomSetting = 0;

namespace {

constexpr int kLowestZoom = 50;
constexpr int kHighestZoom = 300;
constexpr int kZoomStep = 10;

bool typedCharacterAllowed(QChar c) {
    return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') ||
           QLocale().decimalPoint() == QString(c);
}

} // namespace

// Any text is taken; valueFromText decides what number it stands for.
QValidator::State TSpinEdit::validate(QString &, int &) const {
    return QValidator::Acceptable;
}

int TSpinEdit::valueFromText(const QString &text) const {
    try {
        return qBound(minimum(), StrToInt(ansi::fromQt(text)), maximum());
    } catch (const EAppError &) {
        return minimum();
    }
}

void TSpinEdit::keyPressEvent(QKeyEvent *event) {
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint() && !typedCharacterAllowed(typed[0])) {
        QApplication::beep();
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

TformaPreferencias::TformaPreferencias()
    : TDialogForm(QStringLiteral("Preferencias"), 286, 191, 260, 98) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    setWindowIcon(
        iconos::themeIcon({"format-font-size-more", "zoom-in"}, QStyle::SP_FileDialogDetailedView));
    Label1 = Named(Place<QLabel>(this, 32, 16, 137, 33,
                                 QStringLiteral("Aumenta porcentualmente el tamaño del texto. ")),
                   "Label1");
    Label1->setWordWrap(true);
    SpinEdit1 = Named(Place<TSpinEdit>(this, 176, 16, 41, 22), "SpinEdit1");
    SpinEdit1->setRange(kLowestZoom, kHighestZoom);
    SpinEdit1->setSingleStep(kZoomStep);
    SpinEdit1->setValue(kLowestZoom);
    Label2 = Named(Place<QLabel>(this, 224, 16, 16, 20, QStringLiteral("%")), "Label2");
    QFont bold = Label2->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    Label2->setFont(bold);
    Button1 =
        Named(Place<QPushButton>(this, 40, 64, 81, 25, QStringLiteral("&Aceptar")), "Button1");
    Button2 =
        Named(Place<QPushButton>(this, 152, 64, 81, 25, QStringLiteral("&Cancelar")), "Button2");
    SetTabOrder({Button1, Button2, SpinEdit1});

    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

// The zoom exactly as the view reports it; the field shows it within its range.
void TformaPreferencias::FormActivate() {
    ZoomSetting = TitleView().FontZoom();
    SpinEdit1->setValue(ZoomSetting);
}

// Every way of closing writes the zoom back: the one chosen with "&Aceptar",
// else the one read at the last activation.
void TformaPreferencias::FormClose() {
    TDialogForm::FormClose();
    TitleView().setFontZoom(ZoomSetting);
}

void TformaPreferencias::Button1Click() {
    ZoomSetting = SpinEdit1->value();
    close();
}

void TformaPreferencias::Button2Click() {
    close();
}
