#include "ui/window/result_fonts.h"

namespace {

constexpr int kLargeHeight = 30; // logical units
constexpr int kSmallHeight = 15;
constexpr int kHeavyWeight = 900;
constexpr DWORD kOutputQuality = DRAFT_QUALITY;
constexpr const char* kFace = "Microsoft Sans Serif";

HFONT HeavyFont(int height) {
    // A negative height asks for the character height, not the cell height.
    return CreateFontA(-height, 0, 0, 0, kHeavyWeight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, kOutputQuality, DEFAULT_PITCH | FF_DONTCARE, kFace);
}

} // namespace

ResultFonts::ResultFonts() : large_(HeavyFont(kLargeHeight)), regular_(HeavyFont(kSmallHeight)) {}

ResultFonts::~ResultFonts() {
    if (large_ != nullptr) DeleteObject(large_);
    if (regular_ != nullptr) DeleteObject(regular_);
}
