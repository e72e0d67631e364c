#pragma once
// The terminal the command-line tool writes to.

namespace app {

// Makes the tool's UTF-8 output readable in its terminal: on Windows the
// console's output code page becomes UTF-8 (a console otherwise shows the
// Russian texts as the ANSI code page's letters); elsewhere nothing to do.
void SetUpConsole();

}  // namespace app
