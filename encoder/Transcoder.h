// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "encoder/AvHandles.h"
#include "encoder/FrameQueue.h"
#include "encoder/Options.h"
#include "encoder/ProgressMarkers.h"
#include "encoder/StopControl.h"
#include "encoder/StreamPipeline.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// One conversion: the source, the output, a pipeline per used stream and the
// decoding thread that feeds them. Run() returns when the output is complete
// (also after an early stop) and throws EncodeError with the first failure.
class Transcoder {
 public:
  Transcoder(const EncoderOptions& options, const StopControl& stop, ProgressReporter& progress);
  ~Transcoder();
  Transcoder(const Transcoder&) = delete;
  Transcoder& operator=(const Transcoder&) = delete;

  void Run();

 private:
  void OpenInput();
  void OpenOutput();
  void DecodeLoop();
  void EncodeLoop();
  void Finish();
  void WritePacket(AVPacket* packet);
  void StopDecoding();
  void RecordError(const std::string& text);
  // Runs one step; whatever it throws becomes the recorded error, so no
  // exception ends a thread or skips completing the output.
  void Guard(const std::function<void()>& step);
  StreamPipeline* PipelineFor(int sourceIndex);

  EncoderOptions options_;
  const StopControl& stop_;
  ProgressReporter& progress_;
  InputContextPtr input_;
  OutputContextPtr output_;
  std::vector<std::unique_ptr<StreamPipeline>> pipelines_;
  FrameQueue queue_{8};
  std::thread decoder_;
  std::mutex errorMutex_;
  std::optional<std::string> firstError_;
  bool headerWritten_ = false;
  int64_t packetsWritten_ = 0;  // written on the encoding thread only
};
