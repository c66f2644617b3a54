#pragma once

#include "ui/CTalvexDlg.h"

#include <QString>

#include <functional>
#include <optional>

// Starts the port that --demo offers (the simulated scale); an empty result with the reason when it
// cannot start. The program's main brings it, so that the widgets need not know the scale.
using DemoPortStarter = std::function<std::optional<SProvidedPort>(QString* error)>;

// Start-up of the window program: fixes the interface language from the settings and the
// system locale, then runs the main window until it closes.
class CTalvexApp
{
public:
    int Run(int& argc, char** argv, const DemoPortStarter& startDemoPort);
};
