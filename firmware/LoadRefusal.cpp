#include <QCoreApplication>

#include "firmware/FirmwareImage.h"

namespace firmware {

QString LoadRefusalText(const LoadOutcome& outcome) {
    switch (outcome.result) {
        case LoadResult::Ok:
            return {};
        case LoadResult::CannotOpen:
            return outcome.systemReason;
        case LoadResult::Empty:
            return QCoreApplication::translate("firmware",
                                               "Файл прошивки пуст: передавать прибору нечего");
        case LoadResult::NotHex:
            return QCoreApplication::translate("firmware", "Файл не найден");
        case LoadResult::TooLarge:
            return QCoreApplication::translate("firmware",
                                               "Образ прошивки не помещается в буфер передачи");
        case LoadResult::BrokenChain:
            return QCoreApplication::translate(
                "firmware", "Файл прошивки поврежден: блоки не заканчиваются вместе с образом");
    }
    return {};
}

}  // namespace firmware
