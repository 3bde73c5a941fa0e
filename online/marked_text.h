// Cutting blocks out of online info pages.
//
// Page texts are byte strings in the double-byte ANSI code page (GBK): a byte
// with the high bit set starts a two-byte character. Every search here steps
// through the text one character at a time, so a match can only begin on a
// character boundary, never on the trail byte of a two-byte character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace online {

// The position of the first occurrence of `what` in `text` that begins on a
// character boundary at or after `from` (`from` itself counts as a boundary),
// compared byte for byte; std::string_view::npos when there is none.
std::size_t FindCharacterwise(std::string_view text, std::string_view what, std::size_t from = 0);

// The bytes between the first start marker and the first end marker after it;
// empty when either marker is missing or the two stand next to each other.
std::string ExtractMarkedText(std::string_view source, std::string_view startMarker,
                              std::string_view endMarker);

// The block with every "amp;" (ASCII letters in any case) removed, repeatedly,
// until none is left: "&amp;amp;" reads "&", and "a" "amp;" "mp;" reads "".
//
// The result is the one of the plain method (remove every occurrence found
// stepping character by character from left to right, then search again while
// any is left), computed in a single pass in time linear in the block's length,
// so that a hostile page of nested "aaa...amp;mp;mp;" cannot hold up the window
// for one pass per nesting level. The result is shorter than the block exactly
// when something was removed.
std::string RemoveAmpSequences(std::string_view block);

}  // namespace online
