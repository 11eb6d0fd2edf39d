#include "platform/message_box.h"

#include <windows.h>

namespace platform {

MessageAnswer ShowPlatformMessageBox(const MessageBoxRequest& r) {
    UINT type = 0;
    switch (r.icon) {
    case MessageIcon::Exclamation: type |= MB_ICONEXCLAMATION; break;
    case MessageIcon::Stop: type |= MB_ICONSTOP; break;
    case MessageIcon::Question: type |= MB_ICONQUESTION; break;
    case MessageIcon::Information: type |= MB_ICONINFORMATION; break;
    }
    switch (r.buttons) {
    case MessageButtons::Ok: type |= MB_OK; break;
    case MessageButtons::YesNo: type |= MB_YESNO; break;
    case MessageButtons::OkCancel: type |= MB_OKCANCEL; break;
    }
    switch (MessageBoxA(nullptr, r.text.c_str(), r.caption.c_str(), type)) {
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    case IDCANCEL: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
    }
}

} // namespace platform
