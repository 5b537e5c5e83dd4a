#include "visor.h"

#include "arbol.h"
#include "cmdline.h"
#include "formaentrada.h"
#include "iconos.h"
#include "intconv.h"
#include "medview.h"
#include "messagebox.h"
#include "mvutil.h"
#include "paths.h"
#include "picture.h"
#include "settings.h"
#include "shell.h"
#include "windowsdir.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

TformaVisor *formaVisor = nullptr;

namespace {

constexpr int kTreeWidth = 178;
constexpr int kSplitterWidth = 4;
constexpr int kSplitterMinSize = 30;

// The bar between the contents tree and the text: dragging it sets the
// width of the tree.
class TSplitter : public QFrame {
public:
    TSplitter(QWidget *parent, QWidget *sized) : QFrame(parent), sized_(sized) {
        setFixedWidth(kSplitterWidth);
        setCursor(Qt::SizeHorCursor);
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, QColor(0x80, 0, 0)); // maroon
        setPalette(colours);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override {
        if (event->button() != Qt::LeftButton)
            return;
        dragging_ = true;
        startX_ = event->globalPosition().x();
        startWidth_ = sized_->width();
    }
    void mouseMoveEvent(QMouseEvent *event) override {
        if (!dragging_)
            return;
        const int wanted = startWidth_ + int(event->globalPosition().x() - startX_);
        const int room = parentWidget()->width() - kSplitterWidth - kSplitterMinSize;
        sized_->setFixedWidth(std::max(kSplitterMinSize, std::min(wanted, room)));
    }
    void mouseReleaseEvent(QMouseEvent *) override { dragging_ = false; }

private:
    QWidget *sized_;
    bool dragging_ = false;
    double startX_ = 0;
    int startWidth_ = 0;
};

// A colour setting: a whole number whose low 32 bits are the colour.
uint32_t colourSetting(const char *key) {
    return uint32_t(uint64_t(StrToInt64(ReadTitleSetting(key))) & 0xFFFFFFFFu);
}

} // namespace

TformaVisor::TformaVisor() : TformaVisor(EmptyToolBar{}) {
    setWindowTitle(QStringLiteral("Dezezi Dorvik Ver 1.2"));
    CreateToolBar();
}

TformaVisor::TformaVisor(EmptyToolBar) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setWindowState(Qt::WindowMaximized);

    CreateControls();
    BindEvents();
}

TformaVisor::~TformaVisor() {
    TreeView1->viewport()->removeEventFilter(this);
    ToolBar1->removeEventFilter(this);
}

void TformaVisor::CreateControls() {
    iconos::ensureIconTheme();
    ImageList1 = {
        iconos::themeIcon({"folder", "folder-documents"}, QStyle::SP_DirIcon),
        iconos::themeIcon({"text-x-generic", "x-office-document"}, QStyle::SP_FileIcon),
        iconos::themeIcon({"document-preview", "document-open"}, QStyle::SP_FileDialogContentsView),
    };

    Button5 = new QPushButton(QStringLiteral("PoPup"), this);
    Button5->hide();

    ayudaEnLinea = new QLabel(QStringLiteral("ayudaEnLinea"), this);
    QFont underlined = ayudaEnLinea->font();
    underlined.setUnderline(true);
    ayudaEnLinea->setFont(underlined);
    ayudaEnLinea->hide();

    Panel2 = new QFrame(this);
    Panel2->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel2->setLineWidth(1);
    Panel2->hide();

    TreeView1 = new QTreeWidget(Panel2);
    Splitter1 = new TSplitter(Panel2, TreeView1);
    Splitter1->hide();
    TreeView1->setHeaderHidden(true);
    TreeView1->setFrameShape(QFrame::NoFrame);
    TreeView1->setIndentation(19);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setFixedWidth(kTreeWidth);
    TreeView1->viewport()->setMouseTracking(true);
    TreeView1->hide();

    Medview1 = new TMedview(Panel2);
    Medview1->hide();

    auto *panelLayout = new QHBoxLayout(Panel2);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(TreeView1);
    panelLayout->addWidget(Splitter1);
    panelLayout->addWidget(Medview1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(17);
    auto *generalPanel = new QLabel(QStringLiteral("General Dezezi"), StatusBar1);
    generalPanel->setMinimumWidth(50);
    StatusBar1->addWidget(generalPanel, 1);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setMovable(false);

    videoTimer = new QTimer(this);
    videoTimer->setInterval(1000);
    videoTimer->start();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(Panel2, 1);
    // Keeps the bars at the top and the bottom while the panel is hidden, as
    // after a set-up that stopped early.
    layout->addStretch();
    layout->addWidget(StatusBar1);
}

void TformaVisor::BindEvents() {
    OnCreate = [this] { FormCreate(); };
    OnClose = [this] { FormClose(); };
    OnDestroy = [this] { FormDestroy(); };
    OnPaint = [this] { FormPaint(); };
    OnActivate = [this] { FormActivate(); };

    connect(Medview1, &TMedview::OnHotspotClicked, this,
            [this](int type, intptr_t data, bool &cancel) {
                runHandler([&] { Medview1HotspotClicked(type, data, cancel); });
            });
    connect(Medview1, &TMedview::OnTopicChanging, this,
            [this](int) { runHandler([this] { Medview1TopicChanging(); }); });
    connect(Medview1, &TMedview::OnMouseDownSR, this,
            [this](int, int, int, int) { runHandler([this] { Medview1MouseDownSR(); }); });
    // A change of the selection, not of the current node: the tree makes its
    // first node current when it takes the focus, and that chooses nothing.
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem *> selected = TreeView1->selectedItems();
        QTreeWidgetItem *node = selected.isEmpty() ? nullptr : selected.first();
        runHandler([this, node] { TreeView1Change(node); });
    });
    TreeView1->viewport()->installEventFilter(this);
    ToolBar1->installEventFilter(this);
    BindHandler(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    BindHandler(videoTimer, &QTimer::timeout, this, [this] { videoTimerTimer(); });
}

