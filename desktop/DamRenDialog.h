#pragma once

#include <QDialog>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TDamRenForm;

// The damage/renovate chooser (TDamRenForm, instance `DamRenForm`). The window logic fills
// the items before the showing; the dialog rebuilds its radio buttons from them each time,
// none chosen, and keeps OK disabled until an item is clicked.
class DamRenDialog : public QDialog {
    Q_OBJECT

public:
    explicit DamRenDialog(TDamRenForm& form, const QString& title, QWidget* parent = nullptr);

    // Rebuilds the group from the logic object's items and caption.
    void sync();

    // Cancel, Esc and closing the window: no choice.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ItemClicked(int item);
    void OkClicked();

    TDamRenForm& form_;
    QGroupBox* optgroup_ = nullptr;
    QButtonGroup* items_ = nullptr;
    std::vector<QRadioButton*> radios_;
    QPushButton* cmd_Close_ = nullptr;
    QPushButton* cmd_Cancel_ = nullptr;
};
