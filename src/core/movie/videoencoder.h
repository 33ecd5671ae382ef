// Debian's ffmpeg as the movie's encoder: raw RGBA frames go down a pipe into it, and the
// video it makes replaces the target file whole once it has succeeded.
#pragma once

#include "core/colour/colormap.h"

#include <span>
#include <string>
#include <sys/types.h>

namespace velq {

class VideoEncoder {
public:
    VideoEncoder() = default;
    // Stops an encoder that was not finished and removes what it left.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Starts ffmpeg (found on PATH, no shell) on frames of width x height at `fps` frames a
    // second, for `path` ending in .mp4 (H.264, yuv420p) or .webm (VP9). It writes into a
    // folder of its own beside `path`. Returns why it could not start, or nothing.
    std::string start(const std::string& path, int width, int height, const std::string& fps);
    // Sends one frame; false once ffmpeg has stopped reading (finish() then says why).
    bool write(std::span<const Rgba> frame);
    // Ends the input, waits for ffmpeg and writes the video to `path` by the writers' rules.
    // Returns why it failed (ffmpeg's exit status and last message), or nothing.
    std::string finish();

private:
    void stop();    // closes the pipe and reaps ffmpeg
    void cleanUp(); // removes the working folder
    std::string path_, folder_, video_, log_;
    int pipe_ = -1;
    pid_t pid_ = -1;
    int status_ = 0; // ffmpeg's wait status once reaped
};

} // namespace velq
