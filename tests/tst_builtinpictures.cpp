#include "pickers/ScenePanel.h"
#include "platform/BuiltinPictures.h"
#include "platform/IcoCodec.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/PictureBoxControl.h"

#include <QtTest>

// The committed pictures, read with our own reader: the kinds, sizes and the
// few exact properties the program relies on.
class TestBuiltinPictures : public QObject {
    Q_OBJECT

    static QString asset(const QString& name) {
        return QStringLiteral(PENSILO_SOURCE_DIR "/assets/") + name;
    }

    static QByteArray header(const QString& name) {
        QFile file(asset(name));
        return file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
    }

private slots:
    void stampsAre32By32SixteenColourIcons() {
        const auto& palette = IcoCodec::windowsPalette();
        for (int i = 0; i < BuiltinPictures::kStampCount; ++i) {
            const QString name =
                QStringLiteral("stamps/stamp%1.ico").arg(i, 3, 10, QLatin1Char('0'));
            const QByteArray bytes = header(name);
            QVERIFY2(bytes.size() >= 22 + 16, qPrintable(name));
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 4), quint16(1)); // one image
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 22 + 14), quint16(4)); // 4 bits
            const auto result = IcoCodec::readFile(asset(name));
            QVERIFY2(result.ok(), qPrintable(result.error));
            const Icon& icon = result.images.at(0);
            QCOMPARE(icon.size(), QSize(32, 32));
            int seeThrough = 0, exclusiveOr = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    QVERIFY(std::find(palette.begin(), palette.end(), icon.colourAt(x, y)) !=
                            palette.end());
                    if (!icon.maskBit(x, y))
                        continue;
                    ++seeThrough;
                    if (icon.colourAt(x, y) == qRgb(0, 0, 128))
                        ++exclusiveOr;
                    else
                        QVERIFY2(icon.colourAt(x, y) == qRgb(0, 0, 0), qPrintable(name));
                }
            const bool opaque = i == 79 || i == 150 || i == 151 || i == 153 || i == 178;
            if (opaque)
                QVERIFY2(seeThrough == 0, qPrintable(name));
            else
                QVERIFY2(seeThrough > 0, qPrintable(name));
            QCOMPARE(exclusiveOr, i == 44 ? 2 : 0);
            // The program shows what the file holds.
            QCOMPARE(BuiltinPictures::stamp(i).colour(), icon.colour());
        }
    }

    void scenesAre24BitAtTheirSizes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::newRow("house") << 0 << "scenes/scene0-house.bmp" << QSize(485, 455);
        QTest::newRow("wall") << 1 << "scenes/scene1-wall.bmp" << QSize(485, 455);
        QTest::newRow("tree") << 2 << "scenes/scene2-tree.bmp" << QSize(485, 455);
        QTest::newRow("night") << 3 << "scenes/scene3-night.bmp" << QSize(485, 455);
        QTest::newRow("sea") << 4 << "scenes/scene4-sea.bmp" << QSize(558, 515);
        QTest::newRow("white") << 5 << "scenes/scene5-white.bmp" << QSize(497, 467);
        QTest::newRow("eraser") << -1 << "eraser.bmp" << QSize(16, 16);
        QTest::newRow("command strip") << -1 << "commandbar.bmp" << QSize(48, 16);
    }
    void scenesAre24BitAtTheirSizes() {
        QFETCH(int, index);
        QFETCH(QString, file);
        QFETCH(QSize, size);
        const QByteArray bytes = header(file);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 18), size.width());
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 22), size.height());
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
        if (index >= 0)
            QCOMPARE(BuiltinPictures::scene(index).size(), size);
    }

    void picturesAreWhatQtReadsFromTheirFiles_data() {
        QTest::addColumn<QImage>("shown");
        QTest::addColumn<QString>("file");
        QTest::newRow("house") << BuiltinPictures::scene(0) << "scenes/scene0-house.bmp";
        QTest::newRow("wall") << BuiltinPictures::scene(1) << "scenes/scene1-wall.bmp";
        QTest::newRow("tree") << BuiltinPictures::scene(2) << "scenes/scene2-tree.bmp";
        QTest::newRow("night") << BuiltinPictures::scene(3) << "scenes/scene3-night.bmp";
        QTest::newRow("sea") << BuiltinPictures::scene(4) << "scenes/scene4-sea.bmp";
        QTest::newRow("white") << BuiltinPictures::scene(5) << "scenes/scene5-white.bmp";
        QTest::newRow("eraser") << BuiltinPictures::eraserButton() << "eraser.bmp";
    }
    void picturesAreWhatQtReadsFromTheirFiles() {
        QFETCH(QImage, shown);
        QFETCH(QString, file);
        const QImage read(asset(file));
        QVERIFY(!read.isNull());
        QCOMPARE(shown.format(), QImage::Format_RGB32);
        QCOMPARE(shown, read.convertToFormat(QImage::Format_RGB32));
    }

    void theSeaHasItsTwoColours() {
        const QImage& sea = BuiltinPictures::scene(4);
        QCOMPARE(sea.pixel(10, 10), qRgb(128, 255, 255));
        QCOMPARE(sea.pixel(10, 500), qRgb(0, 0, 255));
    }

    void theWhiteSceneIsTheCanvasStartPicture() {
        const QImage& white = BuiltinPictures::scene(5);
        QCOMPARE(BuiltinPictures::canvasStartPicture(), white);
        QImage expected(497, 467, QImage::Format_RGB32);
        expected.fill(Qt::white);
        QCOMPARE(white, expected);
    }

    // Each thumbnail is its scene scaled to the thumbnail's control, made
    // ahead of time; a scene redrawn without rerunning the generator shows here.
    void thumbnailsAreTheirScenesScaledToTheirControls() {
        PictureBoxControl panel(nullptr);
        ScenePanel scenes(&panel);
        for (int i = 0; i < BuiltinPictures::kSceneCount; ++i) {
            const QImage thumbnail = BuiltinPictures::sceneThumbnail(i);
            QCOMPARE(thumbnail.size(), scenes.thumbnail(i)->size());
            QCOMPARE(thumbnail.size(), BuiltinPictures::kSceneThumbnailSize);
            const QImage scaled = BuiltinPictures::scene(i).scaled(
                thumbnail.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            int worst = 0;
            for (int y = 0; y < thumbnail.height(); ++y)
                for (int x = 0; x < thumbnail.width(); ++x) {
                    const QRgb a = thumbnail.pixel(x, y), b = scaled.pixel(x, y);
                    worst =
                        std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
                }
            QVERIFY2(worst <= 2,
                     qPrintable(QStringLiteral("scene %1 differs by %2").arg(i).arg(worst)));
        }
    }

    // The window shows the program's icon as its two images say: see-through
    // where the mask is set, the icon's colour elsewhere.
    void theWindowIconIsTheProgramIcon() {
        const QIcon icon = BuiltinPictures::windowIcon();
        const auto file = IcoCodec::readFile(asset("pensilo.ico"));
        QVERIFY2(file.ok(), qPrintable(file.error));
        QCOMPARE(icon.availableSizes().size(), 2);
        for (const Icon& image : file.images) {
            QVERIFY(icon.availableSizes().contains(image.size()));
            const QImage shown =
                icon.pixmap(image.size()).toImage().convertToFormat(QImage::Format_ARGB32);
            int seeThrough = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    if (image.maskBit(x, y)) {
                        ++seeThrough;
                        QCOMPARE(qAlpha(shown.pixel(x, y)), 0);
                    } else {
                        QCOMPARE(shown.pixel(x, y), image.colourAt(x, y) | 0xff000000u);
                    }
                }
            QVERIFY(seeThrough > 0);
        }
    }

    void theCommandStripMaskCoversItsGround() {
        const QImage strip(asset("commandbar.bmp"));
        const QImage mask(asset("commandbar-mask.bmp"));
        QCOMPARE(header("commandbar-mask.bmp").at(28), char(1)); // one bit a pixel
        QCOMPARE(mask.size(), strip.size());
        int ground = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 48; ++x) {
                const bool isGround = strip.pixel(x, y) == qRgb(192, 192, 192);
                ground += isGround;
                QCOMPARE(qGray(mask.pixel(x, y)) > 127, isGround);
            }
        QVERIFY(ground > 0 && ground < 48 * 16);
        // Rows are padded to four bytes; the padding must be zero, or the
        // generator's output would depend on leftover memory.
        QFile file(asset("commandbar-mask.bmp"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int offset = qFromLittleEndian<qint32>(bytes.constData() + 10);
        const int stride = (48 + 31) / 32 * 4, used = (48 + 7) / 8;
        QCOMPARE(bytes.size(), offset + 16 * stride);
        for (int row = 0; row < 16; ++row)
            for (int i = used; i < stride; ++i)
                QCOMPARE(int(bytes.at(offset + row * stride + i)), 0);
        for (int icon = 1; icon <= 3; ++icon)
            QVERIFY(!BuiltinPictures::commandIcon(icon).isNull());
    }

    void theWindowIconHasBothSizes() {
        const auto result = IcoCodec::readFile(asset("pensilo.ico"));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.images.size(), size_t(2));
        QCOMPARE(result.images[0].size(), QSize(32, 32));
        QCOMPARE(result.images[1].size(), QSize(16, 16));
        QVERIFY(result.images[0].maskBit(0, 0));
    }
};

QTEST_MAIN(TestBuiltinPictures)
#include "tst_builtinpictures.moc"
