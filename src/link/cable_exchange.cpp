#include "link/cable_exchange.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "link/serial_port.h"

namespace {

// The size of the driver queues the radio link was designed around; a line that keeps
// delivering beyond this is not a radio, and the exchange that follows will say so.
constexpr int kDrainLimit = 3600;

}  // namespace

void DrainReceive(CSerialPort& port) {
    int drained = 0;
    while (drained < kDrainLimit && port.ReadByte(0) >= 0) {
        ++drained;
    }
}

CableAnswer ExchangeFrame(CSerialPort& port, CableType cable, const uint8_t* frame, int frameSize,
                          uint8_t* answer, int answerSize, int timeoutMs) {
    DrainReceive(port);
    port.Write(frame, frameSize, 1);
    CableAnswer result;
    if (cable == CableType::Direct) {
        result.count = port.Read(answer, answerSize, timeoutMs);
        return result;
    }
    // The echo is checked byte by byte: the first byte that differs from the frame shows the
    // cable does not echo, and waiting out the rest of the echo's time-out would only stall a
    // direct cable on every frame.
    std::vector<uint8_t> echo(static_cast<size_t>(frameSize));
    int echoed = 0;
    bool mismatch = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (echoed < frameSize && !mismatch) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        int waitMs = static_cast<int>(std::max<int64_t>(left.count(), 0));
        if (port.Read(&echo[static_cast<size_t>(echoed)], 1, waitMs) != 1) {
            break;
        }
        mismatch = echo[static_cast<size_t>(echoed)] != frame[echoed];
        ++echoed;
    }
    if (echoed == 0) {
        return result;
    }
    if (!mismatch && echoed == frameSize) {
        result.echoSeen = true;
        result.count = port.Read(answer, answerSize, timeoutMs);
        return result;
    }
    int taken = std::min(echoed, answerSize);
    std::memcpy(answer, echo.data(), static_cast<size_t>(taken));
    result.count = taken;
    if (taken < answerSize) {
        result.count += port.Read(answer + taken, answerSize - taken, timeoutMs);
    }
    return result;
}

int ExchangeForByte(CSerialPort& port, CableType cable, const uint8_t* frame, int frameSize,
                    int timeoutMs) {
    uint8_t answer = 0;
    return ExchangeFrame(port, cable, frame, frameSize, &answer, 1, timeoutMs).count == 1 ? answer
                                                                                          : -1;
}
