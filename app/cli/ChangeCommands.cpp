#include "app/cli/ChangeCommands.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <cstdio>

#include "app/Console.h"
#include "app/cli/CliSession.h"
#include "models/DeviceConfig.h"

namespace cli {

namespace {
const QLatin1String kSetTimeZone("set-timezone");

// "3", "+3", "-5", "UTC-5"; the hours, or none.
std::optional<int> ParseHours(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(?:UTC)?([+-]?\\d{1,3})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toInt();
}
}  // namespace

bool ConfirmChange(TCliSession& session, const QString& text, bool yes) {
    return ConfirmChange([&session](const QString& line) { session.Print(line); },
                         [&session](const QString& line) { session.Fail(line); }, text, yes);
}

bool ConfirmChange(const TLineWriter& print, const TLineWriter& fail, const QString& text,
                   bool yes) {
    for (const QString& line : text.split(QLatin1Char('\n'))) print(line);
    if (yes) {
        print(QCoreApplication::translate("cli", "Ответ: да (--yes)"));
        return true;
    }
    if (isatty(fileno(stdin)) == 0) {
        fail(QCoreApplication::translate("cli",
                                         "Некому ответить: стандартный ввод не терминал. Чтобы "
                                         "подтвердить изменение, добавьте --yes"));
        return false;
    }
    std::fputs(QCoreApplication::translate("cli", "[да/нет]: ").toUtf8().constData(), stdout);
    std::fflush(stdout);
    char line[64] = {};
    if (std::fgets(line, sizeof line, stdin) == nullptr) return false;
    // Anything but a yes keeps the instrument as it is.
    return app::ConsoleAnswer(QByteArray(line), app::ConsoleInputCodePage()).value_or(false);
}

QStringList WithTimeZoneHoursKept(QStringList arguments) {
    static const QRegularExpression negative(QStringLiteral("^-\\d+$"));
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == kSetTimeZone && negative.match(arguments[i + 1]).hasMatch())
            arguments[i + 1].prepend(QStringLiteral("UTC"));
    return arguments;
}

std::optional<flow::TOutcome> CheckChangeCommand(const QStringList& args) {
    if (args.size() < 2 || args[1] != kSetTimeZone) return std::nullopt;
    const std::optional<int> hours = args.size() == 3 ? ParseHours(args[2]) : std::nullopt;
    if (hours && models::TimeZoneSettable(*hours)) return std::nullopt;
    return UsageError(
        QCoreApplication::translate(
            "cli", "Часовой пояс: целое число часов от %1 до +%2 (например 3, -5, +14).")
            .arg(models::MinTimeZoneHours)
            .arg(models::MaxTimeZoneHours));
}

std::optional<flow::TOutcome> RunChangeCommand(TCliSession& session, const QStringList& args,
                                               bool yes) {
    if (args.size() < 2 || args[1] != kSetTimeZone) return std::nullopt;
    if (const std::optional<flow::TOutcome> refused = CheckChangeCommand(args)) return refused;
    return session.SetTimeZone(*ParseHours(args[2]), yes);
}

}  // namespace cli
