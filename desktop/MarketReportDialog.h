#pragma once

#include <QDialog>

class MarketChart;
class NewsLogDelegate;
class QListWidget;
class QPushButton;
class TGame;

// The Market Report: the areas' average prices and the player's net worth month by month,
// and the news log of headlines, trends and events. It reads the game and changes nothing;
// each showing draws the game as it stands. Tab moves between the charts, the log and Close;
// Esc or Enter closes it.
class MarketReportDialog : public QDialog {
    Q_OBJECT

public:
    explicit MarketReportDialog(const TGame& game, QWidget* parent = nullptr);

    // Reads the game again.
    void refresh();
    void setVisible(bool visible) override;

    // The size it opens at where the screen has room; smaller screens get what they have.
    static constexpr QSize kPreferredSize{780, 720};

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TGame& game_;
    MarketChart* prices_ = nullptr;
    MarketChart* worth_ = nullptr;
    QListWidget* log_ = nullptr;
    NewsLogDelegate* delegate_ = nullptr;
    QPushButton* close_ = nullptr;
};
