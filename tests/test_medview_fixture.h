#pragma once

// A small title for the view control's tests, written with the title builder,
// and helpers to reach into the control's regions.

#include "medview.h"
#include "titlebuilder.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

namespace medviewtest {

// Topics: 1 PORTADA (header, hotspots, a picture, a 20pt word), 2 TEMA2,
// 3 TEMA3 (long), 4 NOTA (pop-up, outside the browse sequence), 5 TEMA5
// (same title as 2). Groups CAP1 = {1, 2}, CAP2 = {3, 5}.
inline title::TitleSource sampleSource() {
    title::TitleSource source;
    source.info = {QStringLiteral("CAP1.GRP=\"Capítulo 1\";"),
                   QStringLiteral("CAP2.GRP=\"Capítulo 2\";")};
    source.topics.append(
        {QStringLiteral("PORTADA"),
         QStringLiteral("Portada"),
         QStringLiteral("<header><h1>Portada del libro</h1></header>"
                        "<p><a href=\"cmd:musica.wav\">Música</a> "
                        "<a href=\"cmd:intro.avi 2\">Vídeo</a> "
                        "<a href=\"cmd:canción.wav\">Canción</a></p>"
                        "<p><a href=\"popup:NOTA\">Nota</a> "
                        "<a href=\"jump:TEMA3\">Tercero</a> "
                        "<a href=\"jump:NOEXISTE\">Perdido</a></p>"
                        "<p><span style=\"font-size:20pt\">Grande</span> bienvenida.</p>"
                        "<p><img src=\"foto.png\"></p>"),
         {QStringLiteral("CAP1")},
         true});
    source.topics.append({QStringLiteral("TEMA2"),
                          QStringLiteral("Camión rojo"),
                          QStringLiteral("<p>El camión rojo llegó temprano al pueblo.</p>"),
                          {QStringLiteral("CAP1")},
                          true});
    QString longBody;
    for (int i = 1; i <= 120; ++i)
        longBody += QStringLiteral("<p>Párrafo %1 del tercer tema, con el juez.</p>").arg(i);
    source.topics.append({QStringLiteral("TEMA3"),
                          QStringLiteral("Tercer tema"),
                          longBody,
                          {QStringLiteral("CAP2")},
                          true});
    source.topics.append({QStringLiteral("NOTA"),
                          QStringLiteral("Nota emergente"),
                          QStringLiteral("<p>Texto de la nota emergente.</p>"),
                          {},
                          false});
    source.topics.append({QStringLiteral("TEMA5"),
                          QStringLiteral("Camión rojo"),
                          QStringLiteral("<p>Quinto tema: despacho del juzgado.</p>"),
                          {QStringLiteral("CAP2")},
                          true});
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    source.pictures.insert(QStringLiteral("foto.png"), png);
    return source;
}

inline QString writeSample(const QString &file) {
    QString error;
    if (!title::writeTitle(sampleSource(), file, &error))
        qFatal("cannot write the test title: %s", qPrintable(error));
    return file;
}

inline QTextBrowser *region(TMedview &control, const char *name) {
    return control.findChild<QTextBrowser *>(QString::fromLatin1(name));
}
inline QTextBrowser *body(TMedview &control) {
    return region(control, "medviewBody");
}
inline QTextBrowser *header(TMedview &control) {
    return region(control, "medviewHeader");
}
inline QTextBrowser *popup(TMedview &control) {
    return region(control, "medviewPopup");
}

// The middle of the first character of the link with that href, in the
// coordinates of the browser's viewport.
inline QPoint anchorPoint(QTextBrowser *browser, const QString &href) {
    QTextDocument *document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(it.fragment().position() + 1);
            const QRect rect = browser->cursorRect(cursor);
            return QPoint(rect.left() - 2, rect.center().y());
        }
    }
    return QPoint(-1, -1);
}

inline void clickAnchor(QTextBrowser *browser, const QString &href) {
    const QPoint at = anchorPoint(browser, href);
    QVERIFY2(at.x() >= 0, qPrintable(href));
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
}

// Selects the first occurrence of `text` in the browser.
inline bool selectText(QTextBrowser *browser, const QString &text) {
    const QTextCursor found = browser->document()->find(text);
    if (found.isNull())
        return false;
    browser->setTextCursor(found);
    return true;
}

// A control on screen, as the viewer shows it.
// The sample title, written once, and a shown control for each test.
class ControlTest {
protected:
    QTemporaryDir dir_;
    QString file_;
    TMedview *control_ = nullptr;

    void writeTitle() {
        QVERIFY(dir_.isValid());
        file_ = writeSample(dir_.filePath(QStringLiteral("titulo.dvk")));
    }
    void showControl() {
        control_ = new TMedview;
        control_->resize(600, 400);
        control_->show();
        QVERIFY(QTest::qWaitForWindowExposed(control_));
    }
    void openSample() {
        control_->setMediaViewTitle(file_);
        QVERIFY(control_->HTITLE() != 0);
    }
    void destroyControl() {
        delete control_;
        control_ = nullptr;
    }
};

} // namespace medviewtest
