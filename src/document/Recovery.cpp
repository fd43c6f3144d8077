#include "document/Recovery.h"

#include "canvas/PictureBox.h"
#include "document/Document.h"
#include "platform/BuiltinPictures.h"
#include "platform/Dialogs.h"

#include <algorithm>

namespace {

const QString kProduct = QStringLiteral("Pensilo");
const QString kQuestion =
    QStringLiteral("Pensilo stängdes innan bilden sparades. Vill du fortsätta med bilden?");

bool allWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!std::all_of(row, row + image.width(), [](QRgb pixel) { return pixel == 0xFFFFFFFF; }))
            return false;
    }
    return true;
}

} // namespace

Recovery::Recovery(Document& document, PictureBox& canvas, Dialogs& dialogs, QString folder)
    : document_(document), canvas_(canvas), dialogs_(dialogs), store_(std::move(folder)) {}

void Recovery::pictureChanged() {
    // A white picture without a name is what a start or New gives: there is
    // nothing in it to lose.
    if (document_.isUntitled() && allWhite(canvas_.Image()))
        store_.discard();
    else
        store_.keep(document_.wholePicture().value_or(canvas_.Image()), document_.name());
}

void Recovery::pictureSafe() {
    store_.discard();
}

bool Recovery::offerLeftCopies(const QString& file) {
    const QString wanted = file.isEmpty() ? QString() : Document::nameOfFile(file);
    // Each stays locked by this program while it is looked at; those not
    // adopted or removed are let go with the vector and wait for the next start.
    std::vector<RecoveryStore::Orphan> orphans = store_.claimOrphans();
    bool shown = false;
    bool kept = false;
    for (RecoveryStore::Orphan& orphan : orphans) {
        if (!wanted.isEmpty() && orphan.picture.name != wanted)
            continue;
        show(orphan.picture.image, orphan.picture.name);
        shown = true;
        const Dialogs::Answer answer = dialogs_.yesOrNo(kProduct, kQuestion);
        if (answer == Dialogs::Answer::Yes) {
            // The copy on disk is the picture now shown: it becomes this window's own.
            store_.adopt(orphan);
            kept = true;
            break;
        }
        // Closing the question puts it off: this copy and the rest stay.
        if (answer == Dialogs::Answer::Cancel)
            break;
        store_.remove(orphan);
    }
    if (shown && !kept)
        show(BuiltinPictures::canvasStartPicture(), Document::kUntitled);
    return kept;
}

void Recovery::takeLock() {
    store_.claimOwnLock();
}

void Recovery::show(const QImage& image, const QString& name) {
    document_.adoptPicture(image, name);
    canvas_.takeChangedRect();
    if (canvasShown)
        canvasShown();
}
