#include "document/WallpaperCommands.h"

#include "document/Document.h"
#include "platform/Dialogs.h"
#include "platform/wallpaper/SessionWallpaper.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kProduct = QStringLiteral("Pensilo");

// What a parent can do whatever went wrong: the file is there to be chosen.
const char* const kChooseItYourself =
    "Välj bilden som skrivbordsunderlägg i skrivbordets egna inställningar.";

// For the log, beside the desktop's own words.
const char* problemName(Wallpaper::Problem problem) {
    switch (problem) {
    case Wallpaper::Problem::UnknownDesktop:
        return "no adapter for the desktop";
    case Wallpaper::Problem::PathNotInCodePage:
        return "the path is not in the system's code page";
    case Wallpaper::Problem::ServiceMissing:
        return "the settings tool or service is missing";
    case Wallpaper::Problem::Refused:
        return "the desktop refused";
    default:
        return "the setting read back differs";
    }
}

// In plain Swedish: what happened and what to do. The desktop's own words
// (a tool's errors, schema names, keys) mean nothing to a parent, so they go
// to the log instead.
QString reason(const Wallpaper::Result& result) {
    const QString ownSettings = QString::fromUtf8(kChooseItYourself);
    switch (result.problem) {
    case Wallpaper::Problem::UnknownDesktop:
        if (result.detail.empty())
            return QString::fromUtf8("Pensilo vet inte vilket skrivbord datorn använder och kan "
                                     "därför inte byta skrivbordsunderlägg. ") +
                   ownSettings;
        return QString::fromUtf8("Pensilo kan inte byta skrivbordsunderlägg på skrivbordet "
                                 "\"%1\". ")
                   .arg(QString::fromStdString(result.detail)) +
               ownSettings;
    case Wallpaper::Problem::PathNotInCodePage:
        return QString::fromUtf8("Windows kan inte läsa filens namn, eftersom det har tecken som "
                                 "inte finns i systemets teckentabell. Spara bilden med ett namn "
                                 "och i en mapp utan sådana tecken och försök igen.");
    case Wallpaper::Problem::ServiceMissing:
        return QString::fromUtf8("Pensilo når inte skrivbordets inställningar, så underlägget är "
                                 "som förut. ") +
               ownSettings;
    case Wallpaper::Problem::Refused:
        return QString::fromUtf8("Skrivbordets inställning för underlägg gick inte att ändra. ") +
               ownSettings;
    default:
        return QString::fromUtf8("Skrivbordet behöll sitt gamla underlägg. Försök igen när "
                                 "skrivbordet har startat klart, eller välj bilden som "
                                 "skrivbordsunderlägg i skrivbordets egna inställningar.");
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
    if (result.ok())
        return;
    qWarning("The wallpaper was not set to %s, %s: %s", qPrintable(path),
             problemName(result.problem), result.detail.c_str());
    dialogs_.warning(kProduct, failedMessage(path, reason(result)));
}
