#pragma once

#include <optional>

class IPrompt;

// Before a download that follows one which failed at resumeRow (0-based; below 1 when there is nothing to go on
// from): asks whether to continue at that row or start from the first. The row to start at, or nothing when the
// user cancelled and no download should start.
std::optional<int> AskFirstRow(IPrompt& prompt, int resumeRow);
