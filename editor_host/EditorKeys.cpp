#include "editor_host/EditorKeys.h"

#include "common/ConsoleText.h"
#include "common/Errors.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace velmar {

namespace {

constexpr std::array<std::pair<EditorKey, std::string_view>, 11> kKeyNames{{
    {EditorKey::Up, "up"},
    {EditorKey::Down, "down"},
    {EditorKey::Left, "left"},
    {EditorKey::Right, "right"},
    {EditorKey::ShiftLeft, "shift-left"},
    {EditorKey::ShiftRight, "shift-right"},
    {EditorKey::Insert, "insert"},
    {EditorKey::Delete, "delete"},
    {EditorKey::Space, "space"},
    {EditorKey::PageUp, "page-up"},
    {EditorKey::PageDown, "page-down"},
}};

} // namespace

std::string_view KeyName(EditorKey key) {
    const auto* const found = std::find_if(kKeyNames.begin(), kKeyNames.end(),
                                           [key](const auto& entry) { return entry.first == key; });
    return found == kKeyNames.end() ? std::string_view() : found->second;
}

EditorKey KeyNamed(std::string_view name, std::span<const EditorKey> keys) {
    for (const EditorKey key : keys) {
        if (KeyName(key) == name) {
            return key;
        }
    }
    std::string names;
    for (const EditorKey key : keys) {
        names += (names.empty() ? "" : ", ") + std::string(KeyName(key));
    }
    throw InvalidArgumentError("no key \"" + EscapeConsoleText(name) + "\" (" + names + ")");
}

} // namespace velmar
