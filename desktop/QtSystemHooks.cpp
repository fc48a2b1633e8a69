#include "desktop/QtSystemHooks.h"

#include <QGuiApplication>
#include <QScreen>

void InstallQtSystemHooks(LinuxSystemQueries& queries) {
    LinuxSystemQueries::DisplayHooks hooks;
    hooks.screenWidth = []() -> std::optional<int> {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) return std::nullopt;
        return screen->geometry().width();
    };
    hooks.screenHeight = []() -> std::optional<int> {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) return std::nullopt;
        return screen->geometry().height();
    };
    hooks.displayColours = []() -> std::optional<int> {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) return std::nullopt;
        const int depth = screen->depth();
        if (depth <= 0) return std::nullopt;
        // A count too large for an int reads as -1.
        return depth < 31 ? (1 << depth) : -1;
    };
    queries.SetDisplayHooks(std::move(hooks));
}
