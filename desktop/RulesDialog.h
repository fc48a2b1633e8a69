#pragma once

#include <QDialog>
#include <array>
#include <string>

class QFrame;
class QLabel;
class QPushButton;
class Trulesform;

class PanelWidget;

// The rules window (Trulesform, instance `rulesform`): a menu of four topics, each shown in
// place of the menu. It mirrors the logic object, which keeps its state between showings.
// Its buttons and keys give the rules window's answers (frontend/RulesLoop.h), which the kit
// applies as it does for every front end.
class RulesDialog : public QDialog {
    Q_OBJECT

public:
    explicit RulesDialog(Trulesform& rules, QWidget* parent = nullptr);

    // Shows the logic object's current state.
    void sync();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // `button` gives `answer` when clicked, or when Enter is pressed on it.
    void Answers(QPushButton* button, const std::string& answer);
    // Applies an answer; the dialog then shows the window as it is, or closes.
    void Answer(const std::string& answer);

    Trulesform& rules_;
    PanelWidget* pnl_title_ = nullptr;
    std::array<QPushButton*, 4> topicButtons_{};
    std::array<QLabel*, 4> topicLabels_{};
    QLabel* lbl_text_ = nullptr;
    QFrame* bvl_line_ = nullptr;
    QPushButton* cmd_back_ = nullptr;
    QPushButton* cmd_rules_ = nullptr;
};
