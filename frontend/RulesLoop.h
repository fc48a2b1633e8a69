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

// Applies the answers to the window until it closes. True when CLOSE closed it (the window's
// result OK), false when it was closed any other way or the program ended meanwhile. The
// window keeps its state between showings: it may open on a topic.
bool RunRulesWindow(Trulesform& rules, IRulesWindowFace& face);
