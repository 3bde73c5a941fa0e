// The backend's own controls and how they paint: labels, group boxes, shapes,
// picture buttons, picture boxes and the HTML view's host window.
#include "platform/win32/backend.h"

#include <windowsx.h>

namespace win32 {

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

namespace {

struct Owned {
    WindowRec* window = nullptr;
    ControlRec* control = nullptr;
    int index = -1;
};

Owned Lookup(HWND hwnd) {
    Owned o;
    o.control = RecOfControlHwnd(hwnd, &o.window);
    if (o.control != nullptr) o.index = static_cast<int>(o.control - o.window->controls.data());
    return o;
}

void FillColour(HDC dc, const RECT& rc, COLORREF colour) {
    GdiBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rc, brush.get());
}

COLORREF BackOf(const Owned& o) {
    return o.control == nullptr ? GetSysColor(COLOR_BTNFACE) : EffectiveBack(*o.window, o.index);
}

UINT AlignFlags(forms::Align align) {
    switch (align) {
        case forms::Align::Centre: return DT_CENTER;
        case forms::Align::Right: return DT_RIGHT;
        default: return DT_LEFT;
    }
}

void PaintLabel(HWND hwnd) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc();
    RECT rc;
    GetClientRect(hwnd, &rc);
    const Owned o = Lookup(hwnd);
    if (o.control == nullptr) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    const forms::ControlDef& d = *o.control->def;
    if (d.picture == forms::Picture::FrameBand) {
        DrawFrameBand(dc, rc);
    } else if (d.picture != forms::Picture::None) {
        FillColour(dc, rc, BackOf(o));
        DrawPicture(dc, d.picture, rc, false);
    } else {
        FillColour(dc, rc, BackOf(o));
    }
    const std::string text = WindowText(hwnd);
    if (text.empty()) return;
    Selected font(dc, o.control->font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(d.textColour, GetSysColor(COLOR_BTNTEXT)));
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rc, DT_WORDBREAK | DT_NOPREFIX | AlignFlags(d.align));
}

void PaintGroup(HWND hwnd) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc();
    RECT rc;
    GetClientRect(hwnd, &rc);
    const Owned o = Lookup(hwnd);
    const COLORREF back = BackOf(o);
    FillColour(dc, rc, back);
    HFONT hfont = o.control != nullptr ? o.control->font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Selected font(dc, hfont);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    RECT frame = rc;
    frame.top = tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::string text = WindowText(hwnd);
    if (text.empty()) return;
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    const RECT gap{6, 0, 6 + size.cx + 4, tm.tmHeight};
    FillColour(dc, gap, back);
    SetBkMode(dc, TRANSPARENT);
    const COLORREF colour =
        o.control != nullptr ? ToColorRef(o.control->def->textColour, GetSysColor(COLOR_BTNTEXT)) : 0;
    SetTextColor(dc, colour);
    TextOutA(dc, 8, 0, text.data(), static_cast<int>(text.size()));
}

void PaintShape(HWND hwnd) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc();
    RECT rc;
    GetClientRect(hwnd, &rc);
    const Owned o = Lookup(hwnd);
    FillColour(dc, rc, BackOf(o));
    if (o.control != nullptr && o.control->def->outline != forms::kDefaultColour) {
        GdiBrush edge(CreateSolidBrush(ToColorRef(o.control->def->outline, 0)));
        FrameRect(dc, &rc, edge.get());
    }
}

void PaintPicture(HWND hwnd, bool highlighted) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc();
    RECT rc;
    GetClientRect(hwnd, &rc);
    const Owned o = Lookup(hwnd);
    FillColour(dc, rc, BackOf(o));
    if (o.control != nullptr) DrawPicture(dc, o.control->def->picture, rc, highlighted);
}

void Invalidate(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

bool PointInside(HWND hwnd, LPARAM lParam) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&rc, p) != 0;
}

// The answers every control of the backend shares.
bool Common(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_SETCURSOR:
            if (HandleSetCursor(hwnd, wParam, lParam)) {
                result = TRUE;
                return true;
            }
            return false;
        case WM_SETTEXT:
            result = DefWindowProcA(hwnd, msg, wParam, lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return true;
        case WM_SETFONT:
            result = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Common(hwnd, msg, wParam, lParam, result)) return result;
    switch (msg) {
        case WM_PAINT:
            PaintLabel(hwnd);
            return 0;
        case WM_LBUTTONDOWN: {
            // Let go of any capture, so that a handler can start a window drag.
            ReleaseCapture();
            const Owned o = Lookup(hwnd);
            if (o.control != nullptr) Run(o.control->mouseDown);
            return 0;
        }
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// Group boxes and shapes hold controls: their controls' notifications go on
// to the form window; only the painting differs.
LRESULT ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, void (*paint)(HWND)) {
    if (IsForwardedMessage(msg)) return ForwardToForm(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (Common(hwnd, msg, wParam, lParam, result)) return result;
    if (msg == WM_PAINT) {
        paint(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK GroupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ContainerProc(hwnd, msg, wParam, lParam, PaintGroup);
}

LRESULT CALLBACK ShapeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ContainerProc(hwnd, msg, wParam, lParam, PaintShape);
}

LRESULT CALLBACK PictureButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Common(hwnd, msg, wParam, lParam, result)) return result;
    const Owned o = Lookup(hwnd);
    ControlRec* c = o.control;
    switch (msg) {
        case WM_PAINT:
            PaintPicture(hwnd, c != nullptr && c->hot && !c->pressed);
            return 0;
        case WM_MOUSEMOVE: {
            if (c == nullptr) return 0;
            if (!c->tracking) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
                c->tracking = TrackMouseEvent(&track) != 0;
            }
            const bool held = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
            const bool hot = !held && PointInside(hwnd, lParam);
            if (hot != c->hot) {
                c->hot = hot;
                Invalidate(hwnd);
            }
            return 0;
        }
        case WM_MOUSELEAVE:
            if (c != nullptr) {
                c->tracking = false;
                if (c->hot) {
                    c->hot = false;
                    Invalidate(hwnd);
                }
            }
            return 0;
        case WM_LBUTTONDOWN:
            if (c != nullptr) {
                SetCapture(hwnd);
                c->pressed = true;
                c->hot = false;
                Invalidate(hwnd);
            }
            return 0;
        case WM_LBUTTONUP:
            if (c != nullptr && c->pressed) {
                const bool inside = PointInside(hwnd, lParam);
                c->pressed = false;
                ReleaseCapture();
                c->hot = inside;
                Invalidate(hwnd);
                if (inside) Run(c->click);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (c != nullptr && c->pressed) {
                c->pressed = false;
                Invalidate(hwnd);
            }
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK PictureBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsForwardedMessage(msg)) return ForwardToForm(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (Common(hwnd, msg, wParam, lParam, result)) return result;
    switch (msg) {
        case WM_PAINT:
            PaintPicture(hwnd, false);
            return 0;
        case WM_LBUTTONDOWN: {
            ReleaseCapture();
            const Owned o = Lookup(hwnd);
            if (o.control != nullptr) Run(o.control->mouseDown);
            return 0;
        }
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK HtmlViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsForwardedMessage(msg)) return ForwardToForm(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PaintScope paint(hwnd);
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(paint.dc(), &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            return 0;
        }
        case WM_SETCURSOR:
            if (HandleSetCursor(hwnd, wParam, lParam)) return TRUE;
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace win32
