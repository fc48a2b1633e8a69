#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/Game.h"
#include "ui/Effects.h"
#include "ui/MainFormHost.h"

// The main window's question loop: it shows the player the question the game waits for (a
// message, a yes/no or input box, the police window, the chooser), gives the answer to the
// game as its next move, applies what that move caused and asks the next question, until
// none is open. A toolkit that answers at once (a test, the text front end) is answered
// within Ask; one that answers later (a desktop box, the page) calls back, and the loop goes
// on from there.
class TQuestionLoop {
public:
    // `takeEvents` applies the events the game has appended since the last time;
    // `messageEnding`, when given, gives what a message box adds to the game's text (a challenge's
    // result at the end of a challenge, ui/Challenge.cpp), empty otherwise.
    TQuestionLoop(TGame& game, IEffects& effects, IMainFormHost& host,
                  std::function<void()> takeEvents,
                  std::function<std::string()> messageEnding = {});

    // Asks the questions the game waits for, one at a time, until none is open or the toolkit
    // answers later. A question on screen is answered first: a move the player makes
    // meanwhile (a repaint while a box is up may hand the window one) waits for it.
    void Ask();
    // A question is on screen.
    bool Asking() const { return asking_; }

private:
    // Shows the question to the player; `answer` gets the answer as a move. The chooser makes
    // its own move when it closes on a pick.
    void AskPlayer(const TQuestion& question, std::function<void(TMove)> answer);
    void Answered(std::uint64_t question, TMove answer);
    void TakeAnswer(const TMove& answer);

    TGame& game_;
    IEffects& effects_;
    IMainFormHost& host_;
    std::function<void()> takeEvents_;
    std::function<std::string()> messageEnding_;
    bool asking_ = false;  // a question is on screen: a move made meanwhile waits for it
    bool inAsk_ = false;   // within the call that shows it: an answer now is taken by the loop
    std::optional<TMove> answerNow_;
    std::uint64_t questionsAsked_ = 0;
    std::uint64_t answeredBefore_ = 0;  // the game's answer count when the question was shown
};
