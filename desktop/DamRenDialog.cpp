#include "desktop/DamRenDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/FocusMarkStyle.h"
#include "desktop/PanelWidget.h"
#include "desktop/WidgetHelpers.h"
#include "frontend/ChooserLoop.h"
#include "windows/TDamRenForm.h"

using namespace sidewindows;

DamRenDialog::DamRenDialog(TDamRenForm& form, const QString& title, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      form_(form) {
    FocusMarkStyle::Install();
    Name(this, "DamRenForm", title);
    setWindowTitle(title);
    setFixedSize(338, 239);
    setModal(true);
    // A small dialog font; the item texts are measured for it.
    setFont(PixelFont(QStringLiteral("Arial"), 11));

    PanelWidget::Look look;
    look.outer = PanelWidget::Bevel::Lowered;
    auto* pnl_main = MakePanel(this, "pnl_main", look, QRect(0, 0, 338, 239));

    optgroup_ = new QGroupBox(pnl_main);
    Name(optgroup_, "optgroup", QString::fromStdString(form.GroupCaption()));
    optgroup_->setGeometry(1, 1, 232, 237);
    auto* layout = new QVBoxLayout(optgroup_);
    layout->setContentsMargins(8, 2, 2, 2);
    items_ = new QButtonGroup(this);
    connect(items_, &QButtonGroup::idClicked, this, &DamRenDialog::ItemClicked);

    cmd_Close_ = new QPushButton(QStringLiteral("OK"), pnl_main);
    Name(cmd_Close_, "cmd_Close", cmd_Close_->text());
    cmd_Close_->setGeometry(253, 11, 75, 25);
    cmd_Close_->setDefault(true);
    connect(cmd_Close_, &QPushButton::clicked, this, &DamRenDialog::OkClicked);

    cmd_Cancel_ = new QPushButton(QStringLiteral("Cancel"), pnl_main);
    Name(cmd_Cancel_, "cmd_Cancel", cmd_Cancel_->text());
    cmd_Cancel_->setGeometry(253, 51, 75, 25);
    connect(cmd_Cancel_, &QPushButton::clicked, this, &DamRenDialog::reject);

    sync();
    CentreOnScreen(this);
}

void DamRenDialog::sync() {
    const QString caption = QString::fromStdString(form_.GroupCaption());
    optgroup_->setTitle(caption);
    optgroup_->setAccessibleName(caption);
    // A screen reader names the window by what it is about ("Damage Dundefraggin").
    setAccessibleName(caption);

    for (QRadioButton* radio : radios_) {
        items_->removeButton(radio);
        delete radio;
    }
    radios_.clear();
    auto* layout = static_cast<QVBoxLayout*>(optgroup_->layout());
    int number = 1;
    for (const std::string& item : form_.Items()) {
        auto* radio = new QRadioButton(QString::fromStdString(item), optgroup_);
        const QString name = QStringLiteral("optgroup_item%1").arg(number);
        radio->setObjectName(name);
        radio->setAccessibleName(radio->text());
        radio->setEnabled(form_.ItemEnabled(number));
        radio->installEventFilter(this);
        items_->addButton(radio, number);
        layout->addWidget(radio);
        // Shown now, not later by the layout: built while the dialog is being shown, the item
        // must be able to take the focus at once, so that the first arrow key chooses.
        radio->show();
        radios_.push_back(radio);
        ++number;
    }
    cmd_Close_->setEnabled(form_.OkEnabled());
}

void DamRenDialog::showEvent(QShowEvent* event) {
    sync();
    QDialog::showEvent(event);
    if (const int first = form_.NextEnabledItem(0, 1); first > 0)
        radios_[static_cast<std::size_t>(first - 1)]->setFocus();
}

// The arrow keys choose as they move, skipping items already done, so OK is ready at once.
bool DamRenDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                     : key == Qt::Key_Up || key == Qt::Key_Left  ? -1
                                                                 : 0;
    const auto at = std::find(radios_.begin(), radios_.end(), watched);
    if (step == 0 || at == radios_.end()) return QDialog::eventFilter(watched, event);
    const int next = form_.NextEnabledItem(static_cast<int>(at - radios_.begin()) + 1, step);
    if (next > 0) {
        QRadioButton* radio = radios_[static_cast<std::size_t>(next - 1)];
        radio->setFocus(Qt::OtherFocusReason);
        radio->click();
    }
    return true;
}

// The controls give the chooser's moves (frontend/ChooserLoop.h), which the kit applies as it
// does for every front end.
void DamRenDialog::ItemClicked(int item) {
    TakeChooserMove(form_, {TChooserMove::Kind::Pick, item});
    cmd_Close_->setEnabled(form_.OkEnabled());
}

void DamRenDialog::OkClicked() {
    if (!TakeChooserMove(form_, {TChooserMove::Kind::Ok}).empty()) return;
    done(form_.ChoiceMade() ? QDialog::Accepted : QDialog::Rejected);
}

void DamRenDialog::reject() {
    if (!form_.Closed()) TakeChooserMove(form_, {TChooserMove::Kind::Cancel});
    QDialog::reject();
}
