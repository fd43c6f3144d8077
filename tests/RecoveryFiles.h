#pragma once

// What the recovery tests read of a state folder, and the picture a start shows.
#include "platform/RecoveryCopy.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>

inline QStringList entries(const QString& folder, const QString& pattern = QStringLiteral("*")) {
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
}

inline QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every copy in the folder that reads back.
inline QList<RecoveryCopy::Picture> copiesIn(const QString& folder) {
    QList<RecoveryCopy::Picture> pictures;
    for (const QString& name : entries(folder, QStringLiteral("*.copy")))
        if (auto picture = RecoveryCopy::decode(contents(folder + '/' + name)))
            pictures << *picture;
    return pictures;
}

// The white canvas of a start, of New and of Nej to a copy.
inline QImage whiteCanvas() {
    QImage image(471, 429, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}
