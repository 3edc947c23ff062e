#include "board_identity.h"

bool boardNamed(const std::string& name, BoardIdentity* board) {
    if (name == "kt512") {
        *board = BoardIdentity::kt512();
        return true;
    }
    if (name == "kt256") {
        *board = BoardIdentity::kt256();
        return true;
    }
    return false;
}
