// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzzed bytes play the radio: a read or a write exchange runs against a line whose
// answers the input chooses frame by frame (good answers, wrong addresses, cut-short and
// late answers, stray bytes, echoes, silence, arbitrary bytes), with every time-out passing at
// once. The same bytes then play the radio to one of test mode's exchanges. Each exchange must
// end, in one of its defined outcomes; it may only ever send the protocol's frames built from
// the image; and every block a read keeps must hold bytes the radio sent behind that block's
// header.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "link/cable_line.h"
#include "link/clone_protocol.h"
#include "testmode/mode_exchange.h"
#include "testmode/mode_items.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kFirstBlock = 0x0800;
constexpr int kEndAddress = 0x2000;
constexpr uint8_t kWakeUp[] = {0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The input, read from the front; an exhausted input reads as zeros.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}
    bool Empty() const { return m_At >= m_Size; }
    uint8_t Next() { return m_At < m_Size ? m_Data[m_At++] : 0; }

private:
    const uint8_t* m_Data;
    size_t m_Size;
    size_t m_At = 0;
};

// What a well-behaved radio answers to frame; data bytes follow from the address and seed.
Bytes ProperAnswer(const Bytes& frame, uint8_t seed) {
    if (frame.size() == sizeof kWakeUp && std::equal(frame.begin(), frame.end(), kWakeUp)) {
        return {0x06};
    }
    if (frame.size() == 1) {
        if (frame[0] == 0x02) {
            return {'H', 'R', 'Q', '8', '7', '0', 0x00, 0x01};
        }
        return {0x06};
    }
    if (frame.size() == 4 && frame[0] == 0x52) {
        Bytes answer = {0x57, frame[1], frame[2], 0x10};
        for (int k = 0; k < 16; ++k) {
            answer.push_back(static_cast<uint8_t>(frame[1] * 13 + frame[2] + seed + k));
        }
        return answer;
    }
    // A block written, in the clone or in test mode, and test mode's adjust frame.
    if (frame.size() == 20) {
        return {0x06};
    }
    return {};
}

// A line whose every time-out passes at once: each frame sent takes one instruction from the
// input, which decides what arrives after it.
class ScriptedLine : public CableLine {
public:
    ScriptedLine(Input& input, bool cableEchoes, uint8_t seed, uint8_t openablePorts)
        : m_Input(input),
          m_CableEchoes(cableEchoes),
          m_Seed(seed),
          m_OpenablePorts(openablePorts) {}

    bool Open(int port, int, std::string*) override {
        m_Open = port <= m_OpenablePorts;
        return m_Open;
    }
    bool OpenDevice(const std::string&, int baudRate, std::string* error) override {
        return Open(1, baudRate, error);
    }
    void Close() override { m_Open = false; }
    bool IsOpen() const override { return m_Open; }
    void Pause(int) override {}

    int Write(const uint8_t* bytes, int count, int, const CancelFlag*) override {
        Check(m_Open);
        Bytes frame(bytes, bytes + count);
        sent.push_back(frame);
        // A late answer to the frame before arrives only now, behind whatever was drained.
        Deliver(m_Late);
        m_Late.clear();
        if (m_CableEchoes) {
            Deliver(frame);
        }
        Answer(frame);
        return count;
    }

    int Read(uint8_t* buffer, int count, int) override {
        int taken = 0;
        while (taken < count && !m_Pending.empty()) {
            buffer[taken++] = m_Pending.front();
            m_Pending.pop_front();
        }
        return taken;
    }

    std::vector<Bytes> sent;
    // Every byte that arrived, and where each answer burst began.
    Bytes delivered;

private:
    void Deliver(const Bytes& bytes) {
        delivered.insert(delivered.end(), bytes.begin(), bytes.end());
        m_Pending.insert(m_Pending.end(), bytes.begin(), bytes.end());
    }

    Bytes Raw(int count) {
        Bytes bytes;
        for (int k = 0; k < count && !m_Input.Empty(); ++k) {
            bytes.push_back(m_Input.Next());
        }
        return bytes;
    }

    void Answer(const Bytes& frame) {
        if (m_Input.Empty()) {
            return;
        }
        uint8_t instruction = m_Input.Next();
        int argument = instruction & 0x1F;
        Bytes proper = ProperAnswer(frame, m_Seed);
        switch (instruction >> 5) {
            case 0:
                Deliver(Raw(argument));
                break;
            case 1:
                Deliver(proper);
                Deliver(Raw(argument));
                break;
            case 2:
                proper.resize(std::min(proper.size(), static_cast<size_t>(argument)));
                Deliver(proper);
                break;
            case 3:
                if (proper.size() == 20) {
                    proper[2] = static_cast<uint8_t>(proper[2] + argument);
                }
                Deliver(proper);
                break;
            case 4:
                break;
            case 5:
                Deliver(frame);
                Deliver(proper);
                break;
            case 6:
                if (proper.size() == 20) {
                    Bytes data = Raw(16);
                    std::copy(data.begin(), data.end(), proper.begin() + 4);
                }
                Deliver(proper);
                break;
            default:
                m_Late = proper;
                break;
        }
    }

