#include "desktop/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QWindowStateChangeEvent>

#include "desktop/Accessibility.h"
#include "desktop/Announcer.h"
#include "desktop/AreaFrame.h"
#include "desktop/AreaPicture.h"
#include "desktop/BarGauge.h"
#include "desktop/FocusMarkStyle.h"
#include "desktop/GlyphButton.h"
#include "desktop/MarqueeWidget.h"
#include "desktop/PanelWidget.h"
#include "desktop/PieClock.h"
#include "desktop/PropertyList.h"
#include "desktop/SvgPicture.h"
#include "ui/DisplayText.h"
#include "ui/Inputs.h"
#include "ui/MainWindowView.h"
#include "ui/MenuTree.h"
#include "ui/Tmainform.h"

namespace {

constexpr int kClientWidth = 722;
constexpr int kClientHeight = 534;
constexpr int kListRowHeight = 16;

const QColor kAqua(0x00, 0xFF, 0xFF);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kDarkGreen(0x00, 0x80, 0x00);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kButtonFace(0xD4, 0xD0, 0xC8);

// Where the status bar finds a control's hint: the command of a control whose hint the window
// logic keeps, else a fixed hint; an empty or missing one defers to the parent.
constexpr const char* kCommandProperty = "realtopiaCommand";
constexpr const char* kHintProperty = "realtopiaHint";

// A colour of the lists as drawn while they are disabled: 60 % of it over their black.
QColor Dimmed(const QColor& colour) {
    return QColor::fromRgb(colour.red() * 3 / 5, colour.green() * 3 / 5, colour.blue() * 3 / 5);
}

QFont PixelFont(int pixels, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QString Text(const std::string& text) {
    return QString::fromStdString(displaytext::WithLineFeeds(text));
}

QString Plain(const QString& caption) {
    return QString::fromStdString(displaytext::PlainCaption(caption.toStdString()));
}

void Name(QWidget* widget, const char* objectName, const QString& accessibleName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setAccessibleName(Plain(accessibleName));
}

// A control's hint: shown as its tooltip and, under the pointer, in the status bar.
void SetHint(QWidget* widget, const QString& hint, bool tooltip = true) {
    if (widget->property(kHintProperty).toString() == hint) return;
    widget->setProperty(kHintProperty, hint);
    if (tooltip) widget->setToolTip(hint);
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                  const QColor& colour, Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignTop,
                  int pixels = 13) {
    auto* label = new QLabel(text, parent);
    // No accessible name: a screen reader reads the label as the text it shows, and follows it.
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setFont(PixelFont(pixels));
    label->setAlignment(alignment);
    SetTextColour(label, colour);
    return label;
}

// Disabled buttons keep the style's grey text; only the enabled look gets the colour.
void SetButtonLook(QPushButton* button, const QFont& font, const QColor& colour) {
    button->setFont(font);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, kButtonFace);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::ButtonText, colour);
    button->setPalette(palette);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& place, const QFont& font, const QColor& colour) {
    auto* button = new QPushButton(caption, parent);
    Name(button, name, caption);
    button->setGeometry(place);
    SetButtonLook(button, font, colour);
    return button;
}

// The picture's resource, named as the picture is: ":/trend/risen.svg".
QString TrendPath(TTrendPicture picture) {
    return QStringLiteral(":/trend/%1.svg").arg(QLatin1String(TrendPictureName(picture)));
}

// A key as the window logic knows it: the input table's row of the key Qt names.
TKeyEvent ToKeyEvent(const QKeyEvent* event) {
    TKeyEvent key = KeyEventOfDesktopName(
        QKeySequence(event->key()).toString(QKeySequence::PortableText).toStdString());
    key.Text = event->text().toStdString();
    const int code = event->key();
    if (code >= Qt::Key_A && code <= Qt::Key_Z)
        key.Letter = static_cast<char>('a' + (code - Qt::Key_A));
    else if (code >= Qt::Key_0 && code <= Qt::Key_9)
        key.Letter = static_cast<char>('0' + (code - Qt::Key_0));
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers & Qt::ShiftModifier) key.Modifiers |= kShift;
    if (modifiers & Qt::ControlModifier) key.Modifiers |= kControl;
    if (modifiers & Qt::AltModifier) key.Modifiers |= kAlt;
    if (modifiers & Qt::MetaModifier) key.Modifiers |= kMeta;
    key.AutoRepeat = event->isAutoRepeat();
    return key;
}

