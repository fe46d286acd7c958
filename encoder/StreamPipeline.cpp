// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/StreamPipeline.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <string>

namespace {

std::string Fraction(AVRational r) { return std::to_string(r.num) + "/" + std::to_string(r.den); }

// The picture keeps its shape when it is scaled to the chosen size, as
// FFmpeg's scale filter does: the output's pixels take the aspect that makes up.
AVRational ScaledAspect(const AVCodecParameters* in, int width, int height) {
  AVRational sar = in->sample_aspect_ratio;
  if (sar.num <= 0 || sar.den <= 0) sar = {1, 1};
  if (in->width <= 0 || in->height <= 0) return {1, 1};
  AVRational out;
  av_reduce(&out.num, &out.den, static_cast<int64_t>(sar.num) * in->width * height,
            static_cast<int64_t>(sar.den) * in->height * width, 255);
  return out;
}

// The audio buffer filter's settings for a frame's sample rate, format and channels.
std::string AudioSourceArgs(const AVFrame* frame) {
  AVChannelLayout layout{};
  if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels == 0)
    av_channel_layout_default(&layout, frame->ch_layout.nb_channels);
  else
    av_channel_layout_copy(&layout, &frame->ch_layout);
  char layoutText[128] = {};
  av_channel_layout_describe(&layout, layoutText, sizeof layoutText);
  av_channel_layout_uninit(&layout);
  const char* format = av_get_sample_fmt_name(static_cast<AVSampleFormat>(frame->format));
  return "time_base=1/" + std::to_string(frame->sample_rate) +
         ":sample_rate=" + std::to_string(frame->sample_rate) +
         ":sample_fmt=" + (format ? format : "none") + ":channel_layout=" + layoutText;
}

// Decoders report a damaged packet in many ways (older ones return -1, some a
// "not implemented" for a garbled header). Only these mean the decoder itself
// cannot go on: out of memory, and a decoder in the wrong state, which would
// answer every call the same way.
bool IsDamagedData(int rc) {
  return rc < 0 && rc != AVERROR(ENOMEM) && rc != AVERROR(EINVAL) && rc != AVERROR(EAGAIN) &&
         rc != AVERROR_EOF;
}

}  // namespace

StreamPipeline::StreamPipeline(AVFormatContext* input, int streamIndex)
    : source_(input->streams[streamIndex]), type_(source_->codecpar->codec_type) {
  const AVCodec* codec = avcodec_find_decoder(source_->codecpar->codec_id);
  if (!codec)
    throw EncodeError(std::string("no decoder for the ") + Kind() + " codec " +
                      avcodec_get_name(source_->codecpar->codec_id));
  decoder_.reset(avcodec_alloc_context3(codec));
  if (!decoder_) throw EncodeError("out of memory (decoder)");
  Check(avcodec_parameters_to_context(decoder_.get(), source_->codecpar),
        std::string("cannot set up the ") + Kind() + " decoder");
  decoder_->pkt_timebase = source_->time_base;
  decoder_->thread_count = 0;  // as many as the machine has
  decoder_->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
  if (type_ == AVMEDIA_TYPE_VIDEO) {
    sourceRate_ = av_guess_frame_rate(input, source_, nullptr);
    decoder_->framerate = sourceRate_;
  }
  Check(avcodec_open2(decoder_.get(), codec, nullptr),
        std::string("cannot open the ") + codec->name + " decoder");
  if (input->start_time != AV_NOPTS_VALUE)
    startOffset_ = av_rescale_q(input->start_time, AV_TIME_BASE_Q, source_->time_base);
  filtered_ = NewFrame();
  encoded_ = NewPacket();
}

