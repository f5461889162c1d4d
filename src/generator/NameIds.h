#pragma once
// Name identifiers: the integers that stand for the names of a model's bones
// and morphs. A text is entered once in a process-wide table and keeps its
// identifier for the life of the process, so equal texts always have equal
// identifiers and an identifier always converts back to the text it was made
// from.
//
// Identifiers are a type of their own and are never string-table ids: the
// standard bone names such as "センター" are entered like any other text, so
// no identifier can ever be mistaken for a string-table entry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class NameId : uint32_t {
    Empty = 0, // the empty text
};

// The identifier of text, entering the text in the table when it is new.
// Safe to call from several threads.
NameId ToNameId(std::u16string_view text);

// The identifier of text when the table already holds it; nothing is entered.
std::optional<NameId> FindNameId(std::u16string_view text);

// The text of an identifier handed out by ToNameId. The reference stays valid
// for the life of the process. Throws std::out_of_range for any other value.
const std::u16string& NameText(NameId id);
