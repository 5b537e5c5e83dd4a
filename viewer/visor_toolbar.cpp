// The viewer's tool bar, its moves through the title, and the protocol by
// which it opens the reading dialogs and keeps the open one in front.

#include "visor.h"

#include "arbol.h"
#include "iconos.h"
#include "medview.h"
#include "mvutil.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr int kLowestRaisedCode = 2;
constexpr int kHighestRaisedCode = 11;

const char *const kHintFullScreen = "Pantalla completa";
const char *const kHintWithIndex = "Pantalla con índice";

// A button's hint shows as its tool tip and is its name for a screen reader.
void setHint(QToolButton *button, const char *hint) {
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(QString::fromUtf8(hint));
}

// The tool-bar pictures by image index.
QList<QIcon> toolBarImages() {
    using iconos::themeIcon;
    return {
        themeIcon({"edit-undo", "go-previous-view"}, QStyle::SP_ArrowBack), // 0 Volver
        themeIcon({"view-list-tree"}, QStyle::SP_FileDialogListView),       // 1 index
        themeIcon({"go-next"}, QStyle::SP_ArrowForward),                    // 2 Siguiente
        themeIcon({"go-previous"}, QStyle::SP_ArrowBack),                   // 3 Anterior
        themeIcon({"format-font-size-more", "zoom-in"}, QStyle::SP_FileDialogDetailedView), // 4
        themeIcon({"go-home", "go-first"}, QStyle::SP_DirHomeIcon),                    // 5 inicio
        themeIcon({"bookmarks", "user-bookmarks"}, QStyle::SP_FileDialogContentsView), // 6
        themeIcon({"view-fullscreen"}, QStyle::SP_TitleBarMaxButton),                  // 7
        QIcon(),                                                                       // 8 unused
        themeIcon({"bookmark-new"}, QStyle::SP_DialogApplyButton),                     // 9 Marcar
        themeIcon({"application-exit", "window-close"}, QStyle::SP_DialogCloseButton), // 10
        themeIcon({"edit-find", "system-search"}, QStyle::SP_FileDialogContentsView),  // 11 Buscar
        themeIcon({"edit-copy"}, QStyle::SP_DialogSaveButton),                         // 12 Copiar
        themeIcon({"document-print"}, QStyle::SP_DriveFDIcon),                         // 13
        themeIcon({"document-edit", "accessories-text-editor"}, QStyle::SP_FileIcon),  // 14 Anotar
    };
}

const ToolButtonEntry<TformaVisor> kToolButtons[] = {
    {&TformaVisor::ToolButton1, kHintFullScreen, 7, &TformaVisor::ToolButton1Click},
    {&TformaVisor::ToolButton10, "Recorrido", 9, &TformaVisor::ToolButton10Click},
    {&TformaVisor::ToolButton11, "Ir al inicio del libro", 5, &TformaVisor::ToolButton11Click},
    {&TformaVisor::ToolButton12, "Anterior", 3, &TformaVisor::ToolButton12Click},
    {&TformaVisor::ToolButton13, "Siguiente", 2, &TformaVisor::ToolButton13Click},
    {&TformaVisor::ToolButton14, "Volver", 0, &TformaVisor::ToolButton14Click},
    {&TformaVisor::ToolButton15, "Tamaño de fuente", 4, &TformaVisor::ToolButton15Click},
    {&TformaVisor::ToolButton16, "Marcar", 9, &TformaVisor::ToolButton16Click},
    {&TformaVisor::ToolButton17, "Ver marcas", 6, &TformaVisor::ToolButton17Click},
    {&TformaVisor::ToolButton18, "Copiar", 12, &TformaVisor::ToolButton18Click},
    {&TformaVisor::ToolButton9, "Buscar", 11, &TformaVisor::ToolButton9Click},
    {&TformaVisor::ToolButton19, "Anotar", 14, &TformaVisor::ToolButton19Click},
    {&TformaVisor::ToolButton20, "Imprimir", 13, &TformaVisor::ToolButton20Click},
    {&TformaVisor::ToolButton21, "Salida", 10, &TformaVisor::ToolButton21Click},
};

} // namespace

void TformaVisor::CreateToolBar() {
    ImageList2 = toolBarImages();
    ToolBar1->setFixedHeight(41);
    FillToolBar(ToolBar1, kToolButtons, QSize(39, 31), QSize(24, 24));
    // "Recorrido" shares its image index with "Marcar"; its own picture
    // tells the history apart from the bookmark.
    ToolButton10->setIcon(
        iconos::themeIcon({"view-history", "document-open-recent"}, QStyle::SP_BrowserReload));
}

