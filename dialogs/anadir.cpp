#include "anadir.h"

#include "medview.h"
#include "mvutil.h"
#include "tablelist.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>

TformaAnotaciones *formaAnotaciones = nullptr;

namespace {

QLabel *boldLabel(QWidget *parent, int left, int top, const QString &text) {
    auto *label = dialoglayout::PlaceSizedToText<QLabel>(parent, left, top, text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->adjustSize();
    return label;
}

AnsiString annotationTitle(const TAnotacionRec &note) {
    return note.Title;
}

} // namespace

TformaAnotaciones::TformaAnotaciones()
    : TDialogForm(QStringLiteral("Añadir anotaciones "), 213, 153, 513, 270) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    label0 =
        Named(boldLabel(this, 16, 8, QStringLiteral("Páginas con anotación añadida")), "label0");
    Label2 = Named(boldLabel(this, 232, 8, QStringLiteral("Anotación")), "Label2");
    ListBox1 = Named(Place<QListWidget>(this, 16, 32, 201, 185), "ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    Memo1 = Named(Place<QPlainTextEdit>(this, 232, 32, 257, 185), "Memo1");
    Memo1->setTabChangesFocus(true); // Tab and Shift+Tab move the focus on and back
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Button2 = Named(Place<QPushButton>(this, 16, 232, 89, 25, QStringLiteral("&Ir a")), "Button2");
    Button1 = Named(Place<QPushButton>(this, 112, 232, 201, 25,
                                       QStringLiteral("&Añadir anotación a la página actual")),
                    "Button1");
    Button3 = Named(Place<QPushButton>(this, 320, 232, 89, 25, QStringLiteral("&Borrar nota")),
                    "Button3");
    Button4 =
        Named(Place<QPushButton>(this, 416, 232, 73, 25, QStringLiteral("&Cerrar")), "Button4");
    SetTabOrder({Button1, ListBox1, Button2, Button3, Button4, Memo1});

    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    tablelist::BindChoice(ListBox1, this, [this] { ListBox1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    BindHandler(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    BindHandler(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

void TformaAnotaciones::FormCreate() {
    tablelist::LoadAndList(
        [] { ReadAnnotationFile(AnnotationFileName()); }, AnnotationBuffer,
        [this] { tablelist::Fill(ListBox1, Annotations, AnnotationCount, annotationTitle); });
}

void TformaAnotaciones::FormActivate() {
    Memo1->clear();
    tablelist::SelectNone(ListBox1);
}

QStringList TformaAnotaciones::MemoLines() const {
    QStringList lines;
    const QTextDocument *document = Memo1->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const bool lastBlock = !block.next().isValid();
        if (lastBlock && block.text().isEmpty())
            break;
        // Asking for the block's bounds lays it out at the memo's width.
        document->documentLayout()->blockBoundingRect(block);
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines << block.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

// Each shown line is followed by one blank, so line breaks become blanks. A
// full table is refused aloud, and the memo keeps what was typed.
void TformaAnotaciones::Button1Click() {
    const QStringList lines = MemoLines();
    if (lines.isEmpty())
        return;
    if (AnnotationCount >= kAnnotations)
        throw EAppError(QStringLiteral("El libro ya tiene sus %1 anotaciones. "
                                       "Borre alguna para añadir otra.")
                            .arg(kAnnotations));
    AnsiString text;
    for (const QString &line : lines)
        text += ansi::fromQt(line) + ' ';
    ++AnnotationCount;
    TAnotacionRec &note = Annotations[AnnotationCount];
    note.Topic = TitleView().TopicIndex();
    note.Note = text.substr(0, kAnnotationTextMax);
    note.Title = TitleInfoString(TitleView(), note.Topic).substr(0, kAnnotationTextMax);
    ListBox1->addItem(ansi::toQt(note.Title));
    tablelist::SelectNone(ListBox1);
}

void TformaAnotaciones::ListBox1Click() {
    const int k = tablelist::SelectedEntry(ListBox1, AnnotationCount);
    if (k == 0)
        return;
    Memo1->setPlainText(ansi::toQt(Annotations[k].Note));
}

void TformaAnotaciones::Button2Click() {
    const int k = tablelist::SelectedEntry(ListBox1, AnnotationCount);
    if (k == 0)
        return;
    TitleView().setTopicIndex(Annotations[k].Topic);
}

void TformaAnotaciones::Button3Click() {
    const int k = tablelist::SelectedEntry(ListBox1, AnnotationCount);
    if (k == 0)
        return;
    tablelist::RemoveEntry(ListBox1, Annotations, AnnotationCount, k);
    Memo1->clear();
}

void TformaAnotaciones::Button4Click() {
    close();
}
