#pragma once

#include <QString>

#include <optional>

class QPrinter;

// The modal dialogs of the file commands and of printing. The program shows them through
// this interface so that tests can answer them from a script; QtDialogs is
// the real one.
class Dialogs {
public:
    enum class Answer { Yes, No, Cancel };

    enum class FileMode { Open, Save };

    // What a file dialog is shown with. `filter` is description and pattern
    // pairs joined by "|" ("Bmp (*.bmp)|*.bmp"); `fileName` the proposed name:
    // a full path, a bare name or empty.
    struct FileRequest {
        FileMode mode = FileMode::Open;
        QString title;
        QString filter;
        QString fileName;
        bool confirmReplace = false;
        bool fileMustExist = false;
    };

    virtual ~Dialogs() = default;

    // Yes, No and Cancel with a question icon; No is the default button, and
    // closing the box or Escape answers Cancel.
    virtual Answer question(const QString& title, const QString& text) = 0;
    // Yes and No with a question icon; Yes is the default button. Closing
    // the box or Escape answers neither: Cancel.
    virtual Answer yesOrNo(const QString& title, const QString& text) = 0;
    // The full path chosen, or nothing when the user cancelled.
    virtual std::optional<QString> chooseFile(const FileRequest& request) = 0;
    // A failure the user must hear about, with one button to close it.
    virtual void warning(const QString& title, const QString& text) = 0;
    // The print dialog: true when the user chose to print, `printer` then set
    // up as chosen; false when the user cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
};
