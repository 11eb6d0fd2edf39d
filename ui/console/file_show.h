// `ducat show FILE`: decodes any of the program's data files (configuration,
// reference book, statistics archive, weights, coin description, log dump)
// and prints its fields and whether its checksum (and CRC-16) hold.
#pragma once

#include <cstdio>
#include <string>

// True when the file was read and everything it carries holds.
bool ShowDataFile(const std::string& path, std::FILE* out);
