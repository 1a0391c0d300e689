// Scoped holders for painting: each gives back what it took, in reverse order
// of taking, on every path out of a handler.
#pragma once

#include <windows.h>

#include <utility>

namespace lanhosts {

// BeginPaint ... EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintScope() { EndPaint(hwnd_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A font of our own, deleted with the holder; null when creation failed.
class OwnedFont {
public:
    explicit OwnedFont(HFONT font) : font_(font) {}
    ~OwnedFont() {
        if (font_) DeleteObject(font_);
    }
    OwnedFont(const OwnedFont&) = delete;
    OwnedFont& operator=(const OwnedFont&) = delete;
    HFONT get() const { return font_; }
    explicit operator bool() const { return font_ != nullptr; }

private:
    HFONT font_;
};

// An object selected into a DC; the previous one goes back with the holder.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

inline HFONT StockGuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace lanhosts
