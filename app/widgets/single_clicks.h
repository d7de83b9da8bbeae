#pragma once

#include <QMouseEvent>
#include <QRect>

namespace pagelark {

// Tells the releases that end a click of their own. The toolkit reports a
// double click as press, release, double-click press, release; the window
// counts that as one click followed by a double click, so the release after
// the double-click press is no click.
class SingleClicks {
public:
    void noteDoubleClick() { afterDoubleClick_ = true; }

    // Whether this release ends a left-button click inside the area.
    bool isClick(const QMouseEvent* release, const QRect& area)
    {
        const bool secondHalf = afterDoubleClick_;
        afterDoubleClick_ = false;
        return !secondHalf && release->button() == Qt::LeftButton && area.contains(release->position().toPoint());
    }

private:
    bool afterDoubleClick_ = false;
};

}  // namespace pagelark
