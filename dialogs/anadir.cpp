#include "anadir.h"

#include "mvutil.h"

TformaAnotaciones *formaAnotaciones = nullptr;

TformaAnotaciones::TformaAnotaciones() : TDialogForm(QStringLiteral("Añadir anotaciones ")) {
    OnCreate = [this] { FormCreate(); };
}

// Loads the title's annotation file into the shared table.
void TformaAnotaciones::FormCreate() {
    ReadAnnotationFile(AnnotationFileName());
}
