#pragma once
// The program's own diagnostics: notes that help to find out why something
// went wrong (a library's complaints about a damaged file, say) but that are
// no message for the user. Quiet unless a sink is installed: velkarn-cli
// --verbose writes them to standard error.
//
// FFmpeg's own log lines ("[fits @ 0x...] expected XTENSION keyword") come
// here instead of standard error once RouteFfmpegLog has run (the video
// reader calls it before it opens a file).

#include <functional>
#include <string_view>

// Receives one diagnostic line (without its line end) from a source such as
// "ffmpeg". Called from any thread, one call at a time.
using DiagnosticSink = std::function<void(std::string_view source, std::string_view line)>;

// Installs the sink; an empty one makes the diagnostics quiet again.
void SetDiagnosticSink(DiagnosticSink sink);

// Passes a line to the sink, if there is one.
void Diagnose(std::string_view source, std::string_view line);

// Sends FFmpeg's log lines of level warning and above into Diagnose.
void RouteFfmpegLog();
