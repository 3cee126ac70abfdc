// Qt's own texts (the buttons of message boxes, the file, folder and font
// dialogs) in Japanese, like the rest of the interface, from the catalogue of
// Debian's Qt translations.
#pragma once

// Installs the catalogue for the application; false when it cannot be
// loaded (the texts then stay in English).
bool InstallQtJapaneseTranslations();
