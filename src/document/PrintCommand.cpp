#include "document/PrintCommand.h"

#include "document/Document.h"
#include "platform/Dialogs.h"
#include "platform/PageLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

const QString kProduct = QStringLiteral("Pensilo");

bool toFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat;
}

QString failedMessage(const QPrinter& printer, bool printerFaulty) {
    if (toFile(printer))
        return QString::fromUtf8("Bilden kunde inte skrivas ut till filen\n") +
               QDir::toNativeSeparators(QFileInfo(printer.outputFileName()).absoluteFilePath()) +
               QString::fromUtf8("\n\nMappen kanske inte finns, eller så får du inte skriva där. "
                                 "Välj en annan mapp eller ett annat namn.");
    return QString::fromUtf8("Bilden kunde inte skrivas ut på skrivaren\n") +
           printer.printerName() + QStringLiteral("\n\n") +
           (printerFaulty
                ? QString::fromUtf8("Skrivaren är stoppad eller har ett fel. Se efter att den är "
                                    "påslagen och har papper, och försök igen.")
                : QString::fromUtf8("Något gick fel. Se efter att skrivaren är påslagen och "
                                    "ansluten, och försök igen."));
}

} // namespace

PrintCommand::PrintCommand(Dialogs& dialogs) : dialogs_(dialogs) {}

PrintCommand::~PrintCommand() = default;

void PrintCommand::print(const QImage& picture, const QString& documentName) {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setColorMode(QPrinter::Color);
    }
    QPrinter& printer = *printer_;
    // The print queue's name for the job, and the name the dialog proposes for a file.
    printer.setDocName(documentName == Document::kUntitled
                           ? QString::fromUtf8("Namnlös")
                           : QFileInfo(documentName).completeBaseName());
    if (!dialogs_.choosePrinter(printer))
        return;

    // A stopped printer would keep the job until someone starts it again.
    if (!toFile(printer) && QPrinterInfo(printer).state() == QPrinter::Error) {
        dialogs_.warning(kProduct, failedMessage(printer, true));
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        dialogs_.warning(kProduct, failedMessage(printer, false));
        return;
    }
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
    if (!painter.end() || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
        dialogs_.warning(kProduct, failedMessage(printer, false));
}
