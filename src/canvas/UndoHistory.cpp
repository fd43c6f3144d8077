#include "canvas/UndoHistory.h"

#include "canvas/PictureBox.h"

#include <lz4.h>

#include <cstring>

namespace {

// The rows, then the columns, where two canvas images differ: a compare of
// rows costs about one copy of the canvas.
QRect changedRect(const QImage& before, const QImage& after) {
    if (before.size() != after.size())
        return after.rect();
    const int width = after.width();
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    int top = 0;
    int bottom = after.height() - 1;
    while (top <= bottom &&
           std::memcmp(before.constScanLine(top), after.constScanLine(top), rowBytes) == 0)
        ++top;
    if (top > bottom)
        return {};
    while (std::memcmp(before.constScanLine(bottom), after.constScanLine(bottom), rowBytes) == 0)
        --bottom;
    int left = width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        for (int x = 0; x < left; ++x)
            if (a[x] != b[x]) {
                left = x;
                break;
            }
        for (int x = width - 1; x > right; --x)
            if (a[x] != b[x]) {
                right = x;
                break;
            }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// A rectangle of an image's pixels, row after row, LZ4-packed when that pays.
// The first byte says which: a drawing of flat colours packs twentyfold, a
// photo's noise may not pack at all.
QByteArray pack(const QImage& image, const QRect& rect) {
    const int rowBytes = rect.width() * 4;
    const int rawBytes = rowBytes * rect.height();
    QByteArray raw(rawBytes, Qt::Uninitialized);
    for (int y = 0; y < rect.height(); ++y)
        std::memcpy(raw.data() + qsizetype(y) * rowBytes,
                    image.constScanLine(rect.top() + y) + qsizetype(rect.left()) * 4,
                    static_cast<size_t>(rowBytes));
    QByteArray packed(1 + LZ4_compressBound(rawBytes), Qt::Uninitialized);
    const int size = LZ4_compress_default(raw.constData(), packed.data() + 1, rawBytes,
                                          LZ4_compressBound(rawBytes));
    if (size <= 0 || size >= rawBytes)
        return raw.prepend('\0');
    packed[0] = '\1';
    packed.truncate(1 + size);
    return packed;
}

QImage unpack(const QByteArray& packed, const QRect& rect) {
    QImage part(rect.size(), QImage::Format_RGB32);
    const int rawBytes = rect.width() * 4 * rect.height();
    QByteArray raw;
    const char* rows = packed.constData() + 1;
    if (packed.at(0) == '\1') {
        raw = QByteArray(rawBytes, Qt::Uninitialized);
        LZ4_decompress_safe(packed.constData() + 1, raw.data(), int(packed.size() - 1), rawBytes);
        rows = raw.constData();
    }
    const int rowBytes = rect.width() * 4;
    for (int y = 0; y < rect.height(); ++y)
        std::memcpy(part.scanLine(y), rows + qsizetype(y) * rowBytes,
                    static_cast<size_t>(rowBytes));
    return part;
}

} // namespace

qsizetype UndoHistory::Step::cost() const {
    qsizetype bytes = qsizetype(sizeof(Step)) + packed.size();
    if (document)
        bytes += document->name.size() * 2 + document->beyond.sizeInBytes();
    return bytes;
}

UndoHistory::UndoHistory(PictureBox& canvas) : canvas_(canvas) {}

void UndoHistory::begin() {
    if (!open_)
        open_ = Open{canvas_.Image(), std::nullopt};
}

void UndoHistory::beginWhole() {
    begin();
    if (!open_->document && documentNow)
        open_->document = documentNow();
}

void UndoHistory::end() {
    if (!open_)
        return;
    Open open = std::move(*open_);
    open_.reset();
    const QRect rect = changedRect(open.before, canvas_.Image());
    const bool documentChanged = open.document && documentNow && !(documentNow() == *open.document);
    if (rect.isEmpty() && !documentChanged)
        return;
    Step step{rect, rect.isEmpty() ? QByteArray() : pack(open.before, rect), open.document};
    for (const Step& dropped : redo_)
        bytes_ -= dropped.cost();
    redo_.clear();
    keep(std::move(step));
}

void UndoHistory::keep(Step step) {
    bytes_ += step.cost();
    undo_.push_back(std::move(step));
    trim();
}

void UndoHistory::trim() {
    while (!undo_.empty() && (undoCount() > maxSteps_ || bytes_ > maxBytes_)) {
        bytes_ -= undo_.front().cost();
        undo_.pop_front();
    }
}

void UndoHistory::setLimits(int maxSteps, qsizetype maxBytes) {
    maxSteps_ = maxSteps;
    maxBytes_ = maxBytes;
    trim();
}

bool UndoHistory::undo() {
    return move(undo_, redo_);
}

bool UndoHistory::redo() {
    return move(redo_, undo_);
}

// Undo and redo alike: the last step of one list is swapped onto the canvas
// and becomes the last of the other.
bool UndoHistory::move(std::deque<Step>& from, std::deque<Step>& to) {
    if (open_ || from.empty())
        return false;
    Step step = std::move(from.back());
    from.pop_back();
    swap(step);
    to.push_back(std::move(step));
    return true;
}

void UndoHistory::swap(Step& step) {
    bytes_ -= step.cost();
    if (!step.rect.isEmpty()) {
        QByteArray shown = pack(canvas_.Image(), step.rect);
        canvas_.restore(unpack(step.packed, step.rect), step.rect.topLeft());
        step.packed = std::move(shown);
    }
    if (step.document && documentNow && restoreDocument) {
        Document shown = documentNow();
        restoreDocument(*step.document);
        step.document = std::move(shown);
    }
    bytes_ += step.cost();
}
