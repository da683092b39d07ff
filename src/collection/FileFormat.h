#pragma once

namespace ludora::format {

// The characters a collection file is built with. The caption key's length and where each
// line goes are CaptionKeys'; the rest of a file's layout is the reader's and the writer's.

// Every line written ends in CR LF; a CR or an LF on its own also ends a line read.
inline constexpr char kCr = '\r';
inline constexpr char kLf = '\n';
inline constexpr char kLineEnd[] = "\r\n";
// The data end at this character, which the writer puts on a line of its own after the
// last name.
inline constexpr char kEndMark = 26;
inline constexpr char kEndMarkLine[] = "\x1A\r\n";
// A file that starts with it is UTF-8; any other file is Windows-1252.
inline constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace ludora::format
