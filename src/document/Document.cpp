#include "document/Document.h"

#include "canvas/PictureBox.h"
#include "document/FileMessages.h"
#include "platform/BuiltinPictures.h"
#include "platform/CommonDialog.h"
#include "platform/PictureFile.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace {

const QString kProduct = QStringLiteral("Pensilo");
const QString kFilter = QStringLiteral("Bmp (*.bmp)|*.bmp");
constexpr qint16 kTrue = -1;
constexpr int kWhiteScene = 5;

} // namespace

Document::Document(QWidget& window, PictureBox& canvas, CommonDialog& Cmdialog, Dialogs& dialogs)
    : window_(window), canvas_(canvas), Cmdialog_(Cmdialog), dialogs_(dialogs) {}

QString Document::nameFromTitle(const QString& title) {
    QString name = title;
    if (name.endsWith(kTitleSuffix))
        name.chop(kTitleSuffix.size());
    // Blanks only: a name is never cut at a tab or a line break.
    qsizetype first = 0;
    qsizetype last = name.size();
    while (first < last && name.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && name.at(last - 1) == QLatin1Char(' '))
        --last;
    return name.mid(first, last - first);
}

QString Document::nameOfFile(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString Document::name() const {
    return nameFromTitle(window_.windowTitle());
}

void Document::setName(const QString& name) {
    window_.setWindowTitle(name + kTitleSuffix);
}

// Asked every time, whether or not anything was drawn: nothing keeps track.
Dialogs::Answer Document::askToSave() {
    return dialogs_.question(kProduct, QStringLiteral("Vill du spara ändringarna i ") + name() +
                                           QStringLiteral(" ?"));
}

// The chosen path once the picture is written to it; nothing when the user
// cancelled or the file could not be written (the user has been told).
std::optional<QString> Document::runSaveDialog() {
    Cmdialog_.DialogTitle = QStringLiteral("Spara");
    Cmdialog_.FileName = name();
    Cmdialog_.Flags = CommonDialog::cdlOFNOverwritePrompt;
    Cmdialog_.Filter = kFilter;
    if (!Cmdialog_.ShowSave())
        return std::nullopt;
    const QString chosen = Cmdialog_.FileName;
    if (!chosen.isEmpty() && !write(chosen))
        return std::nullopt;
    return chosen;
}

bool Document::write(const QString& path) {
    const PictureFile::SaveResult saved = PictureFile::saveBmp(canvas_.Image(), path);
    if (!saved.ok())
        dialogs_.warning(kProduct, saveFailedMessage(path, saved.problem));
    else if (pictureSafe)
        pictureSafe();
    return saved.ok();
}

void Document::Nytt() {
    switch (askToSave()) {
    case Dialogs::Answer::Yes:
        // The drawing stays on the canvas, now named after the file just written.
        if (const std::optional<QString> chosen = runSaveDialog())
            setName(*chosen);
        break;
    case Dialogs::Answer::No:
        if (canvasReplacing)
            canvasReplacing();
        setName(kUntitled);
        canvas_.Cls();
        canvas_.setPicture(BuiltinPictures::scene(kWhiteScene));
        if (canvasReplaced)
            canvasReplaced();
        break;
    case Dialogs::Answer::Cancel:
        break;
    }
}

// No question: whatever is on the canvas is replaced.
void Document::öppna() {
    Cmdialog_.DialogTitle = QStringLiteral("Öppna");
    Cmdialog_.Flags = CommonDialog::cdlOFNFileMustExist;
    Cmdialog_.Filter = kFilter;
    if (!Cmdialog_.ShowOpen())
        return;
    const QString chosen = Cmdialog_.FileName;
    if (chosen.isEmpty()) {
        setName(chosen);
    } else if (loadOntoCanvas(chosen)) {
        setName(chosen);
        if (canvasReplaced)
            canvasReplaced();
    }
}

bool Document::openFile(const QString& path) {
    const QString full = nameOfFile(path);
    Cmdialog_.FileName = full;
    if (!loadOntoCanvas(full))
        return false;
    setName(full);
    if (canvasReplaced)
        canvasReplaced();
    return true;
}

bool Document::loadOntoCanvas(const QString& path) {
    const PictureFile::LoadResult loaded =
        PictureFile::load(path, QSize(PictureBox::kWidth, PictureBox::kHeight));
    if (!loaded.ok()) {
        dialogs_.warning(kProduct, openFailedMessage(path, loaded.problem));
        return false;
    }
    if (canvasReplacing)
        canvasReplacing();
    canvas_.setPicture(loaded.image);
    return true;
}

void Document::spara() {
    if (isUntitled()) {
        SparaSom();
        return;
    }
    write(name());
}

// The file is written before the title changes, so a failed write keeps the old name.
void Document::SparaSom() {
    if (const std::optional<QString> chosen = runSaveDialog())
        setName(*chosen);
}

// Yes always shows the save dialog, even for a named picture: the roads that
// end the program never write silently over the current file. A Yes whose
// save was cancelled or failed keeps the program running, for Exit and for
// closing the window alike: the child asked for the picture to be kept.
bool Document::endProgram() {
    switch (askToSave()) {
    case Dialogs::Answer::Yes:
        if (!runSaveDialog())
            return false;
        break;
    case Dialogs::Answer::No:
        if (pictureSafe)
            pictureSafe();
        break;
    case Dialogs::Answer::Cancel:
        return false;
    }
    if (stopProgram)
        stopProgram();
    return true;
}

void Document::avsluta() {
    endProgram();
}

void Document::queryUnload(qint16& Cancel) {
    if (!endProgram())
        Cancel = kTrue;
}
