#include "app/TApplication.h"

#include <QIcon>
#include <exception>

#include "app/BuildInfo.h"
#include "app/Dialogs.h"
#include "app/SetupAPI.h"
#include "device/AppError.h"

// Outside any namespace, as the resource initialiser requires.
static void InitProgramResources() { Q_INIT_RESOURCE(resources); }

namespace app {

void InitResources() { InitProgramResources(); }

QString ProgramLanguage() { return ChosenLanguage(StoredSetting(LanguageSetting)); }

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    InitResources();
    // Before any window or text is made.
    InstallTranslations(*this, ProgramLanguage());
    setApplicationName(QStringLiteral(TOLMARIK_PRODUCT_NAME));
    setApplicationVersion(ProgramVersion());
    setOrganizationName(QStringLiteral(TOLMARIK_COMPANY_NAME));
    setWindowIcon(QIcon(QStringLiteral(":/icons/program.png")));
    UseWindowDialogs();
    UseSettingsForTrackFolder();
    UseSettingsForPilotProfile();
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
