// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_serial_line.h"

#include <emscripten.h>

#include <cstdlib>

// Each returns once the page's line has done it; a rejected promise counts as a failed call,
// so a port the user unplugged ends the exchange as a quiet line does. The bodies are
// JavaScript, which the C++ formatter would break.
// clang-format off
EM_ASYNC_JS(char*, halvex_line_open, (int line, int baudRate), {
    try {
        await Module["halvexLines"].get(line).open(baudRate);
        return 0;
    } catch (failure) {
        // The error's name, a unit separator, then its message.
        const name = failure && failure.name ? failure.name : "Error";
        const message = failure && failure.message ? failure.message : String(failure);
        return allocateUTF8(name + String.fromCharCode(31) + message);
    }
});

EM_ASYNC_JS(void, halvex_line_close, (int line), {
    try {
        await Module["halvexLines"].get(line).close();
    } catch (failure) {
        err("halvex: closing the port failed: " + failure);
    }
});

// The lead delay is waited whole, as the native port waits it: the core looks at its cancel
// flag around each send, and its own pauses are sliced.
EM_ASYNC_JS(int, halvex_line_write, (int line, const uint8_t* bytes, int count, int leadDelayMs), {
    const sent = HEAPU8.slice(bytes, bytes + count);
    try {
        return await Module["halvexLines"].get(line).write(sent, leadDelayMs);
    } catch (failure) {
        return 0;
    }
});

EM_ASYNC_JS(int, halvex_line_read, (int line, uint8_t* buffer, int count, int timeoutMs), {
    try {
        const received = await Module["halvexLines"].get(line).read(count, timeoutMs);
        // The heap may have grown while the line waited: the view is taken after the wait.
        HEAPU8.set(received.subarray(0, count), buffer);
        return Math.min(received.length, count);
    } catch (failure) {
        return 0;
    }
});

EM_ASYNC_JS(void, halvex_line_pause, (int milliseconds), {
    await new Promise((resume) => setTimeout(resume, milliseconds));
});
// clang-format on

bool WebSerialLine::Open(int, int baudRate, std::string* error) {
    return OpenDevice({}, baudRate, error);
}

bool WebSerialLine::OpenDevice(const std::string&, int baudRate, std::string* error) {
    if (m_Open) {
        Close();
    }
    char* failure = halvex_line_open(m_Line, baudRate);
    m_OpenFailure.clear();
    if (failure != nullptr) {
        std::string text = failure;
        std::free(failure);
        const size_t separator = text.find('\x1f');
        m_OpenFailure = text.substr(0, separator);
        if (error != nullptr) {
            *error = separator == std::string::npos ? text : text.substr(separator + 1);
        }
        return false;
    }
    m_Open = true;
    return true;
}

void WebSerialLine::Close() {
    if (!m_Open) {
        return;
    }
    m_Open = false;
    halvex_line_close(m_Line);
}

int WebSerialLine::Write(const uint8_t* bytes, int count, int leadDelayMs, const CancelFlag*) {
    if (!m_Open || count <= 0) {
        if (leadDelayMs > 0) {
            Pause(leadDelayMs);
        }
        return 0;
    }
    return halvex_line_write(m_Line, bytes, count, leadDelayMs);
}

int WebSerialLine::Read(uint8_t* buffer, int count, int timeoutMs) {
    if (!m_Open) {
        Pause(timeoutMs);
        return 0;
    }
    if (count <= 0) {
        return 0;
    }
    return halvex_line_read(m_Line, buffer, count, timeoutMs);
}

void WebSerialLine::Pause(int milliseconds) {
    if (milliseconds > 0) {
        halvex_line_pause(milliseconds);
    }
}
