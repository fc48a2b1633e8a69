#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TRealtopia;

class PanelWidget;

// The splash window (Tsplash, instance `splash`): the application's main window, from which
// the game is entered. Closing it ends the program; after a successful entry it stays hidden.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 477;
    static constexpr int kHeight = 358;

    explicit SplashWindow(TRealtopia& app, QWidget* parent = nullptr);

signals:
    // The window is being drawn for the first time. Connected with a queued connection (or
    // a zero timer), a receiver runs once the drawing is on the screen.
    void firstPainted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FitLabels();

    TRealtopia& app_;
    PanelWidget* Panel1_ = nullptr;
    QLabel* Image1_ = nullptr;
    QLabel* lbl_TitleShadow_ = nullptr;
    QLabel* lbl_title_ = nullptr;
    QLabel* lbllink_Careerly_ = nullptr;
    QLabel* lbl_version_ = nullptr;
    QLabel* lbl_brightwork_ = nullptr;
    QPushButton* cmd_play_ = nullptr;
    QPushButton* cmd_NewUser_ = nullptr;
    bool painted_ = false;
};
