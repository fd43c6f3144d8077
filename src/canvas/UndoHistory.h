#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

class PictureBox;

// The changes to the canvas that can be taken back, as a child sees them:
// one step a stroke, a figure, a stamp or a whole new picture. A step keeps
// only the rectangle it changed, packed, and one copy of it serves both ways:
// undoing a step swaps the kept pixels with those on the canvas, so the same
// step can then be redone.
class UndoHistory {
public:
    // What a whole-picture step (a scene, New, Open) keeps beside the pixels:
    // the document's name and the picture's part beyond the canvas.
    struct Document {
        QString name;
        QImage beyond;
        bool operator==(const Document& other) const {
            return name == other.name && beyond.cacheKey() == other.beyond.cacheKey();
        }
    };

    static constexpr int kMaxSteps = 500;
    static constexpr qsizetype kMaxBytes = qsizetype(16) * 1024 * 1024;

    explicit UndoHistory(PictureBox& canvas);

    // The document state now, and putting one back; used by whole-picture steps.
    std::function<Document()> documentNow;
    std::function<void(const Document&)> restoreDocument;

    // Before a change to the canvas; a step already open stays the one step.
    void begin();
    // Before a change that replaces the whole picture and may change the document.
    void beginWhole();
    // After the change: a step is kept when a pixel or the document changed.
    void end();
    bool isOpen() const { return open_.has_value(); }

    // False when there is nothing to take back or put back, or a step is open.
    bool undo();
    bool redo();

    int undoCount() const { return static_cast<int>(undo_.size()); }
    int redoCount() const { return static_cast<int>(redo_.size()); }
    // What the kept steps cost, for the budget.
    qsizetype bytes() const { return bytes_; }

    void setLimits(int maxSteps, qsizetype maxBytes);

private:
    struct Step {
        QRect rect;        // in canvas pixels
        QByteArray packed; // the rectangle's pixels not on the canvas now
        std::optional<Document> document;
        qsizetype cost() const;
    };
    struct Open {
        QImage before; // shares the canvas's pixels until it draws
        std::optional<Document> document;
    };

    // Puts the step's pixels (and document) on the canvas and keeps those
    // that were there instead.
    void swap(Step& step);
    bool move(std::deque<Step>& from, std::deque<Step>& to);
    void keep(Step step);
    void trim();

    PictureBox& canvas_;
    std::optional<Open> open_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    qsizetype bytes_ = 0;
    int maxSteps_ = kMaxSteps;
    qsizetype maxBytes_ = kMaxBytes;
};
