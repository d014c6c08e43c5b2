#pragma once

// How LVStudio's command line and its own name choose a role. Only the full-screen player exists so
// far; every other role reports what is available.

#include <string>
#include <string_view>

namespace lv {

enum class TStudioStart { Player, NotAvailable };

// The first two characters of the first argument in upper case ("/s", "/S:1", "S" all give a player
// start under a ".scr" name); under any other name the whole first argument must be /S, -S or S.
TStudioStart ChooseStudioStart(std::string_view programName, std::string_view firstArgument);

// What the program prints when it is started for a role that is not there yet.
std::string StudioUsage();

} // namespace lv
