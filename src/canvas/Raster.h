#pragma once

#include <QImage>
#include <QRect>

// The canvas's own rasteriser. Pixel (i, j) is painted when its centre
// (i + 0.5, j + 0.5) lies in the figure; positions are in pixels as floats.
// Everything is clipped to the image and returns the rectangle it touched.
namespace Raster {

// A segment `width` pixels wide with round ends: a stroke's segments join
// without gaps. Ends are snapped so a line of width w covers exactly w pixels
// across.
QRect segment(QImage& image, QPointF from, QPointF to, int width, QRgb colour);

// The axis-parallel rectangle with the two opposite corner pixels, both included.
QRect fillRect(QImage& image, QPoint a, QPoint b, QRgb colour);

// An ellipse with the given centre and semi-axes. `fill` paints the inside;
// the outline is one pixel wide and every row the ellipse spans gets a pixel,
// so a zero-width ellipse is still a visible stroke.
QRect ellipse(QImage& image, QPointF centre, double rx, double ry, bool fill, QRgb fillColour,
              bool outline, QRgb outlineColour);

// Pen positions snap to the pixel grid: to pixel centres for odd widths and to
// pixel corners for even ones, so the stroke is exactly `width` pixels across.
QPointF snap(QPointF pixels, int width);

} // namespace Raster
