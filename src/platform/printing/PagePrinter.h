#pragma once

#include "platform/Printing.h"

#include <memory>

class QPrinter;

// The module's printer: Qt's QPrinter, made at the first print and kept, so
// the dialog shows the printer and the settings chosen last time.
class PagePrinter : public Printing {
public:
    PagePrinter();
    ~PagePrinter() override;

    Result print(Dialogs& dialogs, const QImage& picture, const QString& jobName) override;

private:
    std::unique_ptr<QPrinter> printer_;
};
