#pragma once
// Inputs that move by themselves, for watching a host at work: each analog input sweeps a slow
// sine of its own period (4 s for input 1, one second more for each next one), and one button
// after the other is pressed, a quarter of a second each.

#include "box_inputs.h"

BoxInputs motionAt(double seconds);
