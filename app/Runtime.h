#pragma once
// What the programs set in their runtime before anything else runs, one file
// per platform (RuntimePosix.cpp, RuntimeWin.cpp), chosen by the build.

namespace app {

// Called first in main(), by the window program and the command-line tool.
void SetUpRuntime();

}  // namespace app
