#include "topicview.h"

#include "titlefile.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QUrl>
#include <QVector>
#include <cmath>

namespace medview {

namespace {

constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 500;
constexpr qreal kMaxLeftMargin = 2000;
constexpr int kMinFittedHeight = 40;

struct SizePatch {
    int position;
    int length;
    QTextCharFormat format;
};

QImage imageFromResource(const QVariant &resource) {
    if (resource.canConvert<QImage>()) {
        QImage image = resource.value<QImage>();
        if (!image.isNull())
            return image;
    }
    if (resource.typeId() == QMetaType::QByteArray)
        return QImage::fromData(resource.toByteArray());
    return QImage();
}

// The picture `name` of the title as an image resource; null when the title
// has none. Nothing is ever read from the file system.
QVariant titlePicture(const title::TitleFile *title, int type, const QUrl &name) {
    if (!title || type != QTextDocument::ImageResource)
        return QVariant();
    QByteArray bytes = title->picture(name.toString());
    if (bytes.isEmpty())
        bytes = title->picture(name.toString(QUrl::FullyDecoded));
    if (bytes.isEmpty())
        return QVariant();
    const QImage image = QImage::fromData(bytes);
    return image.isNull() ? QVariant() : QVariant(image);
}

// The factor a zoom percentage is applied with (absurd values clamped).
qreal zoomFactor(int percent) {
    return qBound(kMinZoom, percent, kMaxZoom) / 100.0;
}

// `base` scaled to `percent`, kept within sizes that stay readable and cheap.
QFont zoomedFont(const QFont &base, int percent) {
    QFont font = base;
    const qreal factor = zoomFactor(percent);
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF() * factor);
    else if (base.pixelSize() > 0)
        font.setPixelSize(qMax(1, int(std::lround(base.pixelSize() * factor))));
    return font;
}

// Sizes written into the topic's own formatting follow the zoom as well.
void scaleExplicitFontSizes(QTextDocument *document, qreal factor) {
    if (qFuzzyCompare(factor, 1.0))
        return;
    // Collected first: merging formats rearranges the fragments being walked.
    QVector<SizePatch> patches;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            QTextCharFormat patch;
            if (format.hasProperty(QTextFormat::FontPointSize))
                patch.setFontPointSize(format.fontPointSize() * factor);
            if (format.hasProperty(QTextFormat::FontPixelSize)) {
                const int pixels = format.intProperty(QTextFormat::FontPixelSize);
                patch.setProperty(QTextFormat::FontPixelSize,
                                  qMax(1, int(std::lround(pixels * factor))));
            }
            if (patch.propertyCount() > 0)
                patches.append({fragment.position(), fragment.length(), patch});
        }
    }
    if (patches.isEmpty())
        return;
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const SizePatch &patch : patches) {
        cursor.setPosition(patch.position);
        cursor.setPosition(patch.position + patch.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(patch.format);
    }
    cursor.endEditBlock();
}

QTextCharFormat highlightFormat() {
    QTextCharFormat format;
    format.setBackground(QColor(255, 230, 0));
    return format;
}

} // namespace

QColor colourFromRef(uint32_t ref) {
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

void highlightWords(QTextDocument *document, const QSet<QString> &foldedTerms) {
    if (foldedTerms.isEmpty())
        return;
    const QTextCharFormat format = highlightFormat();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        int start = 0;
        while (start < text.size()) {
            if (!text.at(start).isLetterOrNumber()) {
                ++start;
                continue;
            }
            int end = start;
            while (end < text.size() && text.at(end).isLetterOrNumber())
                ++end;
            if (foldedTerms.contains(title::foldedWord(text.mid(start, end - start)))) {
                cursor.setPosition(block.position() + start);
                cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
                cursor.mergeCharFormat(format);
            }
            start = end;
        }
    }
    cursor.endEditBlock();
}

QImage selectedPicture(const QTextCursor &cursor) {
    if (!cursor.hasSelection())
        return QImage();
    const QTextDocument *document = cursor.document();
    const int from = cursor.selectionStart();
    const int to = cursor.selectionEnd();
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int end = fragment.position() + fragment.length();
            if (end <= from || fragment.position() >= to || !fragment.charFormat().isImageFormat())
                continue;
            const QString name = fragment.charFormat().toImageFormat().name();
            const QImage image =
                imageFromResource(document->resource(QTextDocument::ImageResource, QUrl(name)));
            if (!image.isNull())
                return image;
        }
    }
    return QImage();
}

TopicBrowser::TopicBrowser(QWidget *parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    setFrameShape(QFrame::NoFrame);
}

void TopicBrowser::setBackground(const QColor &colour) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, colour);
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
    viewport()->setAutoFillBackground(true);
}

void TopicBrowser::setLeftMargin(qreal pixels) {
    leftMargin_ = std::isfinite(pixels) ? qBound<qreal>(0, pixels, kMaxLeftMargin) : 0;
    applyLeftMargin();
}

void TopicBrowser::applyLeftMargin() {
    QTextFrame *root = document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setLeftMargin(document()->documentMargin() + leftMargin_);
    root->setFrameFormat(format);
}

void TopicBrowser::showHtml(const QString &html, int zoomPercent, const QFont &baseFont) {
    setFont(zoomedFont(baseFont, zoomPercent));
    setHtml(html);
    scaleExplicitFontSizes(document(), zoomFactor(zoomPercent));
    applyLeftMargin();
    fitHeightToContents();
}

void TopicBrowser::fitHeightToContents() {
    if (!fitsHeight_ || isHidden())
        return;
    const int frame = 2 * frameWidth();
    const int wanted = int(std::ceil(document()->size().height())) + frame;
    const int parentHeight = parentWidget() ? parentWidget()->height() : wanted;
    const int limit = qMax(kMinFittedHeight, parentHeight / 2);
    setVerticalScrollBarPolicy(wanted > limit ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setFixedHeight(qMin(wanted, limit));
}

QVariant TopicBrowser::loadResource(int type, const QUrl &name) {
    return titlePicture(title_, type, name);
}

void TopicBrowser::mousePressEvent(QMouseEvent *event) {
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const QPoint position = event->position().toPoint();
    QTextBrowser::mousePressEvent(event);
    emit mousePressed(button, modifiers, position);
}

void TopicBrowser::showEvent(QShowEvent *event) {
    QTextBrowser::showEvent(event);
    shownOnce_ = true;
    emit shown();
}

void TopicBrowser::resizeEvent(QResizeEvent *event) {
    QTextBrowser::resizeEvent(event);
    fitHeightToContents();
}

TopicPopup::TopicPopup(QWidget *parent) : TopicBrowser(parent) {
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setFrameShape(QFrame::Box);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    hide();
            });
}

// Presses inside the text reach the text view through its viewport; a press
// that reaches the window itself fell outside the text.
bool TopicPopup::event(QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        hide();
        return true;
    }
    return TopicBrowser::event(event);
}

void TopicPopup::mouseReleaseEvent(QMouseEvent *event) {
    TopicBrowser::mouseReleaseEvent(event);
    hide();
}

void TopicPopup::keyPressEvent(QKeyEvent *event) {
    if (event->matches(QKeySequence::Cancel)) {
        hide();
        return;
    }
    TopicBrowser::keyPressEvent(event);
}

QVariant TitleDocument::loadResource(int type, const QUrl &name) {
    return titlePicture(title_, type, name);
}

} // namespace medview
