#include "app/LanguageCommands.h"

namespace LanguageCommands {

int LcidForCommand(int commandId)
{
    switch (commandId) {
    case 20010: return 2052; // Chinese (Simplified)
    case 20011: return 3076; // Chinese (Traditional, Hong Kong)
    case 20012: return 1033; // English
    case 20013: return 10;   // Spanish
    case 20014: return 16;   // Italian
    case 20015: return 12;   // French
    case 20016: return 7;    // German
    default: return 0;
    }
}

} // namespace LanguageCommands
