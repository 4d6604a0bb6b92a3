#pragma once

#include <cstdint>

// The conversation between the window and the CHM reader process (vantor-chm FILE).
// The reader answers its start with one answer for the container itself (no bytes), then
// each request line ("/path/inside/file\n") with one answer: a status byte, a 32-bit
// little-endian byte count and that many bytes.
namespace vantor::help::chm_protocol {

inline constexpr char Found = '+';
inline constexpr char Missing = '-';
inline constexpr char Unreadable = '!';
// No object of a help file is read beyond this size.
inline constexpr std::uint32_t MaxAnswerBytes = 32u * 1024u * 1024u;
inline constexpr int AnswerHeaderBytes = 5;
// A request longer than this is no path inside a help file.
inline constexpr int MaxRequestBytes = 1024;

} // namespace vantor::help::chm_protocol
