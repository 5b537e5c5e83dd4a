#include "buscar.h"

#include "medview.h"
#include "resulta.h"
#include "tablelist.h"
#include "visor.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

TformaBuscar *formaBuscar = nullptr;

namespace {

constexpr int kResultsDialogCode = 11;
const char *const kNoHits = "No se halló la(s) palabra(s) consultada(s)";

// The query syntax of the title view, one line per CR.
QString helpText() {
    const char *const lines[] = {
        "Opciones básicas de búsqueda:",
        "Si desea buscar: Ley reino Israel encontrará páginas con las palabras ley, reino e "
        "Israel.",
        "Si desea buscar: \"Los hermanos de\" encontrará  las páginas con la frase exacta.",
        "Si desea buscar: Ju* hallará páginas comenzando con ju (ej. juez, jueces etc.)",
        "Si desea buscar: De?????  hallará páginas comenzando con De y sustituyendo cada signo "
        "de",
        "                            interrogación por cualquier letra.",
    };
    QStringList joined;
    for (const char *line : lines)
        joined << QString::fromUtf8(line);
    return joined.join(QLatin1Char('\r'));
}

} // namespace

TformaBuscar::TformaBuscar()
    : TDialogForm(QStringLiteral("Buscar frases o palabras"), 154, 79, 557, 336) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    using dialoglayout::PlaceSizedToText;
    Label1 =
        Named(PlaceSizedToText<QLabel>(this, 16, 16, QStringLiteral("Buscar palabra(s) o frase:")),
              "Label1");
    Edit1 = Named(Place<QLineEdit>(this, 16, 40, 401, 21), "Edit1");
    GroupBox2 =
        Named(Place<TGroupBox>(this, 16, 72, 193, 129, QStringLiteral(" Buscar en ")), "GroupBox2");
    RadioButton1 =
        Named(Place<QRadioButton>(GroupBox2, 16, 24, 113, 25, QStringLiteral("Página actual")),
              "RadioButton1");
    RadioButton2 =
        Named(Place<QRadioButton>(GroupBox2, 16, 56, 113, 25, QStringLiteral("Capítulos")),
              "RadioButton2");
    RadioButton3 =
        Named(Place<QRadioButton>(GroupBox2, 16, 88, 129, 25, QStringLiteral("Todos las páginas")),
              "RadioButton3");
    RadioButton3->setChecked(true);
    Label3 = Named(PlaceSizedToText<QLabel>(this, 224, 72, QStringLiteral("Capítulos:")), "Label3");
    CheckListBox1 = Named(Place<QListWidget>(this, 224, 88, 193, 113), "CheckListBox1");
    Button1 =
        Named(Place<QPushButton>(this, 440, 40, 81, 25, QStringLiteral("&Buscar")), "Button1");
    Button1->setEnabled(false);
    Button2 =
        Named(Place<QPushButton>(this, 440, 88, 81, 25, QStringLiteral("&Cancelar")), "Button2");
    GroupBox1 =
        Named(Place<TGroupBox>(this, 16, 216, 521, 113, QStringLiteral(" Ayuda ")), "GroupBox1");
    Label2 = Named(PlaceSizedToText<TCaptionLabel>(GroupBox1, 16, 16, QString()), "Label2");
    SetTabOrder({Edit1, GroupBox1, GroupBox2, RadioButton1, RadioButton2, RadioButton3,
                 CheckListBox1, Button1, Button2});

    BindHandler(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    BindHandler(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    BindHandler(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton2Click(); });
    BindHandler(RadioButton3, &QRadioButton::clicked, this, [this] { RadioButton3Click(); });
    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TformaBuscar::FormCreate() {
    Label2->SetCaption(helpText());
}

// Every activation starts a new search: all pages, every chapter checked, an
// empty query ready for typing (the button last pressed may now be disabled,
// and a blank typed into "&Cancelar" would close the dialog).
void TformaBuscar::FormActivate() {
    RadioButton3->setChecked(true);
    tablelist::FillChapters(CheckListBox1,
                            [this](const TGrupoRec &group) { return ChapterCaption(group); });
    TitleView().setSearchMode(0);
    Edit1->clear();
    Edit1->setFocus();
}

void TformaBuscar::Edit1Change() {
    Button1->setEnabled(!Edit1->text().isEmpty());
}

void TformaBuscar::RadioButton1Click() {
    TitleView().setSearchMode(1);
}

void TformaBuscar::RadioButton2Click() {
    TitleView().setSearchMode(2);
}

void TformaBuscar::RadioButton3Click() {
    TitleView().setSearchMode(0);
}

// The query goes to the title view as typed: the view owns its syntax.
void TformaBuscar::Button1Click() {
    const QString query = Edit1->text();
    if (query == QLatin1String(" "))
        return;
    TMedview &view = TitleView();
    if (RadioButton2->isChecked())
        tablelist::ListCheckedChapterTopics(CheckListBox1, view);
    view.RunSearch(query);
    view.setHiliteSearchHits(true);
    if (view.SearchHitCount() <= 0) {
        Edit1->setText(QString::fromUtf8(kNoHits));
        return;
    }
    formaVisor->DialogCode = kResultsDialogCode;
    formaResulta->show();
    formaResulta->BringToFront();
    close();
}

void TformaBuscar::Button2Click() {
    close();
}

QString TformaBuscar::ChapterCaption(const TGrupoRec &group) const {
    return ansi::toQt(group.Name);
}
