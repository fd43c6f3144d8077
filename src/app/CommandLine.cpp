#include "app/CommandLine.h"

#include <QFileInfo>

namespace {

QString usage(const QString& program) {
    return QStringLiteral("Användning: %1 [BILD]\n"
                          "\n"
                          "Pensilo är ett ritprogram för barn. Med en BILD (en BMP-, PNG-,\n"
                          "JPEG- eller GIF-fil) öppnas den bilden direkt.\n"
                          "\n"
                          "  -h, --help     visa den här hjälpen och avsluta\n"
                          "  -v, --version  visa versionen och avsluta\n")
        .arg(program);
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    const QString program =
        arguments.isEmpty() ? QStringLiteral("pensilo") : QFileInfo(arguments.first()).fileName();
    CommandLine line;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded &&
                   (argument == QLatin1String("-h") || argument == QLatin1String("--help"))) {
            return {Action::Help, QString(), usage(program)};
        } else if (!optionsEnded &&
                   (argument == QLatin1String("-v") || argument == QLatin1String("--version"))) {
            return {Action::Version, QString(),
                    QStringLiteral("Pensilo %1\n").arg(QStringLiteral(PENSILO_VERSION))};
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return {Action::Mistake, QString(),
                    QStringLiteral("%1: okänt val: %2\n\n").arg(program, argument) +
                        usage(program)};
        } else if (!line.file.isEmpty()) {
            return {Action::Mistake, QString(),
                    QStringLiteral("%1: Pensilo öppnar en bild i taget.\n\n").arg(program) +
                        usage(program)};
        } else {
            line.file = argument;
        }
    }
    return line;
}
