#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/Commands.h"

class Tmainform;

// The main window's menu bar as data, with each item's state now: the desktop builds its
// menus from it and the web page draws it, so the menus are written once.
struct TMenuEntry {
    enum class Kind { Menu, Item, Separator };
    Kind Type = Kind::Item;
    std::string Caption;      // "&" marks the Alt accelerator
    std::string ControlName;  // the control's name: "mnu_FileExit", "Fast1"
    std::optional<TCommand> Command;
    std::string Name;      // the command's short name ("exit"), as a script names it
    std::string Shortcut;  // the key shown beside the item ("F1"), or ""
    bool Checkable = false;
    bool Radio = false;  // one of a group of which exactly one is checked
    bool Enabled = true;
    bool Checked = false;
    std::vector<TMenuEntry> Items;  // a menu's entries
};

// The menus of the menu bar, in order, as the window now shows them.
std::vector<TMenuEntry> MenuTree(const Tmainform& form);
