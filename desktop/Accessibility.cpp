#include "desktop/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMenu>
#include <QWidget>

#include "desktop/PanelWidget.h"

namespace {

constexpr const char* kDecorativeProperty = "realtopiaDecorative";

bool IsDecorative(const QObject* object) {
    return object->property(kDecorativeProperty).toBool();
}

// A container whose decorative children are left out; a panel also reads as its caption.
class ContainerInterface : public QAccessibleWidget {
public:
    ContainerInterface(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(Children().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = Children();
        if (index < 0 || index >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) return -1;
        return static_cast<int>(Children().indexOf(qobject_cast<QWidget*>(child->object())));
    }

    QAccessible::Role role() const override {
        if (const auto* panel = qobject_cast<const PanelWidget*>(widget()))
            return panel->caption().isEmpty() ? QAccessible::Pane : QAccessible::StaticText;
        return QAccessibleWidget::role();
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            if (const auto* panel = qobject_cast<const PanelWidget*>(widget()))
                if (!panel->caption().isEmpty()) return panel->caption();
        }
        return QAccessibleWidget::text(kind);
    }

private:
    // The widget's children as Qt lists them, without the decorative ones.
    QList<QWidget*> Children() const {
        QList<QWidget*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child == nullptr || child->isWindow() || qobject_cast<QMenu*>(child) ||
                IsDecorative(child))
                continue;
            children.append(child);
        }
        return children;
    }
};

QAccessibleInterface* Factory(const QString& key, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (key == QLatin1String("PanelWidget"))
        return new ContainerInterface(widget, QAccessible::Pane);
    // Plain widgets: the containers of the side windows' controls, and the splash itself.
    if (key == QLatin1String("QWidget"))
        return new ContainerInterface(
            widget, widget->isWindow() ? QAccessible::Window : QAccessible::Client);
    return nullptr;
}

}  // namespace

namespace accessibility {

void Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void MarkDecorative(QWidget* widget) {
    Install();
    widget->setProperty(kDecorativeProperty, true);
}

}  // namespace accessibility
