// Moves the assignment record between memory and the current edition's
// registry value.
#pragma once

// Fills AssignRecord from the registry, or with the defaults when the value
// cannot be read. Never shows anything.
void LoadAssignRecord();
// Writes AssignRecord whole. Shows the success notice when announce is set,
// the failure notice always on failure; answers whether the value was written.
bool StoreAssignRecord(bool announce);
