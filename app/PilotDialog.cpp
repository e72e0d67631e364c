#include "app/PilotDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/SetupAPI.h"
#include "device/Dialogs.h"

namespace app {

namespace {
QLineEdit* Field(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(80);
    return edit;
}
}  // namespace

TFormPilot::TFormPilot(const track::TPilotProfile& profile, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormPilot"));
    setWindowTitle(tr("Пилот"));
    edtPilot = Field(this, "edtPilot", profile.pilot);
    edtGliderType = Field(this, "edtGliderType", profile.gliderType);
    edtGliderId = Field(this, "edtGliderId", profile.gliderId);
    edtCivlId = Field(this, "edtCivlId", profile.civlId);
    edtCompetitionId = Field(this, "edtCompetitionId", profile.competitionId);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Имя пилота:"), edtPilot);
    form->addRow(tr("Модель крыла:"), edtGliderType);
    form->addRow(tr("Номер крыла:"), edtGliderId);
    form->addRow(QStringLiteral("CIVL ID:"), edtCivlId);
    form->addRow(tr("Соревновательный номер:"), edtCompetitionId);
    auto* note = new QLabel(
        tr("Записывается в каждый новый файл IGC (русские буквы - латиницей) и в журнал."), this);
    note->setWordWrap(true);
    form->addRow(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

track::TPilotProfile TFormPilot::Profile() const {
    return {edtPilot->text().trimmed(), edtGliderType->text().trimmed(),
            edtGliderId->text().trimmed(), edtCivlId->text().trimmed(),
            edtCompetitionId->text().trimmed()};
}

void EditPilotProfile(QWidget* parent) {
    TFormPilot dialog(ReadPilotProfile(), parent);
    device::Dialogs().Exec(&dialog);
    if (dialog.result() == QDialog::Accepted) WritePilotProfile(dialog.Profile());
}

}  // namespace app
