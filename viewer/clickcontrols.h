#pragma once

// The small controls the intro screen and the video window are built from:
// each runs its OnClick handler for a left click on it (inside the handler
// boundary) and keeps the click from reaching the window underneath.

#include "ansi.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <functional>

// A picture box: the picture is drawn unscaled from the top-left corner and
// clipped to the control.
class TImage : public QWidget {
    Q_OBJECT

public:
    explicit TImage(QWidget *parent);

    const QImage &Picture() const { return picture_; }
    void setPicture(const QImage &picture);

    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage picture_;
};

// Static text: a carriage return breaks the line, "&" underlines the letter
// after it and is not shown itself ("&&" shows one "&").
class TLabel : public QLabel {
    Q_OBJECT

public:
    explicit TLabel(QWidget *parent);

    const AnsiString &Caption() const { return caption_; }
    void setCaption(const AnsiString &caption);

    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    AnsiString caption_;
};

// A panel with a native window of its own, so that a video can be shown in it
// by its window handle.
class TPanel : public QFrame {
    Q_OBJECT

public:
    explicit TPanel(QWidget *parent);

    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// Fills the widget's background with `colour`.
void setBackgroundColour(QWidget *widget, const QColor &colour);

// The caption's rich-text form as TLabel shows it.
QString labelRichText(const AnsiString &caption);