void StreamPipeline::OpenEncoder(const EncoderOptions& options, AVFormatContext* output) {
  const AVCodec* codec = type_ == AVMEDIA_TYPE_VIDEO ? avcodec_find_encoder(AV_CODEC_ID_MPEG4)
                                                     : avcodec_find_encoder_by_name("aac");
  if (!codec) throw EncodeError(std::string("this FFmpeg has no ") + Kind() + " encoder");
  encoder_.reset(avcodec_alloc_context3(codec));
  if (!encoder_) throw EncodeError("out of memory (encoder)");
  AVCodecContext* enc = encoder_.get();
  if (type_ == AVMEDIA_TYPE_VIDEO) {
    frameRate_ = options.frameRate;
    outputWidth_ = options.width;
    outputHeight_ = options.height;
    enc->width = options.width;
    enc->height = options.height;
    enc->pix_fmt = AV_PIX_FMT_YUV420P;
    enc->framerate = {frameRate_.num, frameRate_.den};
    enc->time_base = {frameRate_.den, frameRate_.num};
    enc->sample_aspect_ratio = ScaledAspect(source_->codecpar, options.width, options.height);
    enc->bit_rate = options.videoBitRate;
    // FFmpeg's default tolerance lets the average drift far above the target.
    enc->bit_rate_tolerance = static_cast<int>(options.videoBitRate);
    // Small pictures gain nothing from slices; larger ones use both cores.
    enc->thread_count = options.width * options.height >= 320 * 240 ? 0 : 1;
    enc->thread_type = FF_THREAD_SLICE;
  } else {
    outputSampleRate_ = options.sampleRate;
    outputChannels_ = options.channels;
    bool supported = codec->supported_samplerates == nullptr;
    for (const int* r = codec->supported_samplerates; r && *r; ++r)
      supported |= *r == options.sampleRate;
    if (!supported)
      throw EncodeError("the AAC encoder cannot use the sample rate " +
                        std::to_string(options.sampleRate) + " Hz");
    enc->sample_rate = options.sampleRate;
    enc->sample_fmt = AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&enc->ch_layout, options.channels);
    enc->bit_rate = options.audioBitRate;
    enc->profile = FF_PROFILE_AAC_LOW;
    enc->time_base = {1, options.sampleRate};
  }
  if (output->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(enc, codec, nullptr),
        std::string("cannot open the ") + codec->name + " encoder");
  target_ = avformat_new_stream(output, nullptr);
  if (!target_) throw EncodeError("out of memory (output stream)");
  Check(avcodec_parameters_from_context(target_->codecpar, enc),
        "cannot describe the output stream");
  target_->time_base = enc->time_base;
  if (type_ == AVMEDIA_TYPE_VIDEO) {
    target_->avg_frame_rate = enc->framerate;
    target_->sample_aspect_ratio = enc->sample_aspect_ratio;
  } else {
    samples_.reset(av_audio_fifo_alloc(enc->sample_fmt, enc->ch_layout.nb_channels,
                                       enc->frame_size > 0 ? enc->frame_size : 1024));
    if (!samples_) throw EncodeError("out of memory (audio queue)");
  }
}

bool StreamPipeline::Decode(const AVPacket* packet, const FrameSink& sink) {
  int rc = avcodec_send_packet(decoder_.get(), packet);
  if (IsDamagedData(rc)) {
    // Damaged data in one packet: FFmpeg conceals it; the stream goes on.
    ++decodeErrors_;
    av_log(nullptr, AV_LOG_WARNING, "damaged %s data skipped\n", Kind());
    if (packet) return true;  // at the end the decoder is still drained below
  } else if (rc < 0 && rc != AVERROR_EOF) {
    Check(rc, std::string("cannot decode the ") + Kind());
  }
  while (true) {
    FramePtr frame = NewFrame();
    rc = avcodec_receive_frame(decoder_.get(), frame.get());
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) break;
    if (IsDamagedData(rc)) {
      ++decodeErrors_;
      continue;
    }
    Check(rc, std::string("cannot decode the ") + Kind());
    ++framesDecoded_;
    frame->pts = frame->best_effort_timestamp;
    if (!sink(std::move(frame))) return false;
  }
  if (!packet && framesDecoded_ == 0 && decodeErrors_ > 0)
    throw EncodeError(std::string("the ") + Kind() + " stream cannot be decoded");
  return true;
}

int64_t StreamPipeline::Rebase(int64_t pts) const {
  return pts == AV_NOPTS_VALUE ? pts : pts - startOffset_;
}

