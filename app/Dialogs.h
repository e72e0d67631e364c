#pragma once
// Every message box and file dialog of the program goes through TDialogs, so
// that tests can answer them and read their texts without a modal loop.
#include <QString>

class QDialog;
class QWidget;

namespace app {

enum class TMessageKind { Information, Error };

class TDialogs {
  public:
    virtual ~TDialogs() = default;
    // A modal box with one OK button.
    virtual void Message(QWidget* parent, TMessageKind kind, const QString& title,
                         const QString& text);
    // The chosen file, or empty when the user cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& folder, const QString& filter);
    virtual QString SaveFileName(QWidget* parent, const QString& folder, const QString& filter);
    // Shows a dialog modally.
    virtual void Exec(QDialog* dialog);
};

// The implementation in use.
TDialogs& Dialogs();
// Replaces it (not owned); nullptr restores the standard one.
void SetDialogs(TDialogs* dialogs);

// The application's error handler: the text in an error box; the program
// goes on.
void ShowError(const QString& text);

}  // namespace app
