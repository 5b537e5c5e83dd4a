#include "dialogsupport.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>

namespace dialogtest {

namespace {

// What a control needs beside its text: the frame of a push button, the
// indicator of a check box or radio button (from its size hint).
int widthNeeded(const QWidget *control, const QString &text) {
    const int textWidth = control->fontMetrics().horizontalAdvance(text);
    if (qobject_cast<const QLabel *>(control))
        return textWidth;
    if (qobject_cast<const QGroupBox *>(control))
        return textWidth + 8;
    if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        if (button->inherits("QPushButton"))
            return textWidth + 6;
        return button->sizeHint().width();
    }
    return 0;
}

QString shownText(const QWidget *control) {
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(control))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        text = button->text();
    else if (const auto *group = qobject_cast<const QGroupBox *>(control))
        text = group->title();
    text.remove(QLatin1Char('&'));
    return text;
}

bool isWordWrapped(const QWidget *control) {
    const auto *label = qobject_cast<const QLabel *>(control);
    return label && label->wordWrap();
}

// A word-wrapped label's text must fit its height once wrapped at its width,
// and no word may be wider than the label.
bool wrappedTextCut(const QWidget *control, const QString &text) {
    const QFontMetrics metrics = control->fontMetrics();
    const QRect room(0, 0, control->width(), 100000);
    const QRect needed = metrics.boundingRect(room, Qt::TextWordWrap, text);
    return needed.width() > control->width() || needed.height() > control->height();
}

} // namespace

QStringList cutOffTexts(const QWidget *window) {
    QStringList cut;
    for (const QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->isVisibleTo(window))
            continue;
        const QString name = control->objectName().isEmpty()
                                 ? QString::fromLatin1(control->metaObject()->className())
                                 : control->objectName();
        const QWidget *parent = control->parentWidget();
        if (parent && !parent->rect().contains(control->geometry()))
            cut << name + QStringLiteral(": reaches past its parent");
        const QString text = shownText(control);
        if (text.isEmpty())
            continue;
        if (isWordWrapped(control)) {
            if (wrappedTextCut(control, text))
                cut << name + QStringLiteral(": ") + text;
            continue;
        }
        int widest = 0;
        for (const QString &line : text.split(QLatin1Char('\n')))
            widest = std::max(widest, widthNeeded(control, line));
        const int lines = int(text.count(QLatin1Char('\n'))) + 1;
        if (widest > control->width() ||
            lines * control->fontMetrics().height() > control->height())
            cut << name + QStringLiteral(": ") + text;
    }
    return cut;
}

QStringList lines(const QListWidget *list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void clickLine(QListWidget *list, int line, bool twice) {
    const QPoint at = list->visualItemRect(list->item(line)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

bool activate(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace dialogtest
