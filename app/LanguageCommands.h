#pragma once

// The language commands store an LCID and restart the program.
namespace LanguageCommands {

constexpr int kFirst = 20010;
constexpr int kLast = 20016;

// The LCID that a language command stores, or 0 when the ID is not a language command.
int LcidForCommand(int commandId);

} // namespace LanguageCommands
