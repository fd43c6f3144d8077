#include "document/FileMessages.h"

#include <QDir>
#include <QFileInfo>

namespace {

using PictureFile::Problem;

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString saveReason(Problem problem) {
    switch (problem) {
    case Problem::FolderMissing:
        return QString::fromUtf8("Mappen finns inte. Välj en annan mapp att spara i.");
    case Problem::IsFolder:
        return QString::fromUtf8("Det finns redan en mapp med det namnet. Välj ett annat namn på "
                                 "bilden.");
    case Problem::DiskFull:
        return QString::fromUtf8("Disken är full. Ta bort något som inte behövs, eller spara på "
                                 "en annan plats.");
    case Problem::ReadOnly:
        return QString::fromUtf8("Disken är skrivskyddad. Spara på en annan plats.");
    case Problem::NoPermission:
        return QString::fromUtf8("Du har inte behörighet att spara där. Spara i en annan mapp.");
    case Problem::TooLarge:
        return QString::fromUtf8("Bilden är för stor för att Pensilo ska kunna spara den hel. "
                                 "Ingenting har skrivits, och bilden finns kvar som den var.");
    default:
        return QString::fromUtf8("Något gick fel. Försök igen, eller spara på en annan plats.");
    }
}

QString openReason(Problem problem) {
    switch (problem) {
    case Problem::NotFound:
        return QString::fromUtf8("Filen finns inte. Den kan ha flyttats eller tagits bort.");
    case Problem::FolderMissing:
        return QString::fromUtf8("Mappen finns inte.");
    case Problem::IsFolder:
        return QString::fromUtf8("Det är en mapp, inte en bild.");
    case Problem::NotAPicture:
        return QString::fromUtf8("Filen är inte en bild som Pensilo kan läsa.");
    case Problem::Damaged:
        return QString::fromUtf8("Filen är skadad eller ofullständig.");
    case Problem::TooLarge:
        return QString::fromUtf8("Bilden är för stor för att öppnas.");
    case Problem::NoPermission:
        return QString::fromUtf8("Du har inte behörighet att öppna filen.");
    default:
        return QString::fromUtf8("Något gick fel när filen lästes. Försök igen.");
    }
}

} // namespace

QString saveFailedMessage(const QString& path, Problem problem) {
    return QString::fromUtf8("Bilden kunde inte sparas som\n") + shownPath(path) +
           QStringLiteral("\n\n") + saveReason(problem);
}

QString openFailedMessage(const QString& path, Problem problem) {
    return QString::fromUtf8("Bilden kunde inte öppnas:\n") + shownPath(path) +
           QStringLiteral("\n\n") + openReason(problem);
}
