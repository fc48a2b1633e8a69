#include "desktop/RulesDialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "desktop/FocusMarkStyle.h"
#include "desktop/PanelWidget.h"
#include "desktop/WidgetHelpers.h"
#include "frontend/RulesLoop.h"
#include "windows/Trulesform.h"

using namespace sidewindows;

namespace {

struct TopicControls {
    const char* button;
    const char* label;
    int top;
};

// The rules window's answer a button gives when pressed.
constexpr const char* kAnswerProperty = "rulesAnswer";

constexpr TopicControls kTopicControls[4] = {
    {"sp_OverView", "Label1", 66},
    {"sp_Buying", "lbl_Buying", 122},
    {"sp_Selling", "lbl_Selling", 178},
    {"sp_Strategy", "Label2", 234},
};

}  // namespace

RulesDialog::RulesDialog(Trulesform& rules, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), rules_(rules) {
    FocusMarkStyle::Install();
    setObjectName(QStringLiteral("rulesform"));
    setWindowTitle(QString::fromUtf8(Trulesform::Subject));
    setAccessibleName(windowTitle());
    setFixedSize(472, 385);
    setModal(true);

    QWidget* Panel1 =
        ClientArea(MakePanel(this, "Panel1", WindowFrameLook(), QRect(0, 0, 472, 385)));

    cmd_rules_ = new QPushButton(QString::fromUtf8(Trulesform::CloseCaption), Panel1);
    Name(cmd_rules_, "cmd_rules", cmd_rules_->text());
    cmd_rules_->setGeometry(182, 328, 104, 38);
    cmd_rules_->setIcon(Glyph("close"));
    cmd_rules_->setDefault(true);
    Answers(cmd_rules_, Trulesform::CloseAnswer);

    PanelWidget::Look pageLook;
    pageLook.outer = PanelWidget::Bevel::None;
    pageLook.inner = PanelWidget::Bevel::Lowered;
    auto* Panel2 = MakePanel(Panel1, "Panel2", pageLook, QRect(14, 13, 443, 300));
    Panel2->setFont(PixelFont(QStringLiteral("Arial"), 19, true));
    SetTextColour(Panel2, kNavy);

    PanelWidget::Look titleLook;
    titleLook.inner = PanelWidget::Bevel::Raised;
    titleLook.borderWidth = 3;
    pnl_title_ = MakePanel(Panel2, "pnl_title", titleLook, QRect(1, 1, 441, 56));

    const QFont labelFont = PixelFont(QStringLiteral("Arial"), 16);
    for (int i = 0; i < 4; ++i) {
        const TopicControls& controls = kTopicControls[i];
        const Trulesform::Topic& topic = Trulesform::kTopics[i];
        auto* button = new QPushButton(QString::fromUtf8(topic.Button), Panel2);
        Name(button, controls.button, button->text());
        button->setGeometry(17, controls.top, 128, 47);
        button->setFlat(true);
        button->setAutoDefault(false);
        Answers(button, Trulesform::TopicAnswer(i + 1));
        topicButtons_[static_cast<std::size_t>(i)] = button;
        topicLabels_[static_cast<std::size_t>(i)] =
            MakeLabel(Panel2, controls.label, QString::fromUtf8(topic.Label),
                      QRect(155, controls.top, 278, 47), labelFont, Qt::black,
                      Qt::AlignLeft | Qt::AlignVCenter, true);
    }

    // The topic text covers the whole menu and takes its clicks while shown.
    lbl_text_ = MakeLabel(Panel2, "lbl_text", QString(), QRect(8, 56, 425, 233),
                          PixelFont(QStringLiteral("Arial"), 13), Qt::black,
                          Qt::AlignLeft | Qt::AlignTop, true);
    SetBackground(lbl_text_, kButtonFace);

    bvl_line_ = new QFrame(Panel2);
    Name(bvl_line_, "bvl_line", QStringLiteral("Separator"));
    bvl_line_->setGeometry(12, 232, 421, 7);
    bvl_line_->setFrameShape(QFrame::HLine);
    bvl_line_->setFrameShadow(QFrame::Sunken);
    bvl_line_->setFrameRect(QRect(0, 5, 421, 2));  // a line along the bottom edge

    cmd_back_ = new QPushButton(QString::fromUtf8(Trulesform::BackCaption), Panel2);
    Name(cmd_back_, "cmd_back", cmd_back_->text());
    cmd_back_->setGeometry(17, 246, 128, 47);
    cmd_back_->setIcon(Glyph("back"));
    cmd_back_->setAutoDefault(false);
    Answers(cmd_back_, Trulesform::BackAnswer);

    sync();
    CentreOnScreen(this);
}

void RulesDialog::Answers(QPushButton* button, const std::string& answer) {
    button->setProperty(kAnswerProperty, QString::fromStdString(answer));
    connect(button, &QPushButton::clicked, this, [this, answer] { Answer(answer); });
}

void RulesDialog::Answer(const std::string& answer) {
    const int shownBefore = rules_.ShownTopic();
    const TRulesAnswer taken = TakeRulesAnswer(rules_, answer);
    if (taken.Closes) {
        done(taken.Ok ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    // The focus goes straight to where the player goes on: Back once a topic is open, the
    // topic's own button once back on the menu. Moved before the covered controls are
    // disabled, so it never passes through them.
    if (isVisible() && rules_.ShownTopic() != shownBefore) {
        if (rules_.TopicVisible()) {
            cmd_back_->setVisible(true);
            cmd_back_->setFocus(Qt::OtherFocusReason);
        } else if (shownBefore > 0) {
            QPushButton* topic = topicButtons_[static_cast<std::size_t>(shownBefore - 1)];
            topic->setEnabled(true);
            topic->setVisible(true);
            topic->setFocus(Qt::OtherFocusReason);
        }
    }
    sync();
}

void RulesDialog::sync() {
    pnl_title_->setCaption(QString::fromStdString(rules_.Title()));
    const bool topic = rules_.TopicVisible();
    lbl_text_->setText(topic ? DisplayText(rules_.Text()) : QString());
    lbl_text_->setVisible(topic);
    bvl_line_->setVisible(topic);
    cmd_back_->setVisible(topic);
    // The text covers the whole menu: the menu's controls are hidden under it, so neither the
    // keyboard nor a screen reader reaches them.
    for (QPushButton* button : topicButtons_) {
        button->setEnabled(!topic);
        button->setVisible(!topic);
    }
    for (QLabel* label : topicLabels_) label->setVisible(!topic);
    if (topic && isVisible() && (!focusWidget() || !focusWidget()->isEnabled()))
        cmd_rules_->setFocus();
}

void RulesDialog::showEvent(QShowEvent* event) {
    sync();
    QDialog::showEvent(event);
}

void RulesDialog::keyPressEvent(QKeyEvent* event) {
    // Esc: the rules window's logic says whether it closes.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        Answer("esc");
        return;
    }
    // Enter: the rules window's logic says what it answers (the focused button's answer).
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const QWidget* focused = focusWidget();
        const std::string focusedAnswer =
            focused ? focused->property(kAnswerProperty).toString().toStdString() : std::string();
        event->accept();
        Answer(Trulesform::EnterAnswer(focusedAnswer));
        return;
    }
    QDialog::keyPressEvent(event);
}
