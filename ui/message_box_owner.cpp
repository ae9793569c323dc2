#include "ui/view_port.h"

WindowRef MessageBoxOwner = nullptr;
