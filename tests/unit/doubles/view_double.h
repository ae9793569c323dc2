// Records what the logic asked of the view, and answers message boxes with a
// scripted button.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/view_port.h"

struct ShownMessage {
    WindowRef owner;
    std::string text;
    std::string caption;
    std::uint32_t type;
};

struct ViewDouble {
    std::map<WindowRef, std::string> texts;  // last text set per control
    std::map<WindowRef, unsigned> checks;    // last BM_SETCHECK per button
    WindowRef focused = nullptr;
    std::vector<ShownMessage> messages;
    std::vector<std::string> calls;  // "text", "check", "focus", "message" in order
    int nextAnswer = kIdOk;          // answer of the next boxes

    void Reset() { *this = ViewDouble(); }
};

ViewDouble& TheView();
