#include "desktop/X11StripDrawer.h"

#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>
#include <cstdlib>

#if defined(REALTOPIA_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define REALTOPIA_X11_STRIP 1
#endif

#ifdef REALTOPIA_X11_STRIP

namespace {

// The largest side of an X pixmap.
constexpr int kMaxPixmapSide = 32767;

// Whether pixels of `depth` on the window's `visual` are those of QImage::Format_RGB32 in
// memory: 32 bits a pixel, eight each for red, green and blue, in this machine's byte order.
bool LaidOutAsRgb32(xcb_connection_t* connection, std::uint32_t visual, std::uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const bool littleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
    if ((setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) != littleEndian) return false;
    bool thirtyTwoBits = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0; xcb_format_next(&f))
        if (f.data->depth == depth) thirtyTwoBits = f.data->bits_per_pixel == 32;
    if (!thirtyTwoBits) return false;
    for (auto s = xcb_setup_roots_iterator(setup); s.rem > 0; xcb_screen_next(&s)) {
        for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem > 0; xcb_depth_next(&d)) {
            if (d.data->depth != depth) continue;
            for (auto v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
                if (v.data->visual_id != visual) continue;
                return v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                       v.data->red_mask == 0xFF0000u && v.data->green_mask == 0x00FF00u &&
                       v.data->blue_mask == 0x0000FFu;
            }
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<X11StripDrawer> X11StripDrawer::For(QWidget* window) {
    // Other platforms may answer for X11 too (the off-screen one does, with no connection).
    if (qApp == nullptr || window == nullptr ||
        QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return nullptr;
    const auto id = static_cast<xcb_window_t>(window->winId());
    // Asked once for the window: its depth and visual say how its pixels are laid out.
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr);
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, id), nullptr);
    std::unique_ptr<X11StripDrawer> drawer;
    if (geometry != nullptr && attributes != nullptr &&
        LaidOutAsRgb32(connection, attributes->visual, geometry->depth))
        drawer.reset(new X11StripDrawer(connection, id, geometry->depth));
    std::free(geometry);
    std::free(attributes);
    return drawer;
}

X11StripDrawer::X11StripDrawer(xcb_connection_t* connection, std::uint32_t window,
                               std::uint8_t depth)
    : connection_(connection), window_(window), depth_(depth) {
    gc_ = xcb_generate_id(connection_);
    // No exposure events for copies: the line picture is never covered.
    const std::uint32_t values[] = {depth_ == 32 ? fillColour_ : 0u, 0};
    xcb_create_gc(connection_, gc_, window_, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
}

X11StripDrawer::~X11StripDrawer() {
    if (qApp == nullptr) return;  // the connection went with the application
    FreeLine();
    xcb_free_gc(connection_, gc_);
    xcb_flush(connection_);
}

void X11StripDrawer::FreeLine() {
    if (line_ != 0) xcb_free_pixmap(connection_, line_);
    line_ = 0;
    lineKey_ = 0;
}

bool X11StripDrawer::KeepLine(const QPixmap& line) {
    if (line_ != 0 && lineKey_ == line.cacheKey()) return true;
    FreeLine();
    if (line.isNull() || line.width() > kMaxPixmapSide || line.height() > kMaxPixmapSide)
        return false;
    const QImage image = line.toImage().convertToFormat(QImage::Format_RGB32);
    const auto bytesPerLine = static_cast<std::uint32_t>(image.bytesPerLine());
    // Sent in bands of rows, each within the server's largest request (given in 4-byte units).
    const std::uint32_t largest = xcb_get_maximum_request_length(connection_) * 4u;
    const std::uint32_t room = largest > 64u ? largest - 64u : 0u;
    if (room < bytesPerLine) return false;
    const int rowsABand = static_cast<int>(std::min<std::uint32_t>(room / bytesPerLine, 0xFFFFu));
    line_ = xcb_generate_id(connection_);
    xcb_create_pixmap(connection_, depth_, line_, window_,
                      static_cast<std::uint16_t>(image.width()),
                      static_cast<std::uint16_t>(image.height()));
    for (int y = 0; y < image.height(); y += rowsABand) {
        const int rows = std::min(rowsABand, image.height() - y);
        xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, line_, gc_,
                      static_cast<std::uint16_t>(image.width()), static_cast<std::uint16_t>(rows),
                      0, static_cast<std::int16_t>(y), 0, depth_,
                      static_cast<std::uint32_t>(rows) * bytesPerLine, image.constScanLine(y));
    }
    lineKey_ = line.cacheKey();
    return true;
}

void X11StripDrawer::Fill(const QRect& target, QRgb colour) {
    if (target.isEmpty()) return;
    const QRgb opaque = colour | 0xFF000000u;
    if (opaque != fillColour_) {
        // A window of depth 24 has no bits for alpha.
        const std::uint32_t pixel = depth_ == 32 ? opaque : opaque & 0x00FFFFFFu;
        xcb_change_gc(connection_, gc_, XCB_GC_FOREGROUND, &pixel);
        fillColour_ = opaque;
    }
    const xcb_rectangle_t rect{
        static_cast<std::int16_t>(target.x()), static_cast<std::int16_t>(target.y()),
        static_cast<std::uint16_t>(target.width()), static_cast<std::uint16_t>(target.height())};
    xcb_poly_fill_rectangle(connection_, window_, gc_, 1, &rect);
}

void X11StripDrawer::CopyLine(const QRect& target, const QPoint& source) {
    if (target.isEmpty() || line_ == 0) return;
    xcb_copy_area(connection_, line_, window_, gc_, static_cast<std::int16_t>(source.x()),
                  static_cast<std::int16_t>(source.y()), static_cast<std::int16_t>(target.x()),
                  static_cast<std::int16_t>(target.y()), static_cast<std::uint16_t>(target.width()),
                  static_cast<std::uint16_t>(target.height()));
}

void X11StripDrawer::Flush() {
    xcb_flush(connection_);
}

#else  // no X11: the ticker always paints through Qt

std::unique_ptr<X11StripDrawer> X11StripDrawer::For(QWidget*) {
    return nullptr;
}
X11StripDrawer::X11StripDrawer(xcb_connection_t* connection, std::uint32_t window,
                               std::uint8_t depth)
    : connection_(connection), window_(window), depth_(depth) {}
X11StripDrawer::~X11StripDrawer() = default;
void X11StripDrawer::FreeLine() {}
bool X11StripDrawer::KeepLine(const QPixmap&) {
    return false;
}
void X11StripDrawer::Fill(const QRect&, QRgb) {}
void X11StripDrawer::CopyLine(const QRect&, const QPoint&) {}
void X11StripDrawer::Flush() {}

#endif
