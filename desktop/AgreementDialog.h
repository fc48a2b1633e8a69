#pragma once

#include <QDialog>

class QPushButton;
class TRealtopia;

// The user agreement (TEULA, instance `EULA`), shown modally before every entry into the game.
// Accepting ends the showing with OK; refusing it in any way ends the program.
class AgreementDialog : public QDialog {
    Q_OBJECT

public:
    explicit AgreementDialog(TRealtopia& app, QWidget* parent = nullptr);

    // Esc and any other end than I AGREE decline the agreement.
    void reject() override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    TRealtopia& app_;
    QPushButton* cmd_ACCEPT_ = nullptr;
    QPushButton* cmd_DECLINE_ = nullptr;
};