    Input& m_Input;
    bool m_CableEchoes;
    uint8_t m_Seed;
    int m_OpenablePorts;
    bool m_Open = false;
    std::deque<uint8_t> m_Pending;
    Bytes m_Late;
};

const std::string& ScratchDirectory() {
    static const std::string path = [] {
        std::string pattern = "/tmp/halvex_cable_fuzz_XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    static const bool removedAtExit =
        std::atexit([] { std::filesystem::remove_all(ScratchDirectory()); }) == 0;
    (void)removedAtExit;
    return path;
}

bool IsBlockAddress(int address, int first = kFirstBlock) {
    return address >= first && address < kEndAddress && address % 16 == 0;
}

// Only the protocol's frames go out: a read asks for blocks, a write sends the image's own.
void CheckSentFrames(const std::vector<Bytes>& sent, bool read, const uint8_t* image) {
    for (const Bytes& frame : sent) {
        if (frame.size() == sizeof kWakeUp) {
            Check(std::equal(frame.begin(), frame.end(), kWakeUp));
        } else if (frame.size() == 1) {
            Check(frame[0] == 0x02 || frame[0] == 0x06 || frame[0] == 0x62);
        } else if (frame.size() == 4) {
            Check(read && frame[0] == 0x52 && frame[3] == 0x10 &&
                  IsBlockAddress((frame[1] << 8) | frame[2]));
        } else {
            int address = (frame[1] << 8) | frame[2];
            Check(!read && frame.size() == 20 && frame[0] == 0x57 && frame[3] == 0x10 &&
                  IsBlockAddress(address) &&
                  std::equal(frame.begin() + 4, frame.end(), image + address));
        }
    }
}

// Where each block's header starts in what the radio sent, so that every stored block can be
// matched with bytes that followed its own header.
std::vector<std::vector<size_t>> HeaderPositions(const Bytes& delivered) {
    std::vector<std::vector<size_t>> positions(kEndAddress / 16);
    for (size_t at = 0; at + 20 <= delivered.size(); ++at) {
        int address = (delivered[at + 1] << 8) | delivered[at + 2];
        if (delivered[at] == 0x57 && IsBlockAddress(address, 0)) {
            positions[static_cast<size_t>(address / 16)].push_back(at);
        }
    }
    return positions;
}

bool CameFromTheRadio(const Bytes& delivered, const std::vector<size_t>& headers,
                      const uint8_t* image, int address) {
    return std::any_of(headers.begin(), headers.end(), [&](size_t at) {
        return std::equal(image + address, image + address + 16, delivered.begin() + at + 4);
    });
}

// Only test mode's frames go out: wake-up, identification, acknowledgement and end; reads of
// the blocks its kind covers; the image's own blocks in its write frame; the adjust frame of
// the selected item with the value the radio gave.
void CheckTestModeFrames(const std::vector<Bytes>& sent, const TestExchangeJob& job,
                         const RadioImage& before) {
    const bool start = job.kind == TestExchangeKind::StartTestMode;
    const int first = start ? 0x0FC0 : 0;
    const int end = start ? 0x1000 : kEndAddress;
    for (const Bytes& frame : sent) {
        if (frame.size() == sizeof kWakeUp) {
            Check(std::equal(frame.begin(), frame.end(), kWakeUp));
        } else if (frame.size() == 1) {
            Check(frame[0] == 0x02 || frame[0] == 0x06 || frame[0] == 0x62);
        } else if (frame.size() == 4) {
            int address = (frame[1] << 8) | frame[2];
            Check(job.kind != TestExchangeKind::WriteAll && frame[0] == 0x52 && frame[3] == 0x10 &&
                  IsBlockAddress(address, first) && address < end);
        } else if (frame.size() == 20 && frame[0] == 0x67) {
            std::optional<AdjustFrame> adjust =
                BuildAdjustFrame(job.selectedItem, job.image.GetTestItem(job.selectedItem));
            Check(start && adjust && std::equal(frame.begin(), frame.end(), adjust->begin()));
        } else {
            int address = (frame[1] << 8) | frame[2];
            Check(job.kind == TestExchangeKind::WriteAll && frame.size() == 20 &&
                  frame[0] == 0x57 && frame[3] == 0x08 && IsBlockAddress(address, 0) &&
                  std::equal(frame.begin() + 4, frame.end(), before.bytes.begin() + address));
        }
    }
}

// Each way a test-mode exchange can end, with the port as that ending must leave it.
void CheckTestModeOutcome(const TestExchangeJob& job, bool reached, bool portOpen) {
    const std::optional<TestModeMessage>& message = job.message;
    Check(!job.cancelled);
    if (!reached) {
        Check((message == kNoRadioMessage || message == kWrongRadioMessage) && !portOpen &&
              job.storedEnd == job.storedFrom && !job.radioChanged);
        return;
    }
    switch (job.kind) {
        case TestExchangeKind::StartTestMode:
            // Held in test mode with the port open, or the read of the test region failed.
            Check((!message && portOpen && job.storedEnd == 0x1000) ||
                  (message == kNoRadioMessage && !portOpen));
            break;
        case TestExchangeKind::ReadAll:
            Check((message == kReadDoneMessage && !portOpen && job.storedFrom == 0 &&
                   job.storedEnd == kEndAddress) ||
                  (message == kNoRadioMessage && !portOpen));
            break;
        case TestExchangeKind::WriteAll:
            // A failed block leaves the radio in programming mode and the port open.
            Check((message == kWriteDoneMessage && !portOpen) ||
                  (message == kWriteFailedMessage && portOpen));
            break;
    }
}

void FuzzTestModeExchange(const uint8_t* data, size_t size, const std::string& settingsPath) {
    Input input(data, size);
    uint8_t flags = input.Next();
    uint8_t seed = input.Next();
    TestExchangeJob job;
    job.kind = static_cast<TestExchangeKind>(seed % 3);
    job.settingsPath = settingsPath;
    // None, items of both adjust banks, and items the radio does not adjust live.
    job.selectedItem = seed % 40 - 4;
    job.endTestModeFirst = (flags & 0x02) != 0;
    for (size_t i = 0; i < job.image.bytes.size(); ++i) {
        job.image.bytes[i] = static_cast<uint8_t>(i * 5 + seed);
    }
    const RadioImage before = job.image;

    ScriptedLine line(input, (flags & 0x04) != 0, seed, (flags & 0x80) != 0 ? 3 : 1);
    if (job.endTestModeFirst) {
        line.Open(1, 0, nullptr);
    }
    job.port = &line;
    bool reached = ExchangeInTestMode(job);

    CheckTestModeOutcome(job, reached, line.IsOpen());
    CheckTestModeFrames(line.sent, job, before);
    Check(std::equal(job.image.bytes.begin(), job.image.bytes.begin() + job.storedFrom,
                     before.bytes.begin()));
    Check(std::equal(job.image.bytes.begin() + job.storedEnd, job.image.bytes.end(),
                     before.bytes.begin() + job.storedEnd));
    std::vector<std::vector<size_t>> headers = HeaderPositions(line.delivered);
    for (int address = job.storedFrom; address < job.storedEnd; address += 16) {
        Check(CameFromTheRadio(line.delivered, headers[static_cast<size_t>(address / 16)],
                               job.image.bytes.data(), address));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    uint8_t flags = input.Next();
    uint8_t seed = input.Next();
    bool read = (flags & 0x01) != 0;
    bool echoSetting = (flags & 0x02) != 0;
    bool cableEchoes = (flags & 0x04) != 0;
    bool search = (flags & 0x08) != 0;
    // 0, 1, 20, 50 ms and past the cap: every time-out passes at once anyway.
    static constexpr int kAnswerTimes[] = {0, 1, 20, 50, 20000, -5, 10000, 300};
    int answerTime = kAnswerTimes[(flags >> 4) & 0x07];
    uint8_t openablePorts = (flags & 0x80) != 0 ? 3 : 1;

    const std::string settingsPath = ScratchDirectory() + "/setting.ini";
    std::ofstream(settingsPath, std::ios::trunc)
        << "[setup]\ncom=1\nsearchcom=" << (search ? 1 : 0) << "\nrwtype=" << (echoSetting ? 2 : 1)
        << "\nreadtime=" << answerTime << "\nwritetime=" << answerTime << "\n";
    FuzzTestModeExchange(data, size, settingsPath);

    std::array<uint8_t, 8192> image;
    for (size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<uint8_t>(i * 7 + seed);
    }
    const std::array<uint8_t, 8192> before = image;

    ScriptedLine line(input, cableEchoes, seed, openablePorts);
    TransferJob job;
    job.Reset(&line, settingsPath, read, image.data());
    TransferThreadProc(job);
    TransferStatus status = job.Status();

    Check(status == StatusPortError || status == StatusIdentError || status == StatusEchoCable ||
          (read && (status == StatusReadDone || status == StatusReadFailed)) ||
          (!read && (status == StatusWriteDone || status == StatusWriteFailed)));
    CheckSentFrames(line.sent, read, before.data());
    Check(std::equal(image.begin(), image.begin() + kFirstBlock, before.begin()));
    if (!read) {
        Check(image == before);
    }
    if (status == StatusReadDone) {
        Check(job.skippedBlocks.empty());
        std::vector<std::vector<size_t>> headers = HeaderPositions(line.delivered);
        for (int address = kFirstBlock; address < kEndAddress; address += 16) {
            Check(CameFromTheRadio(line.delivered, headers[static_cast<size_t>(address / 16)],
                                   image.data(), address));
        }
    }
    if (status == StatusWriteDone) {
        for (int address = kFirstBlock; address < kEndAddress; address += 16) {
            Check(std::any_of(line.sent.begin(), line.sent.end(), [address](const Bytes& frame) {
                return frame.size() == 20 && ((frame[1] << 8) | frame[2]) == address;
            }));
        }
    }
    return 0;
}
