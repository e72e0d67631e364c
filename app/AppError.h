#pragma once
// A failure the user must be told about (a file that cannot be read or
// written, a configuration file that does not hold together). Actions let it
// propagate; the application's error handler shows its text in an error box
// and the program goes on.
#include <QString>
#include <stdexcept>

namespace app {

class TAppError : public std::runtime_error {
public:
    explicit TAppError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& Text() const { return text_; }

private:
    QString text_;
};

}  // namespace app
