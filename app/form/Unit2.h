#pragma once

#include "app/desktop/platform.h"

#include <QStringList>
#include <QWidget>

namespace pagelark {

class ClickableTextView;

// The About window: a small tool window over the main window whose text
// hides it again when clicked.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    TForm2(Platform& platform, QWidget* mainWindow);

    ClickableTextView* Memo1;

    void Memo1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Platform& platform_;
};

}  // namespace pagelark
