// Reading what a user sees of the plug-in: its bar, its controls, dialogs and message boxes.
#pragma once
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace probe {
// The plug-in's bar: the top-level window of this process that holds the seek slider (id 2013).
HWND FindBar();
// A top-level window of this process whose title is exactly `title` (visible ones only if asked).
HWND FindWindowByTitle(const std::string& title, bool visibleOnly = true);

std::string Text(HWND hwnd);
RECT WindowRect(HWND hwnd);
// The extent of a window's text in its own font; the font's height in *textHeight when asked.
SIZE TextExtent(HWND hwnd, int* textHeight = nullptr);

struct Slider {
    bool exists = false;
    int pos = 0, min = 0, max = 0, selStart = 0, selEnd = 0;
};
Slider ReadSlider(HWND control);

// The plug-in's options dialog: the top-level window of this process that holds the list of files (id 2025).
HWND FindOptions();
// The files the options list, each as its folder and name joined with '\\'.
std::vector<std::wstring> OptionsFiles(HWND options);
void SelectOptionsRow(HWND options, int row);
// The options' files as a user sees them, or "the options are not open".
std::string DescribeOptions(HWND options);

// The bar as a user sees it: visible, rectangle, clock text and the three sliders; or "no bar".
std::string DescribeBar();
} // namespace probe
