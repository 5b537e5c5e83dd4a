#include "opendialog.h"

#include "seam.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

std::optional<QString> systemOpenDialog(QWidget *owner, const AnsiString &filter) {
    const QString chosen = QFileDialog::getOpenFileName(owner, QString(), QDir::currentPath(),
                                                        opendialog::nameFilters(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace

bool TOpenDialog::Execute(QWidget *owner) {
    const opendialog::Handler &handler = handlerSlot<opendialog::Handler>();
    const std::optional<QString> chosen =
        handler ? handler(owner, Filter) : systemOpenDialog(owner, Filter);
    if (!chosen)
        return false;
    const QFileInfo file(*chosen);
    FileName = ansi::fromQt(file.absoluteFilePath());
    QDir::setCurrent(file.absolutePath());
    return true;
}

namespace opendialog {

Handler setHandler(Handler handler) {
    return replaceHandler(std::move(handler));
}

QString nameFilters(const AnsiString &filter) {
    const QStringList parts = ansi::toQt(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' '));
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        const QString &description = parts[i];
        entries << (description.endsWith(shown, Qt::CaseInsensitive)
                        ? description
                        : description + QLatin1Char(' ') + shown);
    }
    return entries.join(QStringLiteral(";;"));
}

ScriptedOpenDialog::ScriptedOpenDialog()
    : installed_([this](QWidget *, const AnsiString &filter) {
          filters.push_back(filter);
          return answer;
      }) {}

} // namespace opendialog
