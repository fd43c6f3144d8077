#include "platform/Printing.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

struct Module {
    Printing* (*make)() = nullptr;
    bool (*showDialog)(QPrinter*, QWidget*) = nullptr;
    QString problem;
};

// Loaded once and never unloaded: its printers live as long as their windows.
const Module& module() {
    static const Module loaded = [] {
        Module found;
        // PENSILO_PRINTING_DIR is where the module lies from the program's own
        // folder, the same in the build tree as installed.
        QLibrary library(QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral(PENSILO_PRINTING_DIR "/pensilo_printing")));
        if (library.load()) {
            found.make = reinterpret_cast<Printing* (*)()>(library.resolve("pensiloMakePrinting"));
            found.showDialog = reinterpret_cast<bool (*)(QPrinter*, QWidget*)>(
                library.resolve("pensiloShowPrintDialog"));
        }
        if (!found.make || !found.showDialog) {
            found.make = nullptr;
            found.showDialog = nullptr;
            found.problem = library.errorString();
        }
        return found;
    }();
    return loaded;
}

} // namespace

std::unique_ptr<Printing> Printing::make(QString& problem) {
    const Module& printing = module();
    problem = printing.problem;
    return std::unique_ptr<Printing>(printing.make ? printing.make() : nullptr);
}

bool Printing::showDialog(QPrinter& printer, QWidget* parent) {
    const Module& printing = module();
    return printing.showDialog && printing.showDialog(&printer, parent);
}
