#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bp::sync {

// A three-way merge of two texts line by line against the version both started from. Our RTF
// writer puts one paragraph on a line, so this merges edits of different paragraphs and
// refuses (nullopt) when both sides changed the same place differently. Texts too large to
// compare line by line merge only when one side left the base as it was.
std::optional<std::string> mergeLines(std::string_view base, std::string_view ours,
                                      std::string_view theirs);

}  // namespace bp::sync
