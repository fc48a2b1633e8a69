// The smallest Qt Widgets programs the game's start-up is compared with.
//
//   baseline                one 722 × 534 window holding one label that quits once it has
//                           been drawn (the yardstick of the self-test, which draws its
//                           windows too)
//   baseline --main-window  a bare QMainWindow of 722 × 534 holding one label, the yardstick
//                           of the normal start: with REALTOPIA_QUIT_AFTER_FIRST_PAINT set it
//                           quits once it has been drawn, as the game does then after the
//                           splash's first drawing; otherwise it stays until closed

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QVBoxLayout>
#include <QWidget>
#include <cstring>

namespace {

// Quits (queued, so the drawing reaches the screen first) on the first paint of the widget
// it watches.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const bool mainWindow = argc > 1 && std::strcmp(argv[1], "--main-window") == 0;
    QApplication app(argc, argv);
    if (mainWindow) {
        QMainWindow window;
        window.resize(722, 534);
        auto* label = new QLabel(QStringLiteral("Baseline"), &window);
        label->setAutoFillBackground(true);
        window.setCentralWidget(label);
        FirstPaint firstPaint;
        if (qEnvironmentVariableIsSet("REALTOPIA_QUIT_AFTER_FIRST_PAINT"))
            label->installEventFilter(&firstPaint);
        window.show();
        return QApplication::exec();
    }
    QWidget window;
    window.resize(722, 534);
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("Baseline"), &window);
    layout->addWidget(label);
    FirstPaint firstPaint;
    label->installEventFilter(&firstPaint);
    window.show();
    return QApplication::exec();
}
