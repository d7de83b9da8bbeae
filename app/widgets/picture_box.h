#pragma once

#include "app/widgets/single_clicks.h"
#include "pictures/canvas.h"

#include <QWidget>

namespace pagelark {

// A picture on the window: shows its drawing surface pixel for pixel, and
// reports clicks and the pointer's position over it. The program draws into
// canvas() and calls update(); what it reads back is exactly what it drew.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    PictureBox(int width, int height, QWidget* parent = nullptr);

    Canvas& canvas() { return canvas_; }
    const Canvas& canvas() const { return canvas_; }

signals:
    void clicked();
    void mouseMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    SingleClicks clicks_;
    Canvas canvas_;
};

}  // namespace pagelark
