#include "visorlinea.h"

#include "cmdline.h"
#include "iconos.h"
#include "intconv.h"
#include "lineas.h"
#include "medview.h"
#include "mvutil.h"
#include "paths.h"
#include "picture.h"
#include "settings.h"

#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Colour references (0x00BBGGRR) by index: aqua, black, blue, gray, fuchsia,
// gray, green, lime, silver, maroon, navy, olive, purple, red, silver, teal,
// white, yellow.
constexpr uint32_t kIndexedColours[] = {
    0x00FFFF00, 0x00000000, 0x00FF0000, 0x00808080, 0x00FF00FF, 0x00808080,
    0x00008000, 0x0000FF00, 0x00C0C0C0, 0x00000080, 0x00800000, 0x00008080,
    0x00800080, 0x000000FF, 0x00C0C0C0, 0x00808000, 0x00FFFFFF, 0x0000FFFF,
};
constexpr int kWhiteIndex = 16;

const QSize kButtonSize(47, 46);
const QSize kPictureSize(40, 40);

// The pictures of both tool bars by image index.
QList<QIcon> toolBarImages() {
    using iconos::themeIcon;
    return {
        themeIcon({"application-exit", "window-close"}, QStyle::SP_DialogCloseButton), // 0
        themeIcon({"view-list-tree", "view-list-details"}, QStyle::SP_FileDialogListView),
        themeIcon({"edit-find", "system-search"}, QStyle::SP_FileDialogContentsView), // 2
        themeIcon({"edit-copy"}, QStyle::SP_DialogSaveButton),                        // 3
        themeIcon({"document-edit", "accessories-text-editor"}, QStyle::SP_FileIcon), // 4
        themeIcon({"bookmark-new"}, QStyle::SP_DialogApplyButton),                    // 5
        themeIcon({"document-print"}, QStyle::SP_DriveFDIcon),                        // 6
        themeIcon({"view-fullscreen"}, QStyle::SP_TitleBarMaxButton),                 // 7
        themeIcon({"system-software-update", "view-refresh"}, QStyle::SP_BrowserReload),
        themeIcon({"view-history", "document-open-recent"}, QStyle::SP_BrowserReload), // 9
        themeIcon({"go-home", "go-first"}, QStyle::SP_DirHomeIcon),                    // 10
        themeIcon({"bookmarks", "user-bookmarks"}, QStyle::SP_FileDialogContentsView), // 11
        themeIcon({"go-previous"}, QStyle::SP_ArrowBack),                              // 12
        themeIcon({"go-next"}, QStyle::SP_ArrowForward),                               // 13
        themeIcon({"edit-undo", "go-previous-view"}, QStyle::SP_ArrowBack),            // 14
        themeIcon({"preferences-desktop-font", "format-font-size-more"},
                  QStyle::SP_FileDialogDetailedView), // 15
    };
}

const ToolButtonEntry<TformaVisorLinea> kToolBar1[] = {
    {&TformaVisorLinea::ToolButton1, "Pantalla completa", 7, &TformaVisorLinea::ToolButton1Click},
    {&TformaVisorLinea::ToolButton9, "Ver actualizaciones", 8, &TformaVisorLinea::ToolButton9Click},
    {&TformaVisorLinea::ToolButton10, "Recorrido", 9, &TformaVisorLinea::ToolButton10Click},
    {&TformaVisorLinea::ToolButton11, "Ir al inicio del libro", 10,
     &TformaVisorLinea::ToolButton11Click},
    {&TformaVisorLinea::ToolButton12, "Ver marcas personales", 11,
     &TformaVisorLinea::ToolButton12Click},
    {&TformaVisorLinea::ToolButton13, "Página anterior", 12, &TformaVisorLinea::ToolButton13Click},
    {&TformaVisorLinea::ToolButton14, "Página siguiente", 13, &TformaVisorLinea::ToolButton14Click},
    {&TformaVisorLinea::ToolButton15, "Retroceder", 14, &TformaVisorLinea::ToolButton15Click},
    {&TformaVisorLinea::ToolButton16, "Preferencias", 15, &TformaVisorLinea::ToolButton16Click},
};
const ToolButtonEntry<TformaVisorLinea> kToolBar2[] = {
    {&TformaVisorLinea::ToolButton2, "Salida", 0, &TformaVisorLinea::ToolButton2Click},
    {&TformaVisorLinea::ToolButton3, "Indice", 1, &TformaVisorLinea::ToolButton3Click},
    {&TformaVisorLinea::ToolButton4, "Buscar", 2, &TformaVisorLinea::ToolButton4Click},
    {&TformaVisorLinea::ToolButton5, "Copiar", 3, &TformaVisorLinea::ToolButton5Click},
    {&TformaVisorLinea::ToolButton6, "Anotar", 4, &TformaVisorLinea::ToolButton6Click},
    {&TformaVisorLinea::ToolButton7, "Marcar", 5, &TformaVisorLinea::ToolButton7Click},
    {&TformaVisorLinea::ToolButton8, "Imprimir", 6, &TformaVisorLinea::ToolButton8Click},
};

// The hourglass over the window while it lasts.
class BusyCursor {
public:
    explicit BusyCursor(QWidget *window) : window_(window) { window_->setCursor(Qt::WaitCursor); }
    ~BusyCursor() { window_->unsetCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    QWidget *window_;
};

} // namespace

