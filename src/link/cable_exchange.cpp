#include "link/cable_exchange.h"

#include <algorithm>
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
    std::vector<uint8_t> echo(static_cast<size_t>(frameSize));
    int echoed = port.Read(echo.data(), frameSize, timeoutMs);
    if (echoed == 0) {
        return result;
    }
    if (echoed == frameSize &&
        std::memcmp(echo.data(), frame, static_cast<size_t>(frameSize)) == 0) {
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
