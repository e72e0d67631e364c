#pragma once
// Every message box, question and file choice of the program goes through
// TDialogs. The windows reach it from any floor without knowing how it is
// shown: the window program installs modal boxes at start, the command line
// keeps the terminal one, and tests install one that answers at once and
// remembers what it was shown.
#include <QString>

class QDialog;
class QWidget;

namespace device {

enum class TMessageKind { Plain, Information, Warning, Error };

class TDialogs {
  public:
    virtual ~TDialogs() = default;
    // A modal box with one OK button.
    virtual void Message(QWidget* parent, TMessageKind kind, const QString& title,
                         const QString& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool Ask(QWidget* parent, TMessageKind kind, const QString& title,
                     const QString& text) = 0;
    // The chosen file or folder, or empty when the user cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& folder, const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& folder, const QString& filter) = 0;
    virtual QString FolderName(QWidget* parent, const QString& folder) = 0;
    // Shows a dialog modally.
    virtual void Exec(QDialog* dialog) = 0;
};

// The implementation in use.
TDialogs& Dialogs();
// Replaces it (not owned); nullptr restores the terminal one, which prints
// messages to the standard error, answers No and chooses nothing.
void SetDialogs(TDialogs* dialogs);

// The application's error handler: the text in an error box; the program
// goes on.
void ShowError(const QString& text);

}  // namespace device
