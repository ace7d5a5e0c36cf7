// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/doctor_answer.h"

#include <chrono>
#include <optional>

#include "link/clone_frames.h"
#include "link/radio_connection.h"

namespace {

class AnswerCheck {
public:
    AnswerCheck(CableLine& line, const DoctorRequest& request, const CancelFlag* cancel)
        : m_Line(line), m_Request(request), m_Cancel(cancel) {}

    void Run(Diagnosis* result) {
        CableType cable =
            m_Request.testMode ? CableType::Echo : CableFromSettings(m_Request.settingsPath);
        result->cable = cable;
        int length = -1;
        ConnectResult answer = Try(cable, &length, result);
        if (!result->openError.empty()) {
            result->cause = DoctorCause::OpenFailed;
            return;
        }
        switch (answer) {
            case ConnectResult::Connected:
                result->cause = DoctorCause::RadioFound;
                return;
            case ConnectResult::Cancelled:
                result->cause = DoctorCause::Cancelled;
                return;
            case ConnectResult::NoRadio:
                result->cause = DoctorCause::Silent;
                return;
            case ConnectResult::EchoCable:
                result->cause = DoctorCause::EchoOnDirect;
                result->otherCableAnswered = TryOther(CableType::Echo, result);
                return;
            case ConnectResult::WrongRadio:
                break;
        }
        // The echoing setting counts a missing echo as a missing identification byte, so a
        // direct cable looks like another model until the direct setting is tried.
        if (cable == CableType::Echo && !m_Request.testMode &&
            TryOther(CableType::Direct, result)) {
            result->cause = DoctorCause::NoEchoOnEcho;
            result->otherCableAnswered = true;
            return;
        }
        const bool cancelled = m_Cancel != nullptr && m_Cancel->load(std::memory_order_acquire);
        result->cause = cancelled ? DoctorCause::Cancelled : DoctorCause::OtherModel;
        result->identificationLength = length;
    }

private:
    // One connection with the given cable; the radio is let go again before returning.
    ConnectResult Try(CableType cable, int* identificationLength, Diagnosis* result) {
        std::optional<TracedLine> traced;
        if (m_Request.trace) {
            traced.emplace(m_Line, m_Request.trace, m_TraceStart);
        }
        CableLine& port = traced ? static_cast<CableLine&>(*traced) : m_Line;
        std::string error;
        if (!port.OpenDevice(m_Request.device, clone_frames::kBaudRate, &error)) {
            result->openError = error;
            return ConnectResult::NoRadio;
        }
        CableRules rules;
        rules.cable = cable;
        rules.identificationCountsEcho = !m_Request.testMode;
        rules.fixedPort = true;
        RadioConnection connection(port, m_Request.settingsPath, rules, m_Cancel);
        ConnectResult answer = connection.Connect();
        *identificationLength = connection.IdentificationLength();
        // The end byte takes the radio out of programming mode; it changes nothing stored.
        if (answer == ConnectResult::Connected || answer == ConnectResult::WrongRadio) {
            uint8_t reply = 0;
            ExchangeFrame(port, cable, &clone_frames::kEndCommand, 1, &reply, 1,
                          clone_frames::kShortAnswerMs, m_Cancel);
        }
        port.Close();
        return answer;
    }

    bool TryOther(CableType cable, Diagnosis* result) {
        int length = -1;
        return Try(cable, &length, result) == ConnectResult::Connected;
    }

    CableLine& m_Line;
    const DoctorRequest& m_Request;
    const CancelFlag* m_Cancel;
    const std::chrono::steady_clock::time_point m_TraceStart = std::chrono::steady_clock::now();
};

}  // namespace

void DiagnoseAnswer(CableLine& line, const DoctorRequest& request, const CancelFlag* cancel,
                    Diagnosis* result) {
    AnswerCheck(line, request, cancel).Run(result);
}
