#include "marcacion.h"

#include "mvutil.h"

TformaMarcacion *formaMarcacion = nullptr;

TformaMarcacion::TformaMarcacion() : TDialogForm(QStringLiteral("Definir marcas en el libro")) {
    OnCreate = [this] { FormCreate(); };
}

// Loads the title's bookmark file into the shared table.
void TformaMarcacion::FormCreate() {
    ReadBookmarkFile(BookmarkFileName());
}
