// "Ducat Console.cnf" in the current directory: read once at start, written on exit.
#pragma once

// Returns 0, 1 (missing) or 2 (damaged); on 1 and 2 shows its message,
// every setting keeps its value and bConfigDefaults = 1.
int ReadConfig();
// Writes version 12. Returns 0, or 1 with its message when not written
// (an old file is then left as it was).
int WriteConfig();
