#include "document/PrintCommand.h"

#include "platform/Dialogs.h"
#include "platform/Printing.h"

#include <QFileInfo>

namespace {

const QString kProduct = QStringLiteral("Pensilo");

QString failedMessage(const Printing::Result& result) {
    if (result.toFile)
        return QString::fromUtf8("Bilden kunde inte skrivas ut till filen\n") + result.where +
               QString::fromUtf8("\n\nMappen kanske inte finns, eller så får du inte skriva där. "
                                 "Välj en annan mapp eller ett annat namn.");
    return QString::fromUtf8("Bilden kunde inte skrivas ut på skrivaren\n") + result.where +
           QStringLiteral("\n\n") +
           (result.outcome == Printing::Outcome::PrinterStopped
                ? QString::fromUtf8("Skrivaren är stoppad eller har ett fel. Se efter att den är "
                                    "påslagen och har papper, och försök igen.")
                : QString::fromUtf8("Något gick fel. Se efter att skrivaren är påslagen och "
                                    "ansluten, och försök igen."));
}

} // namespace

PrintCommand::PrintCommand(Dialogs& dialogs) : dialogs_(dialogs) {}

PrintCommand::~PrintCommand() = default;

void PrintCommand::print(const QImage& picture, const QString& documentName, bool untitled) {
    if (!printing_) {
        QString problem;
        printing_ = Printing::make(problem);
        if (!printing_) {
            qWarning("The printing module could not be loaded: %s", qPrintable(problem));
            dialogs_.warning(kProduct, QString::fromUtf8("Det går inte att skriva ut, eftersom en "
                                                         "del av Pensilo saknas. Installera "
                                                         "Pensilo på nytt."));
            return;
        }
    }
    // The print job's title and the file name the dialog proposes.
    const QString jobName =
        untitled ? QString::fromUtf8("Namnlös") : QFileInfo(documentName).completeBaseName();
    const Printing::Result result = printing_->print(dialogs_, picture, jobName);
    if (result.outcome == Printing::Outcome::PrinterStopped ||
        result.outcome == Printing::Outcome::Failed)
        dialogs_.warning(kProduct, failedMessage(result));
}
