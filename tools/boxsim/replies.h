#pragma once
// What a well-behaved box sends back.

#include <string>

#include "board_identity.h"
#include "box_inputs.h"
#include "box_setup.h"

// 44 bytes: the maker's banner, then the board's type, sub-type, EPROM revision and revision
// letter at bytes 38, 40, 41 and 42.
std::string identificationReply(const BoardIdentity& board);

// The inputs the set-up asked for, framed by 'B' and a line feed.
std::string dataPacket(const BoxSetup& setup, const BoxInputs& inputs);

// A KT512's answer to a set-up: one letter and a line feed.
std::string setupAnswer(char letter);
