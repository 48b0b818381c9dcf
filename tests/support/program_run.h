#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// A fresh, empty directory under the system's temporary directory.
std::filesystem::path makeScratchDirectory();

// Starts `program` with `arguments` in `directory`, with standard output going to
// `consolePath` and standard error to `errorPath` (both relative to the directory unless
// absolute; an empty path leaves that descriptor closed), and nothing on standard input. Returns
// the child's pid.
pid_t startProgram(const std::string& program, const std::filesystem::path& directory,
                   const std::string& consolePath = "console.out",
                   const std::string& errorPath = "error.out",
                   const std::vector<std::string>& arguments = {});

// Waits for a started program: its exit status, or 128 + the signal that ended it.
int waitProgram(pid_t pid);

// Runs a program to its end; the exit status as above.
int runProgram(const std::string& program, const std::filesystem::path& directory,
               const std::string& consolePath = "console.out",
               const std::string& errorPath = "error.out",
               const std::vector<std::string>& arguments = {});

std::string readFile(const std::filesystem::path& path);

// Every entry under `root` by its path relative to it: "dir", "link <target>", "file" and the
// file's bytes, or "special". Standard output and error of a report run there (out, err) are
// left out.
std::map<std::string, std::string> treeOf(const std::filesystem::path& root);

// Lines ended by CR LF; anything after the last CR LF is returned as a final element only if
// non-empty (an unfinished line).
std::vector<std::string> splitCrLfLines(std::string_view text);
