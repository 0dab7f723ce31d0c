#pragma once
// Strict parsing of option values: the whole text must be the number.

#include <cerrno>
#include <cstdint>
#include <cstdlib>

inline bool parseSeconds(const char* text, double& seconds) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (*end != '\0' || errno != 0 || !(value > 0.0) || value > 24.0 * 3600.0) return false;
    seconds = value;
    return true;
}

inline bool parseInteger(const char* text, int32_t low, int32_t high, int32_t& result) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || value < low || value > high) return false;
    result = static_cast<int32_t>(value);
    return true;
}
