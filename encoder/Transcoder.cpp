// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/Transcoder.h"

#include <filesystem>
#include <new>
#include <system_error>

namespace {

// Paths go to FFmpeg through its file protocol, so no file name is ever read
// as another protocol or an option ("pipe:", "http:", "concat:...").
std::string FileUrl(const std::string& path) { return "file:" + path; }

bool UsableStream(const AVStream* s, AVMediaType type) {
  return s->codecpar->codec_type == type && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
         avcodec_find_decoder(s->codecpar->codec_id) != nullptr;
}

}  // namespace

Transcoder::Transcoder(const EncoderOptions& options, const StopControl& stop,
                       ProgressReporter& progress)
    : options_(options), stop_(stop), progress_(progress) {}

Transcoder::~Transcoder() { StopDecoding(); }

void Transcoder::RecordError(const std::string& text) {
  std::lock_guard lock(errorMutex_);
  if (!firstError_) firstError_ = text;
}

void Transcoder::Guard(const std::function<void()>& step) {
  try {
    step();
  } catch (const EncodeError& e) {
    RecordError(e.what());
  } catch (const std::bad_alloc&) {
    RecordError("out of memory");
  } catch (const std::exception& e) {
    RecordError(std::string("unexpected failure: ") + e.what());
  }
}

void Transcoder::OpenInput() {
  AvSettings settings;
  settings.Set("protocol_whitelist", "file");
  AVFormatContext* raw = avformat_alloc_context();
  if (!raw) throw EncodeError("out of memory (input)");
  raw->interrupt_callback = {&StopControl::InterruptCallback, const_cast<StopControl*>(&stop_)};
  const int rc =
      avformat_open_input(&raw, FileUrl(options_.source).c_str(), nullptr, settings.Address());
  Check(rc, "cannot open the source ", options_.source);  // FFmpeg freed raw on failure
  input_.reset(raw);
  Check(avformat_find_stream_info(input_.get(), nullptr), "cannot read the streams of ",
        options_.source);

  for (AVMediaType type : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
    for (unsigned i = 0; i < input_->nb_streams; ++i) {
      if (UsableStream(input_->streams[i], type)) {
        pipelines_.push_back(std::make_unique<StreamPipeline>(input_.get(), static_cast<int>(i)));
        break;
      }
    }
  }
  if (pipelines_.empty())
    throw EncodeError("no video or audio stream to convert in " + options_.source);

  int64_t duration = input_->duration;
  if (duration == AV_NOPTS_VALUE || duration <= 0) {
    duration = AV_NOPTS_VALUE;
    for (const auto& p : pipelines_) {
      const AVStream* s = input_->streams[p->SourceIndex()];
      if (s->duration != AV_NOPTS_VALUE && s->duration > 0)
        duration = std::max(duration, av_rescale_q(s->duration, s->time_base, AV_TIME_BASE_Q));
    }
  }
  if (duration != AV_NOPTS_VALUE && duration > 0) progress_.Duration(duration);
}

void Transcoder::OpenOutput() {
  AVFormatContext* raw = nullptr;
  const std::string url = FileUrl(options_.output);
  Check(avformat_alloc_output_context2(&raw, nullptr, "3gp", url.c_str()),
        "cannot set up the 3gp output");
  output_.reset(raw);
  for (auto& p : pipelines_) p->OpenEncoder(options_, output_.get());
  Check(avio_open2(&output_->pb, url.c_str(), AVIO_FLAG_WRITE, nullptr, nullptr),
        "cannot write the output ", options_.output);
  // The index goes before the media data when the file is finished, so
  // playback can start before the whole file has arrived.
  AvSettings settings;
  settings.Set("movflags", "+faststart");
  Check(avformat_write_header(output_.get(), settings.Address()), "cannot write the output ",
        options_.output);
  headerWritten_ = true;
}

StreamPipeline* Transcoder::PipelineFor(int sourceIndex) {
  for (auto& p : pipelines_)
    if (p->SourceIndex() == sourceIndex) return p.get();
  return nullptr;
}

