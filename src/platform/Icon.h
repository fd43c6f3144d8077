#pragma once

#include <QImage>
#include <QPoint>

// A Windows icon image kept the way Windows draws it: a colour (XOR) image and
// a one-bit AND mask. Drawing combines destination = (destination AND mask) XOR
// colour, so a set mask bit over black leaves the destination unchanged and a
// set mask bit over a colour inverts those bits of the destination. Qt's own
// icon reader turns this into alpha and loses the exclusive-or pixels.
class Icon {
public:
    Icon() = default;
    // colour: Format_RGB32, mask: Format_Grayscale8 of the same size where
    // 255 means the mask bit is set (see-through) and 0 that it is clear.
    Icon(const QImage& colour, const QImage& mask);

    bool isNull() const { return colour_.isNull(); }
    int width() const { return colour_.width(); }
    int height() const { return colour_.height(); }
    QSize size() const { return colour_.size(); }

    const QImage& colour() const { return colour_; }
    const QImage& mask() const { return mask_; }
    bool maskBit(int x, int y) const { return mask_.constScanLine(y)[x] != 0; }
    QRgb colourAt(int x, int y) const {
        return reinterpret_cast<const QRgb*>(colour_.constScanLine(y))[x];
    }

    // Draws the icon unscaled with its top-left corner at `topLeft` (pixels),
    // clipped to the destination, which must be Format_RGB32.
    void drawOnto(QImage& destination, QPoint topLeft) const;

    // The icon as Windows would show it on a plain background of `background`.
    QImage onBackground(QRgb background) const;

private:
    QImage colour_;
    QImage mask_;
};
