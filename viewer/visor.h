#pragma once

// The viewer window: tool bar, contents tree, the title view control and the
// status bar; the dialog protocol, the hotspot commands and video playback.

#include "ansi.h"
#include "arbol.h"
#include "errors.h"
#include "forms.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <functional>
#include <map>

class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TMedview;

// One tool-bar button of a viewer, left to right: the member that keeps it,
// its hint, its picture in ImageList2 and its click.
template <typename Viewer> struct ToolButtonEntry {
    QToolButton *Viewer::*button;
    const char *hint;
    int imageIndex;
    void (Viewer::*click)();
};

class TformaVisor : public TForm {
    Q_OBJECT

public:
    TformaVisor();
    ~TformaVisor() override;

    // Controls, in the order the window holds them.
    QList<QIcon> ImageList1; // tree: 0 inner node, 1 leaf, 2 selected leaf
    QPushButton *Button5 = nullptr;
    QLabel *ayudaEnLinea = nullptr;
    QFrame *Panel2 = nullptr;
    QWidget *Splitter1 = nullptr;
    QTreeWidget *TreeView1 = nullptr;
    TMedview *Medview1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QList<QIcon> ImageList2; // tool bar pictures
    QToolBar *ToolBar1 = nullptr;
    QTimer *videoTimer = nullptr;

    QToolButton *ToolButton1 = nullptr;  // "Pantalla completa"
    QToolButton *ToolButton10 = nullptr; // "Recorrido"
    QToolButton *ToolButton11 = nullptr; // "Ir al inicio del libro"
    QToolButton *ToolButton12 = nullptr; // "Anterior"
    QToolButton *ToolButton13 = nullptr; // "Siguiente"
    QToolButton *ToolButton14 = nullptr; // "Volver"
    QToolButton *ToolButton15 = nullptr; // "Tamaño de fuente"
    QToolButton *ToolButton16 = nullptr; // "Marcar"
    QToolButton *ToolButton17 = nullptr; // "Ver marcas"
    QToolButton *ToolButton18 = nullptr; // "Copiar"
    QToolButton *ToolButton9 = nullptr;  // "Buscar"
    QToolButton *ToolButton19 = nullptr; // "Anotar"
    QToolButton *ToolButton20 = nullptr; // "Imprimir"
    QToolButton *ToolButton21 = nullptr; // "Salida"

    // The code of the open non-modal dialog, 0 for none.
    int32_t DialogCode = 0;
    bool VideoPlaying = false;
    bool IndexShown = true;
    bool LoadingTree = false;
    QImage PaletteBitmap;

    // The dialog forms by their code; wired by the program at start-up.
    void RegisterDialog(int32_t code, TForm *form);
    TForm *DialogForm(int32_t code) const;

    // Creation, close and destruction (viewer window). LectorLinea's viewer
    // has its own creation and tree choice.
    virtual void FormCreate();
    void FormClose();
    void FormDestroy();
    virtual void TreeView1Change(QTreeWidgetItem *node);
    void TreeView1MouseMove();
    // Fills TreeView1 from a contents-tree file and shows the pane, or hides
    // the pane when there is no such file. A loader's error ends it with the
    // tree as far as it was read.
    void LoadContentsTree(const AnsiString &treeFile,
                          arbol::TreeFormat format = arbol::TreeFormat::Ark);
    // TreeView1 back at its place and size, whatever the splitter made of it.
    void PlaceContentsTree();
    QTreeWidgetItem *FindTreeNodeByData(const AnsiString &data) const;
    AnsiString NodeTopic(QTreeWidgetItem *node) const;

    // Tool bar, navigation and dialog protocol.
    void ShowDialog(TForm *form, int32_t code);
    void FormPaint();
    void FormActivate();
    void ToolButton1Click();
    void ToolButton10Click();
    void ToolButton11Click();
    void ToolButton12Click();
    void ToolButton13Click();
    void ToolButton14Click();
    void ToolButton15Click();
    void ToolButton16Click();
    void ToolButton17Click();
    void ToolButton18Click();
    void ToolButton9Click();
    void ToolButton19Click();
    void ToolButton20Click();
    void ToolButton21Click();
    void Button5Click();
    void Medview1TopicChanging();

