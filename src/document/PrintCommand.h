#pragma once

#include <QString>

#include <memory>

class Dialogs;
class Printing;
class QImage;

// Ctrl+P: the print dialog, then the picture on one page. Cancel prints
// nothing and says nothing; a printer or a file that fails is named in a
// message.
class PrintCommand {
public:
    explicit PrintCommand(Dialogs& dialogs);
    ~PrintCommand();

    void print(const QImage& picture, const QString& documentName, bool untitled);

private:
    Dialogs& dialogs_;
    // Made at the first print, which loads the printing module.
    std::unique_ptr<Printing> printing_;
};
