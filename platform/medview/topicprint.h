#pragma once

// Printing of topics: every topic starts a new page, all of them in one job.

#include <QVector>

class QPrinter;

namespace title {
class TitleFile;
}

namespace medview {

// Prints the topics that the title knows, in order; unknown numbers are left
// out. False when nothing was printed: no topic was known, or the printer
// took no job.
bool printTopics(const title::TitleFile &title, const QVector<int> &topics, QPrinter &printer);

} // namespace medview
