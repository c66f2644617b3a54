#pragma once

// Start-up of the window program: fixes the interface language from the settings and the
// system locale, then runs the main window until it closes.
class CTalvexApp
{
public:
    int Run(int& argc, char** argv);
};
