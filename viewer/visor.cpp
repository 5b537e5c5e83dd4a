#include "visor.h"

#include "formaentrada.h"
#include "medview.h"
#include "mvutil.h"
#include "windowsdir.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

TformaVisor *formaVisor = nullptr;

TformaVisor::TformaVisor() {
    setWindowTitle(QStringLiteral("Dezezi Dorvik Ver 1.2"));
    auto *layout = new QVBoxLayout(this);
    ToolBar1 = new QToolBar(this);
    Panel2 = new QFrame(this);
    TreeView1 = new QTreeWidget(Panel2);
    Medview1 = new TMedview(Panel2);
    StatusBar1 = new QStatusBar(this);
    videoTimer = new QTimer(this);
    layout->addWidget(ToolBar1);
    layout->addWidget(Panel2, 1);
    layout->addWidget(StatusBar1);
    OnCreate = [this] { FormCreate(); };
    OnClose = [this] { FormClose(); };
}

TformaVisor::~TformaVisor() = default;

void TformaVisor::RegisterDialog(int32_t code, TForm *form) { dialogs_[code] = form; }

TForm *TformaVisor::DialogForm(int32_t code) const {
    const auto found = dialogs_.find(code);
    return found == dialogs_.end() ? nullptr : found->second;
}

void TformaVisor::FormCreate() {
    DialogCode = 0;
    WindowsDir = GetWindowsDirectoryA();
    VideoPlaying = false;
}

void TformaVisor::FormClose() {
    WriteBookmarkFile(BookmarkFileName());
    WriteAnnotationFile(AnnotationFileName());
    if (FormEntrada)
        FormEntrada->close();
}

void CommonDialogClose() {
    if (!formaVisor)
        return;
    formaVisor->setEnabled(true);
    formaVisor->DialogCode = 0;
}
