#include "copiar.h"

#include "ansi.h"
#include "clipboard.h"
#include "medview.h"

#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <algorithm>

TformaCopiar *formaCopiar = nullptr;

namespace {

constexpr int kCopyFormat = 2;

// The clipboard's text as the program's 8-bit text, one line per line break.
QString clipboardLines(const QString &text) {
    QString lines = ansi::toQt(ansi::fromQt(text));
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

} // namespace

TformaCopiar::TformaCopiar()
    : TDialogForm(QStringLiteral("Contenido del portapapeles"), 297, 118, 513, 291) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    using dialoglayout::PlaceSizedToText;
    Label1 =
        Named(Place<QLabel>(
                  this, 16, 8, 305, 17,
                  QStringLiteral("En este momento el contenido del portapapeles es el siguiente:")),
              "Label1");
    Label1->setWordWrap(true);
    // The line is a little wider in this font than in the designer's: it
    // keeps to one line, with room to its right.
    Label1->setFixedWidth(
        std::max(Label1->width(), Label1->fontMetrics().horizontalAdvance(Label1->text())));
    Memo1 = Named(Place<QPlainTextEdit>(this, 16, 32, 233, 177), "Memo1");
    Memo1->setTabChangesFocus(true); // Tab and Shift+Tab move the focus on and back
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ScrollBox1 = Named(Place<QScrollArea>(this, 272, 32, 217, 177), "ScrollBox1");
    // A white box, around a picture smaller than it too.
    QPalette white = ScrollBox1->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    ScrollBox1->setPalette(white);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    Image1 = Named(new QLabel, "Image1");
    ScrollBox1->setWidget(Image1);
    Label2 = Named(PlaceSizedToText<QLabel>(this, 16, 216,
                                            QStringLiteral("Si desea puede pegar este contenido en "
                                                           "su editor de textos preferido.")),
                   "Label2");
    Button1 =
        Named(Place<QPushButton>(this, 80, 240, 81, 25, QStringLiteral("&Vaciar")), "Button1");
    Button2 =
        Named(Place<QPushButton>(this, 232, 240, 73, 25, QStringLiteral("&Mantener")), "Button2");
    SetTabOrder({Button1, Button2, Memo1, ScrollBox1});

    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TformaCopiar::FormActivate() {
    CopySelection();
    ShowClipboard();
}

void TformaCopiar::Button1Click() {
    clipboard::current().clear();
    close();
}

void TformaCopiar::Button2Click() {
    close();
}

// A selection stays selected; without one the region's copy is followed by
// clearing its selection.
void TformaCopiar::CopySelection() {
    TMedview &view = TitleView();
    if (view.HasSelection()) {
        view.CopySelection(kCopyFormat);
    } else if (view.lpMVSR() != 0) {
        view.CopySelection(kCopyFormat);
        fMVClearSelection(view.lpMVSR(), scratch_.data());
    }
}

// The text box and the picture change only for what the clipboard offers, so
// an empty clipboard leaves both as they were.
void TformaCopiar::ShowClipboard() {
    const QMimeData *data = clipboard::current().mimeData();
    if (!data)
        return;
    if (data->hasText()) {
        Memo1->clear();
        Memo1->appendPlainText(clipboardLines(data->text()));
    }
    if (data->hasImage()) {
        Image1->setPixmap(QPixmap::fromImage(qvariant_cast<QImage>(data->imageData())));
        Image1->adjustSize();
    }
}
