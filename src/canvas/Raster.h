#pragma once

#include <QImage>
#include <QRect>

// The canvas's own rasteriser; positions are in pixels as floats, pixel
// (i, j) covering the square from (i, j) to (i + 1, j + 1). A wide stroke
// paints the pixels whose centres lie in it; a one-pixel line or outline
// takes the pixels nearest the true line or curve, so it is exactly one pixel
// thick. Everything is clipped to the image and returns the rectangle it
// touched.
namespace Raster {

// A segment `width` pixels wide with round ends: a stroke's segments join
// without gaps. Ends are snapped so a line of width w covers exactly w pixels
// across. Width 1 joins the pixels under the two ends, both included, with
// one pixel per column (up to 45 degrees) or per row (steeper), each the
// pixel nearest the true line, the same whichever end it starts from.
QRect segment(QImage& image, QPointF from, QPointF to, int width, QRgb colour);

// The pixel a position lies in.
QPoint pixelAt(QPointF pixels);

// The axis-parallel rectangle with the two opposite corner pixels, both included.
QRect fillRect(QImage& image, QPoint a, QPoint b, QRgb colour);

// An ellipse with the given centre and semi-axes, fitted to the whole pixels
// nearest its four extremes. The outline is a closed curve one pixel wide,
// each of its pixels the nearest to the true curve along its row or column,
// so the extremes are flat runs rather than lone pixels; `fill` paints the
// pixels strictly inside it. Every row the ellipse spans gets a pixel, so a
// zero-width ellipse is still a visible stroke.
QRect ellipse(QImage& image, QPointF centre, double rx, double ry, bool fill, QRgb fillColour,
              bool outline, QRgb outlineColour);

// Pen positions snap to the pixel grid: to pixel centres for odd widths and to
// pixel corners for even ones, so the stroke is exactly `width` pixels across.
QPointF snap(QPointF pixels, int width);

} // namespace Raster
