// Fetching a URL's target into a file, with its HTTP status looked at.
#pragma once

#include <optional>
#include <string>

// Fetches url into the file at path. True only when the transfer succeeded
// and the final HTTP status, where the scheme has one, is in 200-299: an
// error page is no download. The file may hold anything on failure.
bool DownloadToFile(const std::string& url, const std::string& path);

// Downloads url into folder (ending in a backslash) under name, or under the
// first free numbered form of it ("name (2).ext", …) when a file or folder of
// that name is there already, or always when avoidPlainName is set. The data
// goes to a temporary file beside it first and takes the name only once the
// download has succeeded, so nothing half-written is left, and no existing
// file is replaced but the previous download (previousDownload, a name in
// folder; "" for none) by a download of the same name. Returns the name the
// file got, or nothing on failure.
std::optional<std::string> DownloadUnderFreeName(const std::string& url, const std::string& folder,
                                                 const std::string& name, bool avoidPlainName,
                                                 const std::string& previousDownload);
