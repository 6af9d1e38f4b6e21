#pragma once
// Temporary report files: their names and their deletion in the background.
#include <chrono>
#include <cstdint>
#include <string>

namespace wordproc {

// Milliseconds since the system started, wrapping like a 32-bit tick count.
std::uint32_t tickCount();
// The temporary directory + "wordrpt_" + tick count + a random number 0..999 + extension.
std::string temporaryDocumentName(const std::string& extension = ".doc");

// Deletes the file; one still held open is deleted on a thread of its own, which tries
// every `interval` until the file is gone or `timeout` has passed, then leaves it. The
// caller never waits.
void deleteFileInBackground(const std::string& path,
                            std::chrono::milliseconds timeout = std::chrono::milliseconds(5000),
                            std::chrono::milliseconds interval = std::chrono::milliseconds(100));

}  // namespace wordproc
