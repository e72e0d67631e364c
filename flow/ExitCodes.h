#pragma once
// The exit statuses of the programs, for scripts that run them. The command
// line tool's help and manual page list them.

#include <QtGlobal>

namespace flow {

enum TExitCode : int {
    EC_OK = 0,
    EC_FAILED = 1,          // none of the reasons below
    EC_USAGE = 2,           // unknown option, missing or malformed argument
    EC_PORT = 3,            // the port cannot be opened
    EC_NO_LINK = 4,         // the instrument does not answer, or answers garbled
    EC_REFUSED = 5,         // the instrument refused the request
    EC_BAD_FILE = 6,        // a file to read is missing, damaged or not for this program
    EC_WRITE_CHECK = 7,     // a file could not be written, or its check failed
    EC_MODEL_MISMATCH = 8,  // settings of another model: nothing was written
    EC_READ_BACK = 9,       // written, but the settings read back differ
    EC_OUTPUT = 10,         // the standard output or the transcript was not written in full
    EC_LOGBOOK = 11,        // the logbook cannot be used (damaged, newer, or not built)
    EC_NOT_CONFIRMED = 12,  // a change to the instrument was not confirmed: nothing changed
    EC_UNKNOWN_MODEL = 13,  // the instrument's model is unknown: nothing was written
    EC_CHANGED = 14,        // the instrument's settings changed after the question: none written
};

struct TExitCodeText {
    TExitCode code;
    const char* meaning;  // UTF-8, translated in the context "flow"
};

// In the order of the codes; the help of tolmarik-cli prints it.
inline constexpr TExitCodeText kExitCodeTexts[] = {
    {EC_OK, QT_TRANSLATE_NOOP("flow", "успех")},
    {EC_FAILED, QT_TRANSLATE_NOOP("flow", "другая ошибка (например, у полёта нет трека)")},
    {EC_USAGE, QT_TRANSLATE_NOOP(
                   "flow", "ошибка вызова: неизвестная команда или параметр, неверный аргумент")},
    {EC_PORT, QT_TRANSLATE_NOOP("flow", "порт не открывается")},
    {EC_NO_LINK, QT_TRANSLATE_NOOP("flow", "нет связи: прибор не отвечает или его ответ искажён")},
    {EC_REFUSED, QT_TRANSLATE_NOOP("flow", "прибор отказал в запросе")},
    {EC_BAD_FILE,
     QT_TRANSLATE_NOOP(
         "flow",
         "плохой входной файл: нет его, повреждён или для модели, которой программа не знает")},
    {EC_WRITE_CHECK, QT_TRANSLATE_NOOP("flow", "выходной файл не записан или не прошёл проверку")},
    {EC_MODEL_MISMATCH,
     QT_TRANSLATE_NOOP("flow", "настройки для другой модели, чем у прибора; ничего не записано")},
    {EC_READ_BACK,
     QT_TRANSLATE_NOOP("flow", "настройки, считанные после записи, отличаются от записанных")},
    {EC_OUTPUT,
     QT_TRANSLATE_NOOP("flow", "стандартный вывод или протокол обмена записан не полностью")},
    {EC_LOGBOOK,
     QT_TRANSLATE_NOOP(
         "flow",
         "журнал полётов недоступен: повреждён, от более новой версии или не включён в сборку")},
    {EC_NOT_CONFIRMED, QT_TRANSLATE_NOOP("flow",
                                         "изменение в приборе не подтверждено (ответ \"нет\" или "
                                         "некого спросить и нет --yes); ничего не изменено")},
    {EC_UNKNOWN_MODEL,
     QT_TRANSLATE_NOOP(
         "flow",
         "модель прибора неизвестна программе: он только считывается, в него ничего не пишется")},
    {EC_CHANGED, QT_TRANSLATE_NOOP(
                     "flow", "настройки прибора изменились, пока программа ждала ответа; ничего не записано")},
};

}  // namespace flow
