// The tool's controls as a screen reader finds them, read inside its process
// and logged (see README.md, "Screen readers").
#pragma once

namespace dd {

// One line per control of the window and of its pages: its accessible
// role, state and name, with the standard object's role and state beside.
void LogAccessible(void* window);
// From now on every EVENT_OBJECT_NAMECHANGE of the tool's thread is logged,
// with the name read at that moment.
void WatchNameChanges();

}  // namespace dd
