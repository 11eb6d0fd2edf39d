#include "ui/window/coin_file_choice.h"

#include <commdlg.h>

namespace {

constexpr const char* kTitle = "Выбор монеты";
// Pairs of description and pattern, ended by an empty pair.
constexpr char kFilter[] = "Описания монет *.tea\0*.tea\0";
constexpr const char* kInitialDirectory = ".\\Export\\";
constexpr const char* kDefaultExtension = "0.tea";

} // namespace

std::string ChooseCoinDescriptionFile(HWND owner) {
    char path[MAX_PATH] = {};
    OPENFILENAMEA box{};
    box.lStructSize = sizeof box;
    box.hwndOwner = owner;
    box.lpstrFilter = kFilter;
    box.lpstrFile = path;
    box.nMaxFile = sizeof path;
    box.lpstrInitialDir = kInitialDirectory;
    box.lpstrTitle = kTitle;
    box.lpstrDefExt = kDefaultExtension;
    box.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameA(&box)) return {};
    return path;
}
