#include "desktop/MarketReportDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/FocusMarkStyle.h"
#include "desktop/MarketChart.h"
#include "desktop/NewsLogDelegate.h"
#include "desktop/WidgetHelpers.h"
#include "ui/MarketReport.h"

using namespace sidewindows;

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

MarketReportDialog::MarketReportDialog(const TGame& game, QWidget* parent)
    : QDialog(parent), game_(game) {
    FocusMarkStyle::Install();
    Name(this, "marketreport", Text(TMarketReport::Caption));
    setWindowTitle(Text(TMarketReport::Caption));
    setModal(true);
    setFont(PixelFont(QStringLiteral("Arial"), 13));
    resize(kPreferredSize);

    prices_ = new MarketChart(this);
    prices_->setObjectName(QStringLiteral("chart_prices"));
    worth_ = new MarketChart(this);
    worth_->setObjectName(QStringLiteral("chart_worth"));

    log_ = new QListWidget(this);
    log_->setObjectName(QStringLiteral("lst_news"));
    log_->setWordWrap(true);
    log_->setResizeMode(QListView::Adjust);  // rows wrap again when the window is resized
    log_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    log_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    delegate_ = new NewsLogDelegate(log_);
    log_->setItemDelegate(delegate_);

    auto* logTitle = new QLabel(Text(TMarketReport::LogTitle), this);
    Name(logTitle, "lbl_news", logTitle->text());
    logTitle->setFont(PixelFont(QStringLiteral("Arial"), 13, true));
    logTitle->setBuddy(log_);  // Alt+N reaches the log
    log_->setAccessibleName(PlainCaption(logTitle->text()));

    close_ = new QPushButton(Text(TMarketReport::CloseCaption), this);
    Name(close_, "cmd_close", close_->text());
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(prices_, 5);
    layout->addWidget(worth_, 4);
    layout->addWidget(logTitle);
    layout->addWidget(log_, 3);
    layout->addLayout(buttons);

    setTabOrder(prices_, worth_);
    setTabOrder(worth_, log_);
    setTabOrder(log_, close_);
}

void MarketReportDialog::refresh() {
    const TMarketReport report(game_);
    prices_->setChart(report.Prices());
    worth_->setChart(report.Worth());
    // One plot left edge for both charts, so their months line up.
    const int left = std::max(prices_->valueLabelWidth(), worth_->valueLabelWidth());
    prices_->setPlotLeft(left);
    worth_->setPlotLeft(left);

    if (!logFilled_ || report.Log() != shownLog_) fillLog(report.Log());
    if (!report.Log().empty()) {
        // The latest news in sight, and where the keyboard starts, without selecting it.
        log_->setCurrentRow(log_->count() - 1, QItemSelectionModel::NoUpdate);
        log_->scrollToBottom();
    }
}

void MarketReportDialog::fillLog(const std::vector<TLogRow>& rows) {
    // Rows are filled before they join the list, so it lays itself out once.
    log_->setUpdatesEnabled(false);
    log_->clear();
    const QFontMetrics bold(PixelFont(QStringLiteral("Arial"), 13, true));
    int monthWidth = 0;
    for (const TLogRow& row : rows) {
        const QString sentence = Text(row.AccessibleText());
        auto* item = new QListWidgetItem(sentence);
        item->setData(Qt::AccessibleTextRole, sentence);
        item->setData(NewsLogDelegate::MonthRole, Text(row.Month));
        item->setData(NewsLogDelegate::TextRole, Text(row.Text));
        item->setData(NewsLogDelegate::NoteRole, Text(row.Note));
        item->setData(NewsLogDelegate::PendingRole, row.Pending);
        item->setData(NewsLogDelegate::KindRole, static_cast<int>(row.RowKind));
        monthWidth = std::max(monthWidth, bold.horizontalAdvance(Text(row.Month)));
        log_->addItem(item);
    }
    delegate_->setMonthWidth(monthWidth);
    if (rows.empty()) {
        auto* item = new QListWidgetItem(Text(TMarketReport::EmptyLog), log_);
        item->setData(Qt::AccessibleTextRole, item->text());
        item->setFlags(Qt::ItemIsEnabled);
    }
    log_->setUpdatesEnabled(true);
    shownLog_ = rows;
    logFilled_ = true;
}

void MarketReportDialog::setVisible(bool visible) {
    // Placed before Qt places it: at its preferred size where the screen has room for it.
    if (visible && !isVisible()) FitToScreen(this, kPreferredSize);
    QDialog::setVisible(visible);
}

void MarketReportDialog::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
    prices_->setFocus();
}
