#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: a start, perhaps with a picture to open,
// or an answer printed at once. Qt has already taken its own options.
struct CommandLine {
    enum class Action { Start, Help, Version, Mistake };

    Action action = Action::Start;
    QString file;    // the picture to open at start, or empty
    QString message; // what to print for Help, Version and Mistake

    static CommandLine parse(const QStringList& arguments);
};
