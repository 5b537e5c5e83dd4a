#pragma once

#include "dialogform.h"

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class TMedview;

// The print list: pages of the open title, the one shown or every page of
// chosen chapters, gathered in the shared PrintList and printed by the
// title view. ListBox1's line k stands for entry k + 1 of PrintList.
class TformaImpresion : public TDialogForm {
    Q_OBJECT

public:
    TformaImpresion();

    TGroupBox *GroupBox1 = nullptr;       // " Marcar "
    QRadioButton *RadioButton1 = nullptr; // "Página actual"
    QRadioButton *RadioButton2 = nullptr; // "Todas las páginas del capítulo"
    QLabel *Label1 = nullptr;
    QListWidget *CheckListBox1 = nullptr; // the chapters, each with a check box
    QLabel *Label2 = nullptr;
    QListWidget *ListBox1 = nullptr; // the print list
    QPushButton *Button1 = nullptr;  // "&Cancelar"
    QPushButton *Button2 = nullptr;  // "&Añadir"
    QPushButton *Button3 = nullptr;  // "&Eliminar"
    QPushButton *Button4 = nullptr;  // "Eliminar &Todo"
    QPushButton *Button5 = nullptr;  // "&Imprimir"

    void FormActivate() override;
    void RadioButton1Click();
    void RadioButton2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

private:
    void AddCurrentPage(TMedview &view);
    void AddCheckedChapters(TMedview &view);
    void ShowEntryTitles(TMedview &view);
    void EnableRemoval(bool enabled);
};

extern TformaImpresion *formaImpresion;