TFocusReason ToFocusReason(Qt::FocusReason reason) {
    switch (reason) {
        case Qt::MouseFocusReason:
            return TFocusReason::Click;
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
            return TFocusReason::Tab;
        case Qt::ShortcutFocusReason:
            return TFocusReason::Accelerator;
        case Qt::ActiveWindowFocusReason:
            return TFocusReason::WindowActivation;
        default:
            return TFocusReason::Other;
    }
}

TList ListName(bool avail) {
    return avail ? TList::Avail : TList::Portfolio;
}

}  // namespace

MainWindow::MainWindow(Tmainform& form, QWidget* parent) : QMainWindow(parent), form_(form) {
    FocusMarkStyle::Install();
    // No accessible name: a screen reader reads the window by its title, the date included.
    setObjectName(QStringLiteral("mainform"));
    // A fixed window with a close box and a minimise box only.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setWindowIcon(QIcon(QStringLiteral(":/icon/realtopia.svg")));
    setFont(PixelFont(13));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    buildMenu();
    buildTop(client);
    buildMain(client);
    buildStatusBar(client);
    buildTabOrder();

    // The client area lies below the menu bar, as on Windows.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    centreOnScreen();

    // One shot at a time: the game clock says when its next event is due.
    mainTimer_ = new QTimer(this);
    mainTimer_->setObjectName(QStringLiteral("tmr_main"));
    mainTimer_->setSingleShot(true);
    connect(mainTimer_, &QTimer::timeout, this, [this] {
        form_.TimerFired();
        sync();
        applyMainTimer();
    });

    qApp->installEventFilter(this);
    sync();
    applyMainTimer();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect place(QPoint(), size());
    place.moveCenter(screen->availableGeometry().center());
    move(place.topLeft());
}

// ------------------------------------------------------------------ construction

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    for (const TMenuEntry& menu : MenuTree(form_)) addMenuEntries(bar->addMenu(QString()), menu);
}

void MainWindow::addMenuEntries(QMenu* menu, const TMenuEntry& entry) {
    menu->setTitle(QString::fromStdString(entry.Caption));
    menu->setObjectName(QString::fromStdString(entry.ControlName));
    QActionGroup* group = nullptr;
    for (const TMenuEntry& item : entry.Items) {
        switch (item.Type) {
            case TMenuEntry::Kind::Separator:
                menu->addSeparator();
                break;
            case TMenuEntry::Kind::Menu:
                addMenuEntries(menu->addMenu(QString()), item);
                break;
            case TMenuEntry::Kind::Item: {
                QAction* action = menu->addAction(QString::fromStdString(item.Caption));
                // The key beside the item is shown (and read as its key binding); it acts
                // only inside the open menu, as the window logic runs it everywhere else.
                if (!item.Shortcut.empty()) {
                    action->setShortcut(QKeySequence(QString::fromStdString(item.Shortcut)));
                    action->setShortcutContext(Qt::WidgetShortcut);
                }
                action->setObjectName(QString::fromStdString(item.ControlName));
                action->setCheckable(item.Checkable);
                if (item.Radio) {
                    if (!group) group = new QActionGroup(this);
                    group->addAction(action);
                }
                const TCommand command = *item.Command;
                menuActions_[command] = action;
                connect(action, &QAction::triggered, this, [this, command] { invoke(command); });
                break;
            }
        }
    }
    syncMenu(entry);
}

