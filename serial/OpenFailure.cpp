#include "serial/OpenFailure.h"

#include <cerrno>

namespace serial {

TOpenFailureCause OpenFailureCause(int systemCode) {
#ifdef _WIN32
    // Windows refuses a port held by another program with "access denied".
    switch (systemCode) {
        case 5:   // ERROR_ACCESS_DENIED
        case 32:  // ERROR_SHARING_VIOLATION
            return TOpenFailureCause::Busy;
        case 2:     // ERROR_FILE_NOT_FOUND
        case 3:     // ERROR_PATH_NOT_FOUND
        case 31:    // ERROR_GEN_FAILURE: the adapter was pulled
        case 1167:  // ERROR_DEVICE_NOT_CONNECTED
            return TOpenFailureCause::Gone;
        case 1:  // ERROR_INVALID_FUNCTION: not a communications device
            return TOpenFailureCause::NotAPort;
        default:
            return TOpenFailureCause::Unknown;
    }
#else
    switch (systemCode) {
        case EACCES:
        case EPERM:
            return TOpenFailureCause::NoPermission;
        case EBUSY:
        case EAGAIN:  // a lock held on the device
            return TOpenFailureCause::Busy;
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return TOpenFailureCause::Gone;
        case ENOTTY:
            return TOpenFailureCause::NotAPort;
        default:
            return TOpenFailureCause::Unknown;
    }
#endif
}

QString OpenFailureHint(TOpenFailureCause cause) {
    switch (cause) {
        case TOpenFailureCause::NoPermission:
            return QStringLiteral(
                "Нет прав на порт: добавьте пользователя в группу dialout "
                "(sudo usermod -aG dialout $USER) и войдите в систему заново");
        case TOpenFailureCause::Busy:
            return QStringLiteral(
                "Порт занят другой программой: закройте её (терминал, другой "
                "конфигуратор) и повторите");
        case TOpenFailureCause::Gone:
            return QStringLiteral(
                "Устройство не найдено: проверьте кабель, переподключите прибор "
                "и выберите порт заново");
        case TOpenFailureCause::NotAPort:
            return QStringLiteral("Это не последовательный порт: выберите порт прибора");
        case TOpenFailureCause::Unknown:
            break;
    }
    return {};
}

QString OpenFailureReason(const TPortError& error) {
    if (error.IsEmpty()) return {};
    const QString reason =
        error.text.isEmpty() ? QStringLiteral("ошибка %1").arg(error.code) : error.text;
    return error.path.isEmpty() ? reason : error.path + QStringLiteral(": ") + reason;
}

QString OpenFailureDetail(const TPortError& error) {
    QString detail = OpenFailureReason(error);
    const QString hint = OpenFailureHint(OpenFailureCause(error.code));
    if (!detail.isEmpty() && !hint.isEmpty()) detail += QLatin1Char('\n') + hint;
    return detail;
}

}  // namespace serial
