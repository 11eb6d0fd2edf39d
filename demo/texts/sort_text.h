// The Sort column: a coin's sorter paths as a row of digits.
#pragma once

#include "demo/texts/device_data.h"

#include <string>

// How many paths per coin the Sort texts hold: 4 with long sorter commands, else 1.
int PathsPerCoin(bool longSorter);

// The digits of the first `pathsPerCoin` paths, paths of 0 left out.
std::string SortTextFromPaths(const SorterPaths& paths, int pathsPerCoin);

// Paths from a Sort text: '1'..'8' is that path, any other character or a
// missing one the default path; paths beyond `pathsPerCoin` are 0.
SorterPaths PathsFromSortText(const std::string& text, int pathsPerCoin, uint8_t defaultPath);
