#pragma once
// Files for the pad tests: the fixtures in tests/data/pads, and whole files read and written as bytes.
#include "platform/vcl/Strings.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace PadTestFiles {

inline AnsiString Fixture(const AnsiString& name)
{
    const AnsiString here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/../data/pads/" + name;
}

inline AnsiString Read(const AnsiString& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void Write(const AnsiString& path, const AnsiString& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// While it lives, a reader stuck in opening the pipe at path is let go after three seconds by a
// writer that comes and goes, so that a read that waits fails its test instead of stopping it.
class PipeUnblocker {
public:
    explicit PipeUnblocker(AnsiString path)
        : path_(std::move(path)), thread_([this] {
              for (int waited = 0; !done_; ++waited) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  if (waited < 60) continue;
                  const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0) ::close(fd);
              }
          })
    {
    }
    ~PipeUnblocker()
    {
        done_ = true;
        thread_.join();
    }
    PipeUnblocker(const PipeUnblocker&) = delete;
    PipeUnblocker& operator=(const PipeUnblocker&) = delete;

private:
    AnsiString path_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace PadTestFiles
