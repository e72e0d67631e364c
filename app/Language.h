#pragma once
// The language of the program's texts. Russian is the language the texts are
// written in; any other is a translation loaded from the program's resources
// (i18n/tolmarik_<code>.ts), together with the toolkit's own texts.
#include <QCoreApplication>
#include <QString>

namespace app {

// Overrides the system's language and the saved choice: "ru" or "en".
inline constexpr char LanguageVariable[] = "TOLMARIK_LANG";
// The languages the program ships, by code ("ru", "en"): Russian and each
// translation in the resources.
QStringList ShippedLanguages();
// A language's name as its readers write it: "Русский", "English".
QString LanguageName(const QString& code);

// The language to use: LanguageVariable when set to a shipped language, else
// `saved` (the window program's menu choice) when shipped, else Russian for a
// Russian system and English for any other.
QString ChosenLanguage(const QString& saved = {});

// Loads the program's and the toolkit's texts for `language` into
// `application`, in place of those an earlier call loaded; with Russian the
// program's own catalogue supplies only the plural forms. Windows made
// before keep their texts.
void InstallTranslations(QCoreApplication& application, const QString& language);

// Loads the toolkit's own texts (dialog buttons, file dialogs) for `language`;
// false when its catalogue is missing, in which case they stay English.
bool InstallToolkitTranslations(QCoreApplication& application,
                                const QString& language = ChosenLanguage());

}  // namespace app
