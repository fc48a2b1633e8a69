#include "desktop/Announcer.h"

#include <QAccessible>

#include "desktop/Accessibility.h"

namespace {

// A widget on screen for the accessibility tree only: one pixel in the corner, painted by
// nobody, taking no focus and no click.
void MakeSilent(QWidget* widget) {
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    widget->setGeometry(0, 0, 1, 1);
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    accessibility::Install();
    setObjectName(QStringLiteral("announcer"));
    MakeSilent(this);
}

void Announcer::announce(const QString& text) {
    text_ = text;
    ++count_;
    if (!notices_.empty() && notices_.back()) notices_.back()->hide();
    auto* notice = new QWidget(this);
    notice->setObjectName(QStringLiteral("announcement"));
    MakeSilent(notice);
    accessibility::MarkNotification(notice);
    notice->setAccessibleName(text);
    notice->show();
    notices_.emplace_back(notice);
    while (notices_.size() > kKept) {
        delete notices_.front().data();
        notices_.pop_front();
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(notice, text);
    QAccessible::updateAccessibility(&event);
#endif
}
