// The shop search box window.
#pragma once

namespace searchbox {

// Opens the search box and brings it to the front, or does nothing when a
// window with the search box's title already exists.
void OpenSearchBox();

}  // namespace searchbox
