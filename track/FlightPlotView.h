#pragma once
// The picture of a downloaded flight on the track page: shows an image drawn
// elsewhere (off the interface thread), scaled to fit, and says when its size
// changed so that a picture of the new size can be drawn.
#include <QImage>
#include <QString>
#include <QWidget>

namespace track {

class TFlightPlotView : public QWidget {
    Q_OBJECT
  public:
    explicit TFlightPlotView(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    // What the view says while it has no picture.
    void SetPlaceholder(const QString& text);
    const QImage& Image() const { return image_; }

  Q_SIGNALS:
    void Resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QImage image_;
    QString placeholder_;
};

}  // namespace track
