#include "tools/pelix/hand_over.h"

#include "tools/pelix/options/help_text.h"
#include "tools/pelix/subcommands.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace pelix::tool {

namespace {

// The folder of the running program itself, whatever PATH or symbolic link it was started through.
std::string runningProgramFolder() {
    std::array<char, PATH_MAX> path{};
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    const std::string program(path.data(), static_cast<std::size_t>(n));
    const auto slash = program.rfind('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

} // namespace

std::vector<std::string> drawingProgramPlaces(const std::string& programFolder) {
    if (programFolder.empty()) return {};
    return {programFolder + "/" + kDrawingProgram, programFolder + "/../libexec/pelix/" + kDrawingProgram};
}

int handOverToDrawing(const CommandSpec& command, const Args& args) {
    if (parseArgs(command, args).help) {
        std::cout << helpText(command);
        return kExitOk;
    }
    const std::string name(command.name);
    std::string tried;
    for (const std::string& place : drawingProgramPlaces(runningProgramFolder())) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(place.c_str()));
        argv.push_back(const_cast<char*>(name.c_str()));
        for (const std::string& word : args)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        ::execv(place.c_str(), argv.data());
        tried += (tried.empty() ? "" : ", ") + place + ": " + std::strerror(errno);
    }
    if (tried.empty()) tried = "/proc/self/exe does not say where pelix runs from";
    std::cerr << "pelix " << name << ": the drawing part of pelix cannot be started (" << tried
              << "); nothing written\n";
    return kExitWriteFailed;
}

} // namespace pelix::tool
