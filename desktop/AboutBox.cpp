#include "desktop/AboutBox.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                 Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    // No accessible name: a screen reader reads the label as the text it shows.
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);  // product texts are never markup
    label->setAlignment(alignment);
    label->setGeometry(geometry);
    return label;
}

// The application's icon stretched smoothly over the picture, sharp on high-density screens.
QPixmap StretchedIcon(const QIcon& icon, QSize size, qreal ratio) {
    if (icon.isNull()) return {};
    QSize source = size * ratio;
    const auto available = icon.availableSizes();
    for (const QSize& s : available) source = source.expandedTo(s);
    QPixmap pixmap =
        icon.pixmap(source).scaled(size * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace

bool ShowAboutBox(const TAboutBoxContent& content, QWidget* parent) {
    QDialog box(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setWindowTitle(QString::fromStdString(content.Caption));
    box.setModal(true);
    // The layout is in pixels; a small Arial keeps the 13-pixel captions whole.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    box.setFont(font);
    box.setFixedSize(408, 213);

    auto* panel = new QFrame(&box);
    panel->setObjectName(QStringLiteral("Panel1"));
    // A lowered outer and a raised inner bevel: Qt's sunken box.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    panel->setGeometry(8, 8, 393, 161);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setAccessibleName(QStringLiteral("Program icon"));
    icon->setGeometry(8, 8, 73, 65);
    icon->setPixmap(
        StretchedIcon(QApplication::windowIcon(), icon->size(), box.devicePixelRatioF()));

    const Qt::Alignment captionAlign = Qt::AlignRight | Qt::AlignTop;
    const Qt::Alignment valueAlign = Qt::AlignLeft | Qt::AlignTop;
    AddLabel(panel, "lbl_product", QString::fromUtf8(TAboutBoxContent::ProductCaption),
             {85, 16, 50, 13}, captionAlign);
    AddLabel(panel, "lbl_Version", QString::fromUtf8(TAboutBoxContent::VersionCaption),
             {85, 32, 50, 13}, captionAlign);
    AddLabel(panel, "lbl_OS", QString::fromUtf8(TAboutBoxContent::HostCaption), {85, 48, 50, 13},
             captionAlign);
    AddLabel(panel, "ProductName", QString::fromStdString(content.Product), {144, 16, 241, 17},
             valueAlign);
    AddLabel(panel, "Version", QString::fromStdString(content.Version), {144, 32, 241, 17},
             valueAlign);
    AddLabel(panel, "OperatingSystem", QString::fromStdString(content.Host), {144, 48, 241, 17},
             valueAlign);
    // The product's copyright notice, a line of its own below the three values.
    AddLabel(panel, "Copyright", QString::fromStdString(content.Copyright), {144, 64, 241, 14},
             valueAlign);
    QLabel* comments = AddLabel(panel, "Comments", QString::fromStdString(content.Comments),
                                {8, 80, 377, 57}, Qt::AlignCenter);
    comments->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setGeometry(165, 178, 77, 27);
    ok->setDefault(true);
    ok->setFocus();
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);

    // Centred on the screen, not on the owner.
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        QRect frame(QPoint(0, 0), box.size());
        frame.moveCenter(screen->availableGeometry().center());
        box.move(frame.topLeft());
    }

    return box.exec() == QDialog::Accepted;
}
