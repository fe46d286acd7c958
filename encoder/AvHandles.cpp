// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/AvHandles.h"

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/error.h>
}

void OutputContextFree::operator()(AVFormatContext* c) const {
  if (c == nullptr) return;
  if (c->oformat && !(c->oformat->flags & AVFMT_NOFILE)) avio_closep(&c->pb);
  avformat_free_context(c);
}

std::string AvErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  if (av_strerror(code, text, sizeof text) < 0) return "error " + std::to_string(code);
  return text;
}

int Check(int code, std::string_view what, std::string_view detail) {
  if (code >= 0) [[likely]]
    return code;
  std::string text(what);
  text.append(detail).append(": ").append(AvErrorText(code));
  throw EncodeError(text);
}

AvSettings::~AvSettings() { av_dict_free(&entries_); }

void AvSettings::Set(const char* key, const char* value) {
  if (av_dict_set(&entries_, key, value, 0) < 0) throw EncodeError("out of memory (settings)");
}

FramePtr NewFrame() {
  FramePtr frame(av_frame_alloc());
  if (!frame) throw EncodeError("out of memory (frame)");
  return frame;
}

PacketPtr NewPacket() {
  PacketPtr packet(av_packet_alloc());
  if (!packet) throw EncodeError("out of memory (packet)");
  return packet;
}
