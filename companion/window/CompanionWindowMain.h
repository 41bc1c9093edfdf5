#pragma once
// The companion as a desktop program: the command-line switches, one
// instance per settings store, the main window and its message loop.

// Runs the window; returns the program's exit code. argv may carry
// "--registry FILE" and the switches "/REGSERVER", "/UNREGSERVER",
// "/AUTOMATION", "/EMBEDDING" (also with "-", any case).
int runCompanionWindow(int argc, char** argv);
