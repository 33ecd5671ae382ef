// Command-line arguments of the headless renderer.
#pragma once

#include "core/files/export.h"
#include "core/render/kernel.h"
#include "core/view/mandat.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velq {

// Where the rendered views come from.
enum class ViewSource { None, View, Gallery, Mdl, Png };

struct RenderOptions {
    ViewSource source = ViewSource::None;
    MANDAT view{};      // --view, as typed: the limit and the rotation are brought in when rendered
    int galleryTag = 0; // --gallery, 101..150
    std::string file;   // --mdl or --png
    int width = 0;      // --size: positive multiples of 16; 0 when not given
    int height = 0;
    // Either of these may be "-", standard output.
    std::string out;    // PNG of the last picture, with its view in the parameter chunk
    std::string counts; // raw little-endian int16 counts of the last picture
    // An off-screen render written instead of the --size picture: --thumbnail or --export.
    std::optional<ExportPlan> exportPlan;
    RowKernel kernel = nullptr; // --kernel; the fast one unless told otherwise
    int bench = 0;              // --bench sequence 1..4, or a named one below; 0 renders views
    // --deep: views below double precision, limits up to 2^24; files are read at full depth.
    bool deep = false;
    int frames = 0;     // --frames: at most this many benchmark frames; 0 for all
    bool quiet = false; // --quiet: no progress line

    // Movies and posters, each a job of its own (see batch.h).
    int movie = 0;          // --movie: the frames of a movie through the --mdl file's views
    std::string video;      // --video: the movie as one .mp4 or .webm file, through ffmpeg
    std::string fps = "30"; // --fps, as typed: a positive number
    int firstFrame = 0;     // --frame-range A-B: frames A to B only; 0 for all
    int lastFrame = 0;
    int band = 0, bands = 0; // --band K/N with --export: rows of band K of N only
    std::string stamp;       // --stamp: the PNG file that gets the view's chunk
};

// What --help and --version ask for: answered at once, whatever follows them.
enum class Answer { None, Usage, Version };

// The named benchmarks of --bench.
inline constexpr int kZoomBench = 100; // wheel notches through the window's gesture pipeline
inline constexpr int kDeepBench = 101; // fixed deep views through the deep renderer

struct ParsedArguments {
    std::optional<RenderOptions> options;
    std::string error;            // one line naming the offending argument, when options is empty
    Answer answer = Answer::None; // set instead of options and error
};

ParsedArguments parseArguments(std::span<const std::string_view> args);

// Number readers that take the whole text or nothing.
std::optional<double> parseDouble(std::string_view text);
std::optional<int> parseInt(std::string_view text);
// A colour word: decimal or 0x-hexadecimal, up to 32 bits.
std::optional<int> parseColourWord(std::string_view text);

inline constexpr std::string_view kUsage =
    R"(usage: velq-render VIEW [--size WxH] [--out FILE.png] [--counts FILE] [OPTION...]
       velq-render --bench N [--kernel K] [--frames F] [--quiet]
       velq-render --movie N --mdl KEYS.mdl --size WxH (--out DIR | --video FILE) [OPTION...]
       velq-render VIEW --export WxH --band K/N --out FILE.png [--antialias]
       velq-render --stamp FILE.png VIEW
       velq-render --help | --version
VIEW, exactly one of:
  --view X Y W IT CS CP   a view: centre, half-width, iteration limit, colour word, rotation
  --gallery TAG           a gallery place, 101..150
  --mdl FILE              every view of a parameter file, rendered in turn
  --png FILE              the view carried by a PNG file of this program
Output (the last view's picture; one "view" line is printed per rendered view):
  --size WxH              the picture size, positive multiples of 16, at most 32768 a side
                          and 268435456 pixels
  --out FILE.png          the picture as PNG with its view in the parameter chunk
  --thumbnail             with --out: the 160x120 thumbnail instead of a --size picture
  --export WxH            with --out: a picture of any size instead of a --size picture
  --antialias             with --export: render twice the size and reduce
  --counts FILE           the escape counts, little-endian 16-bit, row by row from the top
  A FILE of - is standard output (for one of --out and --counts); the "view" and "work"
  lines then go to standard error.
Rendering:
  --deep                  views below double precision: --view's X and Y with any number of
                          digits, W of any exponent, IT a power of two up to 16777216; --mdl
                          and --png read at full depth
  --kernel reference|fast the escape-time kernel (fast by default; both give the same counts)
  --bench N               run benchmark sequence N (1, 2, 3 or 4) at 320x240, print its time;
                          "zoom": 120 wheel notches into the seahorse valley at 1280x960,
                          print the latencies of the moved and of the exact pictures;
                          "deep": five views from 1e-20 to 1e-1000 through the deep
                          renderer, print each one's time and iteration rate
  --frames F              with --bench: only the first F frames or notches (for testing)
Movies and posters:
  --movie N               N frames (2 to 999999) zooming through the views of the --mdl
                          file, at constant speed from each view to the next
  --out DIR               with --movie: the frames as DIR/frame-000001.png ..., each with its
                          view; a frame already there with its view and size is kept
  --frame-range A-B       with --out DIR: only frames A to B (from 1), for sharing the work
  --video FILE            with --movie: the frames as one video, FILE.mp4 (H.264) or FILE.webm
                          (VP9), encoded by ffmpeg (Debian package ffmpeg); no PNG files
  --fps F                 with --video: frames per second (30 by default)
  --band K/N              with --export: only band K of N (rows (K-1)H/N to KH/N-1 of the
                          picture, rounded down), without a chunk; any size up to 1048576 a
                          side while a band renders at most 268435456 pixels
  --stamp FILE.png        puts VIEW's parameter chunk into FILE.png (such as bands joined by
                          vips arrayjoin), rewriting it whole, so that the window opens it
Other:
  --quiet                 no progress line on standard error (shown on a terminal after 1 s)
  --help, --version       print this text or the version, and exit
An option's value may also follow it after '=', as in --size=640x480 (--view takes six).
Exit status: 0 done, 1 a file or render problem, 2 bad arguments.)";

} // namespace velq