    // Raises the dialog DialogCode names above the viewer (codes 2 to 11).
    void RaiseOpenDialog();
    // The address of the title's web page: "file://" + BaseDir without its
    // last character + "/dorvik/index.htm".
    static AnsiString DorvikPageAddress(const AnsiString &baseDir);

    // Replaces the tree's nodes with the file's (raising the reader's errors);
    // the tree reports no choice while its nodes are replaced.
    void FillContentsTree(const AnsiString &treeFile, arbol::TreeFormat format);

    // Hotspot commands.
    void Medview1HotspotClicked(int HotspotType, intptr_t HotspotData, bool &Cancel);
    // What the two programs' hotspot commands differ in: the folder every data
    // path starts from, launching, and where pictures show.
    virtual AnsiString DataDir() const;
    virtual bool ClosesAfterLaunch() const;
    virtual bool OpensOtherTitles() const;
    virtual void ShowJpgHotspot(const AnsiString &text);
    virtual void ShowBmpHotspot(const AnsiString &text);

    // Video and sound.
    bool PlayVideo(const AnsiString &path, int32_t zoom);
    void RealizeVideoPalette();
    bool VideoStopped();
    void CloseVideo();
    static AnsiString NthWord(const AnsiString &text, int32_t n);
    void videoTimerTimer();
    void Medview1MouseDownSR();
    void TreeView1Click();
    void ToolBar1Click();

protected:
    // A viewer whose tool bar is left empty for a variant to fill.
    struct EmptyToolBar {};
    explicit TformaVisor(EmptyToolBar);

    bool eventFilter(QObject *watched, QEvent *event) override;

    // Steps of the creation that both programs take. OpenTitle is false,
    // with nothing opened, when the file cannot be opened as a title; the
    // creation then lays the window out and ends with TitleNotOpened.
    void StartCreation();
    bool OpenTitle(const AnsiString &titleFile);
    void LayOutAndStartView();
    // A node whose caption names the product's page opens that page.
    static bool IsDorvikPage(const QTreeWidgetItem *node);
    void OpenDorvikPage();
    // Flat buttons showing their pictures and their hints as tool tips.
    template <typename Viewer, size_t N>
    void FillToolBar(QToolBar *bar, const ToolButtonEntry<Viewer> (&entries)[N], QSize buttonSize,
                     QSize iconSize) {
        auto *viewer = static_cast<Viewer *>(this);
        SetToolBarMargins(bar);
        for (const ToolButtonEntry<Viewer> &entry : entries) {
            viewer->*entry.button =
                AddToolButton(bar, entry.hint, entry.imageIndex, buttonSize, iconSize,
                              [viewer, click = entry.click] { (viewer->*click)(); });
        }
    }

private:
    static void SetToolBarMargins(QToolBar *bar);
    QToolButton *AddToolButton(QToolBar *bar, const char *hint, int imageIndex, QSize buttonSize,
                               QSize iconSize, std::function<void()> click);
    void CreateControls();
    void CreateToolBar();
    void BindEvents();
    void SetRestoredBounds(const QRect &bounds);
    void BrowseStep(bool forward);
    void ScheduleDialogRaise();

    std::map<int32_t, TForm *> dialogs_;
    bool raiseScheduled_ = false;
};

extern TformaVisor *formaVisor;

// The close step every dialog runs: the viewer enabled, DialogCode 0.
void CommonDialogClose();

// The error that tells the user a title file cannot be opened, and why.
EAppError TitleNotOpened(const AnsiString &titleFile);
// Raises TitleNotOpened unless `titleFile` can be opened as a title, before
// anything changes.
void RequireTitleFile(const AnsiString &titleFile);
// Opens `titleFile` in `view`; one that cannot be opened leaves the view as it
// was and raises TitleNotOpened.
void OpenTitleInView(TMedview &view, const AnsiString &titleFile);
