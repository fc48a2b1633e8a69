#include "desktop/Announcer.h"

#include <QAccessible>

#include "desktop/Accessibility.h"

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    accessibility::Install();
    setObjectName(QStringLiteral("announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // One pixel in the corner, painted by nobody: on screen for the accessibility tree only.
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::announce(const QString& text) {
    text_ = text;
    ++count_;
    // Hidden and shown again: the notification appears with its new name, which is what a
    // screen reader speaks, even when the text is the same as the last one.
    hide();
    setAccessibleName(text);
    show();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(this, text);
    QAccessible::updateAccessibility(&event);
#endif
}
