#include "dialogform.h"

#include "visor.h"

#include <QPainter>
#include <QStringList>
#include <QStyle>

TDialogForm::TDialogForm(const QString &caption) {
    setWindowTitle(caption);
    // A dialog border: a caption with its close box, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(dialoglayout::DialogFont());
    OnCreate = [this] { FormCreate(); };
    OnActivate = [this] { FormActivate(); };
    OnClose = [this] { FormClose(); };
}

TDialogForm::TDialogForm(const QString &caption, int left, int top, int clientWidth,
                         int clientHeight)
    : TDialogForm(caption) {
    setFixedSize(clientWidth, clientHeight);
    move(left, top);
}

void TDialogForm::FormClose() {
    CommonDialogClose();
}

TMedview &TDialogForm::TitleView() {
    return *formaVisor->Medview1;
}

namespace dialoglayout {

QFont DialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void SetTabOrder(std::initializer_list<QWidget *> order) {
    QWidget *previous = nullptr;
    for (QWidget *next : order) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

} // namespace dialoglayout

TCaptionLabel::TCaptionLabel(const QString &caption, QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    SetCaption(caption);
}

void TCaptionLabel::SetCaption(const QString &caption) {
    caption_ = caption;
    QString shown = caption;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
    adjustSize();
}

void TGroupBox::paintEvent(QPaintEvent *) {
    constexpr int kCaptionLeft = 8;
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height() / 2;
    // An etched frame: a dark line with a light one below and right of it.
    const QRect frame(0, line, width() - 2, height() - line - 2);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    if (title().isEmpty())
        return;
    const QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(title()), metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}
