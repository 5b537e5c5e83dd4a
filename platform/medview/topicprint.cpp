#include "topicprint.h"

#include "titlefile.h"
#include "topicview.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QTextCursor>

namespace medview {

namespace {

// The non-scrolling header first, then the body, as on screen.
void fillDocument(QTextDocument &document, const title::Topic &topic) {
    if (topic.headerHtml.trimmed().isEmpty()) {
        document.setHtml(topic.bodyHtml);
        return;
    }
    document.setHtml(topic.headerHtml);
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    cursor.insertHtml(topic.bodyHtml);
}

void paintPages(QPainter &painter, QPrinter &printer, QTextDocument &document) {
    const QSizeF page = document.pageSize();
    const int pages = document.pageCount();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer.newPage();
        const QRectF view(0, i * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        context.clip = view;
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

} // namespace

bool printTopics(const title::TitleFile &title, const QVector<int> &topics, QPrinter &printer) {
    QPainter painter;
    bool started = false;
    for (const int index : topics) {
        const std::optional<title::Topic> topic = title.topic(index);
        if (!topic)
            continue;
        TitleDocument document(&title);
        document.setUndoRedoEnabled(false);
        document.documentLayout()->setPaintDevice(&printer);
        document.setDefaultFont(QGuiApplication::font());
        document.setDocumentMargin(0);
        fillDocument(document, *topic);
        document.setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
        if (!started) {
            if (!painter.begin(&printer))
                return false;
            started = true;
        } else {
            printer.newPage();
        }
        paintPages(painter, printer, document);
    }
    return started && painter.end();
}

} // namespace medview
