#pragma once

// The pieces the title view control is drawn with: a text browser that takes
// its pictures from the open title, a plain document doing the same for
// printing, and the helpers the control applies to their text.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstdint>

namespace title {
class TitleFile;
struct Topic;
} // namespace title

namespace medview {

// A colour reference 0x00BBGGRR; the top byte carries no colour and is ignored.
QColor colourFromRef(uint32_t ref);

// Marks every word of `document` whose folded form (title::foldedWord) is in
// `foldedTerms`.
void highlightWords(QTextDocument *document, const QSet<QString> &foldedTerms);

// The first picture inside the cursor's selection, null when there is none.
QImage selectedPicture(const QTextCursor &cursor);

// A topic region: renders topic HTML with the title's pictures and reports
// presses of the mouse. Links never navigate by themselves.
class TopicBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit TopicBrowser(QWidget *parent = nullptr);

    void setTitle(const title::TitleFile *title) { title_ = title; }
    void setBackground(const QColor &colour);
    // Extra room at the left of the text, in pixels.
    void setLeftMargin(qreal pixels);
    void showHtml(const QString &html, int zoomPercent, const QFont &baseFont);
    // The text view moves to its cursor when first shown; positions set
    // before then do not last.
    bool hasBeenShown() const { return shownOnce_; }
    // A non-scrolling region: as high as its text, up to half its parent.
    void setFitsHeightToContents(bool on) { fitsHeight_ = on; }
    void fitHeightToContents();

    QVariant loadResource(int type, const QUrl &name) override;

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // After the text view's own first-show scrolling.
    void shown();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void applyLeftMargin();

    const title::TitleFile *title_ = nullptr;
    qreal leftMargin_ = 0;
    bool fitsHeight_ = false;
    bool shownOnce_ = false;
};

// A topic in a pop-up window, closed as a help viewer closes its pop-ups: by
// a click anywhere (inside it once the click is over, so that its links still
// work), by Escape, and when the program loses the focus. While it is open it
// takes every click and key of the program, so it must never stay open.
class TopicPopup : public TopicBrowser {
    Q_OBJECT

public:
    explicit TopicPopup(QWidget *parent);

protected:
    bool event(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// A document with the title's pictures, laid out for printing.
class TitleDocument : public QTextDocument {
public:
    explicit TitleDocument(const title::TitleFile *title) : title_(title) {}

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    const title::TitleFile *title_;
};

} // namespace medview
