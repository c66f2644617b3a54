#include "ui/CTalvexApp.h"

int main(int argc, char** argv)
{
    CTalvexApp app;
    return app.Run(argc, argv);
}
