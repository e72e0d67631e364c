#pragma once
// The command line's changes to the instrument: the question asked before
// each (answered by --yes, or by the user on a terminal) and the commands
// that change one setting.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "flow/Outcome.h"

namespace cli {

class TCliSession;

// Prints `text` (what will change and the question) and answers it: yes
// with `yes`, the user's answer when the standard input is a terminal, and
// otherwise no, saying how to answer.
bool ConfirmChange(TCliSession& session, const QString& text, bool yes);
// The same for a command without a session: `print` writes a line to the
// standard output, `fail` to the standard error.
using TLineWriter = std::function<void(const QString&)>;
bool ConfirmChange(const TLineWriter& print, const TLineWriter& fail, const QString& text,
                   bool yes);

// The arguments as the option parser must see them: the hours of
// "set-timezone -5" would read as an option, so they become "UTC-5".
QStringList WithTimeZoneHoursKept(QStringList arguments);

// The usage error of a change command's arguments, before anything is
// opened; nothing when they are sound or the command is another.
std::optional<flow::TOutcome> CheckChangeCommand(const QStringList& args);
// Runs "PORT set-timezone H" (args without the options); nothing when the
// command is another.
std::optional<flow::TOutcome> RunChangeCommand(TCliSession& session, const QStringList& args,
                                               bool yes);

}  // namespace cli
