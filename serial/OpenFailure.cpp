#include "serial/OpenFailure.h"

#include <QCoreApplication>

#include "serial/PortHolders.h"

namespace serial {

TOpenFailureCause OpenFailureCause(int systemCode) {
    return platform::OpenFailureCauseOf(systemCode);
}

QString OpenFailureHint(TOpenFailureCause cause) {
    switch (cause) {
        case TOpenFailureCause::NoPermission:
            return QCoreApplication::translate(
                "serial",
                "Нет прав на порт: добавьте пользователя в группу dialout "
                "(sudo usermod -aG dialout $USER) и войдите в систему заново");
        case TOpenFailureCause::Busy:
            return QCoreApplication::translate(
                "serial",
                "Порт занят другой программой: закройте её (терминал, другой "
                "конфигуратор) и повторите");
        case TOpenFailureCause::Gone:
            return QCoreApplication::translate(
                "serial",
                "Устройство не найдено: проверьте кабель, переподключите прибор "
                "и выберите порт заново");
        case TOpenFailureCause::NotAPort:
            return QCoreApplication::translate(
                "serial", "Это не последовательный порт: выберите порт прибора");
        case TOpenFailureCause::Unknown:
            break;
    }
    return {};
}

QString OpenFailureReason(const TPortError& error) {
    if (error.IsEmpty()) return {};
    const QString reason = error.text.isEmpty()
                               ? QCoreApplication::translate("serial", "ошибка %1").arg(error.code)
                               : error.text;
    return error.path.isEmpty() ? reason : error.path + QStringLiteral(": ") + reason;
}

QString BusyHint(const QStringList& holders) {
    // Both take CH340 and CDC adapters as soon as they are plugged in.
    if (holders.contains(QLatin1String("brltty")))
        return QCoreApplication::translate(
            "serial",
            "Порт занят программой brltty (для брайлевских дисплеев): если она не нужна, "
            "удалите её (sudo apt remove brltty) и переподключите прибор");
    if (holders.contains(QLatin1String("ModemManager")))
        return QCoreApplication::translate(
            "serial",
            "Порт занят службой ModemManager: установите пакет tolmarikprog (его правило udev "
            "велит службе не трогать адаптер) или остановите её (sudo systemctl stop "
            "ModemManager) и повторите");
    return OpenFailureHint(TOpenFailureCause::Busy);
}

QString OpenFailureDetail(const TPortError& error) {
    QString detail = OpenFailureReason(error);
    const TOpenFailureCause cause = OpenFailureCause(error.code);
    const QString hint = cause == TOpenFailureCause::Busy ? BusyHint(PortHolders(error.path))
                                                          : OpenFailureHint(cause);
    if (!detail.isEmpty() && !hint.isEmpty()) detail += QLatin1Char('\n') + hint;
    return detail;
}

}  // namespace serial
