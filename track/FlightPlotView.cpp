#include "track/FlightPlotView.h"

#include <QPainter>
#include <QResizeEvent>

namespace track {

TFlightPlotView::TFlightPlotView(QWidget* parent)
    : QWidget(parent), placeholder_(tr("Здесь будет рисунок полета после скачивания трека")) {
    setObjectName(QStringLiteral("imgFlight"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 100);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TFlightPlotView::SetPlaceholder(const QString& text) {
    placeholder_ = text;
    update();
}

void TFlightPlotView::SetImage(const QImage& image) {
    image_ = image;
    update();
}

void TFlightPlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (image_.isNull()) {
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         placeholder_);
        return;
    }
    // A picture drawn for another size (a resize, or a size below the
    // smallest the picture allows) is scaled until its redraw arrives.
    const QSizeF fitted = QSizeF(image_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QRectF target((width() - fitted.width()) / 2, (height() - fitted.height()) / 2,
                        fitted.width(), fitted.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image_);
}

void TFlightPlotView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Q_EMIT Resized();
}

}  // namespace track
