#pragma once

// The printer a print job goes to. A test puts a printer of its own in place
// of the system's print dialog.

#include "seam.h"

#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

// The printer for the job `jobName`: the PDF file that LECTOR_PRINT_TO_PDF
// names, without asking, or else the printer the user picks in the system's
// print dialog; nullptr when the user cancels.
std::unique_ptr<QPrinter> ChoosePrinter(QWidget *parent, const QString &jobName);

namespace printer {

using Handler = std::function<std::unique_ptr<QPrinter>(QWidget *parent, const QString &jobName)>;
// Replaces what ChoosePrinter does; returns the previous handler. An empty
// handler restores the system's.
Handler setHandler(Handler handler);

// Test double: every job goes to the PDF file `pdfFile` without asking, while
// it lives; `jobs` counts them.
class PdfPrinter {
public:
    explicit PdfPrinter(const QString &pdfFile);
    int jobs = 0;

private:
    ScopedHandler<Handler> installed_;
};

} // namespace printer
