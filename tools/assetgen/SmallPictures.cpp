#include "Pictures.h"

#include <QPainter>

#include <cstring>
#include <map>

namespace {

// Pixel art as text, one character a pixel.
QImage fromRows(std::initializer_list<const char*> rows, const std::map<char, QRgb>& colours) {
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(std::strlen(*rows.begin()));
    QImage image(width, height, QImage::Format_RGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colours.at(row[x]));
        ++y;
    }
    return image;
}

const std::map<char, QRgb> kColours = {
    {'.', qRgb(192, 192, 192)}, {'#', qRgb(0, 0, 0)},     {'w', qRgb(255, 255, 255)},
    {'g', qRgb(128, 128, 128)}, {'o', qRgb(128, 128, 0)}, {'y', qRgb(255, 255, 0)},
    {'r', qRgb(255, 0, 0)},     {'b', qRgb(0, 0, 255)},   {'m', qRgb(128, 0, 0)},
    {'p', qRgb(255, 0, 255)},   {'c', qRgb(0, 255, 255)}, {'n', qRgb(0, 0, 128)},
};

} // namespace

namespace Pictures {

QImage eraserButton() {
    // A slanted block: white top, dithered white-and-grey face, grey side.
    return fromRows({"................", "................", "........#######.", ".......#wwwwww##",
                     "......#wwwwww#g#", ".....#wwwwww#gg#", "....#wwwwww#ggg#", "...##########gg#",
                     "...#wgwgwgwg#gg#", "...#gwgwgwgw#g#.", "...#wgwgwgwg##..", "...#gwgwgwgw#...",
                     "...##########...", "................", "..############..",
                     "................"},
                    kColours);
}

QImage windowIcon(int size) {
    // A fat pencil drawing a red line: drawn at 32 pixels, shown at every size.
    const QImage art =
        fromRows({"................................", "........................###.....",
                  ".......................#ppp#....", "......................#ppppp#...",
                  ".....................#g#ppppp#..", "....................#ggg#ppp#...",
                  "...................#yyyyg#p#....", "..................#yyyyyyg#.....",
                  ".................#yyyyyyy#......", "................#yyyyyyy#.......",
                  "...............#yyyyyyy#........", "..............#yyyyyyy#.........",
                  ".............#yyyyyyy#..........", "............#yyyyyyy#...........",
                  "...........#yyyyyyy#............", "..........#yyyyyyy#.............",
                  ".........#yyyyyyy#..............", "........#wyyyyyy#...............",
                  ".......#wwwyyyy#................", "......#wwwwwyy#.................",
                  "......#wwwwww#..................", ".....#wwwwww#...................",
                  ".....#wwwww#....................", "....#rrwww#.....................",
                  "....#rrrw#......................", "...#rrr##.......................",
                  "...####.........................", "..rr............................",
                  ".rrrr.....rrrr.......rrrr.......", "rr..rrrrrrr..rrrrrrrrr..rrrr....",
                  "................................", "................................"},
                 kColours);
    return size == 32 ? art : art.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage commandStrip() {
    // Blank page with a folded corner, open folder with a curved arrow, diskette.
    return fromRows({"..........................###...................",
                     "..#######................#...#.#.##############.",
                     "..#wwww##.....................##.#o#wwwwwwww#o#.",
                     "..#wwww#w#...................###.#o#wwwwwwww#o#.",
                     "..#wwww####......................#o#wwwwwwww#o#.",
                     "..#wwwwwww#......######..........#o#wwwwwwww#o#.",
                     "..#wwwwwww#.....#yyyyyy#######...#o##########o#.",
                     "..#wwwwwww#.....#yyyyyyyyyyyyy#..#oooooooooooo#.",
                     "..#wwwwwww#.....#yy###########o#.#oooooooooooo#.",
                     "..#wwwwwww#.....#yy#yyyyyyyyyy#o.#ooo######ooo#.",
                     "..#wwwwwww#.....#y#yyyyyyyyyy#o#.#ooo#gg###ooo#.",
                     "..#wwwwwww#.....#y#yyyyyyyyy#oo#.#ooo#gg###ooo#.",
                     "..#wwwwwww#.....##yyyyyyyyyy#o#..#ooo#gg###ooo#.",
                     "..#wwwwwww#.....#yyyyyyyyyy#o#...#ooo######ooo#.",
                     "..#########.....############.....##############.",
                     "................................................"},
                    kColours);
}

} // namespace Pictures
