// Small text and path helpers shared by Orbisk and the launchers. They work on
// code-page 932 byte strings and know nothing of Win32, so that they run in the
// native tests as well.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/sjis_chars.h"

// The text up to its first NUL, trimmed of blanks at both ends. Every text that
// comes back through a platform buffer passes through here.
std::string TrimAtNul(std::string_view text);

// Leading and trailing blanks (U+0020 only) removed.
std::string TrimBlanks(std::string_view text);

// The text without the ASCII characters of chars at its end ("x.. ." with
// ". " gives "x"). No trail byte is ever a blank or a dot, so a double-byte
// character never loses its second half.
std::string_view TrimEnd(std::string_view text, std::string_view chars);

// The characters after the last backslash; "" for an empty path, a path that
// ends in a backslash, or one that holds no backslash at all.
std::string GetFileNamePart(std::string_view path);

// The path without its trailing GetFileNamePart, so it keeps its final
// backslash (C:\Tools\viewer.exe gives C:\Tools\).
std::string GetFolderPart(std::string_view path);

// The characters after the last "."; "" for an empty name or one without ".".
std::string GetExtensionPart(std::string_view fileName);

// The file name without its last extension and that extension's dot
// (archive.tar.gz gives archive.tar); a name whose GetExtensionPart is ""
// (README, "name.") stays whole.
std::string WithoutExtension(std::string_view fileName);

// The text without one pair of enclosing double quotes; a text that does not
// both begin and end with one stays as it is. A lone double quote has no
// inside: nullopt, which the callers treat as naming nothing.
std::optional<std::string> StripEnclosingQuotes(std::string_view text);

// ASCII-only case mapping: a double-byte character's trail byte may look like
// a letter, so these step over the lead byte of every Shift_JIS pair.
std::string ToUpperSjis(std::string_view text);
std::string ToLowerSjis(std::string_view text);

// Byte offset of the last occurrence of c that is a whole character (not the
// trail byte of a double-byte character), or npos.
std::string_view::size_type FindLastSjisChar(std::string_view text, char c);

// Byte offset of the first occurrence of needle at or after from that starts
// on a character boundary, or npos. A match never begins on a trail byte.
std::string_view::size_type FindSjis(std::string_view text, std::string_view needle,
                                     std::string_view::size_type from = 0);

// Every occurrence of from replaced by to, left to right, not rescanning what
// was put in; only whole characters match, as in the scripts' Replace.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Case-insensitive (ASCII letters only) search; true when needle occurs.
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
