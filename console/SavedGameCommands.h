#pragma once

#include <string>

class ConsoleOutput;
class Tmainform;

// The console's `save PATH` and `load PATH`: the game in the saved-game file format, for
// scripts and tests. `line` is the whole command line; the path is all after the first word.
void SaveCommand(const Tmainform& form, ConsoleOutput& out, const std::string& line);
void LoadCommand(Tmainform& form, ConsoleOutput& out, const std::string& line);
