#pragma once

// LectorLinea's viewer, its main window: the viewer with its start directory,
// colours by index and a navigation switch from the title's line file, a
// plain-caption contents tree (".arb") that opens topics by their titles and
// on expanding a chapter, the "Indice" reload, two tool bars, and pictures
// shown in the video window.

#include "visor.h"

class TformaVisorLinea : public TformaVisor {
    Q_OBJECT

public:
    TformaVisorLinea();

    // ToolBar1 holds ToolButton1 and ToolButton9 to ToolButton16 (members of
    // the viewer); ToolBar2, across the bottom, these.
    QToolBar *ToolBar2 = nullptr;
    QToolButton *ToolButton2 = nullptr; // "Salida"
    QToolButton *ToolButton3 = nullptr; // "Indice"
    QToolButton *ToolButton4 = nullptr; // "Buscar"
    QToolButton *ToolButton5 = nullptr; // "Copiar"
    QToolButton *ToolButton6 = nullptr; // "Anotar"
    QToolButton *ToolButton7 = nullptr; // "Marcar"
    QToolButton *ToolButton8 = nullptr; // "Imprimir"

    // The current directory when the window is created, ending in "/": the
    // folder of every data file, where the first program has BaseDir.
    AnsiString StartDir;
    // Line 20 is "SI": expanding a node below the top level opens its topic.
    bool ExpandOpensTopic = false;

    void FormCreate() override;
    void TreeView1Change(QTreeWidgetItem *node) override;
    void TreeView1Expanded(QTreeWidgetItem *node);

    void ToolButton9Click();  // "Ver actualizaciones"
    void ToolButton12Click(); // "Ver marcas personales"
    void ToolButton13Click(); // "Página anterior"
    void ToolButton14Click(); // "Página siguiente"
    void ToolButton15Click(); // "Retroceder"
    void ToolButton16Click(); // "Preferencias"
    void ToolButton2Click();  // "Salida"
    void ToolButton3Click();  // "Indice"
    void ToolButton4Click();  // "Buscar"
    void ToolButton5Click();  // "Copiar"
    void ToolButton6Click();  // "Anotar"
    void ToolButton7Click();  // "Marcar"
    void ToolButton8Click();  // "Imprimir"

    // A colour index of the line file (a whole number) as a colour reference.
    static uint32_t ColorFromIndex(const AnsiString &text);

    // Hotspots: folders under StartDir, no other titles, no close after a
    // launch, and pictures in the video window FormaTelon.
    AnsiString DataDir() const override;
    bool ClosesAfterLaunch() const override;
    bool OpensOtherTitles() const override;
    void ShowJpgHotspot(const AnsiString &text) override;
    void ShowBmpHotspot(const AnsiString &text) override;
    void ShowJpegPicture(const AnsiString &name);
    bool IsPaletteDisplay();

private:
    void CreateToolBars();
    AnsiString TreeFile() const;
    AnsiString TitleFile() const;
    void OpenNode(QTreeWidgetItem *node);
};
