#pragma once

// Printing of topics: every topic starts a new page, all of them in one job.

#include <QVector>
#include <memory>

class QPrinter;
class QWidget;

namespace title {
class TitleFile;
}

namespace medview {

// The printer the topics go to: the PDF file that LECTOR_PRINT_TO_PDF names,
// without asking, or else the printer the user picks; nullptr when the user
// cancels.
std::unique_ptr<QPrinter> choosePrinter(QWidget *parent, const QString &jobName);

// Prints the topics that the title knows, in order; unknown numbers are left
// out. False when nothing was printed.
bool printTopics(const title::TitleFile &title, const QVector<int> &topics, QPrinter &printer);

} // namespace medview
