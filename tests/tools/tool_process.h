// Runs a built program in a child process with exact control of what a user's
// shell would give it: the arguments as bytes, standard output captured, sent
// to a file such as /dev/full or to a pipe nobody reads, the environment
// changed, and a deadline after which the child is killed, so that a program
// that would hang fails its test instead of stopping the suite.
#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace pelix::testing {

enum class StdoutTo { Captured, File, ClosedPipe };

struct ProcessRequest {
    std::string program; // path of the program
    std::vector<std::string> args;
    StdoutTo stdoutTo = StdoutTo::Captured;
    std::string stdoutFile;                               // for StdoutTo::File
    std::vector<std::pair<std::string, std::string>> env; // set in the child
    std::vector<std::string> unset;                       // removed from the child's environment
    int deadlineSeconds = 60;
};

struct ProcessResult {
    bool timedOut = false;
    int exitStatus = -1; // -1 unless it exited
    int signal = 0;      // the signal that ended it, 0 if it exited
    std::string out, err;
};

inline ProcessResult runProcess(const ProcessRequest& r) {
    ProcessResult result;
    int outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1};
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) return result;
    const pid_t child = ::fork();
    if (child == 0) {
        // The child: only async-signal-safe calls and exec from here.
        ::signal(SIGPIPE, SIG_DFL);
        if (r.stdoutTo == StdoutTo::File) {
            const int fd = ::open(r.stdoutFile.c_str(), O_WRONLY);
            if (fd < 0) ::_exit(126);
            ::dup2(fd, STDOUT_FILENO);
        } else {
            ::dup2(outPipe[1], STDOUT_FILENO);
        }
        ::dup2(errPipe[1], STDERR_FILENO);
        for (const auto& [name, value] : r.env)
            ::setenv(name.c_str(), value.c_str(), 1);
        for (const auto& name : r.unset)
            ::unsetenv(name.c_str());
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(r.program.c_str()));
        for (const auto& a : r.args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(r.program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    // A pipe nobody reads: its reading end goes at once.
    if (r.stdoutTo == StdoutTo::ClosedPipe) {
        ::close(outPipe[0]);
        outPipe[0] = -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(r.deadlineSeconds);
    int raw = 0;
    bool reaped = false;
    while (!reaped) {
        pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
        ::poll(fds, 2, 50);
        char buffer[65536];
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0) { // the writer is gone: poll this pipe no more
                ::close(fds[i].fd);
                (i == 0 ? outPipe[0] : errPipe[0]) = -1;
            }
        }
        if (outPipe[0] < 0 && errPipe[0] < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const pid_t done = ::waitpid(child, &raw, WNOHANG);
        if (done == child) reaped = true;
        if (!reaped && std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            ::kill(child, SIGKILL);
            ::waitpid(child, &raw, 0);
            reaped = true;
        }
    }
    // What is still in the pipes once the child has gone.
    for (int fd : {outPipe[0], errPipe[0]}) {
        if (fd < 0) continue;
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
        char buffer[65536];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
            (fd == outPipe[0] ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
        ::close(fd);
    }
    if (WIFEXITED(raw)) result.exitStatus = WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) result.signal = WTERMSIG(raw);
    return result;
}

inline ProcessRequest programRequest(const char* program, std::vector<std::string> args) {
    ProcessRequest r;
    r.program = std::string(PELIX_BIN_DIR) + "/" + program;
    r.args = std::move(args);
    return r;
}

inline ProcessRequest pelixRequest(std::vector<std::string> args) {
    return programRequest("pelix", std::move(args));
}

} // namespace pelix::testing