void TformaVisor::SetToolBarMargins(QToolBar *bar) {
    bar->layout()->setContentsMargins(2, 2, 2, 2);
}

QToolButton *TformaVisor::AddToolButton(QToolBar *bar, const char *hint, int imageIndex,
                                        QSize buttonSize, QSize iconSize,
                                        std::function<void()> click) {
    auto *button = new QToolButton(bar);
    button->setAutoRaise(true);
    button->setFixedSize(buttonSize);
    button->setIconSize(iconSize);
    setHint(button, hint);
    button->setProperty("ImageIndex", imageIndex);
    button->setIcon(ImageList2.value(imageIndex));
    bar->addWidget(button);
    BindHandler(button, &QToolButton::clicked, this, std::move(click));
    return button;
}

void TformaVisor::ShowDialog(TForm *form, int32_t code) {
    unsetCursor();
    ayudaEnLinea->hide();
    DialogCode = code;
    if (form) {
        form->show();
        form->BringToFront();
    }
}

// Only the viewer in front raises its dialog. While anything else is active
// (another dialog being moved over the viewer, a message box, the system's
// print or open dialog, another program) an expose of the viewer leaves the
// window order and the keyboard where the user has them.
void TformaVisor::RaiseOpenDialog() {
    if (DialogCode < kLowestRaisedCode || DialogCode > kHighestRaisedCode)
        return;
    TForm *dialog = DialogForm(DialogCode);
    if (!dialog || !dialog->isVisible() || QApplication::activeWindow() != this)
        return;
    dialog->BringToFront();
}

// A paint can follow from the raise itself; running the raise once after the
// paint, and only while the viewer is still the active window, cannot loop.
void TformaVisor::ScheduleDialogRaise() {
    if (raiseScheduled_)
        return;
    raiseScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        raiseScheduled_ = false;
        runHandler([this] { RaiseOpenDialog(); });
    });
}

void TformaVisor::FormPaint() {
    ScheduleDialogRaise();
}

void TformaVisor::FormActivate() {
    RaiseOpenDialog();
}

void TformaVisor::ToolButton1Click() {
    if (IndexShown) {
        TreeView1->hide();
        Splitter1->hide();
        IndexShown = false;
        setHint(ToolButton1, kHintWithIndex);
    } else {
        // The panel's layout places the splitter right of the tree.
        TreeView1->show();
        Splitter1->show();
        IndexShown = true;
        setHint(ToolButton1, kHintFullScreen);
    }
}

void TformaVisor::ToolButton10Click() {
    ShowDialog(DialogForm(3), 3);
}
void TformaVisor::ToolButton11Click() {
    Medview1->GoToFirstTopic();
}
void TformaVisor::ToolButton12Click() {
    BrowseStep(false);
}
void TformaVisor::ToolButton13Click() {
    BrowseStep(true);
}
void TformaVisor::ToolButton14Click() {
    HistoryBack(*Medview1);
}
void TformaVisor::ToolButton15Click() {
    ShowDialog(DialogForm(5), 5);
}
void TformaVisor::ToolButton16Click() {
    ShowDialog(DialogForm(9), 9);
}
void TformaVisor::ToolButton17Click() {
    ShowDialog(DialogForm(4), 4);
}
void TformaVisor::ToolButton18Click() {
    ShowDialog(DialogForm(7), 7);
}
void TformaVisor::ToolButton9Click() {
    ShowDialog(DialogForm(6), 6);
}
void TformaVisor::ToolButton19Click() {
    ShowDialog(DialogForm(8), 8);
}
void TformaVisor::ToolButton20Click() {
    ShowDialog(DialogForm(10), 10);
}
void TformaVisor::ToolButton21Click() {
    close();
}

void TformaVisor::Button5Click() {
    Medview1->ShowPopupStyle(14);
}

void TformaVisor::Medview1TopicChanging() {
    RecordHistoryTopic(*Medview1);
}

// Moves one topic in browse order, then selects the tree node of the topic
// reached; selecting a node that was not selected opens its topic again
// through the tree's change handling.
void TformaVisor::BrowseStep(bool forward) {
    if (!(forward ? Medview1->HasNextBrowseTopic() : Medview1->HasPreviousBrowseTopic()))
        return;
    if (forward)
        Medview1->GoToNextBrowseTopic();
    else
        Medview1->GoToPreviousBrowseTopic();
    const AnsiString data = ansi::fromQt(Medview1->TopicData());
    if (data.empty())
        return;
    QTreeWidgetItem *node = FindTreeNodeByData(data);
    if (!node)
        return;
    TreeView1->setCurrentItem(node);
    TreeView1->scrollToItem(node);
}