bool TformaVisor::eventFilter(QObject *watched, QEvent *event) {
    const bool leftRelease = event->type() == QEvent::MouseButtonRelease &&
                             static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    if (TreeView1 && watched == TreeView1->viewport()) {
        if (event->type() == QEvent::MouseMove)
            runHandler([this] { TreeView1MouseMove(); });
        else if (leftRelease)
            runHandler([this] { TreeView1Click(); });
    } else if (watched == ToolBar1 && leftRelease) {
        runHandler([this] { ToolBar1Click(); });
    }
    return TForm::eventFilter(watched, event);
}

void TformaVisor::RegisterDialog(int32_t code, TForm *form) {
    dialogs_[code] = form;
}

TForm *TformaVisor::DialogForm(int32_t code) const {
    const auto found = dialogs_.find(code);
    return found == dialogs_.end() ? nullptr : found->second;
}

// Each step's error ends the set-up there: the error box shows it and the
// window stays as far as it got.
void TformaVisor::FormCreate() {
    PaletteBitmap = LoadBitmapFile(BaseDir + "util\\paleta.bmp");
    StartCreation();
    Medview1->setBackColorSR(colourSetting("linea17"));
    Medview1->setBackColorNSR(colourSetting("linea18"));
    Medview1->setBackColorPopup(colourSetting("linea19"));
    IndexShown = true;
    LoadingTree = true;
    LoadContentsTree(BaseDir + TitleName + ".ark", arbol::TreeFormat::Ark);
    LoadingTree = false;
    const AnsiString titleFile = BaseDir + TitleName + ".dvk";
    const bool titleOpened = OpenTitle(titleFile);
    LayOutAndStartView();
    if (ReadTitleSetting("linea21") == "SI")
        ToolBar1->hide();
    if (!titleOpened)
        throw TitleNotOpened(titleFile);
}

void TformaVisor::StartCreation() {
    SetRestoredBounds(QRect(QPoint(0, 0), geometry().size()));
    DialogCode = 0;
    Medview1->setSRLeftMargin(0.0f);
    WindowsDir = GetWindowsDirectoryA();
    VideoPlaying = false;
}

// The title, then the topic of the command line when it names exactly two.
bool TformaVisor::OpenTitle(const AnsiString &titleFile) {
    if (!Medview1->setMediaViewTitle(paths::resolvePath(titleFile)))
        return false;
    if (ParamCount() == 2)
        Medview1->OpenTopicByContext(ansi::toQt(ParamStr(2)));
    return true;
}

void TformaVisor::LayOutAndStartView() {
    PlaceContentsTree();
    SetRestoredBounds(QRect(geometry().topLeft(), QSize(640, 480)));
    Medview1->show();
    LoadTitleGroups(*Medview1);
    Panel2->show();
}

// The panel's layout gives the tree its place and height; its width is the
// splitter's.
void TformaVisor::PlaceContentsTree() {
    TreeView1->setFixedWidth(kTreeWidth);
}

