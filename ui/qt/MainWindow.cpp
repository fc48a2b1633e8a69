#include "ui/qt/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QWindowStateChangeEvent>

#include "ui/MainWindowView.h"
#include "ui/qt/AreaFrame.h"
#include "ui/qt/BarGauge.h"
#include "ui/qt/GlyphButton.h"
#include "ui/qt/MarqueeWidget.h"
#include "ui/qt/PanelWidget.h"
#include "ui/qt/PieClock.h"
#include "ui/qt/PropertyList.h"
#include "ui/qt/SvgPicture.h"
#include "windows/TRealtopia.h"

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

// Where the status bar finds a control's hint; an empty or missing one defers to the parent.
constexpr const char* kHintProperty = "realtopiaHint";

QFont PixelFont(int pixels, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QString Text(const std::string& text) {
    // The window logic breaks lines with carriage returns.
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QString Plain(const QString& caption) {
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    return plain;
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
    Name(label, name, text);
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

QString TrendPath(TTrendPicture picture) {
    switch (picture) {
        case TTrendPicture::Risen:
            return QStringLiteral(":/trend/risen.svg");
        case TTrendPicture::Fallen:
            return QStringLiteral(":/trend/fallen.svg");
        case TTrendPicture::Steady:
            break;
    }
    return QStringLiteral(":/trend/steady.svg");
}

std::optional<Tmainform::Key> PreviewKey(int key) {
    switch (key) {
        case Qt::Key_Escape:
            return Tmainform::Key::Esc;
        case Qt::Key_F1:
            return Tmainform::Key::F1;
        case Qt::Key_F2:
            return Tmainform::Key::F2;
        case Qt::Key_F5:
            return Tmainform::Key::F5;
        case Qt::Key_F6:
            return Tmainform::Key::F6;
        case Qt::Key_F7:
            return Tmainform::Key::F7;
        case Qt::Key_F12:
            return Tmainform::Key::F12;
        default:
            return std::nullopt;
    }
}

}  // namespace

MainWindow::MainWindow(TRealtopia& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName(QStringLiteral("mainform"));
    setAccessibleName(QString::fromStdString(app_.Title()));
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

    mainTimer_ = new QTimer(this);
    mainTimer_->setObjectName(QStringLiteral("tmr_main"));
    connect(mainTimer_, &QTimer::timeout, this, [this] {
        app_.mainform.tmr_mainTimer();
        sync();
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

    QMenu* file = bar->addMenu(QString::fromUtf8(captions::MenuFile));
    file->setObjectName(QStringLiteral("mnu_File"));
    quitReplay_ = file->addAction(QString::fromUtf8(captions::MenuQuitReplay));
    quitReplay_->setObjectName(QStringLiteral("mnu_FileQuitandReplay"));
    quitReplay_->setEnabled(false);
    connect(quitReplay_, &QAction::triggered, this,
            [this] { forward([](Tmainform& f) { f.mnu_FileQuitandReplayClick(); }); });
    file->addSeparator();
    QAction* exit = file->addAction(QString::fromUtf8(captions::MenuExit));
    exit->setObjectName(QStringLiteral("mnu_FileExit"));
    connect(exit, &QAction::triggered, this,
            [this] { forward([](Tmainform& f) { f.mnu_FileExitClick(); }); });

    QMenu* options = bar->addMenu(QString::fromUtf8(captions::MenuOptions));
    options->setObjectName(QStringLiteral("mnu_Options"));
    sound_ = options->addAction(QString::fromUtf8(captions::MenuSound));
    sound_->setObjectName(QStringLiteral("mnu_OptionsSound"));
    sound_->setCheckable(true);
    sound_->setChecked(true);
    connect(sound_, &QAction::triggered, this,
            [this] { forward([](Tmainform& f) { f.mnu_OptionsSoundClick(); }); });
    QMenu* speed = options->addMenu(QString::fromUtf8(captions::MenuScrollerSpeed));
    speed->setObjectName(QStringLiteral("mnu_OptionsScrollerSpeed"));
    auto* speeds = new QActionGroup(this);
    speeds->setExclusive(true);
    auto addSpeed = [&](const char* caption, const char* name, void (Tmainform::*handler)()) {
        QAction* action = speed->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        speeds->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, handler] { forward([handler](Tmainform& f) { (f.*handler)(); }); });
        return action;
    };
    fast_ = addSpeed(captions::MenuFast, "Fast1", &Tmainform::Fast1Click);
    medium_ = addSpeed(captions::MenuMedium, "Mediuim1", &Tmainform::Mediuim1Click);
    slow_ = addSpeed(captions::MenuSlow, "Slow1", &Tmainform::Slow1Click);
    medium_->setChecked(true);

    QMenu* help = bar->addMenu(QString::fromUtf8(captions::MenuHelp));
    help->setObjectName(QStringLiteral("mnu_Help"));
    QAction* rules = help->addAction(QString::fromUtf8(captions::MenuRules));
    rules->setObjectName(QStringLiteral("mnu_HelpRules"));
    connect(rules, &QAction::triggered, this,
            [this] { forward([](Tmainform& f) { f.mnu_HelpRulesClick(); }); });
    QAction* about = help->addAction(QString::fromUtf8(captions::MenuAbout));
    about->setObjectName(QStringLiteral("mnu_HelpAbout"));
    connect(about, &QAction::triggered, this,
            [this] { forward([](Tmainform& f) { f.mnu_HelpAboutClick(); }); });
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

    ticker_ = new MarqueeWidget(app_.mainform.mq(), client);
    Name(ticker_, "mq", QStringLiteral("News ticker"));
    ticker_->setGeometry(0, 25, kClientWidth, 31);
    SetHint(ticker_, QString::fromLatin1(hints::Ticker), false);
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
        list->setPalette(palette);
        SetHint(list, QString::fromLatin1(hints::Lists));
        connect(list, &PropertyList::mouseReleased, this,
                [this, list] { listReleased(list, true); });
        connect(list, &PropertyList::keyReleased, this,
                [this, list] { listReleased(list, false); });
        connect(list, &PropertyList::focusEntered, this, [this, list] { listEntered(list); });
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
    infoLabel_->setAccessibleName(QStringLiteral("Information"));
    infoLabel_->setWordWrap(true);
    infoLabel_->setAutoFillBackground(true);
    QPalette infoPalette = infoLabel_->palette();
    infoPalette.setColor(QPalette::Window, Qt::black);
    infoLabel_->setPalette(infoPalette);

    areaCaption_ = MakeLabel(main, "lbl_TAreas", QString(), QRect(420, 5, 294, 28), Qt::white,
                             Qt::AlignHCenter | Qt::AlignTop, 11);
    areaCaption_->setAccessibleName(QStringLiteral("Current area"));
    areaCaption_->setWordWrap(true);
    SetHint(areaCaption_, QString::fromLatin1(hints::Areas));
    buildAreas(main);

    // Initial captions come from the window logic's view, like every later one.
    const TMainWindowView& view = app_.mainform.View();
    auto Caption = [](const TButtonView& button) { return QString::fromStdString(button.Caption); };
    const QFont commandFont = PixelFont(15, false, true);
    damRen_ = MakeButton(main, "cmd_DamRen", Caption(view.DamRen), QRect(428, 161, 140, 32),
                         commandFont, Qt::black);
    buySell_ = MakeButton(main, "cmd_BuySell", Caption(view.BuySell), QRect(576, 161, 140, 32),
                          commandFont, Qt::black);
    mortgage_ = MakeButton(main, "cmd_Mortgage", Caption(view.Mortgage), QRect(576, 205, 140, 32),
                           commandFont, Qt::black);
    connect(damRen_, &QPushButton::clicked, this,
            [this] { forward([](Tmainform& f) { f.cmd_DamRenClick(); }); });
    connect(buySell_, &QPushButton::clicked, this,
            [this] { forward([](Tmainform& f) { f.cmd_BuySellClick(); }); });
    connect(mortgage_, &QPushButton::clicked, this,
            [this] { forward([](Tmainform& f) { f.cmd_MortgageClick(); }); });

    trendLabel_ = MakeLabel(main, "lbl_trend", QString(), QRect(420, 213, 93, 16), Qt::white,
                            Qt::AlignRight | Qt::AlignTop, 11);
    trendLabel_->setAccessibleName(QStringLiteral("Market trend"));
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
        Name(arrow, name, QString::fromLatin1(name));
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
    sponsor->setCursor(Qt::PointingHandCursor);
    SetHint(sponsor, QString::fromLatin1(hints::Sponsor));
    connect(sponsor, &SvgPicture::clicked, this,
            [this] { forward([](Tmainform& f) { f.img_SponsorClick(); }); });

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
    connect(start_, &QPushButton::clicked, this,
            [this] { forward([](Tmainform& f) { f.cmd_StartClick(); }); });

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
    connect(email_, &QPushButton::clicked, this,
            [this] { forward([](Tmainform& f) { f.cmd_emailClick(); }); });
    exit_ = MakeButton(main, "cmd_Exit", Caption(view.Exit), QRect(428, 416, 136, 32), commandFont,
                       Qt::black);
    connect(exit_, &QPushButton::clicked, this,
            [this] { forward([](Tmainform& f) { f.mnu_FileExitClick(); }); });
    rules_ = MakeButton(main, "cmd_Rules", Caption(view.Rules), QRect(576, 416, 140, 32),
                        commandFont, Qt::black);
    connect(rules_, &QPushButton::clicked, this,
            [this] { forward([](Tmainform& f) { f.mnu_HelpRulesClick(); }); });
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
        frame->setGeometry(lefts[i % 3] - 2, tops[i / 3] - 2, 94, 58);
        areaFrames_[i] = frame;
    }
    for (std::size_t i = 0; i < areaPictures_.size(); ++i) {
        const int area = static_cast<int>(i) + 1;
        auto* picture = new SvgPicture(QStringLiteral(":/areas/area%1.svg").arg(area), areas);
        const QByteArray name = "img_area" + QByteArray::number(area);
        picture->setObjectName(QString::fromLatin1(name));
        picture->setProperty("tag", area);
        picture->setGeometry(lefts[i % 3], tops[i / 3], 90, 54);
        picture->setCursor(Qt::PointingHandCursor);
        connect(picture, &SvgPicture::clicked, this,
                [this, area] { forward([area](Tmainform& f) { f.ClickArea(area); }); });
        areaPictures_[i] = picture;
    }
}

void MainWindow::buildStatusBar(QWidget* client) {
    statusBar_ = new QStatusBar(client);
    statusBar_->setObjectName(QStringLiteral("st"));
    statusBar_->setAccessibleName(QStringLiteral("Status"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setGeometry(0, 515, kClientWidth, 19);
    statusText_ = new QLabel(QString::fromLatin1(hints::StatusBar), statusBar_);
    statusText_->setObjectName(QStringLiteral("st_text"));
    statusBar_->addWidget(statusText_, 1);
    SetHint(statusBar_, QString::fromLatin1(hints::StatusBar), false);
}

void MainWindow::buildTabOrder() {
    // Panels and pictures take no focus; the rest follow the layout's order.
    const std::array<QWidget*, 9> order{availList_, portfolioList_, buySell_,  damRen_, exit_,
                                        rules_,     start_,         mortgage_, email_};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

// ------------------------------------------------------------------ mirror of the view

void MainWindow::sync() {
    const TMainWindowView& view = app_.mainform.View();

    setWindowTitle(QString::fromStdString(view.Caption));
    cashPanel_->setCaption(Text(view.CashPanel));
    portfolioPanel_->setCaption(Text(view.PortfolioPanel));
    debtPanel_->setCaption(Text(view.DebtPanel));
    infoLabel_->setText(Text(view.Info));
    infoLabel_->setAccessibleDescription(infoLabel_->text());
    areaCaption_->setText(Text(view.AreaCaption));
    areaCaption_->setAccessibleDescription(areaCaption_->text());

    for (std::size_t i = 0; i < areaPictures_.size(); ++i) {
        const QString name = QString::fromStdString(view.AreaHints[i]);
        areaPictures_[i]->setAccessibleName(name);
        SetHint(areaPictures_[i], name);
        areaFrames_[i]->setColour(view.AreaFrameRed[i] ? Qt::red : Qt::black);
        areaFrames_[i]->setAccessibleName(view.AreaFrameRed[i] ? name + QStringLiteral(" chosen")
                                                               : QString());
    }

    trendLabel_->setText(Text(view.TrendText));
    trendPicture_->setPath(TrendPath(view.TrendPicture));
    trendPicture_->setAccessibleDescription(trendLabel_->text());
    stageLabel_->setText(Text(view.StageText));
    monthLabel_->setText(Text(view.MonthLabel));
    clock_->setPercent(view.ClockPercent());
    clock_->setAccessibleDescription(monthLabel_->text());
    progress_->setProgress(view.ProgressPercent(), QString::fromStdString(view.ProgressText()));
    statusText_->setText(Text(view.Status));

    syncButton(start_, view.Start);
    syncButton(buySell_, view.BuySell);
    syncButton(damRen_, view.DamRen);
    syncButton(mortgage_, view.Mortgage);
    syncButton(email_, view.Email);
    syncButton(exit_, view.Exit);
    syncButton(rules_, view.Rules);

    quitReplay_->setEnabled(view.QuitReplayEnabled);
    sound_->setChecked(view.SoundChecked);
    switch (app_.mainform.mq().Speed()) {
        case tsFast:
            fast_->setChecked(true);
            break;
        case tsSlow:
            slow_->setChecked(true);
            break;
        case tsMedium:
            medium_->setChecked(true);
            break;
    }

    syncLists();

    // The window logic asks once, when the window is shown, for the focus on PLAY.
    if (view.FocusStart && !focusStartDone_) {
        focusStartDone_ = true;
        start_->setFocus(Qt::OtherFocusReason);
    }
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
    const TMainWindowView& view = app_.mainform.View();
    availList_->setEnabled(view.Avail.Enabled);
    portfolioList_->setEnabled(view.Portfolio.Enabled);
    if (listsRevision_ == view.ListsRevision) return;
    listsRevision_ = view.ListsRevision;
    for (auto [widget, rows] :
         {std::pair{availList_, &view.Avail}, std::pair{portfolioList_, &view.Portfolio}}) {
        std::vector<QString> texts;
        std::vector<bool> selected;
        texts.reserve(rows->Rows.size());
        selected.reserve(rows->Rows.size());
        for (const TListRow& row : rows->Rows) {
            texts.push_back(QString::fromStdString(row.Text));
            selected.push_back(row.Selected);
        }
        widget->setRows(texts, selected);
    }
}

void MainWindow::applyMainTimer() {
    const TMainWindowView& view = app_.mainform.View();
    if (!view.TimerEnabled) {
        mainTimer_->stop();
        return;
    }
    if (!mainTimer_->isActive() || mainTimer_->interval() != view.TimerInterval)
        mainTimer_->start(view.TimerInterval);
}

template <typename Handler>
void MainWindow::forward(Handler handler) {
    handler(app_.mainform);
    sync();
}

// ------------------------------------------------------------------ lists

void MainWindow::listReleased(PropertyList* list, bool mouse) {
    const bool avail = list == availList_;
    app_.mainform.SetListSelection(avail ? IGameWindow::List::Avail : IGameWindow::List::Portfolio,
                                   list->selectedRows());
    forward([avail, mouse](Tmainform& f) {
        if (avail && mouse) f.lst_AvailMouseUp();
        if (avail && !mouse) f.lst_AvailKeyUp();
        if (!avail && mouse) f.lst_portfolioMouseUp();
        if (!avail && !mouse) f.lst_portfolioKeyUp();
    });
}

void MainWindow::listEntered(PropertyList* list) {
    const bool avail = list == availList_;
    app_.mainform.SetListSelection(avail ? IGameWindow::List::Avail : IGameWindow::List::Portfolio,
                                   list->selectedRows());
    forward([avail](Tmainform& f) {
        if (avail)
            f.lst_AvailEnter();
        else
            f.lst_portfolioEnter();
    });
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

    if (event->type() == QEvent::KeyRelease) {
        if (event->isAutoRepeat()) return false;
        if (const auto key = PreviewKey(event->key())) {
            forward([key](Tmainform& f) { f.FormKeyUp(*key); });
        }
        return false;
    }

    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        // Enter presses the focused button, or the default button when the focus is elsewhere.
        auto* button = qobject_cast<QPushButton*>(receiver);
        if (!button) button = email_;
        if (button->isEnabled() && button->isVisibleTo(this)) button->click();
        return true;
    }
    // Typed characters; Alt combinations and Tab are the menu's and the focus's.
    if (event->text().isEmpty() || (modifiers & Qt::AltModifier) || event->key() == Qt::Key_Tab ||
        event->key() == Qt::Key_Backtab)
        return false;
    const QString text = event->text();
    for (const char32_t character : text.toUcs4()) {
        const std::string typed = QString::fromUcs4(&character, 1).toStdString();
        forward([&typed](Tmainform& f) { f.FormKeyPress(typed); });
    }
    return false;
}

void MainWindow::pointerOver(QWidget* widget) {
    QString hint;
    for (QWidget* w = widget; w && w != this; w = w->parentWidget()) {
        hint = w->property(kHintProperty).toString();
        if (!hint.isEmpty()) break;
    }
    pendingHint_ = hint;
    // Leaving one control and entering the next arrive together: show only where the
    // pointer ends up.
    if (hintQueued_) return;
    hintQueued_ = true;
    QMetaObject::invokeMethod(this, &MainWindow::flushHint, Qt::QueuedConnection);
}

void MainWindow::flushHint() {
    hintQueued_ = false;
    if (pendingHint_ == hint_) return;
    hint_ = pendingHint_;
    forward([this](Tmainform& f) { f.ApplicationHint(hint_.toStdString()); });
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool minimised = isMinimized();
    if (minimised == change->oldState().testFlag(Qt::WindowMinimized)) return;
    forward([minimised](Tmainform& f) { f.FormResize(minimised); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool allowed = true;
    forward([&allowed](Tmainform& f) { allowed = f.FormCloseQuery(); });
    if (allowed)
        event->accept();
    else
        event->ignore();
}
