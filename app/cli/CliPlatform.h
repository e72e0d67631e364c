#pragma once
// What tolmarik-cli needs from the operating system beyond Qt, one file per
// platform (CliPlatformPosix.cpp, CliPlatformWin.cpp), chosen by the build.
#include <QByteArray>
#include <QString>

namespace cli {

// A closed standard output (the reader of a pipe went away) shows as a
// failed write, which the program reports, instead of ending it unseen.
void IgnoreBrokenPipe();

// While one lives, a signal that ends the program from a terminal or a
// session (interrupt, terminate, hang-up) first prints `text` on the
// standard error; the program then ends as the signal would have it.
class TInterruptNotice {
  public:
    explicit TInterruptNotice(const QString& text);
    ~TInterruptNotice();
    TInterruptNotice(const TInterruptNotice&) = delete;
    TInterruptNotice& operator=(const TInterruptNotice&) = delete;
};

// Makes the folder named by the bytes `folder` the current one, a part at
// a time, so that a name that is not text in the system's encoding and a
// path longer than the system takes at once are reached too. False when
// any part cannot be entered.
bool EnterFolder(const QByteArray& folder);

// The system's reason for the last failed call of the C library.
QString LastSystemReason();

}  // namespace cli
