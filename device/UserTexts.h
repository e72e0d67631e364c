#pragma once
// Outcomes of device operations as the user reads them, shared by the
// windows and the command line.
#include <QString>
#include <cstdint>
#include <optional>

namespace device {

inline const QString PortFailedText = QStringLiteral("Невозможно открыть порт");
inline const QString NoDeviceText = QStringLiteral("Нет связи с прибором");
inline const QString NoLinkCheckPortText =
    QStringLiteral("Нет связи, проверьте соединения или номер порта");
inline const QString DeviceSilentText = QStringLiteral("Устройство не отвечает");
// The track download's mode, on the track page and the flight list alike.
inline const QString ReadBySectorText = QStringLiteral("Читать по сектору");
// The button beside a folder of track files, on the track page and in the logbook.
inline const QString OpenFolderText = QStringLiteral("Открыть папку");
// An operation that ended with LINK_LOST: the port reported the device gone.
inline QString LinkLostText() { return QStringLiteral("Связь с прибором потеряна"); }
inline const QString ConfigReadText = QStringLiteral("Данные прибора считаны");
inline const QString ConfigWrittenText = QStringLiteral("Данные записаны");
inline const QString UnsupportedDeviceText =
    QStringLiteral("Данный прибор не поддерживается программатором");
inline const QString FirmwareUpdatedText = QStringLiteral("Прошивка обновлена");
// A firmware transfer stopped part-way (the program was interrupted).
inline const QString FirmwareInterruptedText = QStringLiteral(
    "Обновление прошивки прервано. В приборе может остаться неполная прошивка, и он может не "
    "работать как обычно. Не отключайте прибор и повторите обновление тем же файлом прошивки.");
inline const QString FirmwareWrongDeviceText = QStringLiteral("Прошивка не для этого приюбора!!!");
// Followed by the file's name.
inline const QString FileSavedText = QStringLiteral("Файл сохранен: ");

// An instrument whose model the program does not know (none: it named no
// model): shown, never written to.
inline QString UnknownModelText(std::optional<std::uint16_t> reported) {
    return reported ? QStringLiteral("неизвестная модель %1").arg(*reported)
                    : QStringLiteral("неизвестная модель (прибор ее не назвал)");
}
inline QString UnknownModelReadOnlyText(std::optional<std::uint16_t> reported) {
    return QStringLiteral("%1, только чтение").arg(UnknownModelText(reported));
}
inline QString UnknownModelWriteRefusedText(std::optional<std::uint16_t> reported) {
    return QStringLiteral(
               "Запись запрещена: %1. Программа не знает настроек этого прибора, ничего не "
               "записано")
        .arg(UnknownModelText(reported));
}
inline QString UnknownModelFirmwareQuestion(std::optional<std::uint16_t> reported) {
    return QStringLiteral(
               "Программа не знает этот прибор (%1). Прошивка может ему не подойти, и прибор "
               "перестанет работать.\nВсе равно обновить прошивку?")
        .arg(UnknownModelText(reported));
}

// A folder named for the files that does not exist; `reason` says why, when
// the system told.
inline QString NoFolderText(const QString& shownPath, const QString& reason = {}) {
    return reason.isEmpty() ? QStringLiteral("Нет папки: %1").arg(shownPath)
                            : QStringLiteral("Нет папки: %1 (%2)").arg(shownPath, reason);
}
inline QString FolderNotMadeText(const QString& shownPath) {
    return QStringLiteral("Не удалось создать папку \"%1\"").arg(shownPath);
}
// The logbook window's title, also in a build without the logbook.
inline QString LogbookTitle() { return QStringLiteral("Журнал полётов"); }
// The window program and the command line of a build without the logbook.
inline QString LogbookNotBuiltText() {
    return QStringLiteral("Журнал полётов не включён в эту сборку программы");
}

// Readers of track files and the commands that draw or convert them.
inline QString TrackFileTooLargeText(const QString& shownPath) {
    return QStringLiteral("Файл \"%1\" слишком велик для трека").arg(shownPath);
}
inline QString NoTrackPointsText(const QString& shownPath) {
    return QStringLiteral("В файле \"%1\" нет точек трека").arg(shownPath);
}

}  // namespace device
