#include "platform/message_box.h"

#include "platform/text_encoding.h"

#include <cstdio>

namespace platform {

// Without a desktop the box becomes a line on standard error; questions get
// the cautious answer.
MessageAnswer ShowPlatformMessageBox(const MessageBoxRequest& r) {
    std::fprintf(stderr, "[%s] %s\n", Cp1251ToUtf8(r.caption).c_str(), Cp1251ToUtf8(r.text).c_str());
    switch (r.buttons) {
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::OkCancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
    }
}

} // namespace platform
