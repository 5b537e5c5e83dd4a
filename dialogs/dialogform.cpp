#include "dialogform.h"

#include "visor.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
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

void TDialogForm::SetTabOrder(std::initializer_list<QWidget *> order) {
    QWidget *previous = nullptr;
    for (QWidget *next : order) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
    firstInTabOrder_ = order.size() > 0 ? *order.begin() : nullptr;
}

// Later showings find the focus where the user left it.
void TDialogForm::showEvent(QShowEvent *event) {
    TForm::showEvent(event);
    if (focusWidget() || !firstInTabOrder_)
        return;
    QWidget *control = firstInTabOrder_;
    do {
        if ((control->focusPolicy() & Qt::TabFocus) && control->isEnabled() &&
            control->isVisibleTo(this)) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
        control = control->nextInFocusChain();
    } while (control != firstInTabOrder_);
}

void TDialogForm::keyPressEvent(QKeyEvent *event) {
    auto *button = qobject_cast<QPushButton *>(focusWidget());
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && button && button->isEnabled()) {
        button->click();
        return;
    }
    TForm::keyPressEvent(event);
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

bool TGroupBox::event(QEvent *event) {
    if (event->type() == QEvent::ChildPolished) {
        auto *radio = qobject_cast<QRadioButton *>(static_cast<QChildEvent *>(event)->child());
        if (radio) {
            connect(radio, &QAbstractButton::toggled, this, &TGroupBox::UpdateTabStops,
                    Qt::UniqueConnection);
            UpdateTabStops();
        }
    }
    return QGroupBox::event(event);
}

void TGroupBox::UpdateTabStops() {
    const QList<QRadioButton *> radios =
        findChildren<QRadioButton *>(QString(), Qt::FindDirectChildrenOnly);
    QRadioButton *stop = radios.value(0);
    for (QRadioButton *radio : radios) {
        if (radio->isChecked())
            stop = radio;
    }
    for (QRadioButton *radio : radios)
        radio->setFocusPolicy(radio == stop ? Qt::StrongFocus : Qt::ClickFocus);
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
