#include "FormRig.h"
#include "LayoutChecks.h"
#include "pickers/PalettePanel.h"
#include "pickers/ToolPage.h"
#include "platform/IcoCodec.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/LineControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/ShapeControl.h"

#include <QRegularExpression>
#include <QtTest>

// Every row of the pickers' tables, written out here as the window was
// designed: the 42 palette cells, the 183 stamp buttons on their twelve pages
// and the tool page's buttons and decorations. A typo in any one row of the
// program's own tables fails its row here.
namespace {

// The palette: row, column, cell index, colour 0x00BBGGRR, left and top in twips.
struct Cell {
    int row, column, index;
    quint32 colour;
    int left, top;
};
constexpr Cell kPalette[] = {
    {1, 1, 0, 0xFFFFFF, 840, 120},    {1, 2, 2, 0xE0E0E0, 1080, 120},
    {1, 3, 4, 0xC0C0C0, 1320, 120},   {1, 4, 6, 0x808080, 1560, 120},
    {1, 5, 8, 0x404040, 1800, 120},   {1, 6, 10, 0x000000, 2040, 120},
    {1, 7, 12, 0xC0C0FF, 2280, 120},  {1, 8, 14, 0x8080FF, 2520, 120},
    {1, 9, 16, 0x0000FF, 2760, 120},  {1, 10, 18, 0x0000C0, 3000, 120},
    {1, 11, 24, 0x000080, 3240, 120}, {1, 12, 23, 0x000040, 3480, 120},
    {1, 13, 22, 0xC0E0FF, 3720, 120}, {1, 14, 21, 0x80C0FF, 3960, 120},
    {1, 15, 20, 0x0080FF, 4200, 120}, {1, 16, 31, 0x0040C0, 4440, 120},
    {1, 17, 30, 0x004080, 4680, 120}, {1, 18, 1, 0xC0FFFF, 4920, 120},
    {1, 19, 39, 0xFFC0FF, 5160, 120}, {1, 20, 40, 0xFF80FF, 5400, 120},
    {1, 21, 38, 0x800080, 5640, 120}, {2, 1, 41, 0xFF00FF, 840, 360},
    {2, 2, 42, 0xC000C0, 1080, 360},  {2, 3, 3, 0x80FFFF, 1320, 360},
    {2, 4, 5, 0x00FFFF, 1560, 360},   {2, 5, 7, 0x00C0C0, 1800, 360},
    {2, 6, 9, 0x008080, 2040, 360},   {2, 7, 11, 0xC0FFC0, 2280, 360},
    {2, 8, 13, 0x80FF80, 2520, 360},  {2, 9, 15, 0x00FF00, 2760, 360},
    {2, 10, 17, 0x00C000, 3000, 360}, {2, 11, 19, 0x008000, 3240, 360},
    {2, 12, 29, 0xFFFFC0, 3480, 360}, {2, 13, 28, 0xFFFF80, 3720, 360},
    {2, 14, 27, 0xFFFF00, 3960, 360}, {2, 15, 26, 0xC0C000, 4200, 360},
    {2, 16, 25, 0xC0C000, 4440, 360}, {2, 17, 32, 0x808000, 4680, 360},
    {2, 18, 34, 0xFFC0C0, 4920, 360}, {2, 19, 35, 0xFF8080, 5160, 360},
    {2, 20, 36, 0xFF0000, 5400, 360}, {2, 21, 33, 0x800000, 5640, 360},
};
constexpr int kCellSize = 255; // twips

// The stamp pages: each tab's stamps in reading order, "/" between rows.
struct StampPage {
    int tab;
    const char* rows;
};
constexpr StampPage kStampPages[] = {
    {2, "31 30 29 28 / 24 25 26 27 / 20 21 22 23 / 16 17 18 19"},
    {3, "32 33 34 35 / 39 38 37 36 / 43 42 41 40 / 47 46 45 44"},
    {4, "49 50 51 55 / 54 53 52 56 / 59 58 57 61 / 63 62 60 48"},
    {5, "78 77 76 72 / 73 74 75 71 / 68 69 70 66 / 64 65 67 79"},
    {6, "81 82 83 87 / 86 85 84 88 / 91 90 89 93 / 95 94 92 80"},
    {7, "110 109 108 104 / 105 106 107 103 / 100 101 102 111 / 96 97 99"},
    {8, "126 125 124 120 / 121 122 123 119 / 116 117 118 114 / 112 113 115 127"},
    {9, "129 130 131 135 / 134 133 132 136 / 139 138 137 141 / 143 142 140 128"},
    {10, "158 157 156 152 / 153 154 155 151 / 148 149 150"},
    {11, "169 168 167 163 / 164 165 166 162 / 159 160 161 146 / 144 145 147 170"},
    {12, "172 173 174 178 / 177 176 175 179 / 182 181"},
    {13, "0 1 2 3 / 7 6 5 4 / 11 10 9 8 / 15 14 13 12"},
};
constexpr int kRowTop[4] = {120, 720, 1320, 1920};     // twips
constexpr int kColumnLeft[4] = {120, 885, 1605, 2400}; // twips, give or take 45
constexpr int kColumnSlack = 3;                        // pixels either way
constexpr int kStampSize = 480;                        // twips

// The three stamps off the grid, partly outside their page, and the part of
// each that shows (page pixels).
struct OffGridStamp {
    int tab, number, left, top;
    QRect visible;
};
const OffGridStamp kOffGrid[] = {
    {7, 98, 2760, 2280, QRect(184, 152, 25, 17)}, // top-left 25 x 17, lower-right corner
    {12, 171, -120, 2160, QRect(0, 144, 24, 25)}, // 24 wide, 25 high, lower-left corner
    {12, 180, 360, 2160, QRect(24, 144, 32, 25)}, // its upper 25 pixels
};

QList<int> stampsOfTab(int tab) {
    QList<int> stamps;
    for (const StampPage& page : kStampPages)
        if (page.tab == tab)
            for (const QString& number :
                 QString::fromLatin1(page.rows).split(QRegularExpression("[ /]+")))
                stamps << number.toInt();
    for (const OffGridStamp& stamp : kOffGrid)
        if (stamp.tab == tab)
            stamps << stamp.number;
    return stamps;
}

// A stamp as the child sees it on a page: the committed icon of its number
// drawn the way Windows draws icons, the page's grey kept where the mask is
// set and exclusive-or'ed with the colour image there.
QImage stampOnPage(int number) {
    const QString file = QStringLiteral(PENSILO_SOURCE_DIR "/assets/stamps/stamp%1.ico")
                             .arg(number, 3, 10, QLatin1Char('0'));
    const IcoCodec::ReadResult read = IcoCodec::readFile(file);
    if (!read.ok() || read.images.size() != 1 || read.images.front().size() != QSize(32, 32))
        return {};
    const Icon& icon = read.images.front();
    QImage seen(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            seen.setPixel(x, y,
                          icon.maskBit(x, y) ? (kPageGrey ^ icon.colourAt(x, y)) | 0xff000000u
                                             : icon.colourAt(x, y));
    return seen;
}

} // namespace

class TestPickerTables : public QObject {
    Q_OBJECT

private:
    FormRig rig;

