#pragma once

#include "dialogform.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Añadir anotaciones ": attaches the memo's text to the topic the viewer
// shows, lists the annotated pages by title, shows a chosen note, goes to its
// page and deletes it. Its creation loads the title's annotation file.
class TformaAnotaciones : public TDialogForm {
    Q_OBJECT

public:
    TformaAnotaciones();

    QLabel *label0 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button2 = nullptr; // "&Ir a"
    QPushButton *Button1 = nullptr; // "&Añadir anotación a la página actual"
    QPushButton *Button3 = nullptr; // "&Borrar nota"
    QPushButton *Button4 = nullptr; // "&Cerrar"

    void FormCreate() override;
    void FormActivate() override;
    void Button1Click();
    void ListBox1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    // The lines the memo shows, wrapped lines counted as shown; an empty
    // line after the last line break is no line.
    QStringList MemoLines() const;

    static constexpr int kAnnotations = 50;
};

extern TformaAnotaciones *formaAnotaciones;
