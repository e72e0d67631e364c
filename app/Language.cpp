#include "app/Language.h"

#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

// Outside any namespace, as the resource initialiser requires.
static void InitTranslationResources() { Q_INIT_RESOURCE(translations); }

namespace app {

namespace {
bool Shipped(const QString& code) { return !code.isEmpty() && ShippedLanguages().contains(code); }

// The first language the user reads: on Unix from LC_ALL, LC_MESSAGES or LANG.
QString SystemLanguage() {
    const QStringList languages = QLocale::system().uiLanguages();
    const QString first = languages.isEmpty() ? QLocale::system().name() : languages.first();
    return first.startsWith(QLatin1String("ru")) ? QStringLiteral("ru") : QStringLiteral("en");
}

// The name of the translators installed here, so that another language replaces them.
const QString kTranslatorName = QStringLiteral("tolmarik-language");

bool Install(QCoreApplication& application, const QString& name, const QStringList& folders) {
    auto* translator = new QTranslator(&application);
    translator->setObjectName(kTranslatorName);
    for (const QString& folder : folders)
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
            return true;
    delete translator;
    return false;
}
}  // namespace

QStringList ShippedLanguages() {
    InitTranslationResources();
    QStringList codes{QStringLiteral("ru")};
    static const QRegularExpression file(QStringLiteral("^tolmarik_(\\w+)\\.qm$"));
    for (const QString& name : QDir(QStringLiteral(":/i18n")).entryList(QDir::Files))
        if (const QRegularExpressionMatch m = file.match(name);
            m.hasMatch() && !codes.contains(m.captured(1)))
            codes << m.captured(1);
    return codes;
}

QString LanguageName(const QString& code) {
    const QLocale locale(code);
    // Qt names English by its American variant.
    const QString name = locale.language() == QLocale::English
                             ? QLocale::languageToString(QLocale::English)
                             : locale.nativeLanguageName();
    return name.left(1).toUpper() + name.mid(1);
}

QString ChosenLanguage(const QString& saved) {
    const QString forced = qEnvironmentVariable(LanguageVariable);
    if (Shipped(forced)) return forced;
    if (Shipped(saved)) return saved;
    return SystemLanguage();
}

bool InstallToolkitTranslations(QCoreApplication& application, const QString& language) {
    // Beside the program where a Windows installer puts them.
    return Install(application, QStringLiteral("qtbase_") + language,
                   {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                    QCoreApplication::applicationDirPath() + QStringLiteral("/translations")});
}

void InstallTranslations(QCoreApplication& application, const QString& language) {
    InitTranslationResources();
    // A translator leaves the application as it is destroyed.
    for (QTranslator* earlier :
         application.findChildren<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly))
        delete earlier;
    Install(application, QStringLiteral("tolmarik_") + language, {QStringLiteral(":/i18n")});
    InstallToolkitTranslations(application, language);
}

}  // namespace app
