#include "coindata/files/file_messages.h"

#include "platform/message_box.h"

namespace {

void Show(const std::string& text, const char* caption, platform::MessageIcon icon) {
    platform::ShowMessageBox({text, caption, icon, platform::MessageButtons::Ok});
}

} // namespace

void ShowReaderMessage(const std::string& text, const char* caption) {
    Show(text, caption, platform::MessageIcon::Exclamation);
}

void ShowWriterMessage(const std::string& text, const char* caption) {
    Show(text, caption, platform::MessageIcon::Stop);
}

std::string WithPath(const char* pattern, const std::string& path) {
    std::string text = pattern;
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, path);
    return text;
}
