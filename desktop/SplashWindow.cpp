#include "desktop/SplashWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <tuple>

#include "desktop/Accessibility.h"
#include "desktop/FocusMarkStyle.h"
#include "desktop/PanelWidget.h"
#include "desktop/RawPicture.h"
#include "desktop/WidgetHelpers.h"
#include "ui/Addresses.h"
#include "windows/TRealtopia.h"
#include "windows/Tsplash.h"

using namespace sidewindows;

namespace {

// The sponsor's logo at its layout size, sharp on high-resolution screens too: the build
// draws it from its SVG at one and at two device pixels a pixel, as raw pixels that need no
// image decoder.
QPixmap SponsorPicture(qreal pixelRatio) {
    const bool large = pixelRatio > 1.0;
    QPixmap pixmap = QPixmap::fromImage(raw_picture::Read(
        large ? QStringLiteral(":/sponsor@2x.argb") : QStringLiteral(":/sponsor.argb")));
    pixmap.setDevicePixelRatio(large ? 2.0 : 1.0);
    return pixmap;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The device pixels a pixel of what a painter draws on: the window's backing store, or the
// picture a window is rendered into.
qreal PixelRatio(QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    return device ? device->devicePixelRatioF() : painter.device()->devicePixelRatioF();
}

}  // namespace

SplashWindow::SplashWindow(TRealtopia& app, QWidget* parent, const QString& picturePrefix)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      app_(app),
      picturePrefix_(picturePrefix) {
    FocusMarkStyle::Install();
    setObjectName(QStringLiteral("splash"));  // read as a window by its title
    setWindowTitle(QString::fromStdString(app.Title()));
    setFixedSize(kWidth, kHeight);
    SetBackground(this, Qt::white);

    Panel1_ = MakePanel(this, "Panel1", WindowFrameLook(kSilver), QRect(0, 0, kWidth, kHeight));
    Panel1_->setFont(PixelFont(QStringLiteral("Times New Roman"), 11, true));
    QWidget* panel = ClientArea(Panel1_);

    Image1_ = new QLabel(panel);
    Name(Image1_, "Image1", QStringLiteral("Sponsor's logo"));
    Image1_->setGeometry(10, 10, 396, 102);
    Image1_->setPixmap(SponsorPicture(devicePixelRatioF()));
    Image1_->setCursor(Qt::PointingHandCursor);
    Image1_->installEventFilter(this);

    const QString times = QStringLiteral("Times New Roman");
    const QString arial = QStringLiteral("Arial");
    auto* presents = MakeLabel(panel, "lbl_Presents", QString::fromUtf8(Tsplash::Presents),
                               QRect(24, 120, 137, 42), PixelFont(times, 37), kNavy,
                               Qt::AlignRight | Qt::AlignTop);
    presents->setToolTip(QString::fromUtf8(Tsplash::PresentsHint));

    // The black copy lies 2 px right of and below the teal one and shows as its shadow.
    const QFont titleFont = PixelFont(times, 48, true);
    lbl_TitleShadow_ = MakeLabel(panel, "lbl_TitleShadow", QString(), QRect(70, 162, 390, 55),
                                 titleFont, Qt::black, Qt::AlignRight | Qt::AlignTop, true);
    lbl_TitleShadow_->setToolTip(QString::fromUtf8(Tsplash::PresentsHint));
    accessibility::MarkDecorative(lbl_TitleShadow_);  // the title is read once, from lbl_title
    lbl_title_ = MakeLabel(panel, "lbl_title", QString(), QRect(68, 160, 390, 55), titleFont, kTeal,
                           Qt::AlignRight | Qt::AlignTop, true);

    MakeLabel(panel, "lbl_careerlyTitle", QString::fromUtf8(Tsplash::CareerlyTitle),
              QRect(72, 217, 109, 14), PixelFont(arial, 11, true), Qt::black);
    lbllink_Careerly_ =
        MakeLabel(panel, "lbllink_Careerly", QString::fromUtf8(addresses::SponsorLabel),
                  QRect(185, 217, 111, 15), PixelFont(arial, 12, true, false, true), kNavy);
    lbllink_Careerly_->setToolTip(QString::fromUtf8(Tsplash::LinkHint));
    lbllink_Careerly_->setCursor(Qt::PointingHandCursor);
    lbllink_Careerly_->installEventFilter(this);

    const QFont buttonFont = PixelFont(arial, 21, true, true);
    cmd_play_ = new QPushButton(QString::fromUtf8(Tsplash::Play), panel);
    Name(cmd_play_, "cmd_play", cmd_play_->text());
    cmd_play_->setGeometry(183, 239, 122, 66);
    cmd_play_->setFont(buttonFont);
    SetTextColour(cmd_play_, kRed);
    cmd_play_->setDefault(true);
    connect(cmd_play_, &QPushButton::clicked, this, [this] { app_.cmd_playClick(); });

    cmd_NewUser_ = new QPushButton(QString::fromUtf8(Tsplash::NewUser), panel);
    Name(cmd_NewUser_, "cmd_NewUser", cmd_NewUser_->text());
    cmd_NewUser_->setGeometry(336, 239, 122, 66);
    cmd_NewUser_->setFont(buttonFont);
    SetTextColour(cmd_NewUser_, kGreen);
    connect(cmd_NewUser_, &QPushButton::clicked, this, [this] { app_.cmd_NewUserClick(); });

    lbl_version_ = MakeLabel(panel, "lbl_version", QStringLiteral("Build 2000xxxx.x"),
                             QRect(11, 315, 83, 14), PixelFont(arial, 11), Qt::black);
    MakeLabel(panel, "lbl_tbrightwork", QString::fromUtf8(Tsplash::CreatedBy),
              QRect(10, 329, 96, 14), PixelFont(arial, 11), Qt::black);
    lbl_brightwork_ =
        MakeLabel(panel, "lbl_brightwork", QString::fromUtf8(addresses::MakerLabel),
                  QRect(108, 329, 100, 14), PixelFont(arial, 11, false, false, true), kNavy);
    lbl_brightwork_->setToolTip(QString::fromUtf8(Tsplash::LinkHint));
    lbl_brightwork_->setCursor(Qt::PointingHandCursor);
    lbl_brightwork_->installEventFilter(this);

    // The panel covers the whole window, so its paint is the window's: the first one tells
    // that the window is being drawn, and what waits for that runs after it is on the screen.
    Panel1_->installEventFilter(this);

    setTabOrder(cmd_play_, cmd_NewUser_);
    FormCreate();
    // The kept places spare measuring the texts, which would open five font faces before the
    // first drawing; without them (or when they do not fit these labels) the texts are measured.
    placedFromPicture_ =
        !picturePrefix_.isEmpty() && PlaceLabels(Contents(picturePrefix_ + ".places"));
    if (placedFromPicture_) {
        for (QLabel* label : panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            label->installEventFilter(this);
    } else {
        FitLabels();
    }
    CentreOnScreen(this);
}

void SplashWindow::FormCreate() {
    const QString title = QString::fromStdString(app_.Title());
    lbl_title_->setToolTip(QString::fromUtf8(Tsplash::TitleHintPrefix) + title);
    lbl_title_->setText(title);
    lbl_TitleShadow_->setText(lbl_title_->text());
    lbl_version_->setText(QString::fromUtf8(Tsplash::BuildLabel));
}

void SplashWindow::FitLabels() {
    for (const char* name : {"lbl_Presents", "lbl_careerlyTitle", "lbllink_Careerly", "lbl_version",
                             "lbl_tbrightwork", "lbl_brightwork"}) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name))) GrowToText(label);
    }
    // Each link keeps its gap after the caption in front of it.
    for (auto [caption, link, gap] : {std::tuple{"lbl_careerlyTitle", lbllink_Careerly_, 4},
                                      std::tuple{"lbl_tbrightwork", lbl_brightwork_, 2}}) {
        const auto* before = findChild<QLabel*>(QString::fromLatin1(caption));
        const int left = before->geometry().right() + 1 + gap;
        if (link->x() < left) link->move(left, link->y());
    }
}

