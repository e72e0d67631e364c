#include "app/TApplication.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <exception>

#include "app/BuildInfo.h"
#include "app/Dialogs.h"
#include "app/SetupAPI.h"
#include "device/AppError.h"

// Outside any namespace, as the resource initialiser requires.
static void InitProgramResources() { Q_INIT_RESOURCE(resources); }

namespace app {

void InitResources() { InitProgramResources(); }

bool InstallToolkitTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const QString name = QStringLiteral("qtbase_ru");
    // Beside the program where a Windows installer puts them.
    const QString deployed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    if ((translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
         translator->load(name, deployed)) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    InitResources();
    setApplicationName(QStringLiteral(TOLMARIK_PRODUCT_NAME));
    setApplicationVersion(ProgramVersion());
    setOrganizationName(QStringLiteral(TOLMARIK_COMPANY_NAME));
    setWindowIcon(QIcon(QStringLiteral(":/icons/program.png")));
    UseWindowDialogs();
    UseSettingsForTrackFolder();
    UseSettingsForPilotProfile();
    InstallToolkitTranslations(*this);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const device::TAppError& error) {
        device::ShowError(error.Text());
    } catch (const std::exception& error) {
        device::ShowError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

}  // namespace app
