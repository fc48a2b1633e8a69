#pragma once

#include <string>

class Trulesform;

// The rules window while it is open, for a front end that asks its player for one answer at a
// time (the text front end, the web page). The answers are the same words everywhere:
// "topic N" (N = 1..4), "back", "close" (the CLOSE button), "esc" (the Esc key) and "quit" (the
// window closed any other way).
class IRulesWindowFace {
public:
    virtual ~IRulesWindowFace() = default;
    // The window as it is now: when it opens and after every change.
    virtual void Show(const Trulesform& rules) = 0;
    // The player's next answer.
    virtual std::string Answer(const Trulesform& rules) = 0;
    // An answer the window could not take, and why; the window then waits for the next one.
    virtual void Refuse(const std::string& why) = 0;
    // False once the program has ended while the window was open.
    virtual bool ProgramRunning() const { return true; }
};

// What one answer did to the rules window.
struct TRulesAnswer {
    bool Closes = false;   // the window closes now
    bool Ok = false;       // ... with the result OK (CLOSE, or Esc as CLOSE)
    bool Changed = false;  // it stays, showing something else
    std::string Refusal;   // not taken, and why; the window waits for the next answer
};

// Applies one answer to the window: the step of every front end's rules window, whether it
// asks for answers one at a time (RunRulesWindow) or hears them from its buttons (the
// desktop's dialog).
TRulesAnswer TakeRulesAnswer(Trulesform& rules, const std::string& answer);

// Applies the answers to the window until it closes. True when CLOSE closed it (the window's
// result OK), false when it was closed any other way or the program ended meanwhile. The
// window keeps its state between showings: it may open on a topic.
bool RunRulesWindow(Trulesform& rules, IRulesWindowFace& face);
