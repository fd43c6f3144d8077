// The module's two entry points, found by name when the program loads it.
#include "platform/printing/PagePrinter.h"

#include <QPrintDialog>

extern "C" Q_DECL_EXPORT Printing* pensiloMakePrinting() {
    return new PagePrinter;
}

// One picture is one page: no page ranges, no collating of copies.
extern "C" Q_DECL_EXPORT bool pensiloShowPrintDialog(QPrinter* printer, QWidget* parent) {
    QPrintDialog dialog(printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}
