#pragma once

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <string>

#include "desktop/PanelWidget.h"
#include "ui/DisplayText.h"

// Small helpers shared by the side windows (splash, agreement, rules, chooser, police): the
// fixed fonts and colours of their layouts, and the line breaks of the window logic's texts.
namespace sidewindows {

inline const QColor kNavy{0x00, 0x00, 0x80};
inline const QColor kTeal{0x00, 0x80, 0x80};
inline const QColor kMaroon{0x80, 0x00, 0x00};
inline const QColor kGreen{0x00, 0x80, 0x00};
inline const QColor kRed{0xFF, 0x00, 0x00};
inline const QColor kSilver{0xC0, 0xC0, 0xC0};
inline const QColor kButtonFace{0xD4, 0xD0, 0xC8};

// Sizes are in pixels so the fixed layouts hold at any screen resolution setting.
inline QFont PixelFont(const QString& family, int pixels, bool bold = false, bool italic = false,
                       bool underline = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

// The text colour of labels and buttons alike.
inline void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

inline void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A text of the window logic with its line breaks as Qt draws them.
inline QString DisplayText(const std::string& text) {
    return QString::fromStdString(displaytext::WithLineFeeds(text));
}

// A caption without its mnemonic marker, as a screen reader should say it.
inline QString PlainCaption(const QString& caption) {
    return QString::fromStdString(displaytext::PlainCaption(caption.toStdString()));
}

inline void Name(QWidget* widget, const char* objectName, const QString& accessibleName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setAccessibleName(PlainCaption(accessibleName));
}

inline QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& text,
                         const QRect& geometry, const QFont& font, const QColor& colour,
                         Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop,
                         bool wordWrap = false) {
    auto* label = new QLabel(text, parent);
    // No accessible name: a screen reader reads the label as the text it shows, and follows it.
    label->setObjectName(QString::fromLatin1(objectName));
    label->setGeometry(geometry);
    label->setFont(font);
    SetTextColour(label, colour);
    label->setAlignment(alignment);
    label->setWordWrap(wordWrap);
    return label;
}

// A one-line label grows to show its whole text, as labels sized to their text do: the
// layouts' widths were measured with another renderer of the same fonts. A right-aligned
// label keeps its right edge.
inline void GrowToText(QLabel* label) {
    const int needed = label->sizeHint().width();
    if (needed <= label->width()) return;
    QRect geometry = label->geometry();
    if (label->alignment() & Qt::AlignRight) {
        geometry.setLeft(geometry.right() + 1 - needed);
    } else {
        geometry.setWidth(needed);
    }
    label->setGeometry(geometry);
}

// Centres a fixed-size window on the primary screen. Placed before it is first shown, so the
// toolkit's own guess (which allows for a frame these windows may not have) does not apply.
inline void CentreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame(QPoint(0, 0), window->size());
    frame.moveCenter(screen->geometry().center());
    window->move(frame.topLeft());
}

// Where a window that lays itself out opens in `room` (a screen's free area): at `preferred`
// size, or smaller where there is less room (a 1024 x 600 netbook, less its panels and the
// window's own frame) though never below `minimum`, centred.
inline QRect FittedGeometry(QSize preferred, QSize minimum, const QRect& room) {
    // The window manager's frame and title bar, as far as they are known before it is shown.
    const QSize frame(16, 40);
    const QSize size = preferred.boundedTo(room.size() - frame).expandedTo(minimum);
    QRect placed(QPoint(0, 0), size + frame);
    placed.moveCenter(room.center());
    return {QPoint(std::max(placed.left(), room.left()), std::max(placed.top(), room.top())), size};
}

inline void FitToScreen(QWidget* window, QSize preferred) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(preferred);
        return;
    }
    const QRect place =
        FittedGeometry(preferred, window->minimumSizeHint(), screen->availableGeometry());
    window->resize(place.size());
    window->move(place.topLeft());
}

// A panel at its place, in the button-face colour unless the look says otherwise.
// The frame that fills a side window: a lowered inner bevel inside a three-pixel border with
// a single border line.
inline PanelWidget::Look WindowFrameLook(const QColor& colour = QColor()) {
    PanelWidget::Look look;
    look.inner = PanelWidget::Bevel::Lowered;
    look.borderWidth = 3;
    look.clientEdge = true;
    look.colour = colour;
    return look;
}

inline PanelWidget* MakePanel(QWidget* parent, const char* objectName, PanelWidget::Look look,
                              const QRect& geometry) {
    if (!look.colour.isValid()) look.colour = kButtonFace;
    auto* panel = new PanelWidget(look, parent);
    panel->setObjectName(QString::fromLatin1(objectName));  // never shown to the player
    panel->setGeometry(geometry);
    return panel;
}

// The place for the children of a panel with a client edge: the layouts measure their
// positions from inside that two-pixel edge.
inline QWidget* ClientArea(PanelWidget* panel) {
    auto* area = new QWidget(panel);
    area->setObjectName(panel->objectName() + QStringLiteral("Client"));
    area->setGeometry(panel->rect().adjusted(2, 2, -2, -2));
    return area;
}

// The buttons' glyphs are SVG pictures; Qt derives the disabled look from the same picture.
inline QIcon Glyph(const char* name) {
    return QIcon(QStringLiteral(":/glyphs/%1.svg").arg(QLatin1String(name)));
}

}  // namespace sidewindows
