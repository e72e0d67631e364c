#include "app/TApplication.h"

#include <QIcon>
#include <exception>

#include "device/AppError.h"
#include "app/BuildInfo.h"
#include "app/Dialogs.h"

// Outside any namespace, as the resource initialiser requires.
static void InitProgramResources() { Q_INIT_RESOURCE(resources); }

namespace app {

void InitResources() { InitProgramResources(); }

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    InitResources();
    setApplicationName(QStringLiteral(TOLMARIK_PRODUCT_NAME));
    setApplicationVersion(QStringLiteral(TOLMARIK_FILE_VERSION));
    setOrganizationName(QStringLiteral(TOLMARIK_COMPANY_NAME));
    setWindowIcon(QIcon(QStringLiteral(":/icons/program.svg")));
    UseWindowDialogs();
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

QString PortArgument(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--port") && i + 1 < arguments.size()) return arguments[i + 1];
        if (a.startsWith(QLatin1String("--port="))) return a.mid(7);
    }
    return {};
}

}  // namespace app
