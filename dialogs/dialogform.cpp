#include "dialogform.h"

#include "visor.h"

#include <QStringList>

TDialogForm::TDialogForm(const QString &caption) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
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
