// Writing a whole file so that a failed write never destroys the previous
// good copy: the bytes go to a temporary file beside the target, which is
// flushed and then renamed over it.
#pragma once

#include <string>

bool write_file_safely(const std::string& path, const std::string& bytes);

// The temporary name used for `path` while it is being written.
std::string temporary_path_for(const std::string& path);

// Renames a finished temporary file over its target; removes the temporary
// file and returns false when that fails.
bool replace_with_temporary(const std::string& temporary, const std::string& path);
