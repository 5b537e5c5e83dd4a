#include "messagebox.h"

#include "forms.h"
#include "seam.h"

#include <QMessageBox>

void ShowMessage(QWidget *owner, const QString &text) {
    if (const messagebox::Handler &handler = handlerSlot<messagebox::Handler>()) {
        handler(owner, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, TApplication::instance().Title, text, QMessageBox::Ok,
                    owner);
    box.exec();
}

namespace messagebox {

Handler setHandler(Handler handler) {
    return replaceHandler(std::move(handler));
}

RecordingMessages::RecordingMessages()
    : installed_([this](QWidget *, const QString &text) { texts.push_back(text); }) {}

} // namespace messagebox
