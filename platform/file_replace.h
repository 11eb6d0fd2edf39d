// Puts a finished file in the place of another in one step, replacing it
// when it exists (a plain rename refuses that on Windows).
#pragma once

#include <string>

namespace platform {

// Paths as the C runtime opens them. The source's content is put on the
// disk before the move and, on POSIX, the folder's entry after it. False
// when the source could not be synced or moved; the target is then
// unchanged.
bool ReplaceFileWith(const std::string& source, const std::string& target);

} // namespace platform
