#include "app/CommandLine.h"
#include "app/FirstFrame.h"
#include "app/Form1.h"
#include "platform/Translations.h"

#include <QApplication>

#include <cstdio>

namespace {

int answer(const CommandLine& line) {
    const QByteArray text = line.message.toUtf8();
    std::fputs(text.constData(), line.action == CommandLine::Action::Mistake ? stderr : stdout);
    return line.action == CommandLine::Action::Mistake ? 2 : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Help and version answer before any window system is needed.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const CommandLine early = CommandLine::parse(raw);
    if (early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version)
        return answer(early);

    QApplication app(argc, argv);
    // The desktop matches the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("se.pensilo.Pensilo"));
    if (!installSwedishTranslation())
        qWarning("The Swedish translation of Qt could not be loaded; its dialogs stay English.");
    const CommandLine line = CommandLine::parse(QApplication::arguments());
    if (line.action != CommandLine::Action::Start)
        return answer(line);

    Form1 form;
    // Exit and the close question end the program here, whatever else is queued.
    form.setOnStop([] { QCoreApplication::exit(0); });
    reportFirstFrameIfAsked(&form);
    form.showCentred();
    form.startWith(line.file);
    return app.exec();
}
