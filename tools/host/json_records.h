#pragma once
// One JSON object a line for each published record, with the values exactly as stored.

#include <ostream>

#include "controller/con_data.h"
#include "published_records.h"

// {"kind":"controller","id":1,"time":1765321234.567,"valuators":[…],"buttons":[0,1,…]}
void writeControllerJson(std::ostream& out, const ConData& record);
// {"kind":"tracker","id":1,"time":1765321234.567,"pose":[x,y,z,azim,elev,roll]}
void writeTrackerJson(std::ostream& out, const TrackerSample& sample);
