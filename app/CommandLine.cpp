#include "app/CommandLine.h"

#include <QCoreApplication>
#include <cstdio>

#include "app/BuildInfo.h"
#include "flow/Outcome.h"

namespace app {

namespace {
// The toolkit's own options that take the next argument as their value.
bool ToolkitOptionTakesValue(const QString& option) {
    static const QStringList kWithValue{
        "-platform",    "-platformpluginpath", "-platformtheme", "-plugin",  "-qwindowgeometry",
        "-qwindowicon", "-qwindowtitle",       "-session",       "-display", "-geometry",
        "-style",       "-stylesheet",         "-title",         "-name"};
    return kWithValue.contains(option);
}

// "--NAME VALUE" or "--NAME=VALUE" at `i`: true when it is that option, with
// `i` moved past its value; a missing or empty value leaves `value` empty.
bool OptionWithValue(const QStringList& arguments, int& i, const QString& name, QString& value) {
    const QString& a = arguments[i];
    if (a == name) {
        value = i + 1 < arguments.size() ? arguments[++i] : QString();
        return true;
    }
    if (a.startsWith(name + QLatin1Char('='))) {
        value = a.mid(name.size() + 1);
        return true;
    }
    return false;
}

TCommandLine::FileKind KindOfFile(const QString& name) {
    if (name.endsWith(QLatin1String(".bcf"), Qt::CaseInsensitive))
        return TCommandLine::SettingsFile;
    if (name.endsWith(QLatin1String(".igc"), Qt::CaseInsensitive) ||
        name.endsWith(QLatin1String(".gpx"), Qt::CaseInsensitive))
        return TCommandLine::FlightFile;
    return TCommandLine::NoFile;
}

TCommandLine Refused(const QString& error) {
    TCommandLine line;
    line.action = TCommandLine::Refuse;
    line.error = error;
    return line;
}
}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
    TCommandLine line;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        // A value is never an option: "--port -h" names a port.
        if (a == QLatin1String("--port") || a == QLatin1String("--transcript") ||
            ToolkitOptionTakesValue(a)) {
            ++i;
            continue;
        }
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            line.action = TCommandLine::ShowHelp;
            return line;
        }
        if (a == QLatin1String("-v") || a == QLatin1String("--version")) {
            line.action = TCommandLine::ShowVersion;
            return line;
        }
    }
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (OptionWithValue(arguments, i, QStringLiteral("--port"), line.port)) {
            if (line.port.isEmpty())
                return Refused(
                    QCoreApplication::translate("app", "--port: нужно имя порта или путь"));
        } else if (OptionWithValue(arguments, i, QStringLiteral("--transcript"), line.transcript)) {
            if (line.transcript.isEmpty())
                return Refused(QCoreApplication::translate("app", "--transcript: нужно имя файла"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return Refused(QCoreApplication::translate("app", "неизвестный параметр %1").arg(a));
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            if (ToolkitOptionTakesValue(a)) ++i;
        } else if (!line.file.isEmpty()) {
            return Refused(QCoreApplication::translate(
                               "app", "открыть можно только один файл, указаны %1 и %2")
                               .arg(line.file, a));
        } else if (const TCommandLine::FileKind kind = KindOfFile(a);
                   kind != TCommandLine::NoFile) {
            line.file = a;
            line.fileKind = kind;
        } else {
            return Refused(QCoreApplication::translate(
                               "app", "%1 не файл настроек (.bcf) и не полёт (.igc, .gpx)")
                               .arg(a));
        }
    }
    return line;
}

QString CommandLineHelp() {
    return QCoreApplication::translate(
               "app",
               "Использование: %1 [--port ПОРТ] [ФАЙЛ]\n"
               "Настраивает GPS-приборы Tolmarik для полётов: считывает и записывает их\n"
               "настройки, показывает статистику полёта, скачивает треки, обновляет прошивку.\n"
               "\n"
               "ФАЙЛ: файл настроек (.bcf), который откроется, как из меню «Файл», или\n"
               "полёт (.igc, .gpx), который попадёт в журнал и откроется там.\n"
               "\n"
               "Параметры:\n"
               "  -h, --help       Показать эту справку и выйти.\n"
               "  -v, --version    Показать версию и выйти.\n"
               "  --port ПОРТ      Взять ПОРТ в этот раз, не запоминая его\n"
               "                   (имя, например ttyUSB0, или путь, например /dev/pts/3).\n"
               "  --transcript ФАЙЛ  Дописывать в ФАЙЛ каждый байт, посланный прибору\n"
               "                   и полученный от него, со временем (для сообщения об ошибке).\n"
               "\n"
               "Параметры библиотеки Qt (например -platform, -style) передаются ей.\n")
        .arg(QStringLiteral(TOLMARIK_PRODUCT_NAME));
}

int AnswerCommandLine(const TCommandLine& line) {
    switch (line.action) {
        case TCommandLine::ShowHelp:
            std::fputs(CommandLineHelp().toLocal8Bit().constData(), stdout);
            return flow::ExitStatusOf(flow::TOutcome::Done);
        case TCommandLine::ShowVersion:
            std::printf("%s %s\n", TOLMARIK_PRODUCT_NAME, qPrintable(ProgramVersion()));
            return flow::ExitStatusOf(flow::TOutcome::Done);
        case TCommandLine::Refuse:
            std::fprintf(stderr, "%s\n",
                         QCoreApplication::translate("app", "%1: %2; см. --help")
                             .arg(QStringLiteral(TOLMARIK_PRODUCT_NAME), line.error)
                             .toLocal8Bit()
                             .constData());
            return flow::ExitStatusOf(flow::TOutcome::BadUsage);
        case TCommandLine::Run:
            break;
    }
    return flow::ExitStatusOf(flow::TOutcome::Done);
}

}  // namespace app
