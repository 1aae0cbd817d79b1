// UTF-8 for what the tests print and record: failure messages, JSON for the
// browser tests, the host's messages. The other direction between code page
// 932 and UTF-16 is the programs' own (ToWide and ToAnsi, common/wide_text.h).
#pragma once

#include <string>

// UTF-16 -> UTF-8, as Windows converts (a lone surrogate becomes U+FFFD).
std::string Utf8(const std::wstring& wide);

// Code page 932 -> UTF-8.
std::string Utf8(const std::string& ansi);