    Form1& form() const { return *rig.form; }
    QWidget* inner() const { return rig.inner(); }
    QPoint inInner(QWidget* widget, QPoint local) const { return widget->mapTo(inner(), local); }

    int borderedButton() const {
        int found = -1;
        for (int i = 0; i < ToolId::kCount; ++i)
            if (rig.button(i)->borderStyle() == 1) {
                if (found != -1)
                    return -2; // more than one
                found = i;
            }
        return found;
    }

    // Both colours and everything that follows them, what the child sees of
    // them included; empty when all agree.
    QString coloursDiffer(QRgb line, QRgb fill) const {
        const ToolPage& tools = rig.toolPage();
        const PalettePanel& palette = rig.palette();
        const QImage swatches = grabbed(palette.Picture7);
        const QImage page = grabbed(rig.page(0));
        const QRect shape2 = tools.Shape2->geometry();
        const QList<std::pair<const char*, std::pair<QRgb, QRgb>>> checks = {
            {"Picture8", {palette.Picture8->backColor(), line}},
            {"Picture9", {palette.Picture9->backColor(), fill}},
            {"Line1 border", {tools.Line1->borderColor(), line}},
            {"Shape1 border", {tools.Shape1->borderColor(), line}},
            {"Shape2 border", {tools.Shape2->borderColor(), line}},
            {"Shape3 border", {tools.Shape3->borderColor(), line}},
            {"Shape4 border", {tools.Shape4->borderColor(), line}},
            {"Shape2 fill", {tools.Shape2->fillColor(), fill}},
            {"Shape4 fill", {tools.Shape4->fillColor(), fill}},
            // The line swatch's corner lies outside the fill swatch above it.
            {"line swatch seen", {swatches.pixel(palette.Picture8->pos() + QPoint(2, 2)), line}},
            {"fill swatch seen", {swatches.pixel(palette.Picture9->geometry().center()), fill}},
            {"filled rectangle seen", {page.pixel(shape2.center()), fill}},
            {"its outline seen", {page.pixel(shape2.center().x(), shape2.top()), line}},
        };
        for (const auto& [what, values] : checks)
            if (values.first != values.second)
                return QStringLiteral("%1 is %2, expected %3")
                    .arg(QLatin1String(what))
                    .arg(values.first, 8, 16, QLatin1Char('0'))
                    .arg(values.second, 8, 16, QLatin1Char('0'));
        return {};
    }

private slots:
    // One window for each test function, shared by its rows: a row sets up
    // what it needs with presses of its own, so the tables stay fast.
    void init() { QVERIFY(rig.showOncePerFunction()); }
    void cleanupTestCase() { rig.form.reset(); }

