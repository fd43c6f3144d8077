#pragma once

#include "canvas/UndoHistory.h"
#include "platform/Dialogs.h"

#include <QImage>
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

    // The picture a save writes: the canvas, and beyond it what the opened
    // file's picture has that the canvas cannot show, white where neither
    // reaches. Nothing when that would be too large to hold.
    std::optional<QImage> wholePicture() const;
    // A background scene replaced the canvas's picture: what an opened file
    // had beyond the canvas is no longer part of it.
    void sceneChosen() { beyondCanvas_ = QImage(); }

    // Makes `picture`, of any size, the document's picture under `name`, as
    // a recovered copy comes back: the canvas shows its top-left part and a
    // save writes all of it.
    void adoptPicture(const QImage& picture, const QString& name);

    // What a whole-picture undo step keeps of the document, and putting it back.
    UndoHistory::Document undoState() const { return {name(), beyondCanvas_}; }
    void restore(const UndoHistory::Document& state);

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
    // Reads a picture onto the canvas and names the document after it;
    // false, with the user told why, when it cannot.
    bool openPicture(const QString& path);
    // The named file was read as another format than BMP, which is all we write.
    bool holdsOtherFormat() const;

    QWidget& window_;
    PictureBox& canvas_;
    CommonDialog& Cmdialog_;
    Dialogs& dialogs_;
    // The opened file's picture as it was read, while it is larger than the
    // canvas; null otherwise.
    QImage beyondCanvas_;
    // The file Open read another format from, by its name as the title gives it.
    QString otherFormatFile_;
};
