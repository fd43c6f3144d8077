#pragma once

#include "platform/RecoveryStore.h"

#include <functional>

class Dialogs;
class Document;
class PictureBox;

// Keeps the picture safe from a crash, a kill or a power cut: a copy of it
// and its name follows every change the child makes, until the picture is
// safe (written to its file, or let go by the child's own choice). At the
// next start a copy whose program ended unasked is offered back.
class Recovery {
public:
    Recovery(Document& document, PictureBox& canvas, Dialogs& dialogs,
             QString folder = RecoveryStore::defaultFolder());

    // The canvas was given a whole new picture here: show all of it.
    std::function<void()> canvasShown;

    // After every change the child made to the picture or its name.
    void pictureChanged();
    // The picture is written to its file, or the child chose to let it go.
    void pictureSafe();

    // At start, before the window takes any other input: the copies that
    // programs no longer running left, newest first, each shown on the
    // canvas and offered until the child keeps one. With `file`, the picture
    // named on the command line, only the copies of that file are offered.
    // True when the child kept one: it is the window's picture now.
    bool offerLeftCopies(const QString& file);
    // Takes this window's lock ahead of its first copy: taking it waits for
    // the disk, which no gesture should.
    void takeLock();

private:
    void show(const QImage& image, const QString& name);

    Document& document_;
    PictureBox& canvas_;
    Dialogs& dialogs_;
    RecoveryStore store_;
};
