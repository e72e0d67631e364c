#pragma once
// Outcomes of device operations as the user reads them, shared by the
// windows and the command line.
#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <optional>

namespace device {

// A text translated each time it is read, so that a constant made before the
// program chose its language still reads in that language.
struct TUserText {
    const char* source;
    operator QString() const { return QCoreApplication::translate("device", source); }
};
inline QString operator+(const TUserText& text, const QString& more) {
    return QString(text) + more;
}

inline constexpr TUserText PortFailedText{QT_TRANSLATE_NOOP("device", "Невозможно открыть порт")};
inline constexpr TUserText NoDeviceText{QT_TRANSLATE_NOOP("device", "Нет связи с прибором")};
inline constexpr TUserText NoLinkCheckPortText{
    QT_TRANSLATE_NOOP("device", "Нет связи, проверьте соединения или номер порта")};
inline constexpr TUserText DeviceSilentText{QT_TRANSLATE_NOOP("device", "Устройство не отвечает")};
// The track download's mode, on the track page and the flight list alike.
inline constexpr TUserText ReadBySectorText{QT_TRANSLATE_NOOP("device", "Читать по сектору")};
// The button beside a folder of track files, on the track page and in the logbook.
inline constexpr TUserText OpenFolderText{QT_TRANSLATE_NOOP("device", "Открыть папку")};
// An operation that ended with LINK_LOST: the port reported the device gone.
inline QString LinkLostText() {
    return QCoreApplication::translate("device", "Связь с прибором потеряна");
}
inline constexpr TUserText ConfigReadText{QT_TRANSLATE_NOOP("device", "Данные прибора считаны")};
inline constexpr TUserText ConfigWrittenText{QT_TRANSLATE_NOOP("device", "Данные записаны")};
inline constexpr TUserText UnsupportedDeviceText{
    QT_TRANSLATE_NOOP("device", "Данный прибор не поддерживается программатором")};
inline constexpr TUserText FirmwareUpdatedText{QT_TRANSLATE_NOOP("device", "Прошивка обновлена")};
// A firmware transfer stopped part-way (the program was interrupted).
inline constexpr TUserText FirmwareInterruptedText{QT_TRANSLATE_NOOP(
    "device",
    "Обновление прошивки прервано. В приборе может остаться неполная прошивка, и он может не "
    "работать как обычно. Не отключайте прибор и повторите обновление тем же файлом прошивки.")};
inline constexpr TUserText FirmwareWrongDeviceText{
    QT_TRANSLATE_NOOP("device", "Прошивка не для этого приюбора!!!")};
// Followed by the file's name.
inline constexpr TUserText FileSavedText{QT_TRANSLATE_NOOP("device", "Файл сохранен: ")};

// An instrument whose model the program does not know (none: it named no
// model): shown, never written to.
inline QString UnknownModelText(std::optional<std::uint16_t> reported) {
    return reported
               ? QCoreApplication::translate("device", "неизвестная модель %1").arg(*reported)
               : QCoreApplication::translate("device", "неизвестная модель (прибор ее не назвал)");
}
inline QString UnknownModelReadOnlyText(std::optional<std::uint16_t> reported) {
    return QCoreApplication::translate("device", "%1, только чтение")
        .arg(UnknownModelText(reported));
}
inline QString UnknownModelWriteRefusedText(std::optional<std::uint16_t> reported) {
    return QCoreApplication::translate(
               "device",
               "Запись запрещена: %1. Программа не знает настроек этого прибора, ничего не "
               "записано")
        .arg(UnknownModelText(reported));
}
inline QString UnknownModelFirmwareQuestion(std::optional<std::uint16_t> reported) {
    return QCoreApplication::translate(
               "device",
               "Программа не знает этот прибор (%1). Прошивка может ему не подойти, и прибор "
               "перестанет работать.\nВсе равно обновить прошивку?")
        .arg(UnknownModelText(reported));
}

// A folder named for the files that does not exist; `reason` says why, when
// the system told.
inline QString NoFolderText(const QString& shownPath, const QString& reason = {}) {
    return reason.isEmpty()
               ? QCoreApplication::translate("device", "Нет папки: %1").arg(shownPath)
               : QCoreApplication::translate("device", "Нет папки: %1 (%2)").arg(shownPath, reason);
}
inline QString FolderNotMadeText(const QString& shownPath) {
    return QCoreApplication::translate("device", "Не удалось создать папку \"%1\"").arg(shownPath);
}
// The logbook window's title, also in a build without the logbook.
inline QString LogbookTitle() { return QCoreApplication::translate("device", "Журнал полётов"); }
// The window program and the command line of a build without the logbook.
inline QString LogbookNotBuiltText() {
    return QCoreApplication::translate("device",
                                       "Журнал полётов не включён в эту сборку программы");
}

// Readers of track files and the commands that draw or convert them.
inline QString TrackFileTooLargeText(const QString& shownPath) {
    return QCoreApplication::translate("device", "Файл \"%1\" слишком велик для трека")
        .arg(shownPath);
}
inline QString NoTrackPointsText(const QString& shownPath) {
    return QCoreApplication::translate("device", "В файле \"%1\" нет точек трека").arg(shownPath);
}

}  // namespace device