    void everyPaletteCell_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<QPoint>("place");
        for (const Cell& cell : kPalette)
            QTest::addRow("row %d column %d: Picture6(%d)", cell.row, cell.column, cell.index)
                << cell.index << cell.colour << QPoint(cell.left, cell.top);
    }
    void everyPaletteCell() {
        QFETCH(int, index);
        QFETCH(quint32, colour);
        QFETCH(QPoint, place);
        const QRgb rgb = fromBgr(colour);
        PictureBoxControl* cell = rig.palette().cell(index);
        QVERIFY(cell);
        QCOMPARE(cell->parentWidget(), static_cast<QWidget*>(rig.palettePanel()));
        QCOMPARE(cell->geometry(), pxRect(place.x(), place.y(), kCellSize, kCellSize));
        QCOMPARE(cell->backColor(), rgb);
        // Seen: the colour inside a single dark line.
        const QImage panel = grabbed(rig.palettePanel());
        QCOMPARE(panel.pixel(cell->geometry().center()), rgb);
        QCOMPARE(panel.pixel(cell->geometry().center().x(), cell->y()), kBlack);

        // The middle of a cell is never under a neighbour.
        const QPoint middle = inInner(cell, QPoint(8, 8));
        QCOMPARE(inner()->childAt(middle), static_cast<QWidget*>(cell));
        // Both colours something else first, so that every change shows.
        const bool black = rgb == kBlack;
        const QRgb other = black ? kWhite : kBlack;
        PictureBoxControl* otherCell = rig.palette().cell(black ? 0 : 10);
        QVERIFY(rig.pressAt(inInner(otherCell, QPoint(8, 8)), Qt::LeftButton));
        QVERIFY(rig.pressAt(inInner(otherCell, QPoint(8, 8)), Qt::RightButton));
        QString differ = coloursDiffer(other, other);
        QVERIFY2(differ.isEmpty(), qPrintable(differ));

        QVERIFY(rig.pressAt(middle, Qt::MiddleButton));
        differ = coloursDiffer(other, other);
        QVERIFY2(differ.isEmpty(), qPrintable("middle button: " + differ));
        QVERIFY(rig.pressAt(middle, Qt::LeftButton));
        differ = coloursDiffer(rgb, other);
        QVERIFY2(differ.isEmpty(), qPrintable("left button: " + differ));
        QVERIFY(rig.pressAt(middle, Qt::RightButton));
        differ = coloursDiffer(rgb, rgb);
        QVERIFY2(differ.isEmpty(), qPrintable("right button: " + differ));
    }

    void theStampTableNamesEveryStampOnceAndEachPageHoldsOnlyItsOwn() {
        QList<int> all;
        for (int tab = 2; tab <= 13; ++tab) {
            const QList<int> stamps = stampsOfTab(tab);
            all << stamps;
            QWidget* page = rig.page(tab - 1);
            QSet<QWidget*> expected;
            for (int number : stamps)
                expected << rig.button(number);
            const QList<QWidget*> children =
                page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            QCOMPARE(QSet<QWidget*>(children.begin(), children.end()), expected);
        }
        std::sort(all.begin(), all.end());
        QCOMPARE(all.size(), 183);
        for (int i = 0; i < 183; ++i)
            QCOMPARE(all.at(i), i);
    }

