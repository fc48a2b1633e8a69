#include "desktop/PoliceDialog.h"

#include <QLabel>
#include <QPushButton>

#include "desktop/FocusMarkStyle.h"
#include "desktop/PanelWidget.h"
#include "desktop/WidgetHelpers.h"
#include "windows/Tpoliceform.h"

using namespace sidewindows;

PoliceDialog::PoliceDialog(const Tpoliceform& form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      form_(form) {
    FocusMarkStyle::Install();
    Name(this, "policeform", QString::fromUtf8(Tpoliceform::Subject));
    setWindowTitle(QString::fromUtf8(Tpoliceform::Caption));
    setFixedSize(323, 146);
    setModal(true);

    PanelWidget::Look look;
    look.clientEdge = true;
    auto* panel = MakePanel(this, "pnl_message", look, QRect(0, 0, 323, 146));
    panel->setFont(PixelFont(QStringLiteral("Arial"), 13, true));
    QWidget* pnl_message = ClientArea(panel);

    MakeLabel(pnl_message, "Label1", QString::fromUtf8(Tpoliceform::Heading), QRect(0, 6, 319, 19),
              PixelFont(QStringLiteral("Arial"), 16, true), kMaroon,
              Qt::AlignHCenter | Qt::AlignTop);
    lbl_message_ = MakeLabel(pnl_message, "lbl_message", QString(), QRect(8, 32, 305, 73),
                             pnl_message->font(), Qt::black, Qt::AlignHCenter | Qt::AlignTop, true);

    auto* cmd_close = new QPushButton(QStringLiteral("Close"), pnl_message);
    Name(cmd_close, "cmd_close", cmd_close->text());
    cmd_close->setGeometry(240, 112, 75, 25);
    cmd_close->setDefault(true);
    connect(cmd_close, &QPushButton::clicked, this, &QDialog::accept);

    sync();
    CentreOnScreen(this);
}

void PoliceDialog::sync() {
    lbl_message_->setText(DisplayText(form_.lbl_message));
}

void PoliceDialog::showEvent(QShowEvent* event) {
    sync();
    QDialog::showEvent(event);
}
