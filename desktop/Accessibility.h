#pragma once

class QWidget;

// What a screen reader gets from the program's own widgets, through Qt's accessibility
// interfaces (and so through AT-SPI on Linux):
// - a top-level window that is a plain widget (the splash) is a window named by its title;
// - a panel reads as its caption when it shows one and is a nameless pane otherwise, so its
//   internal name never reaches the player;
// - a widget marked decorative (a drop shadow drawn as a second copy of a text) is left out
//   of its parent's children, so the text is announced once.
// Labels, buttons and windows are otherwise left to Qt: a label is read as the text it shows
// and a window by its title, both following every change.
namespace accessibility {

// Installs the interfaces above; idempotent. Widgets that need them call it when created.
void Install();

// Leaves `widget` out of the accessibility tree.
void MarkDecorative(QWidget* widget);

}  // namespace accessibility
