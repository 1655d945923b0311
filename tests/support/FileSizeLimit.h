#pragma once
// Makes the file system refuse writes past a size, as a full disk would, for the life of the
// object (the soft file-size limit of the process; the signal it raises is ignored meanwhile).
#include <csignal>
#include <sys/resource.h>

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes) {
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FOld);
        rlimit L = FOld;
        L.rlim_cur = Bytes;
        FSet = setrlimit(RLIMIT_FSIZE, &L) == 0;
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
    bool Set() const { return FSet; }

private:
    rlimit FOld{};
    bool FSet = false;
    void (*FOldHandler)(int) = nullptr;
};