bool SplashWindow::PlaceLabels(const QByteArray& places) {
    QWidget* panel = Image1_->parentWidget();
    const QList<QLabel*> labels = panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QList<std::pair<QLabel*, QRect>> placed;
    for (const QByteArray& line : places.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 5) continue;
        auto* label =
            panel->findChild<QLabel*>(QString::fromLatin1(fields[0]), Qt::FindDirectChildrenOnly);
        int numbers[4] = {};
        bool ok = label != nullptr;
        for (int i = 0; ok && i < 4; ++i) numbers[i] = fields[i + 1].toInt(&ok);
        if (!ok || numbers[2] <= 0 || numbers[3] <= 0) return false;
        placed.append({label, QRect(numbers[0], numbers[1], numbers[2], numbers[3])});
    }
    // Every label once, or the places are not this splash's.
    if (placed.size() != labels.size()) return false;
    for (QLabel* label : labels) {
        if (std::count_if(placed.begin(), placed.end(),
                          [label](const auto& entry) { return entry.first == label; }) != 1)
            return false;
    }
    for (const auto& [label, geometry] : placed) label->setGeometry(geometry);
    return true;
}

QByteArray SplashWindow::labelPlaces() const {
    QByteArray places;
    for (const QLabel* label :
         Image1_->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QRect r = label->geometry();
        places += label->objectName().toLatin1() + ' ' + QByteArray::number(r.x()) + ' ' +
                  QByteArray::number(r.y()) + ' ' + QByteArray::number(r.width()) + ' ' +
                  QByteArray::number(r.height()) + '\n';
    }
    return places;
}

