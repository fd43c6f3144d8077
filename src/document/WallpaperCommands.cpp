#include "document/WallpaperCommands.h"

#include "document/Document.h"
#include "platform/Dialogs.h"
#include "platform/wallpaper/SessionWallpaper.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kProduct = QStringLiteral("Pensilo");

QString reason(const Wallpaper::Result& result) {
    const QString detail = QString::fromStdString(result.detail);
    switch (result.problem) {
    case Wallpaper::Problem::UnknownDesktop:
        return detail.isEmpty()
                   ? QString::fromUtf8("Pensilo vet inte vilket skrivbord som används, och kan "
                                       "därför inte byta skrivbordsunderlägg.")
                   : QString::fromUtf8("Pensilo kan inte byta skrivbordsunderlägg på skrivbordet "
                                       "\"%1\". Byt det i skrivbordets egna inställningar.")
                         .arg(detail);
    case Wallpaper::Problem::PathNotInCodePage:
        return QString::fromUtf8("Windows kan inte läsa filens namn, eftersom det har tecken som "
                                 "inte finns i systemets teckentabell. Spara bilden med ett namn "
                                 "och i en mapp utan sådana tecken och försök igen.");
    case Wallpaper::Problem::ServiceMissing:
        return QString::fromUtf8("Skrivbordets inställningar gick inte att nå (%1 saknas).")
            .arg(detail);
    case Wallpaper::Problem::Refused:
        return QString::fromUtf8("Skrivbordet tog inte emot bilden: %1").arg(detail);
    default:
        return QString::fromUtf8("Skrivbordet behöll sitt gamla underlägg (%1).").arg(detail);
    }
}

QString failedMessage(const QString& path, const QString& why) {
    return QString::fromUtf8("Bilden kunde inte bli skrivbordsunderlägg:\n") +
           QDir::toNativeSeparators(path) + QStringLiteral("\n\n") + why;
}

} // namespace

WallpaperCommands::WallpaperCommands(const Document& document, Dialogs& dialogs)
    : document_(document), dialogs_(dialogs) {}

WallpaperCommands::~WallpaperCommands() = default;

void WallpaperCommands::SidaVidSida() {
    apply(Wallpaper::Style::Tiled);
}

void WallpaperCommands::centrerat() {
    apply(Wallpaper::Style::Centred);
}

// An untitled picture does nothing at all, whatever the menu showed: no
// message, and the desktop is not even asked.
void WallpaperCommands::apply(Wallpaper::Style style) {
    if (document_.isUntitled())
        return;
    const QString path = QFileInfo(document_.name()).absoluteFilePath();
    // A desktop given a missing file shows no picture at all; better to say so.
    if (!QFileInfo(path).isFile()) {
        dialogs_.warning(kProduct,
                         failedMessage(path, QString::fromUtf8("Filen finns inte längre. Spara "
                                                               "bilden igen och försök på nytt.")));
        return;
    }
    if (!wallpaper_) {
        sessionWallpaper_ = sessionWallpaper();
        wallpaper_ = sessionWallpaper_.get();
    }
    // Windows is given the path with its own separators, as the title shows it.
    const Wallpaper::Result result =
        wallpaper_->set(QDir::toNativeSeparators(path).toStdString(), style);
    if (!result.ok())
        dialogs_.warning(kProduct, failedMessage(path, reason(result)));
}
