#include "demo/driver/reset_question.h"

#include "platform/message_box.h"

const char* const kResetQuestionText = "The device was reset. Reinitialize it?";
const char* const kPollbenchCaption = "Pollbench";

bool AskReinitializeByMessageBox() {
    const platform::MessageBoxRequest request{kResetQuestionText, kPollbenchCaption, platform::MessageIcon::Question,
                                              platform::MessageButtons::YesNo};
    return platform::ShowMessageBox(request) == platform::MessageAnswer::Yes;
}
