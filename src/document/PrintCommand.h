#pragma once

#include <QString>

#include <memory>

class Dialogs;
class QImage;
class QPrinter;

// Ctrl+P: the print dialog, then the picture centred on one page, as large
// as it fits, in colour where the printer can. Cancel prints nothing and says
// nothing; a printer or a file that fails is named in a message.
class PrintCommand {
public:
    explicit PrintCommand(Dialogs& dialogs);
    ~PrintCommand();

    void print(const QImage& picture, const QString& documentName);

private:
    Dialogs& dialogs_;
    // Made at the first print, so nothing of printing is set up before; kept
    // so the dialog shows the printer and the settings chosen last time.
    std::unique_ptr<QPrinter> printer_;
};
