// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between JavaScript values and the core's types that every binding file uses.
#pragma once

#include <emscripten/val.h>

#include <cstdint>
#include <vector>

#include "web_document.h"

namespace js_values {

inline emscripten::val Bytes(const std::vector<uint8_t>& bytes) {
    return emscripten::val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

inline std::vector<uint8_t> BytesOf(const emscripten::val& array) {
    return emscripten::convertJSArrayToNumberVector<uint8_t>(array);
}

template <typename T>
emscripten::val Array(const std::vector<T>& items) {
    emscripten::val array = emscripten::val::array();
    for (const T& item : items) {
        array.call<void>("push", item);
    }
    return array;
}

// An absent array is empty.
inline std::vector<int> IntsOf(const emscripten::val& array) {
    return array.isUndefined() ? std::vector<int>() : emscripten::vecFromJSArray<int>(array);
}

// An absent or null field is fallback.
template <typename T>
T Field(const emscripten::val& object, const char* name, T fallback) {
    const emscripten::val value = object[name];
    return value.isUndefined() || value.isNull() ? fallback : value.as<T>();
}

// Where a field lies in the module's memory, for the page to follow or write it while the
// module is suspended.
inline uintptr_t Address(const void* field) {
    return reinterpret_cast<uintptr_t>(field);
}

inline emscripten::val CommitValue(const CellCommit& commit) {
    emscripten::val object = emscripten::val::object();
    object.set("changed", commit.changed);
    object.set("note", commit.note);
    return object;
}

}  // namespace js_values
