#include "wordproc/temp_files.h"

#include <filesystem>
#include <random>
#include <thread>

namespace fs = std::filesystem;

namespace wordproc {

std::uint32_t tickCount() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(ms.count());
}

std::string temporaryDocumentName(const std::string& extension) {
    static thread_local std::mt19937 rng{std::random_device{}()};
    std::uniform_int_distribution<int> dist(0, 999);
    std::error_code ec;
    fs::path dir = fs::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    return (dir /
            ("wordrpt_" + std::to_string(tickCount()) + std::to_string(dist(rng)) + extension))
        .string();
}

namespace {
// True once the file is gone.
bool removeIfFree(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
    return !fs::exists(fs::symlink_status(path, ec));
}
}  // namespace

void deleteFileInBackground(const std::string& path, std::chrono::milliseconds timeout,
                            std::chrono::milliseconds interval) {
    // The time allowed counts from the call, not from when a busy machine starts the thread.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    // Most files are free at once: a thread is started only for one still held open.
    if (removeIfFree(path)) return;
    std::thread([path, deadline, interval] {
        while (std::chrono::steady_clock::now() < deadline) {
            if (removeIfFree(path)) return;
            std::this_thread::sleep_for(interval);
        }
    }).detach();
}

}  // namespace wordproc
