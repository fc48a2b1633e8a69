#include "desktop/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "desktop/AreaPicture.h"
#include "desktop/BarGauge.h"
#include "desktop/PanelWidget.h"

namespace {

constexpr const char* kDecorativeProperty = "realtopiaDecorative";
constexpr const char* kNotificationProperty = "realtopiaNotification";

bool IsDecorative(const QObject* object) {
    return object->property(kDecorativeProperty).toBool();
}

// A container whose decorative children are left out; a panel also reads as its caption.
class ContainerInterface : public QAccessibleWidget {
public:
    ContainerInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

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

// An area picture reads as a radio button named by its area, checked while it is the current
// area; pressing it chooses the area.
class AreaPictureInterface : public QAccessibleWidget {
public:
    explicit AreaPictureInterface(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::RadioButton) {
        addControllingSignal(QStringLiteral("clicked()"));
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = static_cast<const AreaPicture*>(widget())->isChosen();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == pressAction())
            QMetaObject::invokeMethod(widget(), "clicked");
        else
            QAccessibleWidget::doAction(name);
    }
};

// The progress gauge reads as a read-only progress bar with its value, 0 to 100 percent, and
// the percentage it shows as its description. (Qt's AT-SPI bridge offers Increase and Decrease
// on every value; they change nothing here, and the value is what announces the progress.)
class ProgressInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressInterface(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value || kind == QAccessible::Description) return Gauge()->text();
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return Gauge()->percent(); }
    void setCurrentValue(const QVariant& /*value*/) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    const BarGauge* Gauge() const { return static_cast<const BarGauge*>(widget()); }
};

QAccessibleInterface* Factory(const QString& key, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (key == QLatin1String("AreaPicture")) return new AreaPictureInterface(widget);
    if (key == QLatin1String("BarGauge")) return new ProgressInterface(widget);
    // A picture reads as an image named by what it shows (its accessible name).
    if (key == QLatin1String("SvgPicture"))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    // The ticker reads as a text: the headline it shows (its accessible name).
    if (key == QLatin1String("MarqueeWidget"))
        return new QAccessibleWidget(widget, QAccessible::StaticText);
    // An announcement reads as a notification: its name is the text it announces.
    if (key == QLatin1String("QWidget") && widget->property(kNotificationProperty).toBool())
        return new QAccessibleWidget(widget, QAccessible::Notification);
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

void LeaveTreeOnceHidden(QWidget* window, std::function<void()> destroyNativeWindow) {
    QTimer::singleShot(0, window, [window, destroy = std::move(destroyNativeWindow)] {
        if (window->isHidden()) destroy();
    });
}

void MarkNotification(QWidget* widget) {
    Install();
    widget->setProperty(kNotificationProperty, true);
}

void MarkDecorative(QWidget* widget) {
    Install();
    widget->setProperty(kDecorativeProperty, true);
}

}  // namespace accessibility
