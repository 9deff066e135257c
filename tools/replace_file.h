#pragma once

#include <string>
#include <string_view>

// Writes `bytes` to the file `path` names so that it holds either what it
// held before or all of `bytes`, never part of them: the bytes go to a new
// file beside it, which is synced and then renamed over it. A symbolic
// link stays a link; the file it points to is the one replaced. Something
// that is not a regular file (a folder, a device, a pipe) is never
// replaced. A failed write (a full disk, a file-size limit) or SIGINT,
// SIGTERM or SIGHUP before the rename leaves no new file behind.
// Returns false with the reason, in English, in `error`.
bool replaceFile(const std::string& path, std::string_view bytes, std::string& error);
