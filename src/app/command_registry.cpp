#include "app/command_registry.h"

#include <map>

namespace {

std::map<int, CommandHandler>& Registry() {
    static std::map<int, CommandHandler> registry;
    return registry;
}

}  // namespace

bool RegisterCommandHandler(int commandId, CommandHandler handler) {
    Registry()[commandId] = std::move(handler);
    return true;
}

const CommandHandler* FindRegisteredCommandHandler(int commandId) {
    auto found = Registry().find(commandId);
    return found == Registry().end() ? nullptr : &found->second;
}
