// Fetching an online info page on a worker thread and cutting out its block.
#pragma once

#include <string>
#include <string_view>

namespace online {

// The three users of online pages; each has its own pair of hand-over slots
// (the address for its worker, the page text its last worker stored).
enum class OnlineUser { MainAdverts, SearchBox, MiniWindow };

inline constexpr int kFetchWaitMilliseconds = 10000;

// Downloads the page at url on a new worker and waits for it at most 10 s
// (handling no window event meanwhile), then returns the block between the
// markers with every "amp;" removed. Empty when the download failed or did
// not end in time and no earlier one of this user had stored a page, or when
// the markers are not both there. A worker that did not end in time runs on
// and stores its page for a later fetch of the same user.
std::string FetchMarkedText(OnlineUser user, std::string_view url, std::string_view startMarker,
                            std::string_view endMarker);

}  // namespace online
