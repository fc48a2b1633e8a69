#include "ui/QuestionLoop.h"

#include <utility>

#include "ui/DisplayText.h"

TQuestionLoop::TQuestionLoop(TGame& game, IEffects& effects, IMainFormHost& host,
                             std::function<void()> takeEvents,
                             std::function<std::string()> messageEnding)
    : game_(game),
      effects_(effects),
      host_(host),
      takeEvents_(std::move(takeEvents)),
      messageEnding_(std::move(messageEnding)) {}

void TQuestionLoop::Ask() {
    while (!asking_) {
        const TQuestion* question = game_.OpenQuestion();
        if (question == nullptr) return;
        asking_ = true;
        answerNow_.reset();
        const std::uint64_t serial = ++questionsAsked_;
        inAsk_ = true;
        AskPlayer(*question, [this, serial](TMove answer) { Answered(serial, std::move(answer)); });
        inAsk_ = false;
        if (!answerNow_) return;
        asking_ = false;
        TakeAnswer(*answerNow_);
    }
}

void TQuestionLoop::Answered(std::uint64_t question, TMove answer) {
    if (question != questionsAsked_ || !asking_) return;
    if (inAsk_) {
        answerNow_ = std::move(answer);  // a toolkit that waits: the loop goes on
        return;
    }
    asking_ = false;
    TakeAnswer(answer);
    Ask();
}

void TQuestionLoop::TakeAnswer(const TMove& answer) {
    // A chooser closed on a pick has answered the game itself.
    if (game_.AnswerCount() == answeredBefore_) game_.Apply(answer);
    takeEvents_();
}

void TQuestionLoop::AskPlayer(const TQuestion& question, std::function<void(TMove)> answer) {
    answeredBefore_ = game_.AnswerCount();
    auto ok = [answer] { answer(TMove::Answering(true)); };
    switch (question.Kind) {
        case TQuestionKind::Information:
            return effects_.ShowInformation(
                question.Text + (messageEnding_ ? messageEnding_() : std::string()), ok);
        case TQuestionKind::Error:
            return effects_.ShowError(question.Caption, question.Text, ok);
        case TQuestionKind::YesNo:
            return effects_.AskYesNo(question.Text,
                                     [answer](bool yes) { answer(TMove::Answering(yes)); });
        case TQuestionKind::Input:
            return effects_.AskInput(question.Caption, question.Text, question.Default,
                                     IEffects::kInputMaxLength,
                                     [answer](bool typed, const std::string& text) {
                                         answer(TMove::Answering(typed, text));
                                     });
        case TQuestionKind::Police:
            // The fine is said as its window shows it, as the window opens.
            effects_.Announce(displaytext::WithLineFeeds(question.Text));
            return host_.ShowPoliceMessage(question.Text, ok);
        case TQuestionKind::Chooser:
            // Closed any other way than on a pick, it is Cancel.
            return host_.ShowDamRenChooser([answer] { answer(TMove::Answering(false)); });
        case TQuestionKind::None:
            break;
    }
    ok();
}
