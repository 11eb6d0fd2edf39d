// Owner-less message boxes. Portable code shows them through this seam so
// tests can see the texts and answer the questions.
#pragma once

#include <functional>
#include <string>

namespace platform {

enum class MessageIcon { Exclamation, Stop, Question, Information };
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageBoxRequest {
    std::string text;    // code page 1251
    std::string caption; // code page 1251
    MessageIcon icon;
    MessageButtons buttons;
};

MessageAnswer ShowMessageBox(const MessageBoxRequest& request);

// Replaces the platform's box (null restores it). Returns the previous one.
using MessageBoxHandler = std::function<MessageAnswer(const MessageBoxRequest&)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace platform
