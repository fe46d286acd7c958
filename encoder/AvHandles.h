// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
}

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// Owning handles for the FFmpeg objects the encoder holds; each frees through
// FFmpeg's own release call, which also accepts null.
struct InputContextFree {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct OutputContextFree {
  void operator()(AVFormatContext* c) const;  // closes the file if still open
};
struct CodecContextFree {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FilterGraphFree {
  void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};
struct FilterInOutFree {
  void operator()(AVFilterInOut* io) const { avfilter_inout_free(&io); }
};
struct AudioFifoFree {
  void operator()(AVAudioFifo* f) const {
    if (f) av_audio_fifo_free(f);
  }
};

using InputContextPtr = std::unique_ptr<AVFormatContext, InputContextFree>;
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphFree>;
using FilterInOutPtr = std::unique_ptr<AVFilterInOut, FilterInOutFree>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoFree>;

// A failure that ends the conversion; its text is the one line the user sees.
class EncodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// FFmpeg's text for an AVERROR code.
std::string AvErrorText(int code);
// Throws EncodeError "<what><detail>: <FFmpeg's text>" when code is negative;
// returns code. The text is put together only then, so the calls made for
// every packet and frame cost no allocation.
int Check(int code, std::string_view what, std::string_view detail = {});

// Settings handed to one of FFmpeg's open calls, which takes out what it uses.
class AvSettings {
 public:
  AvSettings() = default;
  ~AvSettings();
  AvSettings(const AvSettings&) = delete;
  AvSettings& operator=(const AvSettings&) = delete;

  // Throws EncodeError "out of memory (settings)" when FFmpeg cannot store it.
  void Set(const char* key, const char* value);
  AVDictionary** Address() { return &entries_; }

 private:
  AVDictionary* entries_ = nullptr;
};

// Allocation results: throws EncodeError "out of memory (<what>)" for null.
FramePtr NewFrame();
PacketPtr NewPacket();
