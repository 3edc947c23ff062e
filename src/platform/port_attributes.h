#pragma once

#include "platform/sys/comm_types.h"

// Everything a port is set to: its line settings followed by its time-outs.
struct PortAttributes {
    DCB dcb;
    COMMTIMEOUTS timeouts;
};
