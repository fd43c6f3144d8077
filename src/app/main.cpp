#include "app/Form1.h"
#include "platform/Translations.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (!installSwedishTranslation())
        qWarning("The Swedish translation of Qt could not be loaded; its dialogs stay English.");
    Form1 form;
    // Exit and the close question end the program here, whatever else is queued.
    form.onStop = [] { QCoreApplication::exit(0); };
    form.showCentred();
    return app.exec();
}
