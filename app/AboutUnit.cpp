#include "app/AboutUnit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <cmath>
#include <memory>

#include "device/Dialogs.h"

namespace app {

namespace {
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kIconSize = 32;

// A raised line along the top edge.
class TBevel : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(0, 0, width() - 1, 0);
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(0, 1, width() - 1, 1);
    }
};

// The value up to its last dot; empty when it has none.
QString WithoutLastPart(const QString& version) {
    const int dot = version.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : version.left(dot);
}
}  // namespace

bool TVersionInfo::IsEmpty() const {
    return productName.isEmpty() && fileVersion.isEmpty() && companyName.isEmpty() &&
           author.isEmpty();
}

QDialog* BuildAboutBox(const TVersionInfo& info, QWidget* parent) {
    auto dialog = std::make_unique<QDialog>(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setWindowTitle(QCoreApplication::translate("app", "О программе: ") +
                           QCoreApplication::applicationName());

    auto* icon = new QLabel(dialog.get());
    icon->setObjectName(QStringLiteral("imgIcon"));
    const QPixmap pixmap = QApplication::windowIcon().pixmap(kIconSize, kIconSize);
    icon->setPixmap(pixmap);
    icon->setGeometry(10, 10, pixmap.isNull() ? kIconSize : pixmap.width(),
                      pixmap.isNull() ? kIconSize : pixmap.height());
    const int x = icon->x() + icon->width() + 10;

    QWidget* last = icon;
    std::vector<QLabel*> labels;
    const auto add = [&](const char* name, const QString& text, bool first) {
        auto* label = new QLabel(text, dialog.get());
        label->setObjectName(QLatin1String(name));
        if (first) {
            QFont font = label->font();
            font.setPointSize(10);
            font.setBold(true);
            label->setFont(font);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
            label->setPalette(palette);
        }
        label->adjustSize();
        label->move(x, first ? icon->y() : last->y() + last->height() + 5);
        last = label;
        labels.push_back(label);
    };
    if (!info.productName.isEmpty()) add("lblProduct", info.productName, true);
    if (!info.fileVersion.isEmpty())
        add("lblVersion",
            QCoreApplication::translate("app", "Версия: ") + WithoutLastPart(info.fileVersion),
            false);
    if (!info.companyName.isEmpty())
        add("lblCompany", QCoreApplication::translate("app", "Компания: ") + info.companyName,
            false);
    if (!info.author.isEmpty())
        add("lblAuthor", QCoreApplication::translate("app", "Автор: ") + info.author, false);

    const int height = last->y() + last->height() + 85;
    int width = 10;
    for (const QLabel* label : labels) width = std::max(width, label->x() + label->width() + 20);

    auto* ok = new QPushButton(QStringLiteral("Ok"), dialog.get());
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setCursor(Qt::PointingHandCursor);
    ok->setDefault(true);
    ok->setGeometry(static_cast<int>(std::nearbyint(width / 2.0 - kButtonWidth / 2.0)), height - 60,
                    kButtonWidth, kButtonHeight);
    QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);

    const int clientWidth = std::max(1, width - 2 * AboutFrameSide);
    const int clientHeight = height - AboutFrameTop - AboutFrameBottom;
    auto* bevel = new TBevel(dialog.get());
    bevel->setObjectName(QStringLiteral("bvlBottom"));
    bevel->setGeometry(0, clientHeight - (kButtonHeight + 20), clientWidth, kButtonHeight + 20);
    bevel->lower();

    dialog->setFixedSize(clientWidth, clientHeight);
    dialog->setProperty("outerSize", QSize(width, height));
    return dialog.release();
}

void ShowAboutBox(QWidget* parent, const TVersionInfo& info) {
    if (info.IsEmpty()) return;
    std::unique_ptr<QDialog> box(BuildAboutBox(info, parent));
    if (const QScreen* screen = box->screen()) {
        const QRect area = screen->availableGeometry();
        box->move(area.center() - QPoint(box->width() / 2, box->height() / 2));
    }
    device::Dialogs().Exec(box.get());
}

}  // namespace app
