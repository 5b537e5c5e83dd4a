#include "forms.h"

#include "errors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <utility>

namespace {

bool runBound(const std::function<void()> &handler) {
    return !handler || runHandler(handler);
}

// Whether a paint reaches the form's own surface, not only the controls on it.
bool reachesOwnSurface(const QWidget *form, const QRegion &painted) {
    QRegion own = painted;
    for (const QObject *child : form->children()) {
        const auto *control = qobject_cast<const QWidget *>(child);
        if (control && !control->isWindow() && control->isVisible())
            own -= control->geometry();
    }
    return !own.isEmpty();
}

// The program's form that was activated last. Coming back to it from a
// message box or from another program is no new activation.
QPointer<TForm> activeForm;

} // namespace

TForm::TForm(QWidget *parent) : QWidget(parent, Qt::Window) {}

void TForm::ShowModal() {
    QPointer<TForm> self(this);
    setWindowModality(Qt::ApplicationModal);
    show();
    BringToFront();
    ++modalDepth_;
    QEventLoop loop;
    // Polls visibility so that any way of hiding the form ends the loop.
    while (self && self->isVisible() && !TApplication::instance().Terminated())
        loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    if (self) {
        --modalDepth_;
        setWindowModality(Qt::NonModal);
    }
}

void TForm::setVisible(bool visible) {
    // A borderless window gets no help from a window manager (and there may be
    // none): "maximised" means covering the screen, so it takes the screen's
    // geometry itself.
    if (visible && (windowState() & Qt::WindowMaximized) &&
        (windowFlags() & Qt::FramelessWindowHint)) {
        const Qt::WindowStates state = windowState();
        if (const QScreen *current = screen())
            setGeometry(current->geometry());
        setWindowState(state);
    }
    if (!visible && activeForm == this)
        activeForm = nullptr;
    QWidget::setVisible(visible);
}

void TForm::BringToFront() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

bool TForm::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate && activeForm != this) {
        activeForm = this;
        runBound(OnActivate);
    }
    return QWidget::event(event);
}

// An expose need not repaint the form (its last picture may still be on
// hand), so the window's own expose is watched. The window can be made anew
// between showings; installing the filter again keeps one.
bool TForm::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed())
        runBound(OnPaint);
    return QWidget::eventFilter(watched, event);
}

void TForm::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (QWindow *window = windowHandle())
        window->installEventFilter(this);
    if (!event->spontaneous())
        runBound(OnShow);
}

void TForm::paintEvent(QPaintEvent *event) {
    QWidget::paintEvent(event);
    if (reachesOwnSurface(this, event->region()))
        runBound(OnPaint);
}

void TForm::mouseReleaseEvent(QMouseEvent *event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        runBound(OnClick);
}

void TForm::closeEvent(QCloseEvent *event) {
    // An error in the close handler keeps the window open.
    if (!runBound(OnClose)) {
        event->ignore();
        return;
    }
    event->accept();
    if (TApplication::instance().MainForm() == this)
        TApplication::instance().Terminate();
}

TApplication &TApplication::instance() {
    static TApplication application;
    return application;
}

void TApplication::registerForm(TForm *form) {
    forms_.push_back(form);
    if (!mainForm_)
        mainForm_ = form;
    runBound(form->OnCreate);
    holdArmedTimers(form);
}

void TApplication::holdArmedTimers(TForm *form) {
    for (QTimer *timer : form->findChildren<QTimer *>()) {
        if (!timer->isActive())
            continue;
        timer->stop();
        heldTimers_.emplace_back(timer);
    }
}

void TApplication::ShowMainForm() {
    if (mainForm_)
        mainForm_->show();
    for (const QPointer<QTimer> &timer : std::exchange(heldTimers_, {})) {
        if (timer)
            timer->start();
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    if (QCoreApplication::instance())
        QCoreApplication::quit();
}

int TApplication::Run() {
    if (mainForm_ && !terminated_) {
        ShowMainForm();
        QApplication::exec();
    }
    DestroyForms();
    return 0;
}

void TApplication::DestroyForms() {
    for (TForm *form : forms_)
        runBound(form->OnDestroy);
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
        delete *it;
    forms_.clear();
    heldTimers_.clear();
    mainForm_ = nullptr;
    terminated_ = false;
}

void installErrorBox() {
    errorreport::setReporter([](const QString &message) {
        QMessageBox::critical(QApplication::activeWindow(), TApplication::instance().Title,
                              message);
    });
}
