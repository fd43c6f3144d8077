#pragma once

#include "platform/Dialogs.h"

class QWidget;

// The real dialogs: Qt's message box, and Qt's own file and print dialogs
// rather than the desktop's, so that every text in them is ours to put in
// Swedish.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    Answer question(const QString& title, const QString& text) override;
    Answer yesOrNo(const QString& title, const QString& text) override;
    std::optional<QString> chooseFile(const FileRequest& request) override;
    void warning(const QString& title, const QString& text) override;
    bool choosePrinter(QPrinter& printer) override;

    // "Bmp (*.bmp)|*.bmp|Alla (*.*)|*.*" as the descriptions Qt shows; Qt
    // takes the patterns from the parentheses of each.
    static QStringList nameFilters(const QString& filter);
    // Where a dialog with no path to start from opens: the user's pictures
    // folder when there is one.
    static QString startFolder();

private:
    QWidget* parent_;
};
