// What tests, and hosts other than the real desktop, put in place of the real thing: every
// injection point of the window in one place.
#pragma once

#include "core/files/filebytes.h"
#include "core/host/hostversion.h"
#include "core/render/fastkernel.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <system_error>

class QDialog;
class QFileDialog;
class QString;
class QUrl;

namespace velq {

struct Seams {
    // The toolkit version number that decides the host version class.
    double toolkitVersion = kHostToolkitVersion;
    // Counts identical to the plain loop's, many times faster.
    RowKernel kernel = fastRows;
    // Runs a file panel; true when the user confirmed. Null: the panel runs modally.
    std::function<bool(QFileDialog& panel)> runFileDialog{};
    // Runs one of the window's own dialogs (the movie's); true when accepted. Null: modally.
    std::function<bool(QDialog& dialog)> runDialog{};
    // Shows an alert with one button. Null: a modal message box.
    std::function<void(const QString& title, const QString& message)> alert{};
    // Asks a question with one button that confirms and one that cancels; true to go on.
    // Null: a modal message box.
    std::function<bool(const QString& title, const QString& message, const QString& confirm)> ask{};
    // Writes a whole file by its byte path; returns the system's reason for a failure.
    std::function<std::error_code(const std::string& path, std::span<const std::uint8_t> bytes)>
        writeFile = writeFileAtomically;
    // Opens a URL in the user's browser or viewer. Null: the desktop's default.
    std::function<bool(const QUrl& url)> openUrl{};
    // The clock that times the benchmark.
    std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;
    // How long reading a remote file may take before it is given up.
    std::chrono::milliseconds remoteTimeout{15000};
};

} // namespace velq