void MainWindow::syncMenu(const TMenuEntry& entry) {
    for (const TMenuEntry& item : entry.Items) {
        if (item.Type == TMenuEntry::Kind::Menu) syncMenu(item);
        if (!item.Command) continue;
        const auto found = menuActions_.find(*item.Command);
        if (found == menuActions_.end()) continue;
        found->second->setEnabled(item.Enabled);
        if (item.Checkable) found->second->setChecked(item.Checked);
    }
}

void MainWindow::buildTop(QWidget* client) {
    auto* top = new PanelWidget({kButtonFace, PanelWidget::Bevel::None}, client);
    Name(top, "pnl_top", QString());
    top->setGeometry(0, 0, kClientWidth, 25);

    const PanelWidget::Look money{Qt::black, PanelWidget::Bevel::Raised, PanelWidget::Bevel::None,
                                  4, true};
    auto makeMoney = [&](const char* name, const char* accessible, const QRect& place,
                         const char* hint) {
        auto* panel = new PanelWidget(money, top);
        Name(panel, name, QString::fromLatin1(accessible));
        panel->setGeometry(place);
        SetTextColour(panel, Qt::white);
        SetHint(panel, QString::fromLatin1(hint));
        return panel;
    };
    cashPanel_ =
        makeMoney("pnl_CurrentFund", "Current Cash", QRect(0, 0, 210, 25), hints::CurrentFund);
    portfolioPanel_ =
        makeMoney("pnl_Currportfolio", "Portfolio Value", QRect(210, 0, 302, 25), hints::Portfolio);
    debtPanel_ = makeMoney("pnl_CurrDebt", "Debt", QRect(512, 0, 210, 25), hints::Debt);

    ticker_ = new MarqueeWidget(form_.mq(), client);
    Name(ticker_, "mq", QString());
    ticker_->setAccessibleDescription(QStringLiteral("News ticker"));
    ticker_->setGeometry(0, 25, kClientWidth, 31);
    SetHint(ticker_, QString::fromLatin1(hints::Ticker), false);
    announcer_ = new Announcer(client);
}

