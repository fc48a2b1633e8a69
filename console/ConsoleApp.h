#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "components/ISystemQueries.h"
#include "console/ConsoleEffects.h"
#include "console/ConsoleOutput.h"
#include "engine/Platform.h"
#include "ui/Commands.h"

class TRealtopia;

// The text front end: the application with the console's effects, the splash lines, and the
// command loop that turns input lines into clicks, keys and menu choices of the window logic.
class ConsoleApp {
public:
    // Creates the application and its windows (a new world is dealt on creation). `debug`
    // allows the `set` commands. Null system queries: those of the running system.
    ConsoleApp(std::istream& in, std::ostream& out, TPlatform platform, bool debug,
               std::shared_ptr<ISystemQueries> systemQueries = nullptr);
    ~ConsoleApp();
    ConsoleApp(const ConsoleApp&) = delete;
    ConsoleApp& operator=(const ConsoleApp&) = delete;

    // Prints the splash, then takes commands until the program is ended or the input runs
    // out (both end as ExitProgram). Returns the exit status, 0.
    int Run();

    TRealtopia& App() { return *app_; }

private:
    // One command line; a ConsoleExit thrown from it ends the program.
    void Execute(const std::string& line);
    bool SplashCommand(const std::vector<std::string>& words);
    bool WindowCommand(const std::string& line, const std::vector<std::string>& words);
    void Tick(const std::vector<std::string>& words);
    void Key(const std::vector<std::string>& words);
    void Type(const std::string& line);
    void Area(const std::vector<std::string>& words);
    void SelectRows(const std::vector<std::string>& words, bool byMouse);
    void Focus(const std::vector<std::string>& words);
    // Runs a command of the window; a disabled one is refused.
    void Invoke(TCommand command);
    void Menu(const std::vector<std::string>& words);
    void Resize(bool minimise);
    void Set(const std::vector<std::string>& words);
    void PrintState();
    void PrintShow();
    void PrintReport(const std::vector<std::string>& words);
    void Refuse(const std::string& why) { out_.Line("?", why); }

    ConsoleOutput out_;
    ConsoleEffects effects_;
    std::unique_ptr<TRealtopia> app_;
    bool debug_;
};
