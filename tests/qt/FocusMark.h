#pragma once

// How a control shows that it has the keyboard focus, read from its pixels: drawn without the
// focus and with it, the pixels that change and how far they stand out from what they were.

#include <QColor>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace focusmark {

// The relative luminance of a colour, as the contrast ratio of WCAG 2 reads it.
inline double Luminance(const QColor& colour) {
    auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

inline double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The pixels of `widget` that change by a contrast of at least 3:1 when it takes the focus
// (by Tab, as a keyboard player brings it). A visible mark changes some tens at least.
inline int MarkedPixels(QWidget* widget) {
    widget->clearFocus();
    const QImage before = widget->grab().toImage();
    widget->setFocus(Qt::TabFocusReason);
    const QImage after = widget->grab().toImage();
    int marked = 0;
    for (int y = 0; y < std::min(before.height(), after.height()); ++y)
        for (int x = 0; x < std::min(before.width(), after.width()); ++x)
            if (Contrast(before.pixelColor(x, y), after.pixelColor(x, y)) >= 3.0) ++marked;
    return marked;
}

// Enough changed pixels to see: a one-pixel outline round a row, a label or a button's face.
inline constexpr int kVisibleMark = 40;

}  // namespace focusmark
