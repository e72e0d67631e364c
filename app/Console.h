#pragma once
// The terminal the command-line tool writes to and reads its answers from.
#include <QByteArray>
#include <optional>

namespace app {

// Makes the tool's UTF-8 output readable in its terminal: on Windows the
// console's output code page becomes UTF-8 (a console otherwise shows the
// Russian texts as the ANSI code page's letters); elsewhere nothing to do.
void SetUpConsole();

// The code page the terminal's input comes in: the console's input code page
// on Windows (866 on a Russian system, 1251 or 65001 when changed); UTF-8
// (65001) elsewhere.
unsigned ConsoleInputCodePage();

// The answer in a line typed at the terminal, as bytes in `codePage`: true
// for "да", "д", "y", "yes", false for "нет", "н", "n", "no" (any case,
// spaces and the line's end around them), nothing for anything else. Code
// pages 866, 1251 and 65001 are read in full; in others only ASCII letters.
std::optional<bool> ConsoleAnswer(const QByteArray& line, unsigned codePage);

}  // namespace app
