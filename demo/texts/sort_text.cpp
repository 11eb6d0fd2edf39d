#include "demo/texts/sort_text.h"

int PathsPerCoin(bool longSorter) { return longSorter ? kPathsPerCoin : 1; }

std::string SortTextFromPaths(const SorterPaths& paths, int pathsPerCoin) {
    std::string text;
    for (int k = 0; k < pathsPerCoin && k < kPathsPerCoin; ++k) {
        const uint8_t p = paths[static_cast<size_t>(k)];
        if (p != 0) text += static_cast<char>(static_cast<uint8_t>('0' + p));
    }
    return text;
}

SorterPaths PathsFromSortText(const std::string& text, int pathsPerCoin, uint8_t defaultPath) {
    SorterPaths paths{};
    for (int k = 0; k < pathsPerCoin && k < kPathsPerCoin; ++k) {
        const size_t i = static_cast<size_t>(k);
        const char c = i < text.size() ? text[i] : '\0';
        paths[i] = (c >= '1' && c <= '8') ? static_cast<uint8_t>(c - '0') : defaultPath;
    }
    return paths;
}
