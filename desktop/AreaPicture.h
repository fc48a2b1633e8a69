#pragma once

#include "desktop/SvgPicture.h"
#include "ui/Commands.h"

// An area's picture as a control a keyboard and a screen reader can use: reached by Tab,
// chosen with Enter or Space (as a click), the arrow keys step to the neighbouring area, and
// it reads as a radio button named by its area, checked while the area is the current one.
class AreaPicture : public SvgPicture {
    Q_OBJECT

public:
    AreaPicture(const QString& path, QWidget* parent);

    void setChosen(bool chosen);
    bool isChosen() const { return chosen_; }

signals:
    // An arrow key, which the window logic turns into the area it leads to.
    void arrowed(TArrow arrow);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool chosen_ = false;
};
