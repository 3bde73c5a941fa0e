// The clipboard: text (CF_TEXT), a picture (a non-text format), nothing, or
// held open by another program so that opening it fails.
#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_state.h"

namespace {

// CF_TEXT is a C string: whatever follows a zero byte is not part of it.
std::string UpToZero(std::string_view text) {
    std::size_t end = text.find('\0');
    return std::string(end == std::string_view::npos ? text : text.substr(0, end));
}

}  // namespace

namespace desktop {
using namespace sim::detail;

std::string GetClipboardText() {
    ClipboardRec& c = S().clipboard;
    ++c.openCount;
    if (c.busy || !c.hasText) return {};
    return c.text;
}

bool SetClipboardText(std::string_view text) {
    ClipboardRec& c = S().clipboard;
    ++c.openCount;
    if (c.busy) return false;
    c.hasText = true;
    c.text = UpToZero(text);
    c.hasPicture = false;
    return true;
}

}  // namespace desktop

namespace sim {
using namespace detail;

void PutClipboardText(std::string_view text) {
    ClipboardRec& c = S().clipboard;
    c.hasText = true;
    c.text = UpToZero(text);
    c.hasPicture = false;
}

void PutClipboardPicture() {
    ClipboardRec& c = S().clipboard;
    c.hasText = false;
    c.text.clear();
    c.hasPicture = true;
}

void EmptyClipboard() {
    ClipboardRec& c = S().clipboard;
    c.hasText = false;
    c.text.clear();
    c.hasPicture = false;
}

void HoldClipboard(bool busy) { S().clipboard.busy = busy; }

ClipboardState Clipboard() {
    const ClipboardRec& c = S().clipboard;
    ClipboardState state;
    state.hasText = c.hasText;
    state.text = c.text;
    state.hasPicture = c.hasPicture;
    state.formatCount = (c.hasText ? 1 : 0) + (c.hasPicture ? 1 : 0);
    return state;
}

int ClipboardOpenCount() { return S().clipboard.openCount; }

}  // namespace sim
