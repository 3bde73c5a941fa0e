// The program's pictures, drawn by code: the light-blue frame band, the three
// frame buttons (plain and highlighted) and the orange "开始" button.
#include "platform/win32/backend.h"

#include <algorithm>
#include <vector>

namespace win32 {

namespace {

constexpr int kBandRows = 24;
// Picture buttons stand 4 px below the top of the title band they sit on.
constexpr int kButtonBandOffset = 4;

COLORREF Mix(int r0, int g0, int b0, int r1, int g1, int b1, int step, int steps) {
    auto at = [&](int a, int b) { return a + (b - a) * step / steps; };
    return RGB(at(r0, r1), at(g0, g1), at(b0, b1));
}

// Row 0 (top) to row 23: darkening to row 10, a step down at row 11, then
// lightening to the bottom row.
COLORREF BandColour(int row) {
    row = std::clamp(row, 0, kBandRows - 1);
    if (row <= 10) return Mix(209, 232, 240, 194, 226, 238, row, 10);
    return Mix(184, 222, 235, 187, 227, 239, row - 11, 12);
}

HBRUSH BandBrush(int row) {
    static GdiBrush brushes[kBandRows];
    row = std::clamp(row, 0, kBandRows - 1);
    if (!brushes[row]) brushes[row].reset(CreateSolidBrush(BandColour(row)));
    return brushes[row].get();
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT rc{left, top, right, bottom};
    GdiBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rc, brush.get());
}

// Band rows one to one, starting at `firstRow`, for a button on the title band.
void DrawBandFrom(HDC dc, const RECT& rc, int firstRow) {
    for (int y = rc.top; y < rc.bottom; ++y) {
        const RECT line{rc.left, y, rc.right, y + 1};
        FillRect(dc, &line, BandBrush(firstRow + (y - rc.top)));
    }
}

void RoundBox(HDC dc, const RECT& rc, COLORREF fill, COLORREF edge) {
    GdiBrush brush(CreateSolidBrush(fill));
    GdiPen pen(CreatePen(PS_SOLID, 1, edge));
    Selected b(dc, brush.get());
    Selected p(dc, pen.get());
    RoundRect(dc, rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1, 5, 5);
}

void Cross(HDC dc, int cx, int cy, COLORREF colour) {
    for (int i = -4; i <= 3; ++i) {
        Fill(dc, cx + i, cy + i, cx + i + 2, cy + i + 1, colour);
        Fill(dc, cx - i - 1, cy + i, cx - i + 1, cy + i + 1, colour);
    }
}

void Bar(HDC dc, int cx, int cy, COLORREF colour) { Fill(dc, cx - 4, cy + 2, cx + 4, cy + 4, colour); }

void MoreGlyph(HDC dc, int cx, int cy, COLORREF colour) {
    Fill(dc, cx - 6, cy - 5, cx + 3, cy - 3, colour);
    Fill(dc, cx - 6, cy - 1, cx + 3, cy + 1, colour);
    Fill(dc, cx - 6, cy + 3, cx - 1, cy + 5, colour);
    // A small triangle pointing down, beside the short bar.
    for (int row = 0; row < 3; ++row) Fill(dc, cx + 1 + row, cy + 2 + row, cx + 6 - row, cy + 3 + row, colour);
}

void StartButton(HDC dc, const RECT& rc) {
    RoundBox(dc, rc, RGB(255, 128, 0), RGB(204, 85, 0));
    forms::Font face{"宋体", 12, true, true};
    Selected font(dc, FontFor(face));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text = rc;
    static const char kStart[] = "开始";
    DrawTextA(dc, kStart, static_cast<int>(sizeof kStart - 1), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

void DrawFrameBand(HDC dc, const RECT& rc) {
    const int height = rc.bottom - rc.top;
    if (height <= 0) return;
    // The 24 rows are stretched over the control's height.
    for (int y = 0; y < height; ++y) {
        const RECT line{rc.left, rc.top + y, rc.right, rc.top + y + 1};
        FillRect(dc, &line, BandBrush(y * kBandRows / height));
    }
}

HBRUSH FrameBandBrush(int height) {
    height = std::max(height, 1);
    // One brush per height, kept for the run; forms have a few band heights at
    // most, and a ninth height would take the place of the oldest one, whose
    // last user has long finished painting with it.
    struct Cached {
        int height = 0;
        GdiBrush brush;
    };
    static Cached cache[8];
    static int next = 0;
    for (Cached& cached : cache) {
        if (cached.brush && cached.height == height) return cached.brush.get();
    }
    Cached& slot = cache[next];
    next = (next + 1) % 8;
    slot.height = height;
    // A device-independent picture, kBandWidth pixels wide, rows bottom up.
    constexpr int kBandWidth = 8;
    constexpr std::size_t kHeaderWords = sizeof(BITMAPINFOHEADER) / sizeof(DWORD);
    static_assert(sizeof(BITMAPINFOHEADER) % sizeof(DWORD) == 0);
    std::vector<DWORD> packed(kHeaderWords + static_cast<std::size_t>(kBandWidth) * height);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(packed.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = kBandWidth;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    DWORD* pixels = packed.data() + kHeaderWords;
    for (int y = 0; y < height; ++y) {
        // The same rows as DrawFrameBand draws over a control of this height.
        const COLORREF c = BandColour(y * kBandRows / height);
        const DWORD pixel = (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) |
                            GetBValue(c);
        DWORD* row = pixels + static_cast<std::size_t>(height - 1 - y) * kBandWidth;
        std::fill(row, row + kBandWidth, pixel);
    }
    slot.brush.reset(CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS));
    return slot.brush.get();
}

void DrawPicture(HDC dc, forms::Picture picture, const RECT& rc, bool highlighted) {
    const int cx = (rc.left + rc.right) / 2;
    const int cy = (rc.top + rc.bottom) / 2;
    const COLORREF glyph = RGB(54, 54, 54);
    switch (picture) {
        case forms::Picture::None: return;
        case forms::Picture::FrameBand: DrawFrameBand(dc, rc); return;
        case forms::Picture::StartButton: StartButton(dc, rc); return;
        case forms::Picture::CloseButton:
            DrawBandFrom(dc, rc, kButtonBandOffset);
            if (highlighted) {
                RoundBox(dc, rc, RGB(232, 64, 64), RGB(128, 0, 0));
                Cross(dc, cx, cy, RGB(128, 0, 0));
            } else {
                Cross(dc, cx, cy, glyph);
            }
            return;
        case forms::Picture::MinimiseButton:
            DrawBandFrom(dc, rc, kButtonBandOffset);
            if (highlighted) RoundBox(dc, rc, RGB(214, 238, 252), RGB(0, 60, 150));
            Bar(dc, cx, cy, glyph);
            return;
        case forms::Picture::MoreButton:
            DrawBandFrom(dc, rc, kButtonBandOffset);
            if (highlighted) RoundBox(dc, rc, RGB(214, 238, 252), RGB(0, 60, 150));
            MoreGlyph(dc, cx, cy, glyph);
            return;
    }
}

}  // namespace win32
