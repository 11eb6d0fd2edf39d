// Pollbench's wire trace: the driver's trace hook turned into one line per
// frame (host, echo, device), a mark for every failed exchange with its
// result code, and the port's openings and closings; and each whole
// exchange handed on, for whoever counts exchanges.
#pragma once

#include "demo/driver/cct_driver.h"
#include "demo/trace/cct_frame_decoder.h"
#include "platform/trace_line.h"

#include <cstdint>
#include <functional>
#include <vector>

// One exchange as the driver saw it.
struct CctExchange {
    std::vector<uint8_t> request;
    std::vector<uint8_t> echo;
    std::vector<uint8_t> reply;
    int result = 0; // 0, or the exchange's result code k (Transact gave -k)
};

// "fewer echo bytes than were written" for 3; "" for 0.
const char* ExchangeResultText(int result);
// The meaning of a failed mark: "result -3: fewer echo bytes than were written".
std::string FailedMeaning(int result);

class CctWireTrace {
public:
    using LineSink = std::function<void(const platform::TraceLine&)>;
    using ExchangeSink = std::function<void(const CctExchange&)>;

    // Either may be empty.
    CctWireTrace(LineSink lines, ExchangeSink exchanges);

    // The driver's trace hook; the trace must outlive the driver.
    CCctDriver::TraceHook Hook();
    void OnTrace(const char* label, const uint8_t* bytes, size_t count);

private:
    void Emit(platform::TraceDirection direction, const std::vector<uint8_t>& bytes, const std::string& meaning);
    void EmitFrame(platform::TraceDirection direction, const std::vector<uint8_t>& bytes);
    void OnReplyBytes(const uint8_t* bytes, size_t count);
    void Finish(int result);
    void FlushReply();

    LineSink lines_;
    ExchangeSink exchanges_;
    CctFrameDecoder decoder_;
    CctExchange current_;
    bool inExchange_ = false;
    bool replyShown_ = false;
};
