#pragma once

#include "pictures/palette.h"

#include <QWidget>

namespace pagelark {

// A filled circle with a black outline; its brush colour is a packed colour.
class CircleShape : public QWidget {
    Q_OBJECT

public:
    explicit CircleShape(QWidget* parent = nullptr);

    PackedColor brushColor() const { return brushColor_; }
    void setBrushColor(PackedColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PackedColor brushColor_ = packColor(255, 255, 255);
};

}  // namespace pagelark
