#pragma once
// A path that keeps naming the box's line while the line itself comes and goes: a symbolic link
// in a private temporary folder, pointed at whichever pseudo-terminal serves now. Hosts open it
// as they would a /dev/serial/by-id name.

#include <string>

class CStableLink {
public:
    // Throws std::system_error when the folder or the link cannot be made.
    explicit CStableLink(const std::string& target);
    ~CStableLink();
    CStableLink(const CStableLink&) = delete;
    CStableLink& operator=(const CStableLink&) = delete;

    // Replaces the target in one step, so that an opener sees the old line or the new one.
    void pointAt(const std::string& target);
    // While there is no line the path names nothing, as an unplugged adapter's by-id name does,
    // so that nobody opens another program's pseudo-terminal that took the old one's number.
    void remove();
    const std::string& path() const { return linkPath; }

private:
    std::string folder;
    std::string linkPath;
};
