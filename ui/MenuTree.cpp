#include "ui/MenuTree.h"

#include "ui/Inputs.h"
#include "ui/MainWindowView.h"
#include "ui/Tmainform.h"

namespace {

TMenuEntry Menu(const char* caption, const char* controlName, std::vector<TMenuEntry> items) {
    TMenuEntry menu;
    menu.Type = TMenuEntry::Kind::Menu;
    menu.Caption = caption;
    menu.ControlName = controlName;
    menu.Items = std::move(items);
    return menu;
}

TMenuEntry Separator() {
    TMenuEntry separator;
    separator.Type = TMenuEntry::Kind::Separator;
    return separator;
}

// The key that runs the same as the item, shown beside it.
std::string ShortcutOf(TCommand command) {
    TCommand key = command;
    if (command == TCommand::MenuRules) key = TCommand::KeyF1;
    if (command == TCommand::MenuMarketReport) key = TCommand::KeyF9;
    if (const TInput* shortcut = InputOf(key)) return shortcut->Name;
    return {};
}

}  // namespace

std::vector<TMenuEntry> MenuTree(const Tmainform& form) {
    const TSpeed speed = form.mq().Speed();
    const TWatchSpeed watch = form.WatchSpeed();
    auto item = [&form](const char* caption, const char* controlName, TCommand command) {
        TMenuEntry entry;
        entry.Caption = caption;
        entry.ControlName = controlName;
        entry.Command = command;
        entry.Name = CommandName(command);
        entry.Shortcut = ShortcutOf(command);
        entry.Enabled = form.Enabled(command);
        return entry;
    };
    auto checkable = [&item](const char* caption, const char* controlName, TCommand command,
                             bool checked, bool radio) {
        TMenuEntry entry = item(caption, controlName, command);
        entry.Checkable = true;
        entry.Radio = radio;
        entry.Checked = checked;
        return entry;
    };

    std::vector<TMenuEntry> menus;
    menus.push_back(
        Menu(captions::MenuFile, "mnu_File",
             {item(captions::MenuQuitReplay, "mnu_FileQuitandReplay", TCommand::MenuQuitAndReplay),
              Separator(), item(captions::MenuExit, "mnu_FileExit", TCommand::MenuExit)}));
    menus.push_back(Menu(
        captions::MenuOptions, "mnu_Options",
        {checkable(captions::MenuSound, "mnu_OptionsSound", TCommand::MenuSound,
                   form.View().SoundChecked, false),
         Menu(captions::MenuScrollerSpeed, "mnu_OptionsScrollerSpeed",
              {checkable(captions::MenuFast, "Fast1", TCommand::MenuFast, speed == tsFast, true),
               checkable(captions::MenuMedium, "Mediuim1", TCommand::MenuMedium, speed == tsMedium,
                         true),
               checkable(captions::MenuSlow, "Slow1", TCommand::MenuSlow, speed == tsSlow, true)}),
         item(captions::MenuMarketReport, "mnu_OptionsMarketReport", TCommand::MenuMarketReport)}));
    menus.push_back(Menu(captions::MenuHelp, "mnu_Help",
                         {item(captions::MenuRules, "mnu_HelpRules", TCommand::MenuRules),
                          item(captions::MenuAbout, "mnu_HelpAbout", TCommand::MenuAbout)}));
    // Added after the menus the window always had, which keep their places.
    menus.push_back(Menu(
        captions::MenuGame, "mnu_Game",
        {item(captions::MenuChallengeFriend, "mnu_GameChallengeFriend",
              TCommand::MenuChallengeFriend),
         item(captions::MenuPlayChallenge, "mnu_GamePlayChallenge", TCommand::MenuPlayChallenge),
         Separator(), item(captions::MenuWatch, "mnu_GameWatch", TCommand::MenuWatch),
         item(captions::MenuStopWatching, "mnu_GameStopWatching", TCommand::MenuStopWatching),
         Menu(captions::MenuWatchSpeed, "mnu_GameWatchSpeed",
              {checkable(captions::MenuWatchNormal, "mnu_GameWatchNormal",
                         TCommand::MenuWatchNormal, watch == TWatchSpeed::Normal, true),
               checkable(captions::MenuWatchFast, "mnu_GameWatchFast", TCommand::MenuWatchFast,
                         watch == TWatchSpeed::Fast, true),
               checkable(captions::MenuWatchInstant, "mnu_GameWatchInstant",
                         TCommand::MenuWatchInstant, watch == TWatchSpeed::Instant, true)})}));
    return menus;
}
