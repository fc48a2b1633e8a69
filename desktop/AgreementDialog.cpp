#include "desktop/AgreementDialog.h"

#include <QHideEvent>
#include <QLabel>
#include <QPushButton>

#include "desktop/Accessibility.h"
#include "desktop/FocusMarkStyle.h"
#include "desktop/PanelWidget.h"
#include "desktop/WidgetHelpers.h"
#include "windows/TEULA.h"
#include "windows/TRealtopia.h"

using namespace sidewindows;

AgreementDialog::AgreementDialog(TRealtopia& app, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), app_(app) {
    FocusMarkStyle::Install();
    setObjectName(QStringLiteral("EULA"));  // read as a dialog by its title
    setWindowTitle(QString::fromUtf8(TEULA::Subject));
    setFixedSize(480, 385);
    setModal(true);

    QWidget* pnl_EULA =
        ClientArea(MakePanel(this, "pnl_EULA", WindowFrameLook(), QRect(0, 0, 480, 385)));

    PanelWidget::Look textLook;
    textLook.outer = PanelWidget::Bevel::None;
    textLook.inner = PanelWidget::Bevel::Lowered;
    auto* pnl_text = MakePanel(pnl_EULA, "pnl_text", textLook, QRect(14, 13, 443, 300));

    const QString arial = QStringLiteral("Arial");
    MakeLabel(pnl_text, "Label1", QString::fromUtf8(TEULA::Heading), QRect(1, 9, 441, 24),
              PixelFont(arial, 19, true), kNavy, Qt::AlignHCenter | Qt::AlignTop);
    MakeLabel(pnl_text, "lbl_AgreementText", DisplayText(app.AgreementText),
              QRect(17, 57, 408, 242), PixelFont(arial, 12), Qt::black,
              Qt::AlignLeft | Qt::AlignTop, true);

    cmd_ACCEPT_ = new QPushButton(QString::fromUtf8(TEULA::AcceptCaption), pnl_EULA);
    Name(cmd_ACCEPT_, "cmd_ACCEPT", cmd_ACCEPT_->text());
    cmd_ACCEPT_->setGeometry(256, 328, 121, 38);
    cmd_ACCEPT_->setIcon(Glyph("accept"));
    cmd_ACCEPT_->setDefault(true);
    connect(cmd_ACCEPT_, &QPushButton::clicked, this, &QDialog::accept);

    cmd_DECLINE_ = new QPushButton(QString::fromUtf8(TEULA::DeclineCaption), pnl_EULA);
    Name(cmd_DECLINE_, "cmd_DECLINE", cmd_DECLINE_->text());
    cmd_DECLINE_->setGeometry(88, 328, 128, 38);
    cmd_DECLINE_->setIcon(Glyph("decline"));
    connect(cmd_DECLINE_, &QPushButton::clicked, this, &AgreementDialog::reject);

    setTabOrder(cmd_DECLINE_, cmd_ACCEPT_);
    cmd_ACCEPT_->setFocus();
    CentreOnScreen(this);
}

void AgreementDialog::reject() {
    // Closes the splash, which ends the program; the showing then ends without OK.
    app_.cmd_DECLINEClick();
    QDialog::reject();
}

void AgreementDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) accessibility::LeaveTreeOnceHidden(this, [this] { destroy(); });
}
