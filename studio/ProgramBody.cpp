#include "studio/ProgramBody.h"

#include <algorithm>
#include <cctype>

namespace lv {

namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool isPlayerSwitch(std::string_view text) {
    return text == "/S" || text == "-S" || text == "S";
}

bool isSaverSwitch(std::string_view text) {
    return isPlayerSwitch(text) || text == "/C" || text == "-C" || text == "C";
}

} // namespace

TStudioStart ChooseStudioStart(std::string_view programName, std::string_view firstArgument) {
    const std::string name = upper(programName);
    const bool screenSaverName = name.size() >= 4 && name.ends_with(".SCR");
    const std::string argument = upper(firstArgument);
    // The saver dispatch runs under a ".scr" name whatever the switch, and for the saver switches.
    if (!screenSaverName && !isSaverSwitch(argument)) return TStudioStart::NotAvailable;
    const std::string shortSwitch = argument.substr(0, 2);
    return isPlayerSwitch(shortSwitch) ? TStudioStart::Player : TStudioStart::NotAvailable;
}

std::string StudioUsage() {
    return "LVStudio: the full-screen catalog player is available.\n"
           "  LVStudio /S    play the enabled projects of the catalog in Lumivale.ini full screen\n"
           "                 (settings folder: $LUMIVALE_WINDIR, else ~/.config/lumivale)\n"
           "The studio, the player configuration and the package installer are not built yet;\n"
           "use lvtool to inspect projects and to change the catalog and the settings.\n";
}

} // namespace lv
