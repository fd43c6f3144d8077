#include "document/Document.h"

#include "canvas/PictureBox.h"
#include "document/FileMessages.h"
#include "platform/BuiltinPictures.h"
#include "platform/CommonDialog.h"
#include "platform/PictureFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {

const QString kProduct = QStringLiteral("Pensilo");
const QString kFilter = QStringLiteral("Bmp (*.bmp)|*.bmp");
constexpr qint16 kTrue = -1;
constexpr int kWhiteScene = 5;

// Blanks only: a name is never cut at a tab or a line break.
QString withoutBlanksAround(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// Where the file's own name starts in a path.
qsizetype fileNameStart(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator())) + 1;
}

// The title drops blanks at the name's ends, so a file named with them could
// never be saved to again under the name the title shows.
QString withoutBlanksAroundFileName(const QString& path) {
    const qsizetype start = fileNameStart(path);
    return path.left(start) + withoutBlanksAround(path.mid(start));
}

// bild.png gives bild.bmp, a name without an extension gets one.
QString withBmpExtension(const QString& path) {
    const qsizetype start = fileNameStart(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot > start ? path.left(dot) : path) + QStringLiteral(".bmp");
}

} // namespace

Document::Document(QWidget& window, PictureBox& canvas, CommonDialog& Cmdialog, Dialogs& dialogs)
    : window_(window), canvas_(canvas), Cmdialog_(Cmdialog), dialogs_(dialogs) {}

QString Document::nameFromTitle(const QString& title) {
    QString name = title;
    if (name.endsWith(kTitleSuffix))
        name.chop(kTitleSuffix.size());
    return withoutBlanksAround(name);
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

bool Document::holdsOtherFormat() const {
    return !otherFormatFile_.isEmpty() && name() == otherFormatFile_;
}

// The chosen path once the picture is written to it; nothing when the user
// cancelled or the file could not be written (the user has been told).
std::optional<QString> Document::runSaveDialog() {
    Cmdialog_.DialogTitle = QStringLiteral("Spara");
    // A PNG is never proposed for BMP bytes: the file opened stays as it was
    // unless the user names it and confirms the replacement.
    Cmdialog_.FileName = holdsOtherFormat() ? withBmpExtension(name()) : name();
    Cmdialog_.Flags = CommonDialog::cdlOFNOverwritePrompt;
    Cmdialog_.Filter = kFilter;
    QString chosen;
    for (;;) {
        if (!Cmdialog_.ShowSave())
            return std::nullopt;
        chosen = withoutBlanksAroundFileName(Cmdialog_.FileName);
        // The dialog asked about replacing the name as typed, not this one:
        // shown again with it, so no file is replaced without being asked.
        if (chosen == Cmdialog_.FileName || !QFileInfo::exists(chosen))
            break;
        Cmdialog_.FileName = chosen;
    }
    Cmdialog_.FileName = chosen;
    if (!chosen.isEmpty() && !write(chosen))
        return std::nullopt;
    return chosen;
}

bool Document::write(const QString& path) {
    const std::optional<QImage> picture = wholePicture();
    if (!picture) {
        dialogs_.warning(kProduct, saveFailedMessage(path, PictureFile::Problem::TooLarge));
        return false;
    }
    const PictureFile::SaveResult saved = PictureFile::saveBmp(*picture, path);
    if (!saved.ok()) {
        dialogs_.warning(kProduct, saveFailedMessage(path, saved.problem));
        return false;
    }
    // It holds a BMP now, like any file we write.
    if (path == otherFormatFile_)
        otherFormatFile_.clear();
    if (pictureSafe)
        pictureSafe();
    return true;
}

std::optional<QImage> Document::wholePicture() const {
    const QImage& shown = canvas_.Image();
    if (beyondCanvas_.isNull())
        return shown;
    const QSize size = shown.size().expandedTo(beyondCanvas_.size());
    if (PictureFile::tooLargeToHold(size))
        return std::nullopt;
    QImage whole(size, QImage::Format_RGB32);
    if (whole.isNull())
        return std::nullopt;
    whole.fill(Qt::white);
    QPainter painter(&whole);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // Converted a band at a time, as Open converted the part the canvas
    // shows, so no second copy of a large picture is made.
    constexpr int kBandRows = 256;
    for (int top = 0; top < beyondCanvas_.height(); top += kBandRows) {
        const QRect band(0, top, beyondCanvas_.width(),
                         std::min(kBandRows, beyondCanvas_.height() - top));
        const QImage rows = beyondCanvas_.copy(band).convertToFormat(QImage::Format_RGB32);
        if (rows.isNull())
            return std::nullopt;
        painter.drawImage(band.topLeft(), rows);
    }
    painter.drawImage(QPoint(0, 0), shown);
    painter.end();
    return whole;
}

void Document::adoptPicture(const QImage& picture, const QString& name) {
    canvas_.setPicture(picture);
    const bool larger =
        picture.width() > PictureBox::kWidth || picture.height() > PictureBox::kHeight;
    beyondCanvas_ = larger ? picture : QImage();
    setName(name);
    // The file may hold a PNG or a JPEG: Save must not turn it into a BMP.
    // Read only from a plain file: a pipe under that name would never answer.
    const QByteArray format =
        QFileInfo(name).isFile() ? QImageReader::imageFormat(name) : QByteArray();
    otherFormatFile_ = format.isEmpty() || format == "bmp" ? QString() : name;
}

void Document::restore(const UndoHistory::Document& state) {
    setName(state.name);
    beyondCanvas_ = state.beyond;
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
        beyondCanvas_ = QImage();
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
    if (chosen.isEmpty())
        setName(chosen);
    else
        openPicture(chosen);
}

bool Document::openFile(const QString& path) {
    const QString full = nameOfFile(path);
    Cmdialog_.FileName = full;
    return openPicture(full);
}

bool Document::openPicture(const QString& path) {
    const PictureFile::LoadResult loaded =
        PictureFile::load(path, QSize(PictureBox::kWidth, PictureBox::kHeight));
    if (!loaded.ok()) {
        dialogs_.warning(kProduct, openFailedMessage(path, loaded.problem));
        return false;
    }
    if (canvasReplacing)
        canvasReplacing();
    canvas_.setPicture(loaded.image);
    beyondCanvas_ = loaded.whole;
    setName(path);
    // By what was read, not by the name: a BMP called .png is still a BMP.
    otherFormatFile_ = loaded.format == "bmp" ? QString() : name();
    if (canvasReplaced)
        canvasReplaced();
    return true;
}

// We write BMP only: a file of another format goes through the dialog
// rather than being turned into a BMP under its old name.
void Document::spara() {
    if (isUntitled() || holdsOtherFormat()) {
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
