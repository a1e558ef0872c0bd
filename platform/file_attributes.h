#pragma once
// What a file carries besides its content, handed on to the file that replaces it.
#include <sys/stat.h>

namespace obrel {

// Gives the file open as to the owner and group in old, every extended attribute of the file
// open as from (its ACL among them) and old's permission bits, in that order. False as soon
// as one of them cannot be given; the file is then left half done.
bool giveAttributes(int from, const struct stat& old, int to);

}  // namespace obrel
