#pragma once
// A failure the user must be told about: a file that cannot be read or
// written, a configuration file that does not hold together. Loaders and
// writers throw it with a Russian text that names the file and the reason;
// the window action that called them shows the text in an error box (the
// application's error handler does the same for one that escapes), and the
// program goes on. The command line prints it and exits.
#include <QString>
#include <stdexcept>

namespace device {

class TAppError : public std::runtime_error {
  public:
    explicit TAppError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& Text() const { return text_; }

  private:
    QString text_;
};

}  // namespace device
