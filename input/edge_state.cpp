#include "input/edge_state.h"

void StepEdge(EdgeRecord& edge, std::uint8_t value) {
    edge.current = value;
    if (value != 0) {
        if (edge.previous == 0) {
            edge.previous = 1;
            edge.state = kEdgePressed;
        } else {
            edge.state = kEdgeHeld;
        }
    } else if (edge.previous != 0) {
        edge.previous = 0;
        edge.state = kEdgeReleased;
    } else {
        edge.state = kEdgeIdle;
    }
}