void MainWindow::buildMain(QWidget* client) {
    auto* main = new PanelWidget(
        {Qt::black, PanelWidget::Bevel::None, PanelWidget::Bevel::Lowered, 0, false}, client);
    Name(main, "pnl_main", QString());
    main->setGeometry(0, 56, kClientWidth, 459);
    SetTextColour(main, Qt::white);

    auto* availTitle = MakeLabel(main, "lbl_TAvail", QString::fromUtf8(captions::AvailTitle),
                                 QRect(8, 8, 201, 17), kAqua);
    SetHint(availTitle, QString::fromLatin1(hints::AvailTitle));
    auto* portfolioTitle =
        MakeLabel(main, "lbl_TPortfolio", QString::fromUtf8(captions::PortfolioTitle),
                  QRect(216, 8, 201, 17), kYellow);
    SetHint(portfolioTitle, QString::fromLatin1(hints::PortfolioTitle));

    auto makeList = [&](const char* name, const QString& accessible, const QRect& place,
                        const QColor& colour) {
        auto* list = new PropertyList(kListRowHeight, main);
        Name(list, name, accessible);
        list->setGeometry(place);
        QPalette palette = list->palette();
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Base, Qt::black);
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Text, colour);
            palette.setColor(group, QPalette::Highlight, kNavy);
            palette.setColor(group, QPalette::HighlightedText, Qt::white);
        }
        // Disabled (before PLAY, while paused): the same colours dimmed, still easy to read.
        palette.setColor(QPalette::Disabled, QPalette::Text, Dimmed(colour));
        palette.setColor(QPalette::Disabled, QPalette::Highlight, Dimmed(kNavy));
        palette.setColor(QPalette::Disabled, QPalette::HighlightedText, Dimmed(Qt::white));
        list->setPalette(palette);
        SetHint(list, QString::fromLatin1(hints::Lists));
        connect(list, &PropertyList::mouseReleased, this, [this, list] { listMouseUp(list); });
        connect(list, &PropertyList::keyReleased, this,
                [this, list](bool autoRepeat) { listKeyUp(list, autoRepeat); });
        connect(list, &PropertyList::focusEntered, this,
                [this, list](Qt::FocusReason reason) { listFocusIn(list, reason); });
        return list;
    };
    availList_ =
        makeList("lst_Avail", QStringLiteral("Properties for Sale"), QRect(8, 32, 201, 321), kAqua);
    portfolioList_ = makeList("lst_portfolio", QStringLiteral("Your Portfolio"),
                              QRect(216, 32, 201, 321), kYellow);
    availTitle->setBuddy(availList_);
    portfolioTitle->setBuddy(portfolioList_);

    MakeLabel(main, "lbl_TInfo", QString::fromUtf8(captions::InfoTitle), QRect(8, 364, 409, 17),
              Qt::white);
    auto* info = new PanelWidget(
        {kSilver, PanelWidget::Bevel::None, PanelWidget::Bevel::Lowered, 2, false}, main);
    Name(info, "pnl_info", QStringLiteral("Information"));
    info->setGeometry(8, 383, 409, 65);
    infoLabel_ = MakeLabel(info, "lbl_info", QString(), QRect(3, 3, 403, 59), kYellow);
    infoLabel_->setWordWrap(true);
    infoLabel_->setAutoFillBackground(true);
    QPalette infoPalette = infoLabel_->palette();
    infoPalette.setColor(QPalette::Window, Qt::black);
    infoLabel_->setPalette(infoPalette);

    areaCaption_ = MakeLabel(main, "lbl_TAreas", QString(), QRect(420, 5, 294, 28), Qt::white,
                             Qt::AlignHCenter | Qt::AlignTop, 11);
    areaCaption_->setWordWrap(true);
    SetHint(areaCaption_, QString::fromLatin1(hints::Areas));
    buildAreas(main);

    // Initial captions come from the window logic's view, like every later one.
    const TMainWindowView& view = form_.View();
    auto Caption = [](const TButtonView& button) { return QString::fromStdString(button.Caption); };
    const QFont commandFont = PixelFont(15, false, true);
    damRen_ = MakeButton(main, "cmd_DamRen", Caption(view.DamRen), QRect(428, 161, 140, 32),
                         commandFont, Qt::black);
    buySell_ = MakeButton(main, "cmd_BuySell", Caption(view.BuySell), QRect(576, 161, 140, 32),
                          commandFont, Qt::black);
    mortgage_ = MakeButton(main, "cmd_Mortgage", Caption(view.Mortgage), QRect(576, 205, 140, 32),
                           commandFont, Qt::black);
    bindCommand(damRen_, TCommand::DamRen);
    bindCommand(buySell_, TCommand::BuySell);
    bindCommand(mortgage_, TCommand::Mortgage);

    trendLabel_ = MakeLabel(main, "lbl_trend", QString(), QRect(420, 213, 93, 16), Qt::white,
                            Qt::AlignRight | Qt::AlignTop, 11);
    SetHint(trendLabel_, QString::fromLatin1(hints::Trend));
    trendPicture_ = new SvgPicture(TrendPath(TTrendPicture::Steady), main);
    Name(trendPicture_, "img_trend", QStringLiteral("Market trend"));
    trendPicture_->setGeometry(520, 201, 40, 40);
    SetHint(trendPicture_, QString::fromLatin1(hints::Trend));
    // The three arrows the trend picture is copied from; never shown.
    const std::array<std::pair<const char*, TTrendPicture>, 3> arrows{{
        {"img_level", TTrendPicture::Steady},
        {"img_up", TTrendPicture::Risen},
        {"img_down", TTrendPicture::Fallen},
    }};
    for (const auto& [name, picture] : arrows) {
        auto* arrow = new SvgPicture(TrendPath(picture), main);
        arrow->setObjectName(QString::fromLatin1(name));
        accessibility::MarkDecorative(arrow);  // never shown: no node, no internal name
        arrow->setGeometry(0, 0, 40, 40);
        arrow->hide();
    }

    auto* clockPanel = new PanelWidget({Qt::black, PanelWidget::Bevel::None}, main);
    Name(clockPanel, "pnl_Clock", QStringLiteral("Month clock"));
    clockPanel->setGeometry(458, 240, 80, 80);
    clock_ = new PieClock(clockPanel);
    Name(clock_, "clock", QStringLiteral("Month clock"));
    clock_->setGeometry(0, 0, 80, 80);
    SetHint(clock_, QString::fromLatin1(hints::Clock));
    monthLabel_ = MakeLabel(clockPanel, "lbl_time", QString::fromStdString(view.MonthLabel),
                            QRect(10, 32, 61, 16), Qt::white);
    SetHint(monthLabel_, QString::fromLatin1(hints::Month));

    auto* sponsor = new SvgPicture(QStringLiteral(":/sponsor.svg"), main);
    Name(sponsor, "img_Sponsor", QStringLiteral("Sponsor"));
    sponsor->setGeometry(576, 248, 140, 36);
    // Drawn by the build at this size, as the splash's logo is.
    sponsor->setReadyPictures(QStringLiteral(":/sponsor-small.argb"),
                              QStringLiteral(":/sponsor-small@2x.argb"));
    sponsor->setCursor(Qt::PointingHandCursor);
    SetHint(sponsor, QString::fromLatin1(hints::Sponsor));
    sponsor->setProperty(kCommandProperty, static_cast<int>(TCommand::Sponsor));
    connect(sponsor, &SvgPicture::clicked, this, [this] { invoke(TCommand::Sponsor); });

    auto* progressTitle =
        MakeLabel(main, "lbl_progress", QString::fromUtf8(captions::Progress),
                  QRect(576, 293, 140, 16), Qt::white, Qt::AlignHCenter | Qt::AlignTop, 11);
    SetHint(progressTitle, QString::fromLatin1(hints::Progress));
    progress_ = new BarGauge(main);
    Name(progress_, "progress", QStringLiteral("Game Progress"));
    progress_->setGeometry(576, 310, 140, 16);
    SetHint(progress_, QString::fromLatin1(hints::Progress));

    start_ = new GlyphButton(QIcon(QStringLiteral(":/glyphs/play.svg")), QSize(16, 16), main);
    Name(start_, "cmd_Start", Caption(view.Start));
    start_->setText(Caption(view.Start));
    start_->setGeometry(428, 336, 140, 41);
    SetButtonLook(start_, PixelFont(19, true), kDarkGreen);
    bindCommand(start_, TCommand::Start);

    auto* statusTitle = MakeLabel(main, "lbl_tStatus", QString::fromUtf8(captions::StatusTitle),
                                  QRect(572, 336, 140, 16), Qt::white);
    SetHint(statusTitle, QString::fromLatin1(hints::Status));
    stageLabel_ = MakeLabel(main, "lbl_Stage", QString::fromStdString(view.StageText),
                            QRect(572, 355, 140, 19), kYellow, Qt::AlignHCenter | Qt::AlignTop, 15);
    SetHint(stageLabel_, QString::fromLatin1(hints::Status));

    email_ = MakeButton(main, "cmd_email", Caption(view.Email), QRect(428, 383, 288, 26),
                        PixelFont(16, true, true), kNavy);
    // The window's default button; Enter reaches it through the key preview.
    email_->setDefault(true);
    bindCommand(email_, TCommand::Email);
    exit_ = MakeButton(main, "cmd_Exit", Caption(view.Exit), QRect(428, 416, 136, 32), commandFont,
                       Qt::black);
    bindCommand(exit_, TCommand::Exit);
    rules_ = MakeButton(main, "cmd_Rules", Caption(view.Rules), QRect(576, 416, 140, 32),
                        commandFont, Qt::black);
    bindCommand(rules_, TCommand::Rules);
}