void StreamPipeline::BuildGraph(const AVFrame* first) {
  // Built aside and kept only when complete, so a failure leaves no half graph.
  FilterGraphPtr graph(avfilter_graph_alloc());
  if (!graph) throw EncodeError("out of memory (filter graph)");
  std::string sourceArgs, chain;
  const bool video = type_ == AVMEDIA_TYPE_VIDEO;
  if (video) {
    AVRational sar = first->sample_aspect_ratio;
    if (sar.num <= 0 || sar.den <= 0) sar = {1, 1};
    sourceArgs = "video_size=" + std::to_string(first->width) + "x" +
                 std::to_string(first->height) + ":pix_fmt=" + std::to_string(first->format) +
                 ":time_base=" + Fraction(source_->time_base) + ":pixel_aspect=" + Fraction(sar);
    if (sourceRate_.num > 0 && sourceRate_.den > 0)
      sourceArgs += ":frame_rate=" + Fraction(sourceRate_);
    // Frames are dropped to the output rate first, so dropped ones are never scaled.
    chain = "fps=fps=" + std::to_string(frameRate_.num) + "/" + std::to_string(frameRate_.den) +
            ",scale=" + std::to_string(outputWidth_) + ":" + std::to_string(outputHeight_) +
            ",format=yuv420p";
  } else {
    sourceArgs = AudioSourceArgs(first);
    chain = "aresample=" + std::to_string(outputSampleRate_) +
            ",aformat=sample_fmts=fltp:sample_rates=" + std::to_string(outputSampleRate_) +
            ":channel_layouts=" + (outputChannels_ == 1 ? "mono" : "stereo");
  }
  const AVFilter* source = avfilter_get_by_name(video ? "buffer" : "abuffer");
  const AVFilter* sink = avfilter_get_by_name(video ? "buffersink" : "abuffersink");
  if (!source || !sink) throw EncodeError("this FFmpeg lacks its buffer filters");
  AVFilterContext* bufferSource = nullptr;
  AVFilterContext* bufferSink = nullptr;
  Check(avfilter_graph_create_filter(&bufferSource, source, "in", sourceArgs.c_str(), nullptr,
                                     graph.get()),
        std::string("cannot feed the ") + Kind() + " filters");
  Check(avfilter_graph_create_filter(&bufferSink, sink, "out", nullptr, nullptr, graph.get()),
        std::string("cannot set up the ") + Kind() + " filters");
  FilterInOutPtr outputs(avfilter_inout_alloc()), inputs(avfilter_inout_alloc());
  if (!outputs || !inputs) throw EncodeError("out of memory (filter links)");
  outputs->name = av_strdup("in");
  outputs->filter_ctx = bufferSource;
  inputs->name = av_strdup("out");
  inputs->filter_ctx = bufferSink;
  AVFilterInOut* in = inputs.release();
  AVFilterInOut* out = outputs.release();
  int rc = avfilter_graph_parse_ptr(graph.get(), chain.c_str(), &in, &out, nullptr);
  avfilter_inout_free(&in);
  avfilter_inout_free(&out);
  Check(rc, std::string("cannot build the ") + Kind() + " filters");
  Check(avfilter_graph_config(graph.get(), nullptr),
        std::string("cannot set up the ") + Kind() + " filters");
  graph_ = std::move(graph);
  bufferSource_ = bufferSource;
  bufferSink_ = bufferSink;
  graphInput_ = std::move(sourceArgs);
  graphSamples_ = 0;
}

