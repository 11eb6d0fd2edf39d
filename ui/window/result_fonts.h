// The heavy fonts of the best-coin field: the large one for an accepted
// coin, the small one for any other result.
#pragma once

#include <windows.h>

class ResultFonts {
public:
    ResultFonts();
    ~ResultFonts();
    ResultFonts(const ResultFonts&) = delete;
    ResultFonts& operator=(const ResultFonts&) = delete;

    HFONT ForAccepted() const { return large_; }
    HFONT ForOthers() const { return regular_; }

private:
    HFONT large_;
    HFONT regular_;
};