void MainWindow::buildAreas(QWidget* main) {
    auto* areas = new PanelWidget(
        {Qt::black, PanelWidget::Bevel::None, PanelWidget::Bevel::Lowered, 1, false}, main);
    Name(areas, "pnl_Areas", QStringLiteral("Areas"));
    areas->setGeometry(422, 33, 294, 126);
    constexpr std::array<int, 3> lefts{8, 102, 196};
    constexpr std::array<int, 2> tops{8, 66};
    // Frames first, so the pictures lie above them.
    for (std::size_t i = 0; i < areaFrames_.size(); ++i) {
        auto* frame = new AreaFrame(areas);
        const QByteArray name = "img_Rect" + QByteArray::number(static_cast<int>(i) + 1);
        Name(frame, name.constData(), QString());
        accessibility::MarkDecorative(frame);  // the picture itself says which area is chosen
        frame->setGeometry(lefts[i % 3] - 2, tops[i / 3] - 2, 94, 58);
        areaFrames_[i] = frame;
    }
    for (std::size_t i = 0; i < areaPictures_.size(); ++i) {
        const int area = static_cast<int>(i) + 1;
        auto* picture = new AreaPicture(QStringLiteral(":/areas/area%1.svg").arg(area), areas);
        const QByteArray name = "img_area" + QByteArray::number(area);
        picture->setObjectName(QString::fromLatin1(name));
        picture->setProperty("tag", area);
        picture->setGeometry(lefts[i % 3], tops[i / 3], 90, 54);
        picture->setCursor(Qt::PointingHandCursor);
        picture->setProperty(kCommandProperty, static_cast<int>(AreaCommand(area)));
        connect(picture, &SvgPicture::clicked, this, [this, area] { invoke(AreaCommand(area)); });
        connect(picture, &AreaPicture::arrowed, this, [this, area](TArrow arrow) {
            const int next = AreaAfterArrow(area, arrow);
            areaPictures_[static_cast<std::size_t>(next - 1)]->setFocus(Qt::OtherFocusReason);
            invoke(AreaCommand(next));
        });
        areaPictures_[i] = picture;
    }
}

