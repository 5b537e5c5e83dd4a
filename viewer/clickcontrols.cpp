#include "clickcontrols.h"

#include "errors.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

void acceptPress(QMouseEvent *event) {
    event->accept();
}

// A left button released over the control is its click.
void runClick(QWidget *control, QMouseEvent *event, const std::function<void()> &handler) {
    event->accept();
    if (event->button() == Qt::LeftButton &&
        control->rect().contains(event->position().toPoint()) && handler)
        runHandler(handler);
}

} // namespace

void setBackgroundColour(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

TImage::TImage(QWidget *parent) : QWidget(parent) {}

void TImage::setPicture(const QImage &picture) {
    picture_ = picture;
    update();
}

void TImage::paintEvent(QPaintEvent *) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_);
}

void TImage::mousePressEvent(QMouseEvent *event) {
    acceptPress(event);
}
void TImage::mouseReleaseEvent(QMouseEvent *event) {
    runClick(this, event, OnClick);
}

QString labelRichText(const AnsiString &caption) {
    const QString text = ansi::toQt(caption);
    QString html;
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('\r')) {
            html += QStringLiteral("<br/>");
        } else if (ch == QLatin1Char('&') && i + 1 < text.size()) {
            const QChar next = text[++i];
            if (next == QLatin1Char('&'))
                html += QStringLiteral("&amp;");
            else if (next == QLatin1Char('\r'))
                html += QStringLiteral("<br/>");
            else
                html +=
                    QStringLiteral("<u>") + QString(next).toHtmlEscaped() + QStringLiteral("</u>");
        } else if (ch != QLatin1Char('&')) {
            html += QString(ch).toHtmlEscaped();
        }
    }
    return QStringLiteral("<div style=\"white-space:pre\">") + html + QStringLiteral("</div>");
}

TLabel::TLabel(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::RichText);
    setWordWrap(false);
}

void TLabel::setCaption(const AnsiString &caption) {
    caption_ = caption;
    setText(labelRichText(caption));
}

void TLabel::mousePressEvent(QMouseEvent *event) {
    acceptPress(event);
}
void TLabel::mouseReleaseEvent(QMouseEvent *event) {
    runClick(this, event, OnClick);
}

TPanel::TPanel(QWidget *parent) : QFrame(parent) {
    setBackgroundColour(this, Qt::black);
    setAttribute(Qt::WA_NativeWindow);
}

void TPanel::mousePressEvent(QMouseEvent *event) {
    acceptPress(event);
}
void TPanel::mouseReleaseEvent(QMouseEvent *event) {
    runClick(this, event, OnClick);
}
