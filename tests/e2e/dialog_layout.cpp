// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the dialog templates as JSON for the end-to-end journeys, so they click where the
// program places its controls instead of at remembered screen positions.
#include <cstdio>
#include <string>

#include "resources/dialog_template.h"

namespace {

std::string Quoted(const char* text) {
    std::string quoted = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\') {
            quoted += '\\';
        }
        quoted += *c;
    }
    return quoted + "\"";
}

void PrintTemplate(const DialogTemplate& dialog, bool last) {
    std::printf("  \"%d\": {\"font\": %s, \"width\": %d, \"height\": %d, \"controls\": [\n",
                dialog.id, Quoted(dialog.fontFace).c_str(), dialog.width, dialog.height);
    for (size_t k = 0; k < dialog.controls.size(); ++k) {
        const ControlTemplate& control = dialog.controls[k];
        std::printf(
            "    {\"id\": %d, \"kind\": %d, \"x\": %d, \"y\": %d, \"width\": %d, "
            "\"height\": %d}%s\n",
            control.id, static_cast<int>(control.kind), control.x, control.y, control.width,
            control.height, k + 1 < dialog.controls.size() ? "," : "");
    }
    std::printf("  ]}%s\n", last ? "" : ",");
}

}  // namespace

int main() {
    std::printf("{\n");
    auto groups = {ShellDialogTemplates(), PageDialogTemplates(), ToolDialogTemplates(),
                   EditDialogTemplates()};
    size_t remaining = 0;
    for (auto group : groups) {
        remaining += group.size();
    }
    for (auto group : groups) {
        for (const DialogTemplate& dialog : group) {
            PrintTemplate(dialog, --remaining == 0);
        }
    }
    std::printf("}\n");
    return 0;
}
