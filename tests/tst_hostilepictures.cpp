#include "FormRig.h"
#include "HostilePictures.h"
#include "document/FileMessages.h"
#include "platform/IcoCodec.h"
#include "platform/PictureFile.h"

#include <map>
#include <set>

using PictureFile::Problem;
Q_DECLARE_METATYPE(Problem)

// Picture files that lie about themselves, through the whole Open road of the
// real window: each one gives a picture titled with its path, or the Open
// message in Swedish with the canvas and the title as they were. The icon
// files also go through our own icon reader.
class TestHostilePictures : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    QTemporaryDir dir;
    std::map<QString, QByteArray> samples;

    QString path(const QString& name) const { return QDir::toNativeSeparators(dir.filePath(name)); }

    // What the window shows after Open: the picture, or the problem named in
    // the one message, with nothing else changed.
    std::optional<Problem> open(const QString& name) {
        const QString file = path(name);
        const QImage canvasBefore = rig.canvas();
        const QImage pictureBefore = rig.pictureBox().Picture();
        const QString titleBefore = rig.title();
        const qsizetype warningsBefore = rig.dialogs.warnings.size();
        rig.dialogs.files.push_back(file);
        rig.key(Qt::Key_O, Qt::ControlModifier);
        if (rig.dialogs.warnings.size() == warningsBefore) {
            if (rig.title() != file + QStringLiteral(" - Pensilo"))
                return Problem::Other; // neither opened nor told: caught below
            return Problem::None;
        }
        if (rig.dialogs.warnings.size() != warningsBefore + 1 || rig.title() != titleBefore ||
            rig.canvas() != canvasBefore || rig.pictureBox().Picture() != pictureBefore)
            return std::nullopt;
        for (Problem problem : {Problem::NotAPicture, Problem::Damaged, Problem::TooLarge})
            if (rig.dialogs.warnings.last() == openFailedMessage(file, problem))
                return problem;
        return std::nullopt;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        const std::vector<HostilePictures::Sample> all = HostilePictures::all();
        QCOMPARE(HostilePictures::writeAll(dir.path()), int(all.size()));
        for (const HostilePictures::Sample& sample : all)
            samples[sample.name] = sample.bytes;
        QCOMPARE(samples.size(), all.size()); // no name twice
        QVERIFY(rig.show());
        rig.drawSomething();
    }

    // The same bytes every time, so a fuzzer's finding can be replayed.
    void theCorpusIsRepeatable() {
        const std::vector<HostilePictures::Sample> again = HostilePictures::all();
        QCOMPARE(again.size(), samples.size());
        for (const HostilePictures::Sample& sample : again)
            QVERIFY2(samples.at(sample.name) == sample.bytes, qPrintable(sample.name));
    }

    void everyFileOpensOrIsRefusedWithTheMessage_data() {
        QTest::addColumn<QString>("name");
        for (const auto& [name, bytes] : samples)
            QTest::newRow(qPrintable(name)) << name;
    }
    void everyFileOpensOrIsRefusedWithTheMessage() {
        QFETCH(QString, name);
        const std::optional<Problem> outcome = open(name);
        QVERIFY2(outcome, "no single Open message, or the canvas or title changed");
        QVERIFY2(*outcome != Problem::Other, "neither opened nor told");
        if (*outcome == Problem::None) {
            // What was read shows from the top-left corner.
            const QImage loaded = PictureFile::load(path(name)).image;
            const QRect shown = loaded.rect() & rig.canvas().rect();
            QCOMPARE(rig.canvas().copy(shown), loaded.copy(shown));
        }
    }

    // Files whose fate is known: honest ones open, and each limit refuses
    // with its own reason.
    void knownOutcomes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Problem>("problem");
        for (const char* name :
             {"rgb24", "pal8", "pal4", "pal1", "rgb16", "bf16", "rgb32", "bf32", "rle8", "rle4",
              "os2-24", "os2-8", "v4-32", "v5-32", "v4-24", "v5-24", "v4-8", "v5-8", "topdown-24"})
            QTest::newRow(name) << QString(name) + ".bmp" << Problem::None;
        QTest::newRow("largest allowed, from a few bytes")
            << "rle8-8192-square-at-the-limit.bmp" << Problem::None;
        QTest::newRow("one column over the limit")
            << "rle8-8193-by-8192-over-the-limit.bmp" << Problem::TooLarge;
        QTest::newRow("2^31-1 square") << "rgb24-size-int-max-square.bmp" << Problem::TooLarge;
        QTest::newRow("2^31-1 square, 32 bits")
            << "rgb32-size-int-max-square.bmp" << Problem::TooLarge;
        QTest::newRow("16-bit sizes under a header Qt does not know")
            << "pal8-old-sizes-in-a-new-header-16384-top-down.bmp" << Problem::TooLarge;
        QTest::newRow("top-down 60000")
            << "topdown-24-size-60000-top-down.bmp" << Problem::TooLarge;
        // Run lengths are bottom-up only; a top-down claim of millions of
        // rows took Qt seconds to turn over.
        QTest::newRow("top-down run lengths") << "topdown-rle8.bmp" << Problem::Damaged;
        QTest::newRow("top-down run lengths, 7077876 rows")
            << "topdown-rle8-7077876-rows.bmp" << Problem::Damaged;
        QTest::newRow("pixels past the end") << "rgb24-offset-past-end.bmp" << Problem::Damaged;
        QTest::newRow("pixels at 4 GB") << "pal8-offset-4g.bmp" << Problem::Damaged;
        QTest::newRow("empty file") << "rgb24-cut-at-0000.bmp" << Problem::NotAPicture;
        QTest::newRow("cut in the header") << "rgb24-cut-at-0030.bmp" << Problem::Damaged;
        QTest::newRow("cut in the pixels") << "v5-32-cut-at-0197.bmp" << Problem::Damaged;
    }
    void knownOutcomes() {
        QFETCH(QString, name);
        QFETCH(Problem, problem);
        QVERIFY2(samples.count(name), "not in the corpus");
        const std::optional<Problem> outcome = open(name);
        QVERIFY(outcome);
        QCOMPARE(int(*outcome), int(problem));
    }

    // Our own reader gives icons within the limits it promises, or a reason.
    void iconsThroughOurCodec() {
        int read = 0;
        for (const auto& [name, bytes] : samples) {
            if (!name.endsWith(".ico"))
                continue;
            const IcoCodec::ReadResult result = IcoCodec::read(bytes);
            if (!result.ok()) {
                QVERIFY2(result.images.empty(), qPrintable(name));
                continue;
            }
            ++read;
            QVERIFY2(!result.images.empty(), qPrintable(name));
            QImage canvas(40, 40, QImage::Format_RGB32);
            for (const Icon& icon : result.images) {
                QVERIFY2(icon.width() >= 1 && icon.width() <= 256 && icon.height() >= 1 &&
                             icon.height() <= 256,
                         qPrintable(name));
                icon.drawOnto(canvas, QPoint(-2, 3));
            }
        }
        // The honest icons at least.
        QVERIFY2(read >= 7, qPrintable(QString::number(read)));
        QCOMPARE(IcoCodec::read(samples.at("ico-two-images.ico")).images.size(), size_t(2));
        QVERIFY(!IcoCodec::read(samples.at("ico-8bit-width-257.ico")).ok());
    }
};

QTEST_MAIN(TestHostilePictures)
#include "tst_hostilepictures.moc"
