#include "generator/NameIds.h"

#include <deque>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace {

// The texts live in a deque, whose elements never move, so NameText can hand
// out references; the map's keys view those same texts.
struct NameTable {
    std::mutex mutex;
    std::deque<std::u16string> texts{std::u16string()};
    std::unordered_map<std::u16string_view, NameId> ids{{texts.front(), NameId::Empty}};
};

NameTable& Table() {
    static NameTable table;
    return table;
}

} // namespace

NameId ToNameId(std::u16string_view text) {
    NameTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (auto found = table.ids.find(text); found != table.ids.end())
        return found->second;
    auto id = static_cast<NameId>(table.texts.size());
    const std::u16string& stored = table.texts.emplace_back(text);
    table.ids.emplace(stored, id);
    return id;
}

std::optional<NameId> FindNameId(std::u16string_view text) {
    NameTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (auto found = table.ids.find(text); found != table.ids.end())
        return found->second;
    return std::nullopt;
}

const std::u16string& NameText(NameId id) {
    NameTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto index = static_cast<size_t>(id);
    if (index >= table.texts.size())
        throw std::out_of_range("unknown name identifier " + std::to_string(index));
    return table.texts[index];
}
