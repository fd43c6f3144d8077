#include "app/FirstFrame.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QtTest>

// The start-up benchmark's mark: once, after the watched window's first paint.
class TestFirstFrame : public QObject {
    Q_OBJECT

private slots:
    void reportsOnceAfterTheWatchedWindowPaints() {
        QMainWindow watched, other;
        watched.menuBar()->addMenu(QStringLiteral("Meny"));
        int painted = 0;
        watchFirstFrame(&watched, [&] { ++painted; });

        // Another window's paint is not the watched window's frame.
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.repaint();
        QCoreApplication::processEvents();
        QCOMPARE(painted, 0);

        watched.show();
        QVERIFY(QTest::qWaitForWindowExposed(&watched));
        QTRY_COMPARE(painted, 1);
        watched.repaint();
        watched.menuBar()->repaint();
        QCoreApplication::processEvents();
        QCOMPARE(painted, 1);
    }
};

QTEST_MAIN(TestFirstFrame)
#include "tst_firstframe.moc"