void StreamPipeline::Encode(FramePtr frame, const PacketSink& sink) {
  if (type_ == AVMEDIA_TYPE_AUDIO && graph_ && AudioSourceArgs(frame.get()) != graphInput_) {
    // The sound changed its rate, format or channels: the old graph's samples
    // go out first, then a graph for the new ones takes over.
    FlushGraph(sink);
    graph_.reset();
  }
  if (!graph_) BuildGraph(frame.get());
  if (type_ == AVMEDIA_TYPE_VIDEO) {
    int64_t pts = Rebase(frame->pts);
    if (pts == AV_NOPTS_VALUE) pts = nextVideoPts_ == AV_NOPTS_VALUE ? 0 : nextVideoPts_;
    int64_t step = frame->pkt_duration > 0 ? frame->pkt_duration : 0;
    if (step == 0 && sourceRate_.num > 0)
      step = av_rescale_q(1, av_inv_q(sourceRate_), source_->time_base);
    nextVideoPts_ = pts + (step > 0 ? step : 1);
    frame->pts = pts;
  } else {
    if (audioStart_ == AV_NOPTS_VALUE) {
      int64_t first = Rebase(frame->pts);
      first = first == AV_NOPTS_VALUE
                  ? 0
                  : av_rescale_q(first, source_->time_base, encoder_->time_base);
      audioStart_ = first < 0 ? 0 : first;
    }
    // From the first sample on, the output's time stamps count the samples
    // encoded, which keeps them rising and gapless whatever the source's
    // stamps do and across changes of the graph.
    frame->pts = graphSamples_;
    graphSamples_ += frame->nb_samples;
  }
  Check(av_buffersrc_add_frame_flags(bufferSource_, frame.get(), 0),
        std::string("cannot filter the ") + Kind());
  DrainGraph(sink);
}

void StreamPipeline::DrainGraph(const PacketSink& sink) {
  const AVRational sinkBase = av_buffersink_get_time_base(bufferSink_);
  while (true) {
    int rc = av_buffersink_get_frame(bufferSink_, filtered_.get());
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return;
    Check(rc, std::string("cannot filter the ") + Kind());
    if (type_ == AVMEDIA_TYPE_VIDEO) {
      if (filtered_->pts != AV_NOPTS_VALUE)
        filtered_->pts = av_rescale_q(filtered_->pts, sinkBase, encoder_->time_base);
      filtered_->pict_type = AV_PICTURE_TYPE_NONE;
      SendToEncoder(filtered_.get(), sink);
    } else {
      Check(av_audio_fifo_write(samples_.get(), reinterpret_cast<void**>(filtered_->extended_data),
                                filtered_->nb_samples),
            "cannot queue the audio");
      EncodeSamples(sink, false);
    }
    av_frame_unref(filtered_.get());
  }
}

void StreamPipeline::FlushGraph(const PacketSink& sink) {
  Check(av_buffersrc_add_frame_flags(bufferSource_, nullptr, 0),
        std::string("cannot filter the ") + Kind());
  DrainGraph(sink);
}

// The encoder takes frames of its own size only; a shorter one just at the end.
void StreamPipeline::EncodeSamples(const PacketSink& sink, bool last) {
  while (true) {
    const int queued = av_audio_fifo_size(samples_.get());
    const int size = encoder_->frame_size > 0 ? encoder_->frame_size : queued;
    if (queued == 0 || (queued < size && !last)) return;
    FramePtr frame = NewFrame();
    frame->nb_samples = std::min(queued, size);
    frame->format = encoder_->sample_fmt;
    frame->sample_rate = encoder_->sample_rate;
    Check(av_channel_layout_copy(&frame->ch_layout, &encoder_->ch_layout),
          "cannot encode the audio");
    Check(av_frame_get_buffer(frame.get(), 0), "cannot encode the audio");
    Check(av_audio_fifo_read(samples_.get(), reinterpret_cast<void**>(frame->extended_data),
                             frame->nb_samples),
          "cannot encode the audio");
    frame->pts = audioStart_ + samplesEncoded_;
    samplesEncoded_ += frame->nb_samples;
    SendToEncoder(frame.get(), sink);
  }
}

void StreamPipeline::SendToEncoder(AVFrame* frame, const PacketSink& sink) {
  Check(avcodec_send_frame(encoder_.get(), frame), std::string("cannot encode the ") + Kind());
  while (true) {
    int rc = avcodec_receive_packet(encoder_.get(), encoded_.get());
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return;
    Check(rc, std::string("cannot encode the ") + Kind());
    av_packet_rescale_ts(encoded_.get(), encoder_->time_base, target_->time_base);
    encoded_->stream_index = target_->index;
    sink(encoded_.get());
    av_packet_unref(encoded_.get());
  }
}

void StreamPipeline::Flush(const PacketSink& sink) {
  if (graph_) FlushGraph(sink);
  if (samples_) EncodeSamples(sink, true);
  SendToEncoder(nullptr, sink);
}
