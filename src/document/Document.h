#pragma once

#include "platform/Dialogs.h"

#include <QString>

#include <functional>
#include <optional>

class CommonDialog;
class PictureBox;
class QWidget;

// The one picture the window holds, its name and its file: New, Open, Save
// and Save As, and the two roads that end the program. The name lives only in
// the window's title; every command reads it back from there.
class Document {
public:
    static inline const QString kUntitled = QStringLiteral("[Namnlös]");
    static inline const QString kTitleSuffix = QStringLiteral(" - Pensilo");

    Document(QWidget& window, PictureBox& canvas, CommonDialog& Cmdialog, Dialogs& dialogs);

    // The canvas's picture is about to be replaced (New, Open), and was
    // replaced, its name shown: show all of it.
    std::function<void()> canvasReplacing;
    std::function<void()> canvasReplaced;
    // End the whole program at once.
    std::function<void()> stopProgram;
    // The picture is written to its file, or the child chose to let it go.
    std::function<void()> pictureSafe;

    // The title without its suffix, blanks trimmed from both ends.
    static QString nameFromTitle(const QString& title);
    // The name a picture opened from `path` gets: its full native path.
    static QString nameOfFile(const QString& path);
    QString name() const;
    bool isUntitled() const { return name() == kUntitled; }
    // Shows `name` in the title; undo puts an earlier name back this way.
    void setName(const QString& name);

    void Nytt();
    void öppna();
    void spara();
    void SparaSom();
    void avsluta();
    // Opens a picture named on the command line as Open does, without the
    // dialog; false, with the user told why, when it cannot be read.
    bool openFile(const QString& path);
    // The close query: `Cancel` set to true keeps the window open.
    void queryUnload(qint16& Cancel);

private:
    Dialogs::Answer askToSave();
    // Asks, saves if wanted and stops the program; false when it goes on.
    bool endProgram();
    std::optional<QString> runSaveDialog();
    bool write(const QString& path);
    // Reads a picture onto the canvas; false, with the user told why, when it cannot.
    bool loadOntoCanvas(const QString& path);

    QWidget& window_;
    PictureBox& canvas_;
    CommonDialog& Cmdialog_;
    Dialogs& dialogs_;
};
