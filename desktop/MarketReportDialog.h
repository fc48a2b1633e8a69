#pragma once

#include <QDialog>
#include <vector>

#include "ui/MarketReport.h"

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
    // The log's rows made again from `rows`.
    void fillLog(const std::vector<TLogRow>& rows);

    const TGame& game_;
    MarketChart* prices_ = nullptr;
    MarketChart* worth_ = nullptr;
    QListWidget* log_ = nullptr;
    NewsLogDelegate* delegate_ = nullptr;
    QPushButton* close_ = nullptr;
    // The log's rows as the list holds them: a report whose log has not changed since (most
    // months bring no news) keeps the list's items and their wrapping.
    std::vector<TLogRow> shownLog_;
    bool logFilled_ = false;
};
