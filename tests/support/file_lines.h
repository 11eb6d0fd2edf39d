// Every line of a text file (a trace, a report), as the tests compare them.
#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace testing_support {

inline std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

} // namespace testing_support
