// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "encoder/AvHandles.h"
#include "encoder/Options.h"
#include "encoder/SimpleProfileLevel.h"

#include <functional>
#include <string>

// One source stream's road to the output: its decoder (used by the decoding
// thread only), then a filter graph, an encoder and an output stream (used by
// the encoding thread only).
class StreamPipeline {
 public:
  // Called with each encoded packet, its time stamps already in the output
  // stream's time base.
  using PacketSink = std::function<void(AVPacket*)>;
  using FrameSink = std::function<bool(FramePtr)>;  // false: stop decoding

  // Opens the decoder for the stream; throws EncodeError when it cannot.
  StreamPipeline(AVFormatContext* input, int streamIndex);

  AVMediaType Type() const { return type_; }
  int SourceIndex() const { return source_->index; }
  const char* Kind() const { return type_ == AVMEDIA_TYPE_VIDEO ? "video" : "audio"; }

  // Opens the encoder and adds the output stream; call before the header.
  void OpenEncoder(const EncoderOptions& options, AVFormatContext* output);

  // Decoding thread: one packet (null to drain the decoder) to frames.
  // Returns false when the sink refused a frame.
  bool Decode(const AVPacket* packet, const FrameSink& sink);

  // Encoding thread: one decoded frame (null at the end) through the filters
  // and the encoder to packets.
  void Encode(FramePtr frame, const PacketSink& sink);
  // Drains the filters and the encoder at the end.
  void Flush(const PacketSink& sink);

 private:
  void BuildGraph(const AVFrame* first);
  void DrainGraph(const PacketSink& sink);
  void FlushGraph(const PacketSink& sink);
  void EncodeSamples(const PacketSink& sink, bool last);
  void SendToEncoder(AVFrame* frame, const PacketSink& sink);
  int64_t Rebase(int64_t pts) const;
  bool OverBudget(int64_t pts) const;
  int StuffingBytes(const AVPacket* packet) const;

  AVStream* source_;
  AVMediaType type_;
  CodecContextPtr decoder_;
  CodecContextPtr encoder_;
  AVStream* target_ = nullptr;
  FilterGraphPtr graph_;
  std::string graphInput_;  // the buffer filter's settings the graph was built for
  AVFilterContext* bufferSource_ = nullptr;
  AVFilterContext* bufferSink_ = nullptr;
  FramePtr filtered_;
  AudioFifoPtr samples_;  // filtered audio waiting for a whole encoder frame
  PacketPtr encoded_;
  int64_t startOffset_ = 0;                // source start, in the source stream's time base
  AVRational sourceRate_{};                // guessed once, before the demuxer runs on its own
  int64_t nextVideoPts_ = AV_NOPTS_VALUE;  // for frames without a time stamp
  int64_t graphSamples_ = 0;               // audio samples given to the current graph
  int64_t audioStart_ = AV_NOPTS_VALUE;    // the first sample's place, in output samples
  int64_t samplesEncoded_ = 0;
  int64_t bitsEncoded_ = 0;  // video packets so far
  bool atCoarsest_ = false;  // the last video picture used (nearly) the coarsest quantiser
  int64_t decodeErrors_ = 0;
  int64_t framesDecoded_ = 0;
  Rate frameRate_{};
  SimpleProfileLevel level_{};
  int outputWidth_ = 0;
  int outputHeight_ = 0;
  int outputSampleRate_ = 0;
  int outputChannels_ = 0;
};
