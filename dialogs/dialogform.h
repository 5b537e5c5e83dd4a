#pragma once

#include "forms.h"

#include <QGroupBox>
#include <QLabel>
#include <initializer_list>

class TMedview;

// A non-modal dialog of the viewer: a fixed-border window with its caption and
// client size, first placed where its designer put it.
//
// Its handlers: FormCreate runs once when the application creates it;
// FormActivate runs each time the dialog becomes the program's
// active window (shown, returned to, or raised again by the viewer); FormClose
// runs on every close path and then the dialog is hidden, keeping its controls.
//
// Controls sit at the designer's pixel places in the client area. Qt's
// coordinates are device-independent, so these places scale with the screen's
// device pixel ratio by themselves.
class TDialogForm : public TForm {
    Q_OBJECT

public:
    explicit TDialogForm(const QString &caption);
    TDialogForm(const QString &caption, int left, int top, int clientWidth, int clientHeight);

    virtual void FormCreate() {}
    virtual void FormActivate() {}
    // The close every dialog shares: the viewer enabled, DialogCode 0. A dialog
    // with a step of its own runs this first.
    virtual void FormClose();

protected:
    // The viewer's title view, which every reading tool works on.
    static TMedview &TitleView();
    // Tab order from first to last. The dialog opens with the focus on the
    // first of them that takes it.
    void SetTabOrder(std::initializer_list<QWidget *> order);

    void showEvent(QShowEvent *event) override;
    // Enter presses the focused push button, as Space does. No button is the
    // dialog's default, so Enter elsewhere does nothing.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *firstInTabOrder_ = nullptr;
};

namespace dialoglayout {

// Stands for the dialogs' 11-pixel "MS Sans Serif" and "Arial": a sans serif
// with Arial's metrics, so that texts fit where their designer put them.
QFont DialogFont();

// Creates a control in `parent` at a fixed place and size.
template <typename Control, typename... Args>
Control *Place(QWidget *parent, int left, int top, int width, int height, Args &&...args) {
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setGeometry(left, top, width, height);
    return control;
}

// Creates a control in `parent` at a fixed place, sized to its own text.
template <typename Control, typename... Args>
Control *PlaceSizedToText(QWidget *parent, int left, int top, Args &&...args) {
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->move(left, top);
    control->adjustSize();
    return control;
}

// Gives a control its designer's name, the objectName it is found by.
template <typename Control> Control *Named(Control *control, const char *name) {
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace dialoglayout

// A label whose caption may hold several lines joined by a carriage return
// alone (character 13), as the reader builds its multi-line texts. Caption()
// keeps the text exactly; the screen shows one line per part. Sized to its text.
class TCaptionLabel : public QLabel {
    Q_OBJECT

public:
    explicit TCaptionLabel(const QString &caption = QString(), QWidget *parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);

private:
    QString caption_;
};

// A group box drawn as its designer drew it: the caption sits on the frame's
// top line, so that controls placed inside clear the frame. Of its radio
// buttons only the checked one (the first while none is) is a Tab stop: Tab
// enters the group at the choice made, and the arrow keys move within it.
class TGroupBox : public QGroupBox {
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void UpdateTabStops();
};
