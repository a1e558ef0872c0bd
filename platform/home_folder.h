#pragma once
// Where the user's own folders are, as the environment and the user database tell.
#include <string>

namespace obrel {

// The variable's value if it is an absolute path, without trailing slashes; else empty.
std::string absolutePathIn(const char* variable);

// The user's home folder: HOME when it is an absolute path, else homeInUserDatabase().
std::string homeFolder();

// The home folder the user database gives; empty when it gives no absolute path.
std::string homeInUserDatabase();

}  // namespace obrel
