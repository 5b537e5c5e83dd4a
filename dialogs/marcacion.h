#pragma once

#include "dialogform.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Definir marcas en el libro": names a bookmark for the topic the viewer
// shows, lists the bookmarks and deletes them. Its creation loads the
// title's bookmark file.
class TformaMarcacion : public TDialogForm {
    Q_OBJECT

public:
    TformaMarcacion();

    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr; // "&Aceptar"
    QPushButton *Button2 = nullptr; // "&Cancelar"
    QPushButton *Button3 = nullptr; // "&Eliminar"

    void FormCreate() override;
    void FormActivate() override;
    void Edit1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();

    // Bookmarks the dialog itself adds; a table read from a file may hold more.
    static constexpr int kDialogBookmarks = 50;
    // The edit box keeps a name below the 40 characters a bookmark holds.
    static constexpr int kEditLength = 39;
};

extern TformaMarcacion *formaMarcacion;
