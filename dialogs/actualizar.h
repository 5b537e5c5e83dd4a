#pragma once

#include "ansi.h"
#include "dialogform.h"
#include "opendialog.h"

#include <functional>

class QPushButton;

// Updates of the open title: a text and a web address from the title's
// settings, and "Actualizaciones", which opens another title file with its
// contents tree in the viewer.
class TformaActualizacion : public TDialogForm {
    Q_OBJECT

public:
    TformaActualizacion();

    TCaptionLabel *Label1 = nullptr; // the composed text
    QPushButton *Button1 = nullptr;  // the address
    QPushButton *Button3 = nullptr;  // "Actualizaciones"
    QPushButton *Button2 = nullptr;  // "&Cancelar"
    TOpenDialog OpenDialog1;

    void FormCreate() override;
    void Button1Click();
    void Button2Click();
    virtual void Button3Click();

    AnsiString UpdatesAddress() const { return updatesAddress_; }

    // A chosen title's name without its last four characters, whatever they are.
    static AnsiString TitleStem(const AnsiString &fileName);

protected:
    // Builds the text from the values numbered 9 to 15, in order, and takes
    // value 16 as the address; valueOf(n) is read once per number.
    void ComposeText(const std::function<AnsiString(int number)> &valueOf);
    // Value n of the updates text: "linea" n of the title's settings.
    virtual AnsiString UpdatesValue(int number);
    // Runs the open-file dialog for a title file; false when the user cancels.
    bool ChooseTitleFile();
    // Opens the chosen title file in the viewer with the contents tree of the
    // same stem, or without a tree when there is none. A file that cannot be
    // opened as a title raises an error that names it, before anything in the
    // viewer changes.
    virtual void OpenChosenTitle(const AnsiString &fileName);

private:
    AnsiString updatesAddress_;
};

extern TformaActualizacion *formaActualizacion;
