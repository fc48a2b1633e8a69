#pragma once

#include <istream>
#include <string>

#include "components/TMAXIM.h"
#include "console/ConsoleOutput.h"
#include "ui/Effects.h"

class TRealtopia;

// Thrown by ConsoleEffects::Quit once "[exit]" is written: it unwinds from wherever the
// program was ended (deep inside a rule, a modal answer, a command) back to the command loop.
struct ConsoleExit {};

// The toolkit of the text front end. Boxes and modal windows print their texts as tagged
// lines and read their answers from the next input lines; sound, the browser and the timer
// are reduced to output lines or to nothing.
class ConsoleEffects : public IEffects {
public:
    ConsoleEffects(std::istream& in, ConsoleOutput& out) : in_(in), out_(out) {}

    // The application whose modal windows this toolkit shows. Until it is attached, a modal
    // window cannot be shown and the end of input ends the program directly.
    void Attach(TRealtopia& app);

    static constexpr std::size_t kMaxLineLength = 64 * 1024;  // bytes

    // The next input line, a trailing carriage return removed; false at the end of input. A
    // line longer than kMaxLineLength is refused with "[?]" and skipped, the next one read.
    bool ReadLine(std::string& line);
    // The next line as the answer to a modal window; the end of input ends the program.
    std::string Answer();
    // The end of input while the program runs: it ends as ExitProgram would.
    [[noreturn]] void EndOfInput();

    void Information(const std::string& text) override;
    void Error(const std::string& caption, const std::string& text) override;
    bool YesNo(const std::string& question) override;
    bool Input(const std::string& caption, const std::string& prompt, std::string& text,
               int maxLength) override;
    bool ShowModal(Modal window) override;
    void ShowMainWindow() override {}
    void HideSplash() override {}
    void MainTimerChanged() override {}
    SoundResult PlaySound(const std::string& name, bool wait) override;
    bool SoundDeviceWorks() override { return true; }
    bool OpenUrl(const std::string& url) override;
    void ProcessEvents() override {}
    [[noreturn]] void Quit() override;

    // The About box: its fields as lines, closed with OK at once.
    bool ShowAbout(const TAboutBoxContent& content);

private:
    bool ShowAgreement();
    bool ShowRules();
    bool ShowChooser();
    void Refuse(const std::string& why) { out_.Line("?", why); }

    std::istream& in_;
    ConsoleOutput& out_;
    TRealtopia* app_ = nullptr;
};