void Transcoder::DecodeLoop() {
  Guard([this] {
    PacketPtr packet = NewPacket();
    bool more = true;
    while (more && !stop_.Requested()) {
      int rc = av_read_frame(input_.get(), packet.get());
      if (rc < 0 && stop_.Requested()) return;  // the read was interrupted on purpose
      // FFmpeg's demuxers report a failed read as the end of the file too;
      // only the input's own error state tells the two apart.
      if (rc == AVERROR_EOF && input_->pb && input_->pb->error < 0) rc = input_->pb->error;
      if (rc == AVERROR_EOF) break;
      Check(rc, "cannot read the source ", options_.source);
      StreamPipeline* pipeline = PipelineFor(packet->stream_index);
      if (pipeline) {
        const int index = packet->stream_index;
        more = pipeline->Decode(packet.get(), [&](FramePtr frame) {
          return queue_.Push({index, std::move(frame)});
        });
      }
      av_packet_unref(packet.get());
    }
    if (!more || stop_.Requested()) return;
    for (auto& p : pipelines_) {
      const int index = p->SourceIndex();
      p->Decode(nullptr, [&](FramePtr frame) { return queue_.Push({index, std::move(frame)}); });
    }
  });
  queue_.Push({-1, nullptr});  // the end, whatever ended it
}

void Transcoder::StopDecoding() {
  queue_.Close();
  if (decoder_.joinable()) decoder_.join();
}

void Transcoder::WritePacket(AVPacket* packet) {
  const AVStream* s = output_->streams[packet->stream_index];
  if (packet->pts != AV_NOPTS_VALUE)
    progress_.Advance(static_cast<double>(packet->pts + packet->duration) * av_q2d(s->time_base));
  Check(av_interleaved_write_frame(output_.get(), packet), "cannot write the output ",
        options_.output);
  ++packetsWritten_;
}

void Transcoder::EncodeLoop() {
  const auto sink = [this](AVPacket* packet) { WritePacket(packet); };
  while (!stop_.Requested()) {
    {
      std::lock_guard lock(errorMutex_);
      if (firstError_) return;
    }
    // The decoding thread always ends with an end mark, also after a stop
    // or a failure, so this wait needs no time limit.
    auto item = queue_.Pop();
    if (!item || !item->frame) return;  // the source is done
    PipelineFor(item->stream)->Encode(std::move(item->frame), sink);
  }
}

void Transcoder::Finish() {
  const auto sink = [this](AVPacket* packet) { WritePacket(packet); };
  // Every step is tried even after one failed: without the trailer the file
  // would not play at all.
  for (auto& p : pipelines_) Guard([&] { p->Flush(sink); });
  Guard([this] {
    Check(av_write_trailer(output_.get()), "cannot finish the output ", options_.output);
  });
  Guard([this] { Check(avio_closep(&output_->pb), "cannot finish the output ", options_.output); });
  if (packetsWritten_ == 0 && !stop_.Requested()) {
    // A file without a single sample would pass for a video that plays nothing.
    RecordError("nothing to convert: no picture or sound could be decoded from " + options_.source);
    std::error_code ignored;
    std::filesystem::remove(options_.output, ignored);
  }
  progress_.Finish();
}

void Transcoder::Run() {
  try {
    OpenInput();
    OpenOutput();
  } catch (const EncodeError&) {
    // A stop while opening interrupts FFmpeg's reads, and a demuxer may turn
    // the cut-off read into any error of its own (an MP4 without its index
    // reads as invalid data): with a stop requested that is no failure, and
    // nothing was written yet.
    if (stop_.Requested() && !headerWritten_) return;
    throw;
  }
  decoder_ = std::thread([this] { DecodeLoop(); });
  Guard([this] { EncodeLoop(); });
  StopDecoding();
  // The file is completed even after a failure, so what was converted stays
  // playable; a later failure never hides the first one.
  Guard([this] { Finish(); });
  std::lock_guard lock(errorMutex_);
  if (firstError_) throw EncodeError(*firstError_);
}
