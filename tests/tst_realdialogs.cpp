#include "FormRig.h"
#include "RecoveryFiles.h"
#include "app/CanvasWidget.h"
#include "app/Form1.h"
#include "platform/Translations.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <functional>

// The keeping of a picture as a user goes through it, with Qt's real dialogs
// answered by keys and clicks.
class TestRealDialogs : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    std::unique_ptr<QTemporaryDir> dir;
    QStringList seen; // titles and texts of the dialogs, in order
    QStringList failures;

    // Runs `answer` on the next modal dialog, once it is up.
    void whenModal(std::function<void(QWidget*)> answer, QWidget* previous = nullptr) {
        QTimer::singleShot(10, this, [=, this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == previous) {
                whenModal(answer, previous);
                return;
            }
            seen << modal->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                seen << box->text();
            answer(modal);
        });
    }
    void typeFileName(QWidget* dialog, const QString& name) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) {
            failures << "no file name field";
            return;
        }
        QApplication::setActiveWindow(dialog);
        edit->setFocus();
        // While the folder is being listed the dialog rewrites a field without focus.
        if (!QTest::qWaitFor([edit] { return edit->hasFocus(); }, 5000))
            failures << "the file name field took no focus";
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, name);
    }
    void pressInModal(QWidget* modal, Qt::Key key) {
        QWidget* target = modal->focusWidget() ? modal->focusWidget() : modal;
        QTest::keyClick(target, key);
    }
    void clickButton(QWidget* box, const QString& text) {
        for (QPushButton* button : box->findChildren<QPushButton*>())
            if (button->text().remove(QLatin1Char('&')) == text) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        failures << "no button " + text;
    }
    void keyOnCanvas(Qt::Key key) {
        QTest::keyClick(rig.canvasWidget(), key, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::activeModalWidget(), nullptr);
    }
    void draw() {
        QWidget* canvas = rig.canvasWidget();
        auto send = [canvas](QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
            QMouseEvent event(type, QPointF(pos), canvas->mapToGlobal(QPointF(pos)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QApplication::sendEvent(canvas, &event);
        };
        send(QEvent::MouseButtonPress, {30, 40}, Qt::LeftButton);
        send(QEvent::MouseMove, {300, 200}, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, {300, 200}, Qt::NoButton);
    }

private slots:
    void initTestCase() {
        // The dialogs keep their history in the user's settings: not ours to touch.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(installSwedishTranslation());
        // The print dialog lists no printer of this machine's.
        qputenv("CUPS_SERVER", "/nonexistent/pensilo-test-cups.sock");
    }
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        seen.clear();
        failures.clear();
        QVERIFY(rig.show(true));
        QApplication::setActiveWindow(rig.form.get());
    }
    void cleanup() { rig.form.reset(); }

    void saveNewAndOpenAgain() {
        draw();
        const QImage drawn = rig.canvas();
        const QString file = dir->filePath(QStringLiteral("min teckning å.bmp"));

        whenModal([&](QWidget* dialog) {
            typeFileName(dialog, file);
            pressInModal(dialog, Qt::Key_Return);
        });
        keyOnCanvas(Qt::Key_S);
        QCOMPARE(rig.title(), file + " - Pensilo");
        QCOMPARE(readBack(file), drawn);

        // Enter answers No: a clean untitled picture.
        whenModal([&](QWidget* box) { pressInModal(box, Qt::Key_Return); });
        keyOnCanvas(Qt::Key_N);
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
        QCOMPARE(rig.canvas().pixel(100, 40), qRgb(255, 255, 255));

        // Open starts from the file last saved: Enter opens it.
        whenModal([&](QWidget* dialog) { pressInModal(dialog, Qt::Key_Return); });
        keyOnCanvas(Qt::Key_O);
        QCOMPARE(rig.title(), file + " - Pensilo");
        QCOMPARE(rig.canvas(), drawn);

        QCOMPARE(seen, QStringList({"Spara", "Pensilo",
                                    "Vill du spara ändringarna i " + file + " ?", "Öppna"}));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    }

    // Ctrl+P, the dialog's own PDF output chosen and a file named: the
    // picture is printed to it.
    void printToAFile() {
        draw();
        const QString pdf = dir->filePath("utskrift.pdf");
        whenModal([&](QWidget* dialog) {
            auto* printers = dialog->findChild<QComboBox*>("printers");
            auto* name = dialog->findChild<QLineEdit*>("filename");
            if (!printers || !name) {
                failures << "no printer list or file name";
                pressInModal(dialog, Qt::Key_Escape);
                return;
            }
            printers->setCurrentIndex(printers->count() - 1);
            name->setText(pdf);
            pressInModal(dialog, Qt::Key_Return);
        });
        keyOnCanvas(Qt::Key_P);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
        QCOMPARE(seen, QStringList{"Skriv ut"});
        QFile printed(pdf);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.read(5) == "%PDF-");
        QVERIFY(printed.size() > 1000);
    }

    // Replacing a file asks first; No keeps the user in the dialog.
    void saveAsOverAnExistingFileAsksFirst() {
        const QString file = dir->filePath(QStringLiteral("hus.bmp"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("gammal");
        old.close();
        draw();
        QWidget* fileDialog = nullptr;
        whenModal([&](QWidget* dialog) {
            fileDialog = dialog;
            typeFileName(dialog, file);
            whenModal([&](QWidget* confirm) { clickButton(confirm, QStringLiteral("Nej")); },
                      dialog);
            pressInModal(dialog, Qt::Key_Return);
            // Still in the dialog: confirm again, this time with Ja.
            whenModal([&](QWidget* confirm) { clickButton(confirm, QStringLiteral("Ja")); },
                      dialog);
            pressInModal(dialog, Qt::Key_Return);
        });
        keyOnCanvas(Qt::Key_S);
        QVERIFY(fileDialog);
        // The dialog, then its confirmation twice, under the dialog's title.
        QCOMPARE(seen.size(), 1 + 2 * 2);
        QCOMPARE(seen.count(QStringLiteral("Spara")), 3);
        QVERIFY2(seen.at(2).contains(QStringLiteral("finns redan")), qPrintable(seen.at(2)));
        QCOMPARE(readBack(file), rig.canvas());
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    }

    // A name with markup in it is shown as it is, in the question and in a warning.
    void messagesShowNamesAsTheyAre_data() {
        QTest::addColumn<bool>("picture"); // a picture to ask about, or none to open
        QTest::newRow("the save question") << true;
        QTest::newRow("a warning") << false;
    }
    void messagesShowNamesAsTheyAre() {
        QFETCH(bool, picture);
        const QString file = dir->filePath(QStringLiteral("<b>fet.bmp"));
        QImage white(8, 8, QImage::Format_RGB32);
        white.fill(Qt::white);
        // Without a picture, Open's message names the missing file.
        if (picture)
            QVERIFY(white.save(file, "BMP"));
        const auto plain = [&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box || box->textFormat() != Qt::PlainText)
                failures << "not shown as plain text";
            pressInModal(modal, picture ? Qt::Key_Escape : Qt::Key_Return);
        };
        if (picture) {
            rig.form->openFile(file);
            whenModal(plain);
            keyOnCanvas(Qt::Key_N);
        } else {
            whenModal(plain);
            rig.form->openFile(file);
        }
        QCOMPARE(seen.size(), 2);
        QVERIFY2(seen.at(1).contains(QStringLiteral("<b>fet.bmp")), qPrintable(seen.at(1)));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    }

    // The question that offers a picture back: Enter keeps it; Escape, the
    // key a child may press to make a box go away, puts it off and keeps it
    // for the next start.
    void enterAtTheRecoveryQuestionKeepsThePicture_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("kept");
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    }
    void enterAtTheRecoveryQuestionKeepsThePicture() {
        QFETCH(int, key);
        QFETCH(bool, kept);
        // Only this window's copy: none that earlier windows left.
        QVERIFY(QDir(rig.stateFolder()).removeRecursively());
        draw();
        const QImage drawn = rig.canvas();
        // The window goes as a killed program's does.
        QVERIFY(rig.show(true));
        QStringList buttons;
        whenModal([&](QWidget* box) {
            auto* question = qobject_cast<QMessageBox*>(box);
            if (!question || question->icon() != QMessageBox::Question ||
                question->defaultButton() != question->button(QMessageBox::Yes))
                failures << "not a question with Yes as default";
            for (QPushButton* button : box->findChildren<QPushButton*>())
                if (button->isVisible())
                    buttons << button->text().remove(QLatin1Char('&'));
            if (rig.canvas() != drawn)
                failures << "the picture is not shown while asked about";
            pressInModal(box, Qt::Key(key));
        });
        rig.form->startWith({});
        QCOMPARE(rig.canvas(), kept ? drawn : whiteCanvas());
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
        buttons.sort();
        QCOMPARE(buttons, QStringList({"Ja", "Nej"}));
        QCOMPARE(seen, QStringList({"Pensilo", "Pensilo stängdes innan bilden sparades. Vill du "
                                               "fortsätta med bilden?"}));
        QCOMPARE(copiesIn(rig.stateFolder()).size(), 1);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    }

    // Escape at the close question keeps the window and the picture.
    void escapeAtTheCloseQuestionKeepsTheWindow() {
        draw();
        const QImage drawn = rig.canvas();
        whenModal([&](QWidget* box) {
            auto* question = qobject_cast<QMessageBox*>(box);
            if (!question || question->icon() != QMessageBox::Question ||
                question->defaultButton() != question->button(QMessageBox::No))
                failures << "not the question with No as default";
            pressInModal(box, Qt::Key_Escape);
        });
        QVERIFY(!rig.form->close());
        QVERIFY(rig.form->isVisible());
        QCOMPARE(rig.canvas(), drawn);
        QCOMPARE(seen, QStringList({"Pensilo", "Vill du spara ändringarna i [Namnlös] ?"}));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join("; ")));
    }
};

QTEST_MAIN(TestRealDialogs)
#include "tst_realdialogs.moc"