TformaVisorLinea::TformaVisorLinea() : TformaVisor(EmptyToolBar{}) {
    setWindowTitle(QStringLiteral("Dezezi Ver 1.0"));
    CreateToolBars();
    connect(TreeView1, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *node) {
        runHandler([this, node] { TreeView1Expanded(node); });
    });
}

void TformaVisorLinea::CreateToolBars() {
    ImageList2 = toolBarImages();
    ToolBar2 = new QToolBar(this);
    ToolBar2->setMovable(false);
    ToolBar2->setFixedHeight(62);
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    layout->insertWidget(layout->indexOf(StatusBar1), ToolBar2);
    FillToolBar(ToolBar1, kToolBar1, kButtonSize, kPictureSize);
    FillToolBar(ToolBar2, kToolBar2, kButtonSize, kPictureSize);
}

uint32_t TformaVisorLinea::ColorFromIndex(const AnsiString &text) {
    const int32_t index = StrToInt(text);
    // The table names no colour for other numbers; they read as white.
    const bool known = index >= 0 && index < int32_t(std::size(kIndexedColours));
    return kIndexedColours[known ? index : kWhiteIndex];
}

AnsiString TformaVisorLinea::TreeFile() const {
    return StartDir + TitleName + ".arb";
}

AnsiString TformaVisorLinea::TitleFile() const {
    return StartDir + TitleName + ".dvk";
}

// Each step's error ends the set-up there, as in the first program. The title
// name comes first, so that the bookmarks and annotations keep their title's
// files whatever step fails.
void TformaVisorLinea::FormCreate() {
    StartDir = paths::currentDirWithSeparator();
    TitleName = ParamStr(1);
    PaletteBitmap = LoadBitmapFile(StartDir + "util\\paleta.bmp");
    StartCreation();
    const TLineSettings settings = ReadLineSettings();
    Medview1->setBackColorSR(ColorFromIndex(settings.Line(17)));
    Medview1->setBackColorNSR(ColorFromIndex(settings.Line(18)));
    Medview1->setBackColorPopup(ColorFromIndex(settings.Line(19)));
    ExpandOpensTopic = SwitchIs(settings.Line(20), "SI");
    IndexShown = true;
    LoadContentsTree(TreeFile(), arbol::TreeFormat::Arb);
    const bool titleOpened = OpenTitle(TitleFile());
    LayOutAndStartView();
    if (!titleOpened)
        throw TitleNotOpened(TitleFile());
}

// A caption names a topic by its title, or the product's page.
void TformaVisorLinea::OpenNode(QTreeWidgetItem *node) {
    if (IsDorvikPage(node))
        OpenDorvikPage();
    else
        Medview1->setMediaViewTopic(node->text(0));
}

void TformaVisorLinea::TreeView1Change(QTreeWidgetItem *node) {
    // A tree being emptied reports no node.
    if (!node)
        return;
    if (IsDorvikPage(node) || node->childCount() == 0)
        OpenNode(node);
}

void TformaVisorLinea::TreeView1Expanded(QTreeWidgetItem *node) {
    if (!ExpandOpensTopic || !node || !node->parent())
        return;
    OpenNode(node);
}

// Reloads the title of the command line with its tree. The bookmarks and
// annotations stay: the viewer writes them back to the title's files at its
// close, and the dialogs still list them. A title file that can no longer be
// opened changes nothing, so that the tree, the text and the groups shown
// stay those of one title.
void TformaVisorLinea::ToolButton3Click() {
    RequireTitleFile(TitleFile());
    ResetHistoryAndPrintList();
    {
        const BusyCursor busy(this);
        LoadContentsTree(TreeFile(), arbol::TreeFormat::Arb);
        OpenTitleInView(*Medview1, TitleFile());
        LoadTitleGroups(*Medview1);
    }
    TreeView1->show();
    Splitter1->show();
}

// The tree's nodes carry no context strings: the browse steps leave the
// tree's selection where it is.
void TformaVisorLinea::ToolButton13Click() {
    if (Medview1->HasPreviousBrowseTopic())
        Medview1->GoToPreviousBrowseTopic();
}
void TformaVisorLinea::ToolButton14Click() {
    if (Medview1->HasNextBrowseTopic())
        Medview1->GoToNextBrowseTopic();
}

void TformaVisorLinea::ToolButton9Click() {
    ShowDialog(DialogForm(2), 2);
}
void TformaVisorLinea::ToolButton12Click() {
    ShowDialog(DialogForm(4), 4);
}
void TformaVisorLinea::ToolButton15Click() {
    HistoryBack(*Medview1);
}
void TformaVisorLinea::ToolButton16Click() {
    ShowDialog(DialogForm(5), 5);
}
void TformaVisorLinea::ToolButton2Click() {
    close();
}
void TformaVisorLinea::ToolButton4Click() {
    ShowDialog(DialogForm(6), 6);
}
void TformaVisorLinea::ToolButton5Click() {
    ShowDialog(DialogForm(7), 7);
}
void TformaVisorLinea::ToolButton6Click() {
    ShowDialog(DialogForm(8), 8);
}
void TformaVisorLinea::ToolButton7Click() {
    ShowDialog(DialogForm(9), 9);
}
void TformaVisorLinea::ToolButton8Click() {
    ShowDialog(DialogForm(10), 10);
}
