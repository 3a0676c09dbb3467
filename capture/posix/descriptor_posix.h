#pragma once
// The owner of a POSIX file descriptor: closed once, when asked or at the end.

#include <unistd.h>

#include <utility>

namespace skl {

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }
    // False when closing reports an error: data not yet written may be lost.
    bool close() {
        if (!valid()) return true;
        return ::close(std::exchange(descriptor_, -1)) == 0;
    }
    // Hands the descriptor on to whoever closes it from then on.
    int release() { return std::exchange(descriptor_, -1); }

private:
    int descriptor_;
};

}  // namespace skl
