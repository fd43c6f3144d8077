#include "platform/printing/PagePrinter.h"

#include "platform/Dialogs.h"
#include "platform/PageLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

PagePrinter::PagePrinter() = default;

PagePrinter::~PagePrinter() = default;

Printing::Result PagePrinter::print(Dialogs& dialogs, const QImage& picture,
                                    const QString& jobName) {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setColorMode(QPrinter::Color);
    }
    QPrinter& printer = *printer_;
    // The print queue's name for the job, and the name the dialog proposes for a file.
    printer.setDocName(jobName);
    if (!dialogs.choosePrinter(printer))
        return {};

    Result result;
    result.toFile = printer.outputFormat() == QPrinter::PdfFormat;
    result.where =
        result.toFile
            ? QDir::toNativeSeparators(QFileInfo(printer.outputFileName()).absoluteFilePath())
            : printer.printerName();
    // A stopped printer would keep the job until someone starts it again.
    if (!result.toFile && QPrinterInfo(printer).state() == QPrinter::Error) {
        result.outcome = Outcome::PrinterStopped;
        return result;
    }
    result.outcome = Outcome::Failed;
    QPainter painter;
    if (!painter.begin(&printer))
        return result;
    // The painter starts at the printable part's corner, in the printer's pixels.
    const QPageLayout page = printer.pageLayout();
    const QRect paper = page.fullRectPixels(printer.resolution());
    const QRect printable = page.paintRectPixels(printer.resolution());
    const QRectF target = PageLayout::pictureOnPage(paper, printable, picture.size())
                              .translated(-QPointF(printable.topLeft()));
    // Each pixel a crisp square of its own colour, as the child saw it on the
    // screen: not smoothed, and not packed as a photograph is, which would
    // smudge the edges of every line.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(target, picture);
    if (painter.end() && printer.printerState() != QPrinter::Error &&
        printer.printerState() != QPrinter::Aborted)
        result.outcome = Outcome::Printed;
    return result;
}
