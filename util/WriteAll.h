#pragma once

#include <string_view>

// Writes all of `bytes` to the file descriptor, going on after short writes and
// interruptions; false when the system refuses (errno tells why).
bool WriteAll(int descriptor, std::string_view bytes);
