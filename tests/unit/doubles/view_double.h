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
    TextId text;
    TextId caption;
    std::uint32_t type;
};

// How the double records a text of the tool's own among a control's text:
// "{id}", or "{id:count}" with the number for its "%u".
std::string Shown(TextId text, std::uint32_t count = 0);
// A part as the double records it: bytes from outside as they are, a text of
// the tool's own as Shown gives it, with its arguments after '|':
// "{21:1|A|{22}}".
std::string Shown(const TextPart& part);

// Of a text fitted to its control: the part that may be cut to an ellipsis
// and the lines it must fit in.
struct Fit {
    int shortened;
    int lines;
    bool operator==(const Fit& other) const {
        return shortened == other.shortened && lines == other.lines;
    }
};

struct ViewDouble {
    std::map<WindowRef, std::string> texts;  // last text set per control
    std::map<WindowRef, Fit> fits;           // where the last text was fitted
    std::map<WindowRef, unsigned> checks;    // last BM_SETCHECK per button
    WindowRef focused = nullptr;
    std::vector<WindowRef> renamed;  // AnnounceNameChange, in order
    std::vector<ShownMessage> messages;
    std::vector<std::string> calls;  // "text", "check", "focus", "renamed", "message" in order
    int nextAnswer = kIdOk;          // answer of the next boxes

    void Reset() { *this = ViewDouble(); }
};

ViewDouble& TheView();
