#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Answers the window's dialogs from a script and records what was shown. A
// dialog nobody scripted is cancelled, and counted, so a test sees it.
class ScriptedDialogs : public Dialogs {
public:
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> files;
    // Each sets the printer up as a user would in the print dialog, and
    // answers true to print.
    std::deque<std::function<bool(QPrinter&)>> printers;

    QStringList questions;
    QStringList questionTitles;
    std::vector<FileRequest> requests;
    QStringList warnings;
    int printDialogs = 0;
    int unscripted = 0;

    Answer question(const QString& title, const QString& text) override {
        questionTitles << title;
        questions << text;
        if (answers.empty()) {
            ++unscripted;
            return Answer::Cancel;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Asked and answered from the same script as the save question.
    Answer yesOrNo(const QString& title, const QString& text) override {
        return question(title, text);
    }

    std::optional<QString> chooseFile(const FileRequest& request) override {
        requests.push_back(request);
        if (files.empty()) {
            ++unscripted;
            return std::nullopt;
        }
        const std::optional<QString> file = files.front();
        files.pop_front();
        return file;
    }

    void warning(const QString&, const QString& text) override { warnings << text; }

    bool choosePrinter(QPrinter& printer) override {
        ++printDialogs;
        if (printers.empty()) {
            ++unscripted;
            return false;
        }
        const std::function<bool(QPrinter&)> answer = printers.front();
        printers.pop_front();
        return answer(printer);
    }
};
