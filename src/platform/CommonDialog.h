#pragma once

#include "platform/Dialogs.h"

#include <QString>

// The file dialog component the window keeps: the commands set its title,
// filter and flags before each showing, and it remembers the last file name
// put into it or chosen in it, so Open starts from the picture last saved.
class CommonDialog {
public:
    // Flags, as the commands set them.
    static constexpr qint32 cdlOFNOverwritePrompt = 0x2;
    static constexpr qint32 cdlOFNFileMustExist = 0x1000;

    explicit CommonDialog(Dialogs& dialogs) : dialogs_(dialogs) {}

    QString DialogTitle;
    QString Filter;
    QString FileName;
    qint32 Flags = 0;

    // Each returns false when the user cancelled; FileName then stays as it was.
    bool ShowOpen() { return show(Dialogs::FileMode::Open); }
    bool ShowSave() { return show(Dialogs::FileMode::Save); }

private:
    bool show(Dialogs::FileMode mode) {
        Dialogs::FileRequest request;
        request.mode = mode;
        request.title = DialogTitle;
        request.filter = Filter;
        request.fileName = FileName;
        request.confirmReplace = (Flags & cdlOFNOverwritePrompt) != 0;
        request.fileMustExist = (Flags & cdlOFNFileMustExist) != 0;
        const std::optional<QString> chosen = dialogs_.chooseFile(request);
        if (!chosen)
            return false;
        FileName = *chosen;
        return true;
    }

    Dialogs& dialogs_;
};
