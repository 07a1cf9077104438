#pragma once
// Owners of POSIX resources: each closes or removes what it holds when it goes out of scope,
// on every return path and when an exception passes through.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace fw {

// An open file descriptor.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

  private:
    int fd_ = -1;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
// An open stream; release() it to check fclose's result.
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// A file name that is removed again unless keep() is called.
class RemovedUnlessKept {
  public:
    explicit RemovedUnlessKept(std::string path) : path_(std::move(path)) {}
    RemovedUnlessKept(const RemovedUnlessKept&) = delete;
    RemovedUnlessKept& operator=(const RemovedUnlessKept&) = delete;
    ~RemovedUnlessKept() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }
    void keep() { path_.clear(); }

  private:
    std::string path_;
};

}  // namespace fw