    void everyStampButton_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("onGrid");
        QTest::addColumn<QPoint>("place");  // twips; a grid column's left edge is approximate
        QTest::addColumn<QRect>("visible"); // page pixels; empty: the whole button
        for (const StampPage& page : kStampPages) {
            const QStringList rows = QString::fromLatin1(page.rows).split(QStringLiteral(" / "));
            for (int row = 0; row < rows.size(); ++row) {
                const QStringList numbers = rows.at(row).split(QLatin1Char(' '));
                for (int column = 0; column < numbers.size(); ++column)
                    QTest::addRow("stamp %d, tab %d", numbers.at(column).toInt(), page.tab)
                        << page.tab << numbers.at(column).toInt() << true
                        << QPoint(kColumnLeft[column], kRowTop[row]) << QRect();
            }
        }
        for (const OffGridStamp& stamp : kOffGrid)
            QTest::addRow("stamp %d, tab %d, partly outside", stamp.number, stamp.tab)
                << stamp.tab << stamp.number << false << QPoint(stamp.left, stamp.top)
                << stamp.visible;
    }
    void everyStampButton() {
        QFETCH(int, tab);
        QFETCH(int, number);
        QFETCH(bool, onGrid);
        QFETCH(QPoint, place);
        QFETCH(QRect, visible);
        PictureBoxControl* page = rig.page(tab - 1);
        ImageControl* button = rig.button(number);
        QCOMPARE(button->parentWidget(), static_cast<QWidget*>(page));
        QCOMPARE(button->size(), QSize(px(kStampSize), px(kStampSize)));
        if (onGrid) {
            QCOMPARE(button->y(), px(place.y()));
            QVERIFY2(qAbs(button->x() - px(place.x())) <= kColumnSlack,
                     qPrintable(QStringLiteral("left edge %1").arg(button->x())));
        } else {
            QCOMPARE(button->pos(), QPoint(px(place.x()), px(place.y())));
        }
        const QRect shown = button->geometry() & page->rect();
        QCOMPARE(shown, visible.isNull() ? button->geometry() : visible);

        rig.clickTab(tab);
        QVERIFY(page->isVisible());
        // What the child sees at the button's place on the page.
        const QImage expected = stampOnPage(number);
        QVERIFY2(!expected.isNull(), "the stamp's icon file is not one 32 x 32 image");
        const QString differ = firstDifference(grabbed(page).copy(shown),
                                               expected.copy(shown.translated(-button->pos())));
        QVERIFY2(differ.isEmpty(), qPrintable(differ));

        // Any mouse button selects; take turns.
        const Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        const QPoint at = inInner(page, shown.center());
        QCOMPARE(inner()->childAt(at), static_cast<QWidget*>(button));
        QVERIFY(rig.pressAt(at, kButtons[number % 3]));
        QCOMPARE(int(rig.currentTool()), number);
        QCOMPARE(borderedButton(), number);
    }

    // The tool page's buttons, each pressed on the middle of the decoration it
    // covers, as a child would.
    void everyToolButton_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QRect>("place"); // twips
        QTest::addColumn<QString>("covers");
        QTest::newRow("194 broad brush") << 194 << QRect(1680, 3240, 240, 240) << "Picture3(194)";
        QTest::newRow("193 filled ellipse") << 193 << QRect(120, 3240, 1335, 225) << "Shape4";
        QTest::newRow("192 ellipse") << 192 << QRect(1560, 2880, 1335, 225) << "Shape3";
        QTest::newRow("191 line") << 191 << QRect(120, 2880, 1335, 225) << "Line1";
        QTest::newRow("190 filled rectangle") << 190 << QRect(1560, 2355, 1335, 345) << "Shape2";
        QTest::newRow("189 rectangle") << 189 << QRect(120, 2355, 1335, 345) << "Shape1";
        QTest::newRow("188 pen") << 188 << QRect(120, 1890, 2895, 315) << "Line10(5)";
        QTest::newRow("187 pen") << 187 << QRect(120, 1560, 2895, 225) << "Line10(4)";
        QTest::newRow("186 pen") << 186 << QRect(120, 1200, 2895, 225) << "Line10(3)";
        QTest::newRow("185 pen") << 185 << QRect(120, 840, 2895, 225) << "Line10(2)";
        QTest::newRow("184 pen") << 184 << QRect(120, 480, 2895, 225) << "Line10(1)";
        QTest::newRow("183 thinnest pen") << 183 << QRect(120, 130, 2895, 225) << "Line10(0)";
    }
    void everyToolButton() {
        QFETCH(int, number);
        QFETCH(QRect, place);
        QFETCH(QString, covers);
        PictureBoxControl* page = rig.page(0);
        ImageControl* button = rig.button(number);
        QCOMPARE(button->parentWidget(), static_cast<QWidget*>(page));
        QCOMPARE(button->geometry(), pxRect(place.x(), place.y(), place.width(), place.height()));
        if (number == 194) {
            // Its own picture of an eraser block, at its own size; this row
            // comes first, so the button has no border yet.
            const QImage eraser = QImage(QStringLiteral(PENSILO_SOURCE_DIR "/assets/eraser.bmp"))
                                      .convertToFormat(QImage::Format_RGB32);
            QCOMPARE(eraser.size(), QSize(16, 16));
            const QString differ = firstDifference(grabbed(page).copy(button->geometry()), eraser);
            QVERIFY2(differ.isEmpty(), qPrintable(differ));
        }
        rig.clickTab(1);
        auto* decoration = page->findChild<QWidget*>(covers, Qt::FindDirectChildrenOnly);
        QVERIFY(decoration);
        const QPoint at = inInner(page, decoration->geometry().center());
        QCOMPARE(inner()->childAt(at), static_cast<QWidget*>(button));
        QVERIFY(rig.pressAt(at, Qt::LeftButton));
        QCOMPARE(int(rig.currentTool()), number);
        QCOMPARE(borderedButton(), number);
    }

    // The decorations at start, checked on what the page shows.
    void everyToolDecoration_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("box");  // shapes, twips
        QTest::addColumn<QLine>("ends"); // lines, twips
        QTest::addColumn<bool>("ellipse");
        QTest::addColumn<bool>("filled");
        QTest::addColumn<int>("width"); // lines, pixels
        QTest::newRow("Shape4") << "Shape4" << QRect(240, 3285, 1095, 135) << QLine() << true
                                << true << 0;
        QTest::newRow("Shape3") << "Shape3" << QRect(1680, 2925, 1095, 135) << QLine() << true
                                << false << 0;
        QTest::newRow("Shape2") << "Shape2" << QRect(1620, 2400, 1215, 255) << QLine() << false
                                << true << 0;
        QTest::newRow("Shape1") << "Shape1" << QRect(180, 2400, 1215, 255) << QLine() << false
                                << false << 0;
        QTest::newRow("Line1") << "Line1" << QRect() << QLine(1350, 2920, 220, 3000) << false
                               << false << 1;
        const int sampleY[6] = {240, 585, 945, 1305, 1665, 2040};
        const int sampleWidth[6] = {1, 2, 3, 5, 8, 10};
        for (int i = 0; i < 6; ++i)
            QTest::addRow("Line10(%d)", i)
                << QStringLiteral("Line10(%1)").arg(i) << QRect()
                << QLine(240, sampleY[i], 2880, sampleY[i]) << false << false << sampleWidth[i];
    }
    void everyToolDecoration() {
        QFETCH(QString, name);
        QFETCH(QRect, box);
        QFETCH(QLine, ends);
        QFETCH(bool, ellipse);
        QFETCH(bool, filled);
        QFETCH(int, width);
        PictureBoxControl* page = rig.page(0);
        auto* control = page->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        QVERIFY(control);
        const QImage seen = grabbed(page);
        if (width == 0) {
            auto* shape = static_cast<ShapeControl*>(control);
            const QRect place = pxRect(box.x(), box.y(), box.width(), box.height());
            QCOMPARE(shape->geometry(), place);
            QCOMPARE(shape->borderColor(), kBlack);
            if (filled)
                QCOMPARE(shape->fillColor(), kWhite);
            const QPoint middle = place.center();
            QCOMPARE(seen.pixel(middle), filled ? kWhite : kPageGrey);
            QCOMPARE(seen.pixel(middle.x(), place.top()), kBlack);
            QCOMPARE(seen.pixel(middle.x(), place.bottom()), kBlack);
            // A rectangle's corner is on its outline; an ellipse's is outside it.
            QCOMPARE(seen.pixel(place.topLeft()), ellipse ? kPageGrey : kBlack);
            QCOMPARE(seen.pixel(place.left() - 1, middle.y()), kPageGrey);
            return;
        }
        auto* line = static_cast<LineControl*>(control);
        QCOMPARE(line->borderColor(), kBlack);
        const QString missing = lineMissing(seen, ends, width);
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }
};

QTEST_MAIN(TestPickerTables)
#include "tst_pickertables.moc"
