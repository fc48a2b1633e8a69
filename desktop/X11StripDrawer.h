#pragma once

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <cstdint>
#include <memory>

class QWidget;
struct xcb_connection_t;

// Shows the ticker's steps on an X11 display by copying from a picture the display server
// keeps. The line picture is sent once; a step is then one small copy request, where Qt would
// paint the step into the window's backing store and send all its pixels. The window's
// backing store is not told: whoever draws this way has Qt paint the strip again before Qt
// next shows the backing store's copy of it (see MarqueeWidget).
// Elsewhere (Wayland, Windows, the off-screen platform of the tests) For() gives nothing and
// the ticker paints as every widget does.
class X11StripDrawer {
public:
    // A drawer for the native window of `window` (a top-level widget), or nullptr when the
    // display is not X11 or the window's pixels are not laid out as a 32-bit RGB QImage.
    static std::unique_ptr<X11StripDrawer> For(QWidget* window);
    ~X11StripDrawer();
    X11StripDrawer(const X11StripDrawer&) = delete;
    X11StripDrawer& operator=(const X11StripDrawer&) = delete;

    // The native window drawn on; Qt gives a window a new one when it is created again.
    std::uintptr_t Window() const { return window_; }
    // Keeps `line` in the display server, sending it only when it is not the one kept.
    // False when it cannot be kept (too large for the server).
    bool KeepLine(const QPixmap& line);
    // Fills `target` (device pixels of the window) with `colour`.
    void Fill(const QRect& target, QRgb colour);
    // Copies the kept line's pixels at `source` to `target` (device pixels).
    void CopyLine(const QRect& target, const QPoint& source);
    // Sends what was drawn to the server.
    void Flush();

private:
    X11StripDrawer(xcb_connection_t* connection, std::uint32_t window, std::uint8_t depth);
    void FreeLine();

    xcb_connection_t* connection_;
    std::uint32_t window_;
    std::uint8_t depth_;
    std::uint32_t gc_ = 0;
    std::uint32_t line_ = 0;         // the server's pixmap, 0 when none is kept
    qint64 lineKey_ = 0;             // the cache key of the picture it holds
    QRgb fillColour_ = 0xFF000000u;  // the colour the gc fills with (black at first)
};
