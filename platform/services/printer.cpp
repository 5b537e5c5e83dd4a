#include "printer.h"

#include "seam.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr qreal kPageMarginMm = 15;

std::unique_ptr<QPrinter> newPrinter(const QString &jobName) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(jobName);
    printer->setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                            QPageLayout::Millimeter);
    return printer;
}

std::unique_ptr<QPrinter> pdfPrinter(const QString &jobName, const QString &pdfFile) {
    std::unique_ptr<QPrinter> printer = newPrinter(jobName);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfFile);
    return printer;
}

std::unique_ptr<QPrinter> systemPrinter(QWidget *parent, const QString &jobName) {
    const QString pdfFile = qEnvironmentVariable("LECTOR_PRINT_TO_PDF");
    if (!pdfFile.isEmpty())
        return pdfPrinter(jobName, pdfFile);
    std::unique_ptr<QPrinter> printer = newPrinter(jobName);
    QPrintDialog dialog(printer.get(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

} // namespace

namespace printer {

Handler setHandler(Handler handler) {
    return replaceHandler(std::move(handler));
}

PdfPrinter::PdfPrinter(const QString &pdfFile)
    : installed_([this, pdfFile](QWidget *, const QString &jobName) {
          ++jobs;
          return pdfPrinter(jobName, pdfFile);
      }) {}

} // namespace printer

std::unique_ptr<QPrinter> ChoosePrinter(QWidget *parent, const QString &jobName) {
    if (const printer::Handler &handler = handlerSlot<printer::Handler>())
        return handler(parent, jobName);
    return systemPrinter(parent, jobName);
}
