#pragma once

#include <QProxyStyle>

// Where the keyboard is, on every control that takes the focus: a rectangle of one pixel in the
// control's own text colour, inside a focused button (black or navy on the grey face), around a
// focused check box's or radio button's label, and round a list's current row (aqua or yellow
// on black, and on the navy of a selected row). Each is far above 3:1 against what it lies on;
// the application's style drew these in a shade of its highlight (a list's row #00000D on
// black) or, on a flat button, not at all. Drawn whatever moved the focus, click or key.
class FocusMarkStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    // A push button's mark: the application's style draws its own (a shade of the highlight
    // round the face), none on a flat button; this one is drawn over it.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

    // Puts the style over the application's own, once; every window's constructor asks.
    static void Install();
    // The colour of the mark on `widget` drawn with `option`'s palette.
    static QColor MarkColour(const QStyleOption& option, const QWidget* widget);
};
