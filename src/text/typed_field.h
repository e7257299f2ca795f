// Edit fields that hold at most a number of bytes of code page 936. An edit
// control counts characters, so the limit is kept after each change: an
// edit that leaves the text too long is undone.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string>

// Whether the edited text stands: it fits, or it grew no longer than it was
// before the edit (a text set by the program may be longer than the limit).
inline bool TypedEditStands(const std::string& edited, const std::string& before, size_t maxBytes)
{
    return edited.size() <= maxBytes || edited.size() <= before.size();
}

// Where the caret goes when an edit is undone: back over the characters the
// edit added, never before the start.
inline int CaretAfterUndoneEdit(int caret, int addedCharacters)
{
    return std::max(0, caret - std::max(addedCharacters, 0));
}
