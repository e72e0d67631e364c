#include "app/SetupAPI.h"

#include <QSettings>

namespace app {

QString ReadSetting(const QString& name, const QString& defaultValue) {
    QSettings store(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg"));
    const QString value = store.value(name).toString();
    if (!value.isEmpty()) return value;
    store.setValue(name, defaultValue);
    return defaultValue;
}

void WriteSetting(const QString& name, const QString& value) {
    QSettings store(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg"));
    store.setValue(name, value);
}

}  // namespace app
