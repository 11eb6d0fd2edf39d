#include "commands/protocol/extension_commands.h"

namespace acceptor {
namespace {

// The table gives the frames the acceptor's layouts describe.
static_assert(RequestDataLength(kIdentifyCommand) == identify::kRequestData, "identification request");
static_assert(RequestDataLength(kReadTableCommand) == read_table::kRequestData, "coin table request");
static_assert(RequestDataLength(kMonitorCommand) == read_result::kRequestData, "coin result request");
static_assert(RequestFrameLength(kWriteCoinCommand) == write_fragment::kFrameLength &&
                  (RequestDataLength(kWriteCoinCommand) & 0xFFu) == write_fragment::kDataLengthLow &&
                  RequestDataLength(kWriteCoinCommand) >> 8 == write_fragment::kDataLengthHigh &&
                  RequestCrcAt(kWriteCoinCommand) == write_fragment::kCrcAt &&
                  RequestCipherAt(kWriteCoinCommand) == write_fragment::kCipherAt &&
                  RequestCipherLength(kWriteCoinCommand) == write_fragment::kCipherLength,
              "description fragment request");
static_assert(RequestFrameLength(kReadLogCommand) == log_page::kRequestLength &&
                  RequestDataLength(kReadLogCommand) == log_page::kRequestData &&
                  RequestCrcAt(kReadLogCommand) == log_page::kRequestCrcAt &&
                  RequestCipherAt(kReadLogCommand) == log_page::kRequestCipherAt &&
                  RequestCipherLength(kReadLogCommand) == log_page::kRequestCipherLength,
              "log page request");
static_assert(ReplyFrameLength(kReadLogCommand) == log_page::kReplyLength, "log page reply");
static_assert(RequestFrameLength(kWriteDividerCommand) == write_setting::kRequestLength &&
                  RequestDataLength(kWriteDividerCommand) == write_setting::kRequestData &&
                  RequestCrcAt(kWriteDividerCommand) == write_setting::kCrcAt &&
                  RequestCipherAt(kWriteDividerCommand) == write_setting::kCipherAt &&
                  RequestCipherLength(kWriteDividerCommand) == write_setting::kCipherLength,
              "setting request");
static_assert(LongestRequest() == kFrameBufferSize, "the longest request fills the frame buffer");

template <typename Matches>
const CommandDescriptor* Find(Matches matches) {
    for (const CommandDescriptor* command : kExtensionCommands) {
        if (matches(*command)) return command;
    }
    return nullptr;
}

} // namespace

const CommandDescriptor* CommandOfFunction(int function) {
    return Find([function](const CommandDescriptor& c) { return c.function == function; });
}

const CommandDescriptor* CommandOfSubCommand(int subCommand) {
    return Find([subCommand](const CommandDescriptor& c) { return c.subCommand == subCommand; });
}

} // namespace acceptor
