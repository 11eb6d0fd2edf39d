// Every command of the extension header, one descriptor each, made from the
// acceptor's layouts. Adding a command adds its descriptor here and to
// kExtensionCommands; registration, the trace and the virtual acceptor find
// it there.
#pragma once

#include "commands/protocol/acceptor_layouts.h"
#include "commands/protocol/command_descriptor.h"

namespace acceptor {

namespace identify {
inline constexpr PayloadField kFlag{"flag", kFlagAt - kPayloadAt, 1, FieldText::Hidden};
inline constexpr PayloadField kTime{"time", kTimeAt - kPayloadAt, 4, FieldText::Time};
inline constexpr PayloadField kFields[] = {kTime, kFlag};
} // namespace identify

namespace write_fragment {
inline constexpr PayloadField kFragment{"fragment", kFragmentAt - kLongPayloadAt, 1, FieldText::Number};
inline constexpr PayloadField kCoinIndex{"coin index", kCoinIndexAt - kLongPayloadAt, 1, FieldText::Number};
inline constexpr PayloadField kImage{"image", kImageAt - kLongPayloadAt, kFragmentBytes, FieldText::Hidden};
inline constexpr PayloadField kFields[] = {kFragment, kCoinIndex, kImage};
} // namespace write_fragment

namespace log_page {
inline constexpr PayloadField kPage{"page", kPageAt - kPayloadAt, 2, FieldText::Number};
inline constexpr PayloadField kFields[] = {kPage};
} // namespace log_page

namespace read_table {
inline constexpr PayloadField kTime{"time", kTimeAt - kPayloadAt, 4, FieldText::Time};
inline constexpr PayloadField kFields[] = {kTime};
} // namespace read_table

namespace write_setting {
inline constexpr size_t kValuesInPayload = kValuesAt - kPayloadAt;
inline constexpr PayloadField kTime{"time", kTimeAt - kPayloadAt, 4, FieldText::Time};
// The divider of one row.
inline constexpr PayloadField kRow{"row", kValuesInPayload, 1, FieldText::Number};
inline constexpr PayloadField kAllowed{"allowed", kValuesInPayload + 1, 1, FieldText::Number};
inline constexpr PayloadField kDivider{"divider", kValuesInPayload + 2, 1, FieldText::Number};
inline constexpr PayloadField kDividerFields[] = {kRow, kAllowed, kDivider, kTime};
// The acceptance parameters.
inline constexpr PayloadField kMaxError{"Max_Error", kValuesInPayload, 1, FieldText::Number};
inline constexpr PayloadField kNNetDivider{"NNet_Divider", kValuesInPayload + 1, 1, FieldText::Number};
inline constexpr PayloadField kNumbStandDev{"Numb_Stand_Dev", kValuesInPayload + 2, 1, FieldText::Number};
inline constexpr PayloadField kParamsFields[] = {kMaxError, kNNetDivider, kNumbStandDev, kTime};
} // namespace write_setting

// Replies of one status byte answer the writes; only the log page comes in
// the long form.
inline constexpr CommandDescriptor kIdentifyCommand{
    kSubIdentify, kIdentify, "identification", identify::kFields, identify::kRequestData - 1u, false, 0,
    identify::kReplyData, ReplyForm::Short, {}, ChecksumWording::WithHeader, ReplyWording::Identity};

inline constexpr CommandDescriptor kWriteCoinCommand{
    kSubWriteCoin,
    kWriteFragment,
    "write coin description fragment",
    write_fragment::kFields,
    write_fragment::kCrcAt - kLongPayloadAt,
    true,
    write_fragment::kCipherAt - kLongPayloadAt,
    status_reply::kData,
    ReplyForm::Short,
    {},
    ChecksumWording::WithHeader,
    ReplyWording::FragmentStatus};

inline constexpr CommandDescriptor kReadLogCommand{
    kSubReadLog,
    kReadLogPage,
    "read log page",
    log_page::kFields,
    log_page::kRequestCrcAt - kPayloadAt,
    true,
    log_page::kRequestCipherAt - kPayloadAt,
    log_page::kReplyData,
    ReplyForm::Long,
    {log_page::kReplyCipherAt - kDataAt, log_page::kReplyCipherLength, true, log_page::kReplyCrcFrom - kDataAt,
     log_page::kReplyCrcAt - kDataAt, "***** ошибка приема CRC16 ответа"},
    ChecksumWording::LogPage,
    ReplyWording::LogPage};

inline constexpr CommandDescriptor kReadTableCommand{
    kSubReadTable,
    kReadTable,
    "read coin table",
    read_table::kFields,
    read_table::kRequestData - 1u,
    false,
    0,
    coin_table_reply::kBytes,
    ReplyForm::Short,
    {0, 0, true, 0, coin_table_reply::kCrcAt, "***** ошибка приема CRC16"},
    ChecksumWording::WithHeader,
    ReplyWording::CoinTable};

// A coin result whose CRC-16 is wrong is dropped without a word: the next
// poll asks again.
inline constexpr CommandDescriptor kMonitorCommand{
    kSubMonitor,
    kReadResult,
    "read coin result",
    {},
    read_result::kRequestData - 1u,
    false,
    0,
    read_result::kReplyData,
    ReplyForm::Short,
    {0, 0, true, 0, read_result::kCrcAt, nullptr},
    ChecksumWording::WithHeader,
    ReplyWording::CoinResult};

inline constexpr CommandDescriptor kWriteDividerCommand{
    kSubWriteDivider,
    kWriteDivider,
    "write coin divider",
    write_setting::kDividerFields,
    write_setting::kCrcAt - kPayloadAt,
    true,
    write_setting::kCipherAt - kPayloadAt,
    status_reply::kData,
    ReplyForm::Short,
    {},
    ChecksumWording::Setting,
    ReplyWording::Status};

inline constexpr CommandDescriptor kWriteParamsCommand{
    kSubWriteParams,
    kWriteParams,
    "write acceptance parameters",
    write_setting::kParamsFields,
    write_setting::kCrcAt - kPayloadAt,
    true,
    write_setting::kCipherAt - kPayloadAt,
    status_reply::kData,
    ReplyForm::Short,
    {},
    ChecksumWording::Setting,
    ReplyWording::Status};

inline constexpr const CommandDescriptor* kExtensionCommands[] = {
    &kIdentifyCommand, &kWriteCoinCommand,    &kReadLogCommand,     &kReadTableCommand,
    &kMonitorCommand,  &kWriteDividerCommand, &kWriteParamsCommand,
};

// The command of a function code or of a sub-command; null when the table
// has none.
const CommandDescriptor* CommandOfFunction(int function);
const CommandDescriptor* CommandOfSubCommand(int subCommand);

// The longest request of the table: what the virtual acceptor takes.
constexpr size_t LongestRequest() {
    size_t longest = 0;
    for (const CommandDescriptor* c : kExtensionCommands) {
        if (RequestFrameLength(*c) > longest) longest = RequestFrameLength(*c);
    }
    return longest;
}

// Whether some long request of the table gives this low length byte (its
// length then depends on the function code).
constexpr bool SomeLongRequestHasLow(uint8_t lowLength) {
    for (const CommandDescriptor* c : kExtensionCommands) {
        if (LongRequest(*c) && (RequestDataLength(*c) & 0xFFu) == lowLength) return true;
    }
    return false;
}

} // namespace acceptor
