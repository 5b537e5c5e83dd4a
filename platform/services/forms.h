#pragma once

#include "errors.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <type_traits>
#include <vector>

// The form class of the toolkit the reader is written in: a top-level window
// whose events run the handlers bound to it, each inside the handler boundary
// (an error is shown in the standard error report and the program goes on).
// Closing a form hides it; closing the main form ends the program.
class TForm : public QWidget {
    Q_OBJECT

public:
    explicit TForm(QWidget *parent = nullptr);

    std::function<void()> OnCreate;   // once, when the application creates the form
    std::function<void()> OnShow;     // each time it becomes visible
    std::function<void()> OnActivate; // each time it becomes the program's active form
    // Each paint of the form itself: a repaint that reaches its own surface
    // (inside the paint event), or an expose of its window by the window
    // system. A control repainting itself on the form is no paint of the form.
    std::function<void()> OnPaint;
    std::function<void()> OnClick;   // a left click on the form itself
    std::function<void()> OnClose;   // each close; the form is then hidden
    std::function<void()> OnDestroy; // once, when the application destroys it

    // Shows the form and runs a local event loop until it is hidden again.
    void ShowModal();
    // Brings the window to the top of the window order and makes it active;
    // a minimised window comes back at its size first.
    void BringToFront();
    bool isShowingModal() const { return modalDepth_ > 0; }

    void setVisible(bool visible) override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    int modalDepth_ = 0;
};

// The application object: creates the forms in order, knows the main form,
// and ends the program when the main form closes.
class TApplication {
public:
    static TApplication &instance();

    // Creates the form, runs its creation handler to the end (an error there is
    // reported and start-up goes on), and makes the first form the main form.
    // Timers the form armed wait for the event loop: they start when Run has
    // shown the main form, so that none fires inside an error box's loop
    // while later forms are still being created.
    // The form is of the variable's class, or of the variant class `Form`
    // derived from it.
    template <typename Form = void, typename Variable> auto *CreateForm(Variable *&variable) {
        using Created = std::conditional_t<std::is_void_v<Form>, Variable, Form>;
        auto *form = new Created();
        variable = form;
        registerForm(form);
        return form;
    }

    TForm *MainForm() const { return mainForm_; }
    // Shows the main form, starts the timers held since the forms' creation,
    // and runs the event loop until the main form closes; then destroys every
    // form. Returns the exit code.
    int Run();
    // The first step of Run: the main form shown and the held timers started.
    void ShowMainForm();
    // Runs every form's OnDestroy in creation order and deletes the forms.
    void DestroyForms();
    // True once the main form has closed.
    bool Terminated() const { return terminated_; }
    void Terminate();
    const std::vector<TForm *> &Forms() const { return forms_; }

    // The program's title, shown on the standard error box.
    QString Title;

private:
    void registerForm(TForm *form);
    void holdArmedTimers(TForm *form);

    std::vector<TForm *> forms_;
    std::vector<QPointer<QTimer>> heldTimers_;
    TForm *mainForm_ = nullptr;
    bool terminated_ = false;
};

// Binds a control's signal to an event handler: the handler runs inside the
// handler boundary, so an error it raises is reported and goes no further.
template <typename Sender, typename Signal>
void BindHandler(Sender *sender, Signal signal, QObject *context, std::function<void()> handler) {
    QObject::connect(sender, signal, context,
                     [handler = std::move(handler)] { runHandler(handler); });
}

// Shows errors in a critical message box titled with the application's title.
void installErrorBox();
