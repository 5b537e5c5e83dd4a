#include "actualizar.h"

#include "medview.h"
#include "settings.h"
#include "shell.h"
#include "visor.h"

#include <QPushButton>
#include <string>

TformaActualizacion *formaActualizacion = nullptr;

namespace {

const char *const kConnectFailed = "Se generó un error al tratar de conectarse";
const char *const kTitleFilter = "Archivos Dorvik (*.dvk)|*.DVK";

// Value n of the text and the carriage returns that follow it: the text
// reads line 9, an empty line, lines 10 to 13, an empty line, lines 14 and
// 15, an empty line.
struct TextLine {
    int number;
    int breaks;
};
const TextLine kTextLines[] = {{9, 2}, {10, 1}, {11, 1}, {12, 1}, {13, 2}, {14, 1}, {15, 2}};
constexpr int kAddressNumber = 16;

} // namespace

TformaActualizacion::TformaActualizacion()
    : TDialogForm(QStringLiteral("Actualizaciones"), 118, 125, 357, 208) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    Label1 =
        Named(Place<TCaptionLabel>(this, 32, 16, 297, 145, QStringLiteral("Label1")), "Label1");
    Label1->setFixedSize(297, 145);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Button1 = Named(Place<QPushButton>(this, 8, 176, 105, 25, QStringLiteral("www.ejemplo.com")),
                    "Button1");
    Button3 = Named(Place<QPushButton>(this, 120, 176, 113, 25, QStringLiteral("Actualizaciones")),
                    "Button3");
    Button2 =
        Named(Place<QPushButton>(this, 240, 176, 105, 25, QStringLiteral("&Cancelar")), "Button2");
    SetTabOrder({Button1, Button2, Button3});

    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    BindHandler(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

void TformaActualizacion::FormCreate() {
    ComposeText([this](int number) { return UpdatesValue(number); });
}

AnsiString TformaActualizacion::UpdatesValue(int number) {
    return ReadTitleSetting("linea" + std::to_string(number));
}

// Missing values are empty; their carriage returns are written all the same.
void TformaActualizacion::ComposeText(const std::function<AnsiString(int number)> &valueOf) {
    QString text;
    for (const TextLine &line : kTextLines) {
        text += ansi::toQt(valueOf(line.number)) + QString(line.breaks, QLatin1Char('\r'));
        Label1->SetCaption(text);
    }
    updatesAddress_ = valueOf(kAddressNumber);
    Button1->setText(ansi::toQt(updatesAddress_));
}

// A failed request replaces the whole text for the rest of the run, also when
// the desktop finds no browser only after the call has returned.
void TformaActualizacion::Button1Click() {
    const auto connectFailed = [this] { Label1->SetCaption(QString::fromUtf8(kConnectFailed)); };
    const intptr_t result =
        ShellExecuteA(this, AnsiString(), "http://" + updatesAddress_, AnsiString(), AnsiString(),
                      SW_SHOWMAXIMIZED, connectFailed);
    if (result <= 32)
        connectFailed();
}

void TformaActualizacion::Button2Click() {
    close();
}

// Cancelling the choice closes the dialog too. A tree the loader rejects
// ends the handler with the title unchanged and the dialog open.
void TformaActualizacion::Button3Click() {
    if (ChooseTitleFile())
        OpenChosenTitle(OpenDialog1.FileName);
    close();
}

bool TformaActualizacion::ChooseTitleFile() {
    OpenDialog1.Filter = kTitleFilter;
    return OpenDialog1.Execute(this);
}

AnsiString TformaActualizacion::TitleStem(const AnsiString &fileName) {
    return fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
}

// The title name, the navigation state and the groups stay those of the
// title the program started with. A file that is no title changes nothing;
// a tree the loader rejects leaves the title as it was.
void TformaActualizacion::OpenChosenTitle(const AnsiString &fileName) {
    const AnsiString stem = TitleStem(fileName);
    RequireTitleFile(stem + ".dvk");
    formaVisor->LoadContentsTree(stem + ".ark");
    OpenTitleInView(TitleView(), stem + ".dvk");
}
