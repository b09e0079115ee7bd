#include "platform/core/CArchive.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kBufferSize = 64 * 1024;
}

CArchive::CArchive(std::streambuf& stream, Mode mode) : m_stream(stream), m_mode(mode), m_buf(kBufferSize) {
  if (mode == load) {
    const auto here = stream.pubseekoff(0, std::ios_base::cur, std::ios_base::in);
    if (here != std::streampos(-1)) {
      const auto end = stream.pubseekoff(0, std::ios_base::end, std::ios_base::in);
      if (end != std::streampos(-1) && stream.pubseekpos(here, std::ios_base::in) == here && end >= here)
        m_size = uint64_t(std::streamoff(end) - std::streamoff(here));
    }
  }
}

bool CArchive::Fill() {
  m_done += m_len;
  m_pos = 0;
  m_len = 0;
  const std::streamsize got = m_stream.sgetn(reinterpret_cast<char*>(m_buf.data()), std::streamsize(m_buf.size()));
  if (got > 0) m_len = size_t(got);
  return m_len > 0;
}

void CArchive::Read(void* data, size_t size) {
  auto* out = static_cast<unsigned char*>(data);
  while (size > 0) {
    if (m_pos == m_len && !Fill())
      throw CArchiveException(
          CArchiveException::endOfFile,
          "the file is truncated or damaged (it ends early, at byte " + std::to_string(GetPosition()) + ")");
    const size_t n = std::min(size, m_len - m_pos);
    std::memcpy(out, m_buf.data() + m_pos, n);
    m_pos += n;
    out += n;
    size -= n;
  }
}

void CArchive::Write(const void* data, size_t size) {
  const auto* in = static_cast<const unsigned char*>(data);
  while (size > 0) {
    if (m_pos == m_buf.size()) Flush();
    const size_t n = std::min(size, m_buf.size() - m_pos);
    std::memcpy(m_buf.data() + m_pos, in, n);
    m_pos += n;
    in += n;
    size -= n;
  }
}

void CArchive::Flush() {
  if (m_pos == 0) return;
  const std::streamsize put = m_stream.sputn(reinterpret_cast<const char*>(m_buf.data()), std::streamsize(m_pos));
  if (put != std::streamsize(m_pos) || m_stream.pubsync() != 0)
    throw CArchiveException(CArchiveException::writeFault, "the data could not be written");
  m_done += m_pos;
  m_pos = 0;
}

CArchive& CArchive::operator<<(uint32_t v) {
  const unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  if (m_buf.size() - m_pos >= 4) {
    std::memcpy(m_buf.data() + m_pos, b, 4);
    m_pos += 4;
  } else {
    Write(b, 4);
  }
  return *this;
}

CArchive& CArchive::operator<<(uint16_t v) {
  const unsigned char b[2] = {uint8_t(v), uint8_t(v >> 8)};
  Write(b, 2);
  return *this;
}

CArchive& CArchive::operator>>(uint32_t& v) {
  unsigned char b[4];
  if (m_len - m_pos >= 4) {
    std::memcpy(b, m_buf.data() + m_pos, 4);
    m_pos += 4;
  } else {
    Read(b, 4);
  }
  v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
  return *this;
}

CArchive& CArchive::operator>>(int32_t& v) {
  uint32_t u;
  *this >> u;
  v = int32_t(u);
  return *this;
}

CArchive& CArchive::operator>>(uint16_t& v) {
  unsigned char b[2];
  Read(b, 2);
  v = uint16_t(b[0] | (b[1] << 8));
  return *this;
}

CArchive& CArchive::operator>>(int16_t& v) {
  uint16_t u;
  *this >> u;
  v = int16_t(u);
  return *this;
}

void CArchive::WriteCount(uint32_t count) {
  if (count < 0xFFFF) {
    *this << uint16_t(count);
  } else {
    *this << uint16_t(0xFFFF) << count;
  }
}

uint32_t CArchive::ReadCount() {
  uint16_t small;
  *this >> small;
  if (small != 0xFFFF) return small;
  uint32_t big;
  *this >> big;
  return big;
}

bool CArchive::AtEnd() { return m_pos == m_len && !Fill(); }

std::optional<uint64_t> CArchive::GetRemaining() const {
  if (!m_size) return std::nullopt;
  const uint64_t at = GetPosition();
  return *m_size > at ? *m_size - at : 0;
}

std::optional<uint64_t> CArchive::GetStoredRemaining() const {
  const std::optional<uint64_t> remaining = GetRemaining();
  if (!m_stored) return remaining;
  const uint64_t at = GetPosition();
  const uint64_t stored = *m_stored > at ? *m_stored - at : 0;
  return remaining ? std::min(*remaining, stored) : stored;
}