const QImage* SplashWindow::Picture(qreal pixelRatio) {
    if (!placedFromPicture_ || (pixelRatio != 1.0 && pixelRatio != 2.0)) return nullptr;
    if (pictureRatio_ != pixelRatio) {
        pictureRatio_ = pixelRatio;
        // Drawn on an opaque window, so opaque itself.
        picture_ =
            raw_picture::View(picturePrefix_ + (pixelRatio == 1.0 ? QStringLiteral(".argb")
                                                                  : QStringLiteral("@2x.argb")),
                              true);
        picture_.setDevicePixelRatio(pixelRatio);
    }
    const bool fits = picture_.size() == Panel1_->size() * pixelRatio;
    return fits ? &picture_ : nullptr;
}

QImage SplashWindow::drawPicture(qreal pixelRatio) {
    // Opaque, as a window's backing store is: text is blended on it as on the screen.
    QImage image(Panel1_->size() * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(palette().color(QPalette::Window));  // the window's own background beneath
    const bool playShown = !cmd_play_->isHidden();
    const bool newUserShown = !cmd_NewUser_->isHidden();
    cmd_play_->hide();
    cmd_NewUser_->hide();
    drawingPicture_ = true;
    Panel1_->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    drawingPicture_ = false;
    cmd_play_->setVisible(playShown);
    cmd_NewUser_->setVisible(newUserShown);
    return image;
}

void SplashWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    cmd_play_->setFocus(Qt::OtherFocusReason);
}

void SplashWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) accessibility::LeaveTreeOnceHidden(this, [this] { destroy(); });
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            cmd_NewUser_->click();  // the cancel button
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // A focused button takes Enter itself; otherwise the default button does.
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            (focused ? focused : cmd_play_)->click();
            return;
        }
        default:
            QWidget::keyPressEvent(event);
    }
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    // The application's main window: closing it, in any way, ends the program.
    event->accept();
    QCoreApplication::quit();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1_ && event->type() == QEvent::Paint) {
        if (!painted_) {
            painted_ = true;
            emit firstPainted();
        }
        drawnFromPicture_ = false;
        if (placedFromPicture_ && !drawingPicture_) {
            QPainter painter(Panel1_);
            if (const QImage* picture = Picture(PixelRatio(painter))) {
                painter.drawImage(QPointF(0, 0), *picture);
                drawnFromPicture_ = true;
                return true;
            }
        }
    }
    // The labels are in the picture (the panel, beneath them, is drawn first).
    if (drawnFromPicture_ && event->type() == QEvent::Paint && watched != Panel1_ &&
        watched->parent() == Image1_->parentWidget() && qobject_cast<QLabel*>(watched))
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget &&
            widget->rect().contains(mouse->position().toPoint())) {
            if (watched == Image1_) app_.Image1Click();
            if (watched == lbllink_Careerly_) app_.lbllink_CareerlyClick();
            if (watched == lbl_brightwork_) app_.lbl_brightworkClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
