#include "platform/diagnostics.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdarg>
#include <mutex>
#include <string>

namespace {

std::mutex& SinkMutex() {
    static std::mutex m;
    return m;
}

DiagnosticSink& Sink() {
    static DiagnosticSink sink;
    return sink;
}

void FfmpegLine(void* avcl, int level, const char* format, va_list args) {
    if (level > AV_LOG_WARNING) return;
    // FFmpeg puts the "[name @ 0x...]" prefix only on the first piece of a
    // line; the flag carries that state from one call to the next.
    static int print_prefix = 1;
    char buf[1024];
    {
        std::lock_guard<std::mutex> lock(SinkMutex());
        av_log_format_line2(avcl, level, format, args, buf, sizeof buf, &print_prefix);
    }
    std::string line(buf);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (!line.empty()) Diagnose("ffmpeg", line);
}

}  // namespace

void SetDiagnosticSink(DiagnosticSink sink) {
    std::lock_guard<std::mutex> lock(SinkMutex());
    Sink() = std::move(sink);
}

void Diagnose(std::string_view source, std::string_view line) {
    std::lock_guard<std::mutex> lock(SinkMutex());
    if (Sink()) Sink()(source, line);
}

void RouteFfmpegLog() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(FfmpegLine); });
}