// Moving or sizing a window drops its maximised state; the window opens
// maximised and these are the bounds it is restored to.
void TformaVisor::SetRestoredBounds(const QRect &bounds) {
    const Qt::WindowStates state = windowState();
    setGeometry(bounds);
    setWindowState(state);
}

// Shows the pane with the file's tree, or hides it when there is no file.
void TformaVisor::LoadContentsTree(const AnsiString &treeFile, arbol::TreeFormat format) {
    if (!paths::fileExists(treeFile)) {
        TreeView1->hide();
        Splitter1->hide();
        return;
    }
    FillContentsTree(treeFile, format);
    TreeView1->show();
    Splitter1->show();
}

void TformaVisor::FillContentsTree(const AnsiString &treeFile, arbol::TreeFormat format) {
    const QSignalBlocker quiet(TreeView1);
    arbol::loadTreeWidget(TreeView1, arbol::readTreeFile(treeFile));
    if (format == arbol::TreeFormat::Ark)
        arbol::applyArkCaptions(TreeView1);
    arbol::applyTreeImages(TreeView1, ImageList1);
}

AnsiString TformaVisor::DorvikPageAddress(const AnsiString &baseDir) {
    const AnsiString folder = baseDir.empty() ? baseDir : baseDir.substr(0, baseDir.size() - 1);
    return "file://" + folder + "/dorvik/index.htm";
}

bool TformaVisor::IsDorvikPage(const QTreeWidgetItem *node) {
    return node->text(0).contains(QStringLiteral("Página Dorvik"));
}

void TformaVisor::OpenDorvikPage() {
    ShellExecuteA(this, AnsiString(), DorvikPageAddress(DataDir()), AnsiString(), AnsiString(),
                  SW_SHOWMAXIMIZED);
}

void TformaVisor::TreeView1Change(QTreeWidgetItem *node) {
    if (LoadingTree || !node)
        return;
    if (IsDorvikPage(node)) {
        OpenDorvikPage();
        return;
    }
    const AnsiString topic = arbol::nodeTopic(node);
    if (!topic.empty())
        Medview1->OpenTopicByContext(ansi::toQt(topic));
}

void TformaVisor::TreeView1MouseMove() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

// Each file is replaced as one step, so a failure leaves the stored file as
// it was; the error keeps the viewer open and the annotation file is not
// written after a failed bookmark file. A file that could not be read whole
// at start is left as it is, and the user is told before the program ends.
void TformaVisor::FormClose() {
    if (VideoPlaying)
        CloseVideo();
    WriteBookmarkFile(BookmarkFileName());
    WriteAnnotationFile(AnnotationFileName());
    const QString kept = KeptStoredFilesMessage();
    if (!kept.isEmpty())
        ShowMessage(this, kept);
    if (FormEntrada)
        FormEntrada->close();
}

void TformaVisor::FormDestroy() {
    PaletteBitmap = QImage();
    for (QTreeWidgetItem *node : arbol::nodesInIndexOrder(TreeView1))
        node->setData(0, arbol::kTopicRole, QVariant());
}

QTreeWidgetItem *TformaVisor::FindTreeNodeByData(const AnsiString &data) const {
    for (QTreeWidgetItem *node : arbol::nodesInIndexOrder(TreeView1)) {
        if (arbol::nodeTopic(node) == data)
            return node;
    }
    return nullptr;
}

AnsiString TformaVisor::NodeTopic(QTreeWidgetItem *node) const {
    return arbol::nodeTopic(node);
}

void CommonDialogClose() {
    if (!formaVisor)
        return;
    formaVisor->setEnabled(true);
    formaVisor->DialogCode = 0;
}

EAppError TitleNotOpened(const AnsiString &titleFile) {
    const QString why = paths::fileExists(titleFile)
                            ? QStringLiteral("el archivo no es un libro o está dañado")
                            : QStringLiteral("el archivo no se encuentra");
    return EAppError(
        QStringLiteral("No se puede abrir el libro %1: %2.").arg(ansi::toQt(titleFile), why));
}

void RequireTitleFile(const AnsiString &titleFile) {
    if (!TMedview::CanOpenTitle(paths::resolvePath(titleFile)))
        throw TitleNotOpened(titleFile);
}

void OpenTitleInView(TMedview &view, const AnsiString &titleFile) {
    if (!view.setMediaViewTitle(paths::resolvePath(titleFile)))
        throw TitleNotOpened(titleFile);
}
