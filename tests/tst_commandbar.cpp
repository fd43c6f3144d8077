#include "FormRig.h"
#include "pickers/PalettePanel.h"
#include "platform/widgets/ActiveBar.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/TabStrip.h"

#include <QMenu>
#include <QMenuBar>

using Answer = Dialogs::Answer;

// The menu and the keys: which command runs from where, the availability of
// the wallpaper commands, and the context menu that never opens.
class TestCommandBar : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    std::unique_ptr<QTemporaryDir> dir;

    QMenuBar* bar() const { return rig.form->menuBar(); }
    QMenu* menu() const { return rig.commandBar().menu(); }
    QAction* command(const char* name) const {
        return rig.commandBar().Tools(QString::fromUtf8(name)).action();
    }
    QPoint titleCentre() const { return bar()->actionGeometry(menu()->menuAction()).center(); }
    bool wallpaperAvailable() const {
        const bool tiled = command("SidaVidSida")->isEnabled();
        const bool centred = command("Centrerad")->isEnabled();
        return tiled && centred;
    }
    void hoverTitle() {
        QTest::mouseMove(bar(), QPoint(titleCentre().x(), 1));
        QTest::mouseMove(bar(), titleCentre());
    }
    void saveAsFromTheKeyboard(const QString& file) { rig.saveAs(file); }
    // What the script saw of one command: 'N' a question, 'O' an open
    // dialog, 'S' a save dialog, '-' nothing.
    QChar seen() const {
        if (rig.dialogs.printDialogs > 0)
            return QLatin1Char('P');
        if (!rig.dialogs.questions.isEmpty())
            return QLatin1Char('N');
        if (rig.dialogs.requests.empty())
            return QLatin1Char('-');
        return rig.dialogs.requests.front().mode == Dialogs::FileMode::Open ? QLatin1Char('O')
                                                                            : QLatin1Char('S');
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(rig.show());
        QApplication::setActiveWindow(rig.form.get());
    }
    void cleanup() {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        rig.form.reset();
    }

    void theMenuHasTheSevenCommandsInOrder() {
        QStringList names;
        for (QAction* action : menu()->actions())
            names << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
        QCOMPARE(names, QStringList({"Nytt", "Öppna", "|", "Spara", "SparaSom", "|", "SidaVidSida",
                                     "Centrerad", "|", "Avsluta"}));
        QCOMPARE(command("Nytt")->text(), QStringLiteral("&Nytt\tCtrl+N"));
        QCOMPARE(command("SparaSom")->text(), QStringLiteral("S&para Som"));
        QCOMPARE(command("Centrerad")->text(),
                 QStringLiteral("Använd som skrivbordsunderlägg (&centrerad)"));
        QCOMPARE(rig.commandBar().Tools("Meny").ID(), 7);
        QCOMPARE(rig.commandBar().Tools("Centrerad").ID(), 8);
        QVERIFY(wallpaperAvailable());
    }

    // Each command's key runs it wherever the keyboard focus is.
    void shortcutsWorkWhereverTheFocusIs_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QChar>("runs");
        for (const char* focus : {"canvas", "tab strip", "palette", "stamp button", "window"}) {
            QTest::addRow("%s, Ctrl+N", focus) << focus << int(Qt::Key_N) << QChar('N');
            QTest::addRow("%s, Ctrl+O", focus) << focus << int(Qt::Key_O) << QChar('O');
            QTest::addRow("%s, Ctrl+S", focus) << focus << int(Qt::Key_S) << QChar('S');
            QTest::addRow("%s, Ctrl+A", focus) << focus << int(Qt::Key_A) << QChar('-');
            QTest::addRow("%s, Ctrl+P", focus) << focus << int(Qt::Key_P) << QChar('P');
        }
    }
    void shortcutsWorkWhereverTheFocusIs() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QChar, runs);
        QWidget* target = rig.form.get();
        if (focus == "canvas")
            target = rig.canvasWidget();
        else if (focus == "tab strip")
            target = rig.tabStrip();
        else if (focus == "palette")
            target = rig.palette().cell(12);
        else if (focus == "stamp button")
            target = rig.button(185);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
        QWidget* receiver =
            QApplication::focusWidget() ? QApplication::focusWidget() : rig.form.get();
        if (focus == "canvas" || focus == "tab strip")
            QCOMPARE(receiver, target);
        QTest::keyClick(receiver, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(seen(), runs);
        QCOMPARE(rig.dialogs.questions.size() + rig.dialogs.requests.size() +
                     size_t(rig.dialogs.printDialogs),
                 size_t(runs == '-' ? 0 : 1));
    }

    void theMenuOpensByMouseAndRunsACommand() {
        QTest::mouseClick(bar(), Qt::LeftButton, {}, titleCentre());
        QTRY_VERIFY(menu()->isVisible());
        QVERIFY(rig.dialogs.questions.isEmpty() && rig.dialogs.requests.empty());
        const QPoint open = menu()->actionGeometry(command("Öppna")).center();
        QTest::mouseMove(menu(), open);
        QTest::mouseClick(menu(), Qt::LeftButton, {}, open);
        QCOMPARE(seen(), QChar('O'));
    }

    // Whole names: "Spara" on a named picture writes at once, "SparaSom" asks.
    void theDispatchComparesWholeNames() {
        const QString file = dir->filePath("hus.bmp");
        saveAsFromTheKeyboard(file);
        QVERIFY(QFile::remove(file));
        command("Spara")->trigger();
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(rig.dialogs.requests.size(), size_t(1));
        rig.dialogs.files.push_back(std::nullopt);
        command("SparaSom")->trigger();
        QCOMPARE(rig.dialogs.requests.size(), size_t(2));
    }

    void wallpaperAvailabilityFollowsTheLastHover() {
        hoverTitle();
        QVERIFY(!wallpaperAvailable());
        saveAsFromTheKeyboard(dir->filePath("hus.bmp"));
        QCOMPARE(rig.title(), dir->filePath("hus.bmp") + " - Pensilo");
        // No hover since: still as the last hover left it.
        rig.key(Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(menu()->isVisible());
        QVERIFY(!wallpaperAvailable());
        // Any tool entered decides anew, a command as well as the title.
        const QPoint save = menu()->actionGeometry(command("Spara")).center();
        QTest::mouseMove(menu(), save - QPoint(0, 6));
        QTest::mouseMove(menu(), save);
        QVERIFY(wallpaperAvailable());
        menu()->close();
        rig.dialogs.answers.push_back(Answer::No);
        rig.key(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(wallpaperAvailable());
        hoverTitle();
        QVERIFY(!wallpaperAvailable());
    }

    // Right after start, no hover yet: the keyboard finds them available, and
    // choosing one does nothing for an untitled picture.
    void theKeyboardMenuBeforeAnyHover() {
        rig.key(Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(menu()->isVisible());
        QVERIFY(wallpaperAvailable());
        QTest::keyClick(menu(), Qt::Key_I);
        QTRY_VERIFY(!menu()->isVisible());
        QCOMPARE(seen(), QChar('-'));
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
    }

    void noContextMenuEverOpens_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("menu bar") << "bar";
        QTest::newRow("menu title") << "title";
        QTest::newRow("window") << "window";
        QTest::newRow("canvas") << "canvas";
    }
    void noContextMenuEverOpens() {
        QFETCH(QString, where);
        QWidget* target = rig.form->centralWidget();
        QPoint at(490, 2);
        if (where == "bar" || where == "title") {
            target = bar();
            at = where == "title" ? titleCentre() : QPoint(bar()->width() - 5, 5);
        } else if (where == "canvas") {
            target = rig.canvasWidget();
            at = QPoint(10, 10);
        }
        QTest::mouseClick(target, Qt::RightButton, {}, at);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &request);
        QApplication::processEvents();
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QVERIFY(rig.dialogs.questions.isEmpty() && rig.dialogs.requests.empty());
    }
};

QTEST_MAIN(TestCommandBar)
#include "tst_commandbar.moc"
