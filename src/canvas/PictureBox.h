#pragma once

#include "platform/ControlCodes.h"

#include <QImage>
#include <QRect>

class Icon;

// The canvas as a picture box: a persistent image that all drawing goes into,
// a background picture that Cls resets it to, a current point and the drawing
// attributes. Coordinates are twips as floats; colours are 0x00BBGGRR.
class PictureBox {
public:
    static constexpr int kWidth = 471;
    static constexpr int kHeight = 429;

    // A white canvas, or one showing `picture` as its background picture.
    PictureBox();
    explicit PictureBox(const QImage& picture);

    // Attributes, with the canvas's start values.
    quint32 BackColor = 0xFFFFFF;
    quint32 ForeColor = 0xFF0000;
    quint32 FillColor = 0x0000FF;
    qint16 FillStyle = FillStyle::kSolid;
    qint16 DrawWidth = 1; // pixels
    float CurrentX = 0;
    float CurrentY = 0;

    // The background picture; any size, only its top-left part shows.
    // Setting it shows it at once, replacing what was drawn.
    const QImage& Picture() const { return picture_; }
    void setPicture(const QImage& picture);

    // A line from (x1, y1), or with `box` the rectangle with those corners,
    // outlined in ForeColor and filled as FillStyle says.
    void Line(float x1, float y1, float x2, float y2, bool box = false);
    // A line from the current point.
    void LineTo(float x, float y);
    // An ellipse by centre, radius and vertical-over-horizontal aspect: below
    // 1 the radius is the horizontal semi-axis, from 1 up the vertical one.
    void Circle(float x, float y, float radius, float aspect);
    // Resets the persistent image to the background picture.
    void Cls();
    // Paints an icon unscaled with its top-left corner at (x, y), through its mask.
    void PaintPicture(const Icon& icon, float x, float y);

    // The persistent image.
    const QImage& Image() const { return image_; }

    // Puts `part` back into the persistent image at pixel `at`, as undo does.
    // The background picture becomes the image: every later Cls follows a
    // new background (a shape press's snapshot, a scene, a new picture), so
    // the old one is never seen again and need not be kept.
    void restore(const QImage& part, QPoint at);

    // The pixel rectangle changed since the last call, for a partial repaint.
    QRect takeChangedRect();

private:
    void showPicture();
    void changed(const QRect& rect) { changed_ |= rect; }

    QImage image_;
    QImage picture_;
    QRect changed_;
};
