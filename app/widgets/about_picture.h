#pragma once

#include "app/widgets/single_clicks.h"

#include <QImage>
#include <QWidget>

namespace pagelark {

// The 32 x 32 picture that opens the About window: a lark on a summer sky.
// Its two leftmost and two rightmost pixel columns are transparent, so what
// lies beneath shows through there; every other pixel is opaque.
class AboutPicture : public QWidget {
    Q_OBJECT

public:
    explicit AboutPicture(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    SingleClicks clicks_;
    QImage image_;
};

// The picture itself, drawn pixel by pixel.
QImage larkImage();

}  // namespace pagelark
