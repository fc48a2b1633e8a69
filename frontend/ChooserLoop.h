#pragma once

#include <string>
#include <vector>

class TDamRenForm;

// What a player does in the damage/renovate chooser: click item 1..8, press OK or Cancel.
struct TChooserMove {
    enum class Kind { Pick, Ok, Cancel };
    Kind What = Kind::Cancel;
    int Item = 0;  // for Pick
};

// The chooser while it is open, for a front end that asks its player for one answer at a time
// (the text front end, the web page); each front end reads its own answers as moves.
class IChooserFace {
public:
    virtual ~IChooserFace() = default;
    // The chooser as it opens.
    virtual void Show(const TDamRenForm& chooser) = 0;
    // The moves of the player's next answer, in order; none when the answer was refused.
    virtual std::vector<TChooserMove> Moves(const TDamRenForm& chooser) = 0;
    // A move the chooser could not take, and why; it then waits for the next answer.
    virtual void Refuse(const std::string& why) = 0;
    // False once the program has ended while the chooser was open.
    virtual bool ProgramRunning() const { return true; }
};

// Applies one move to the chooser: the step of every front end's chooser, whether it asks for
// answers one at a time (RunChooser) or hears them from its controls (the desktop's dialog).
// Returns why the move was refused, or nothing when it was taken.
std::string TakeChooserMove(TDamRenForm& chooser, const TChooserMove& move);

// Applies the moves to the chooser until OK or Cancel closes it (or the program ends). True
// when an item was chosen.
bool RunChooser(TDamRenForm& chooser, IChooserFace& face);
