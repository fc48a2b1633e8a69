#pragma once

#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <map>
#include <optional>
#include <string>

class AreaFrame;
class AreaPicture;
class BarGauge;
class GlyphButton;
class MarqueeWidget;
class PanelWidget;
class PieClock;
class PropertyList;
class QAction;
class QActionGroup;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class SvgPicture;
class Tmainform;
struct TButtonView;
struct TMenuEntry;
enum class TCommand;

// The main window in Qt: every control at its place, a mirror of what the window logic shows
// (sync()), and the player's clicks, keys and window events passed to the logic's handlers.
// It decides nothing about the game.
class Announcer;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(Tmainform& form, QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Brings every control up to date with the window logic's view.
    void sync();
    // Starts, stops or re-times tmr_main as the view says.
    void applyMainTimer();
    MarqueeWidget* ticker() const { return ticker_; }
    // Tells a screen reader `text` at once (IEffects::Announce).
    void announce(const std::string& text);
    const Announcer* announcer() const { return announcer_; }

protected:
    // Key preview, and the hint of the control under the pointer, for the whole window.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void addMenuEntries(QMenu* menu, const TMenuEntry& entry);
    void syncMenu(const TMenuEntry& entry);
    void buildTop(QWidget* client);
    void buildMain(QWidget* client);
    void buildAreas(QWidget* main);
    void buildStatusBar(QWidget* client);
    void buildTabOrder();
    void centreOnScreen();

    bool previewKey(QWidget* receiver, QKeyEvent* event);
    bool firstDelivery(QWidget* receiver, const QKeyEvent* event);
    void pointerOver(QWidget* widget);
    void flushHint();

    void syncButton(QPushButton* button, const TButtonView& view);
    void syncLists();
    void listMouseUp(PropertyList* list);
    void listKeyUp(PropertyList* list, bool autoRepeat);
    void listFocusIn(PropertyList* list, Qt::FocusReason reason);

    // Runs a command of the window logic, then shows what it changed.
    void invoke(TCommand command);
    // A button runs its command when clicked, and is known by it to the pointer and Enter.
    void bindCommand(QPushButton* button, TCommand command);

    Tmainform& form_;
    QTimer* mainTimer_ = nullptr;
    unsigned armedGeneration_ = 0;

    PanelWidget* cashPanel_ = nullptr;
    PanelWidget* portfolioPanel_ = nullptr;
    PanelWidget* debtPanel_ = nullptr;
    MarqueeWidget* ticker_ = nullptr;
    Announcer* announcer_ = nullptr;
    PropertyList* availList_ = nullptr;
    PropertyList* portfolioList_ = nullptr;
    QLabel* infoLabel_ = nullptr;
    QLabel* areaCaption_ = nullptr;
    std::array<AreaPicture*, 6> areaPictures_{};
    std::array<AreaFrame*, 6> areaFrames_{};
    QLabel* trendLabel_ = nullptr;
    SvgPicture* trendPicture_ = nullptr;
    PieClock* clock_ = nullptr;
    QLabel* monthLabel_ = nullptr;
    BarGauge* progress_ = nullptr;
    QLabel* stageLabel_ = nullptr;
    QPushButton* damRen_ = nullptr;
    QPushButton* buySell_ = nullptr;
    QPushButton* mortgage_ = nullptr;
    GlyphButton* start_ = nullptr;
    QPushButton* email_ = nullptr;
    QPushButton* exit_ = nullptr;
    QPushButton* rules_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusText_ = nullptr;

    std::map<TCommand, QAction*> menuActions_;

    std::optional<unsigned> listsRevision_;
    bool focusStartDone_ = false;
    // The list that had the focus when it was disabled (the game paused): it gets the focus
    // back when enabled again, unless the player has put it elsewhere meanwhile.
    QPointer<QWidget> listLeftWhenDisabled_;

    // The key event last seen, so that one event passed on from a control to its parents is
    // previewed only once.
    const QEvent* lastKey_ = nullptr;
    QEvent::Type lastKeyType_ = QEvent::None;
    int lastKeyCode_ = 0;
    QPointer<QWidget> lastKeyReceiver_;
    quint64 lastKeyTime_ = 0;

    // Where the pointer has just come to rest, reported once the moves settle.
    QPointer<QWidget> pendingOver_;
    bool hintQueued_ = false;
};
