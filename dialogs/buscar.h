#pragma once

#include "dialogform.h"
#include "mvutil.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// Full-text search: the query and its scope go to the viewer's title view,
// which searches; with hits the results dialog takes over.
class TformaBuscar : public TDialogForm {
    Q_OBJECT

public:
    TformaBuscar();

    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    TGroupBox *GroupBox2 = nullptr;
    QRadioButton *RadioButton1 = nullptr; // "Página actual"
    QRadioButton *RadioButton2 = nullptr; // "Capítulos"
    QRadioButton *RadioButton3 = nullptr; // "Todos las páginas"
    QLabel *Label3 = nullptr;
    QListWidget *CheckListBox1 = nullptr; // the chapters, each with a check box
    QPushButton *Button1 = nullptr;       // "&Buscar"
    QPushButton *Button2 = nullptr;       // "&Cancelar"
    TGroupBox *GroupBox1 = nullptr;
    TCaptionLabel *Label2 = nullptr; // the help text

    void FormCreate() override;
    void FormActivate() override;
    void Edit1Change();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void Button1Click();
    void Button2Click();

protected:
    // The line a chapter shows in the list.
    virtual QString ChapterCaption(const TGrupoRec &group) const;
};

extern TformaBuscar *formaBuscar;
