#pragma once

// Puts every text Qt itself writes (the buttons of message boxes, the whole
// file dialog) in Swedish, whatever language the system has, and makes
// Swedish (Sweden) the default locale, which the file dialog's sizes, dates
// and file types follow. Call it once the application object exists; it
// returns false when the translation could not be loaded, and Qt's texts then
// stay English.
bool installSwedishTranslation();
