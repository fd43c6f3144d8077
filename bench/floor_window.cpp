// The floor of the start-up benchmark: what a Qt Widgets window costs with
// nothing of ours in it, a main window with one menu. It links Qt Widgets and
// the first-frame report only, so it loads no library the program adds.
#include "app/FirstFrame.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Meny"));
    reportFirstFrameIfAsked(&window);
    window.show();
    return app.exec();
}
