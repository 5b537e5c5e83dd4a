#pragma once

// A title folder for the viewer window's tests: the palette bitmap, the
// settings, the contents tree and a small title, in a scratch folder that is
// the current, base and Windows directory.

#include "cmdline.h"
#include "medview.h"
#include "mvutil.h"
#include "testsupport.h"
#include "titlebuilder.h"
#include "visor.h"

#include <QDir>
#include <QImage>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <vector>

namespace visortest {

// Topics of the sample title, in browse order except the last two; the first
// has a pop-up link to the last and a jump link to CAP2.
inline title::TitleSource sampleSource() {
    auto topic = [](const char *context, const char *name, bool browse = true) {
        title::SourceTopic t;
        t.context = QString::fromUtf8(context);
        t.title = QString::fromUtf8(name);
        t.html = QStringLiteral("<p>%1</p>").arg(t.title);
        t.browse = browse;
        return t;
    };
    title::TitleSource source;
    source.info << QStringLiteral("CAP1.GRP=\"Capítulo 1\";");
    title::SourceTopic cover = topic("PORTADA", "Portada");
    cover.html += QStringLiteral("<p><a href=\"popup:ANEXO\">Nota</a> <a "
                                 "href=\"jump:CAP2\">Ir al capítulo 2</a></p>");
    source.topics << cover << topic("CAP1", "Capítulo 1") << topic("CAP1A", "Sección 1.1")
                  << topic("", "Sin contexto")
                  << topic("CONTEXTO_DE_TREINTA_Y_CINCO_LETRAS", "Contexto largo")
                  << topic("NOARBOL", "Fuera del árbol") << topic("CAP2", "Capítulo 2")
                  << topic("ANEXO", "Anexo", false);
    return source;
}

// The contents tree of the sample title, Windows-1252 with CR LF.
inline QByteArray sampleArk() {
    return "Portada|PORTADA\r\n"
           "Cap\xEDtulo 1|CAP1\r\n"
           "\tSecci\xF3n 1.1|CAP1A\r\n"
           "\tSin tema\r\n"
           "\tLargo|CONTEXTO_DE_TREINTA_Y_CINCO_LETRAS\r\n"
           "Cap\xEDtulo 2|CAP2\r\n"
           "P\xE1gina Dorvik en la red|ANEXO\r\n";
}

inline QByteArray sampleIni(const QByteArray &extra = QByteArray()) {
    return "[prueba]\r\nlinea17=$FFFFFF\r\nlinea18=16777215\r\nlinea19=0xFF\r\n" + extra;
}

// The bookmark and annotation files as the viewer writes them: each record's
// fields written over the bytes the record before left in the buffer.
inline void putText(QByteArray &record, int at, const QByteArray &text) {
    record[at] = char(text.size());
    record.replace(at + 1, int(text.size()), text);
}

inline void putInt(QByteArray &record, int at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        record[at + i] = char(uint32_t(value) >> (8 * i));
}

inline QByteArray bookmarkRecords(const std::vector<std::pair<QByteArray, int32_t>> &marks) {
    QByteArray record(kBookmarkRecordSize, '\0');
    QByteArray file;
    for (const auto &[name, topic] : marks) {
        putText(record, 0, name);
        putInt(record, 44, topic);
        file += record;
    }
    return file;
}

struct Note {
    int32_t topic;
    QByteArray title;
    QByteArray note;
};

inline QByteArray annotationRecords(const std::vector<Note> &notes) {
    QByteArray record(kAnnotationRecordSize, '\0');
    QByteArray file;
    for (const Note &note : notes) {
        putInt(record, 0, note.topic);
        putText(record, 4, note.title);
        putText(record, 260, note.note);
        file += record;
    }
    return file;
}

// The buffers the close writes the records through, as a fresh program has them.
inline void clearRecordBuffers() {
    BookmarkBuffer.fill(0);
    AnnotationBuffer.fill(0);
}

class TitleFolder {
public:
    TitleFolder() : scratch_(true) {
        BaseDir = ansi::fromQt(scratch_.path()) + "/";
        TitleName = "prueba";
        WindowsDir.clear();
        ResetNavigationState();
        SetCommandLine({QStringLiteral("LectorDorvik"), QStringLiteral("prueba")});
    }

    const testsupport::ScratchDir &scratch() const { return scratch_; }
    QString path(const QString &name) const { return scratch_.filePath(name); }

    void writePalette() const {
        QImage palette(16, 16, QImage::Format_Indexed8);
        palette.setColorCount(2);
        palette.setColor(0, qRgb(0, 0, 0));
        palette.setColor(1, qRgb(255, 255, 255));
        palette.fill(1);
        QDir(scratch_.path()).mkpath(QStringLiteral("util"));
        palette.save(path(QStringLiteral("util/paleta.bmp")), "BMP");
    }
    void writeIni(const QByteArray &bytes) const {
        scratch_.write(QStringLiteral("Dezezi.ini"), bytes);
    }
    void writeArk(const QByteArray &bytes) const {
        scratch_.write(QStringLiteral("prueba.ark"), bytes);
    }
    void writeTitle(const title::TitleSource &source = sampleSource()) const {
        QString error;
        QVERIFY2(title::writeTitle(source, path(QStringLiteral("prueba.dvk")), &error),
                 qPrintable(error));
    }
    // Everything a complete start needs.
    void writeAll(const QByteArray &ini = sampleIni(),
                  const title::TitleSource &source = sampleSource()) const {
        writePalette();
        writeIni(ini);
        writeArk(sampleArk());
        writeTitle(source);
    }

private:
    testsupport::ScratchDir scratch_;
};

// Creates the viewer as the application does: constructed, then its creation
// handler run inside the handler boundary.
inline std::unique_ptr<TformaVisor> createViewer() {
    auto viewer = std::make_unique<TformaVisor>();
    formaVisor = viewer.get();
    runHandler(viewer->OnCreate);
    return viewer;
}

// The title folder and the viewer over it, for the test classes that drive
// the viewer and its dialogs.
class ViewerTest {
protected:
    std::unique_ptr<TitleFolder> folder_;
    std::unique_ptr<TformaVisor> viewer_;

    TMedview &view() { return *viewer_->Medview1; }

    // A complete title folder and fresh record buffers.
    void writeFolder(const QByteArray &ini = sampleIni(),
                     const title::TitleSource &source = sampleSource()) {
        folder_ = std::make_unique<TitleFolder>();
        folder_->writeAll(ini, source);
        clearRecordBuffers();
    }

    void showViewer() {
        viewer_->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer_.get()));
    }

    // A dialog created as the program creates it, its global (if any) set
    // first, and registered with the viewer under `code`.
    template <typename Form> std::unique_ptr<Form> createDialog(int code, Form **global = nullptr) {
        auto form = std::make_unique<Form>();
        if (global)
            *global = form.get();
        runHandler(form->OnCreate);
        viewer_->RegisterDialog(code, form.get());
        return form;
    }

    // The dialogs must be gone first.
    void destroyViewer() {
        viewer_.reset();
        formaVisor = nullptr;
    }
    void destroyViewerAndFolder() {
        destroyViewer();
        folder_.reset();
    }
};

inline QTreeWidgetItem *nodeWithCaption(QTreeWidget *tree, const QString &caption) {
    const auto found = tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace visortest
