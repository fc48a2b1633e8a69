#pragma once

#include <functional>

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

// Qt lists every top-level window that has a native window among the application's
// children, shown or not. A window that is done with (the splash after the game is entered,
// the agreement once answered) calls this from its hide event with its own destroy(): once
// the hiding is over, and while it stays hidden, its native window is released, so it leaves
// the tree; showing it again makes a new one.
void LeaveTreeOnceHidden(QWidget* window, std::function<void()> destroyNativeWindow);

// `widget` (a plain QWidget) reads as a notification named by its accessible name: what a
// screen reader speaks as it appears (the Announcer's notices). Before it is first read.
void MarkNotification(QWidget* widget);

// Leaves `widget` out of the accessibility tree.
void MarkDecorative(QWidget* widget);

}  // namespace accessibility
