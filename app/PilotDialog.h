#pragma once
// "Пилот...": the pilot's profile (name, glider type and id, CIVL id,
// competition id), kept per user and written into every new IGC file and
// logbook entry.
#include <QDialog>

#include "track/IgcExport.h"

class QLineEdit;

namespace app {

class TFormPilot : public QDialog {
    Q_OBJECT
  public:
    explicit TFormPilot(const track::TPilotProfile& profile, QWidget* parent = nullptr);
    track::TPilotProfile Profile() const;

  private:
    QLineEdit* edtPilot;
    QLineEdit* edtGliderType;
    QLineEdit* edtGliderId;
    QLineEdit* edtCivlId;
    QLineEdit* edtCompetitionId;
};

// Shows the dialog with the stored profile and stores what the pilot accepts.
void EditPilotProfile(QWidget* parent);

}  // namespace app
