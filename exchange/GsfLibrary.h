#pragma once

// Starts libgsf once for the process, with its log messages silenced: a damaged file makes it print
// warnings on the terminal, while the program reports the failure in its own message.
void StartGsf();