void MainWindow::buildStatusBar(QWidget* client) {
    statusBar_ = new QStatusBar(client);
    statusBar_->setObjectName(QStringLiteral("st"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setGeometry(0, 515, kClientWidth, 19);
    statusText_ = new QLabel(QString::fromLatin1(hints::StatusBar), statusBar_);
    statusText_->setObjectName(QStringLiteral("st_text"));
    statusBar_->addWidget(statusText_, 1);
    SetHint(statusBar_, QString::fromLatin1(hints::StatusBar), false);
}

void MainWindow::buildTabOrder() {
    // Tab follows the screen: the two lists on the left, then the right-hand column from
    // the area pictures down to Exit and Rules. Panels and other pictures take no focus.
    std::vector<QWidget*> order{availList_, portfolioList_};
    order.insert(order.end(), areaPictures_.begin(), areaPictures_.end());
    order.insert(order.end(), {damRen_, buySell_, mortgage_, start_, email_, exit_, rules_});
    for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

// ------------------------------------------------------------------ mirror of the view

void MainWindow::sync() {
    const TMainWindowView& view = form_.View();

    setWindowTitle(QString::fromStdString(view.Caption));
    cashPanel_->setCaption(Text(view.CashPanel));
    portfolioPanel_->setCaption(Text(view.PortfolioPanel));
    debtPanel_->setCaption(Text(view.DebtPanel));
    infoLabel_->setText(Text(view.Info));
    areaCaption_->setText(Text(view.AreaCaption));

    for (std::size_t i = 0; i < areaPictures_.size(); ++i) {
        const QString name = QString::fromStdString(view.AreaHints[i]);
        if (areaPictures_[i]->accessibleName() != name) areaPictures_[i]->setAccessibleName(name);
        SetHint(areaPictures_[i], name);
        areaPictures_[i]->setChosen(view.AreaFrameRed[i]);
        areaFrames_[i]->setColour(view.AreaFrameRed[i] ? Qt::red : Qt::black);
    }

    // The ticker reads as the headline it shows; the window logic announces each new one.
    const QString headline = QString::fromStdString(form_.mq().SpokenText());
    if (ticker_->accessibleName() != headline) ticker_->setAccessibleName(headline);

    trendLabel_->setText(Text(view.TrendText));
    trendPicture_->setPath(TrendPath(view.TrendPicture));
    trendPicture_->setAccessibleName(trendLabel_->text());
    stageLabel_->setText(Text(view.StageText));
    monthLabel_->setText(Text(view.MonthLabel));
    clock_->setPercent(view.ClockPercent());
    clock_->setAccessibleDescription(monthLabel_->text());
    progress_->setProgress(view.ProgressPercent(), QString::fromStdString(view.ProgressText()));
    statusText_->setText(Text(view.Status));
    // The bar itself is read as its one text field.
    if (statusBar_->accessibleName() != statusText_->text())
        statusBar_->setAccessibleName(statusText_->text());

    syncButton(start_, view.Start);
    syncButton(buySell_, view.BuySell);
    syncButton(damRen_, view.DamRen);
    syncButton(mortgage_, view.Mortgage);
    syncButton(email_, view.Email);
    syncButton(exit_, view.Exit);
    syncButton(rules_, view.Rules);

    for (const TMenuEntry& menu : MenuTree(form_)) syncMenu(menu);

    syncLists();

    // The window logic asks once, when the window is shown, for the focus on PLAY.
    if (view.FocusStart && !focusStartDone_) {
        focusStartDone_ = true;
        start_->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::announce(const std::string& text) {
    announcer_->announce(QString::fromStdString(text));
}

void MainWindow::syncButton(QPushButton* button, const TButtonView& view) {
    const QString caption = QString::fromStdString(view.Caption);
    if (button->text() != caption) {
        button->setText(caption);
        button->setAccessibleName(Plain(caption));
    }
    button->setEnabled(view.Enabled);
    SetHint(button, QString::fromStdString(view.Hint));
}

void MainWindow::syncLists() {
    const TMainWindowView& view = form_.View();
    // A disabled list loses the focus: to PLAY, which resumes, rather than to whatever follows
    // in the tab order; enabled again, the list has it back.
    for (auto [list, enabled] : {std::pair{availList_, view.Avail.Enabled},
                                 std::pair{portfolioList_, view.Portfolio.Enabled}}) {
        if (!enabled && list->hasFocus()) {
            listLeftWhenDisabled_ = list;
            start_->setFocus(Qt::OtherFocusReason);
        }
        list->setEnabled(enabled);
        if (enabled && listLeftWhenDisabled_ == list) {
            listLeftWhenDisabled_ = nullptr;
            QWidget* focused = focusWidget();
            if (focused == nullptr || focused == start_ || !focused->isEnabled())
                list->setFocus(Qt::OtherFocusReason);
        }
    }
    if (listsRevision_ == view.ListsRevision) return;
    listsRevision_ = view.ListsRevision;
    for (auto [widget, rows] :
         {std::pair{availList_, &view.Avail}, std::pair{portfolioList_, &view.Portfolio}}) {
        std::vector<PropertyRow> shown;
        shown.reserve(rows->Rows.size());
        for (const TListRow& row : rows->Rows) {
            const std::string_view name(row.Text.data(), std::min(row.NameLength, row.Text.size()));
            shown.push_back(
                {QString::fromStdString(row.Text),
                 static_cast<int>(
                     QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).size()),
                 row.Selected});
        }
        widget->setRows(shown);
    }
}

void MainWindow::applyMainTimer() {
    const TMainWindowView& view = form_.View();
    if (!view.TimerEnabled) {
        mainTimer_->stop();
        return;
    }
    if (mainTimer_->isActive() && armedGeneration_ == view.TimerGeneration) return;
    armedGeneration_ = view.TimerGeneration;
    mainTimer_->start(static_cast<int>(view.TimerDue));
}

void MainWindow::invoke(TCommand command) {
    form_.Invoke(command);
    sync();
}

void MainWindow::bindCommand(QPushButton* button, TCommand command) {
    button->setProperty(kCommandProperty, static_cast<int>(command));
    connect(button, &QPushButton::clicked, this, [this, command] { invoke(command); });
}

// ------------------------------------------------------------------ lists

void MainWindow::listMouseUp(PropertyList* list) {
    form_.ListMouseUp(ListName(list == availList_), list->selectedRows());
    sync();
}

void MainWindow::listKeyUp(PropertyList* list, bool autoRepeat) {
    // A held key repeats its press, but is let go only once.
    if (autoRepeat) return;
    form_.ListKeyUp(ListName(list == availList_), list->selectedRows());
    sync();
}

void MainWindow::listFocusIn(PropertyList* list, Qt::FocusReason reason) {
    form_.ListFocusIn(ListName(list == availList_), ToFocusReason(reason), list->selectedRows(),
                      list->currentRow());
    sync();
}

// ------------------------------------------------------------------ events

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::Enter &&
        type != QEvent::Leave)
        return QMainWindow::eventFilter(watched, event);
    if (!watched->isWidgetType()) return QMainWindow::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this) return QMainWindow::eventFilter(watched, event);

    switch (type) {
        case QEvent::Enter:
            pointerOver(widget);
            break;
        case QEvent::Leave:
            pointerOver(widget == this ? nullptr : widget->parentWidget());
            break;
        default:
            if (previewKey(widget, static_cast<QKeyEvent*>(event))) return true;
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::firstDelivery(QWidget* receiver, const QKeyEvent* event) {
    // A key the focused control leaves alone travels on to its parents; the preview has
    // already seen it then.
    if (event == lastKey_ && event->type() == lastKeyType_ && event->key() == lastKeyCode_ &&
        event->timestamp() == lastKeyTime_ && lastKeyReceiver_ && receiver != lastKeyReceiver_ &&
        receiver->isAncestorOf(lastKeyReceiver_))
        return false;
    lastKey_ = event;
    lastKeyType_ = event->type();
    lastKeyCode_ = event->key();
    lastKeyReceiver_ = receiver;
    lastKeyTime_ = event->timestamp();
    return true;
}

bool MainWindow::previewKey(QWidget* receiver, QKeyEvent* event) {
    if (qobject_cast<QMenuBar*>(receiver) || !firstDelivery(receiver, event)) return false;
    const TKeyEvent key = ToKeyEvent(event);
    if (event->type() == QEvent::KeyRelease) {
        const bool listSees = form_.KeyRelease(key);
        sync();
        // A key the window has handled is not handed on to a focused list.
        return !listSees;
    }
    // The control with the focus that Enter presses: a button or an area picture.
    std::optional<TCommand> focusedButton;
    if (receiver->focusPolicy() & Qt::TabFocus) {
        const QVariant command = receiver->property(kCommandProperty);
        if (command.isValid()) focusedButton = static_cast<TCommand>(command.toInt());
    }
    const bool taken = form_.KeyPress(key, focusedButton);
    sync();
    return taken;
}

void MainWindow::pointerOver(QWidget* widget) {
    pendingOver_ = widget;
    // Leaving one control and entering the next arrive together: show only where the
    // pointer ends up.
    if (hintQueued_) return;
    hintQueued_ = true;
    QMetaObject::invokeMethod(this, &MainWindow::flushHint, Qt::QueuedConnection);
}

void MainWindow::flushHint() {
    hintQueued_ = false;
    for (QWidget* w = pendingOver_; w && w != this; w = w->parentWidget()) {
        const QVariant command = w->property(kCommandProperty);
        if (command.isValid()) {
            form_.PointerOver(static_cast<TCommand>(command.toInt()));
            sync();
            return;
        }
        const QString hint = w->property(kHintProperty).toString();
        if (!hint.isEmpty()) {
            form_.PointerOverHint(hint.toStdString());
            sync();
            return;
        }
    }
    form_.PointerOverHint(std::string());
    sync();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        form_.WindowDeactivated();
        return;
    }
    if (event->type() != QEvent::WindowStateChange) return;
    form_.WindowStateChanged(isMinimized());
    sync();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const bool allowed = form_.CloseRequested();
    sync();
    if (allowed)
        event->accept();
    else
        event->ignore();
}
