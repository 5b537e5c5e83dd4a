#pragma once

#include "dialogform.h"

class QListWidget;

// "Seleccionar marcas del libro": lists the bookmarks by name; a double-click
// takes the viewer to the topic of one.
class TformaVerMarcas : public TDialogForm {
    Q_OBJECT

public:
    TformaVerMarcas();

    QListWidget *ListBox1 = nullptr;

    void FormActivate() override;
    void ListBox1DblClick();
};

extern TformaVerMarcas *formaVerMarcas;
