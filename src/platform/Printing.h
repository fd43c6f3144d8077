#pragma once

#include <QString>

#include <memory>

class Dialogs;
class QImage;
class QPrinter;
class QWidget;

// Printing the picture. It lives in a module of its own (platform/printing),
// loaded at the first print: Qt's printing library costs start-up time and
// memory that most runs never use.
class Printing {
public:
    enum class Outcome { Printed, Cancelled, PrinterStopped, Failed };
    struct Result {
        Outcome outcome = Outcome::Cancelled;
        bool toFile = false; // to a PDF file rather than to a printer
        QString where;       // the printer's name, or the file's path
    };

    virtual ~Printing() = default;

    // The print dialog through `dialogs`, then `picture` on one page: centred,
    // as large as it fits, undistorted, in colour where the printer can. The
    // printer and its settings chosen are proposed again the next time.
    virtual Result print(Dialogs& dialogs, const QImage& picture, const QString& jobName) = 0;

    // A printer of the module, which the first call loads; nothing when the
    // module cannot be loaded, `problem` then saying why.
    static std::unique_ptr<Printing> make(QString& problem);
    // Qt's print dialog on `printer`; false when the user cancelled.
    static bool showDialog(QPrinter& printer, QWidget* parent);
};
