#pragma once

#include <QDialog>

class QLabel;
struct Tpoliceform;

// The police message (Tpoliceform, instance `policeform`): shows the message the caller wrote
// into the logic object and returns when the player closes it.
class PoliceDialog : public QDialog {
    Q_OBJECT

public:
    explicit PoliceDialog(const Tpoliceform& form, QWidget* parent = nullptr);

    void sync();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const Tpoliceform& form_;
    QLabel* lbl_message_ = nullptr;
};
