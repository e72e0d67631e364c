#pragma once
// Dialogs that answer at once and remember what they were shown, for the
// window tests.
#include <QStringList>
#include <vector>

#include "device/Dialogs.h"

namespace testing {

struct TShownMessage {
    device::TMessageKind kind;
    QString title;
    QString text;
};

class TRecordingDialogs : public device::TDialogs {
  public:
    std::vector<TShownMessage> messages;
    std::vector<TShownMessage> questions;
    bool answer = false;      // the answer to every question
    QStringList openAnswers;  // taken in turn; empty = cancelled
    QStringList saveAnswers;
    QStringList folderAnswers;
    QString openFolder;
    QString openFilter;
    QString saveFolder;
    int executed = 0;

    void Message(QWidget*, device::TMessageKind kind, const QString& title,
                 const QString& text) override {
        messages.push_back({kind, title, text});
    }
    bool Ask(QWidget*, device::TMessageKind kind, const QString& title,
             const QString& text) override {
        questions.push_back({kind, title, text});
        return answer;
    }
    QString OpenFileName(QWidget*, const QString& folder, const QString& filter) override {
        openFolder = folder;
        openFilter = filter;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString& folder, const QString&) override {
        saveFolder = folder;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    QString FolderName(QWidget*, const QString&) override {
        return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
    }
    void Exec(QDialog*) override { ++executed; }
};

}  // namespace testing
