#include "searchbox/searchbox.h"

namespace searchbox {

// The search box window is not part of this build yet: opening it does nothing.
void OpenSearchBox() {}

}  // namespace searchbox
