#include "actualizarlinea.h"

#include "medview.h"
#include "messagebox.h"
#include "paths.h"
#include "visor.h"

#include <QTreeWidget>

// The file is read whole, before any of the text is built: when it cannot be
// read the dialog keeps its design-time text and has no address.
void TformaActualizacionLinea::FormCreate() {
    settings_ = ReadLineSettings();
    TformaActualizacion::FormCreate();
}

AnsiString TformaActualizacionLinea::UpdatesValue(int number) {
    return settings_.Line(number);
}

// Cancelling the choice leaves the dialog open.
void TformaActualizacionLinea::Button3Click() {
    if (!ChooseTitleFile())
        return;
    OpenChosenTitle(OpenDialog1.FileName);
    close();
}

// Without its tree file the title is not opened; a file that is no title
// changes nothing. Otherwise the title is opened and the pane and view shown
// before the tree is read, so a tree the loader rejects leaves the new title
// showing and the dialog open.
void TformaActualizacionLinea::OpenChosenTitle(const AnsiString &fileName) {
    const AnsiString treeFile = TitleStem(fileName) + ".arb";
    if (!paths::fileExists(treeFile)) {
        ShowMessage(this, ansi::toQt("El archivo:" + treeFile + " no se encuentra"));
        return;
    }
    OpenTitleInView(TitleView(), fileName);
    formaVisor->PlaceContentsTree();
    formaVisor->TreeView1->show();
    formaVisor->Splitter1->show();
    formaVisor->Medview1->show();
    formaVisor->FillContentsTree(treeFile, arbol::TreeFormat::Arb);
}
