#include "support/program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

fs::path makeScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "argon-md-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    return pattern;
}

pid_t startProgram(const std::string& program, const fs::path& directory,
                   const std::string& consolePath, const std::string& errorPath,
                   const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};  // formed before the fork
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        // Child: only async-signal-safe calls until exec.
        if (::chdir(directory.c_str()) != 0) {
            ::_exit(126);
        }
        const auto redirect = [](const std::string& path, int descriptor) {
            if (path.empty()) {
                return ::close(descriptor) == 0;
            }
            const int opened = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            return opened >= 0 && ::dup2(opened, descriptor) >= 0 && ::close(opened) == 0;
        };
        const int in = ::open("/dev/null", O_RDONLY);
        if (in < 0 || ::dup2(in, 0) < 0 || !redirect(consolePath, 1) || !redirect(errorPath, 2)) {
            ::_exit(126);
        }
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

int waitProgram(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

int runProgram(const std::string& program, const fs::path& directory,
               const std::string& consolePath, const std::string& errorPath,
               const std::vector<std::string>& arguments) {
    return waitProgram(startProgram(program, directory, consolePath, errorPath, arguments));
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> splitCrLfLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string_view::npos;
         start = end + 2) {
        lines.emplace_back(text.substr(start, end - start));
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

std::map<std::string, std::string> treeOf(const fs::path& root) {
    std::map<std::string, std::string> tree;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string name = it->path().lexically_relative(root).string();
        if (name == "out" || name == "err") {
            continue;
        }
        if (it->is_symlink()) {
            tree[name] = "link " + fs::read_symlink(it->path()).string();
        } else if (it->is_directory()) {
            tree[name] = "dir";
        } else if (it->is_regular_file()) {
            tree[name] = "file " + readFile(it->path());
        } else {
            tree[name] = "special";  // a FIFO, say, which is not read
        }
    }
    return tree;
}
