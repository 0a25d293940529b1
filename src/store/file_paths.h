#pragma once

#include <string>

namespace vetra {

// The directory part of a path ("." for a bare name) and the name part.
std::string directoryOf(const std::string& path);
std::string baseNameOf(const std::string& path);
// The path of the file `path` names, through symbolic links; the path itself
// when it cannot be resolved (a file not made yet).
std::string resolvedPathOf(const std::string& path);
// `path` taken from the current directory when it is relative.
std::string absolutePathOf(const std::string& path);
// Creates a new empty file ".<name>.XXXXXX" beside the file `path` names
// (a symbolic link's target) and returns its name; empty when it cannot.
std::string createSiblingTemp(const std::string& path);
// Makes the directory entry changes (create, rename, delete) beside `path` durable.
bool syncDirectoryOf(const std::string& path);

}  // namespace vetra
