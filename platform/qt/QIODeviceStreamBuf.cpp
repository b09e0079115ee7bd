#include "platform/qt/QIODeviceStreamBuf.h"

#include <QIODevice>

std::streamsize QIODeviceStreamBuf::xsgetn(char* s, std::streamsize n) {
  std::streamsize total = 0;
  while (total < n) {
    const qint64 got = m_device.read(s + total, n - total);
    if (got <= 0) break;
    total += got;
  }
  if (m_progress) m_progress();
  return total;
}

std::streamsize QIODeviceStreamBuf::xsputn(const char* s, std::streamsize n) {
  std::streamsize total = 0;
  while (total < n) {
    const qint64 put = m_device.write(s + total, n - total);
    if (put <= 0) break;
    total += put;
  }
  if (m_progress) m_progress();
  return total;
}

QIODeviceStreamBuf::int_type QIODeviceStreamBuf::underflow() {
  char c;
  if (m_device.peek(&c, 1) != 1) return traits_type::eof();
  return traits_type::to_int_type(c);
}

QIODeviceStreamBuf::int_type QIODeviceStreamBuf::uflow() {
  char c;
  if (m_device.read(&c, 1) != 1) return traits_type::eof();
  return traits_type::to_int_type(c);
}

QIODeviceStreamBuf::int_type QIODeviceStreamBuf::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  const char c = traits_type::to_char_type(ch);
  return m_device.write(&c, 1) == 1 ? ch : traits_type::eof();
}

QIODeviceStreamBuf::pos_type QIODeviceStreamBuf::seekoff(off_type off, std::ios_base::seekdir dir,
                                                         std::ios_base::openmode which) {
  if (m_device.isSequential()) return pos_type(off_type(-1));
  qint64 base = 0;
  if (dir == std::ios_base::cur)
    base = m_device.pos();
  else if (dir == std::ios_base::end)
    base = m_device.size();
  return seekpos(pos_type(base + off), which);
}

QIODeviceStreamBuf::pos_type QIODeviceStreamBuf::seekpos(pos_type pos, std::ios_base::openmode) {
  if (m_device.isSequential() || !m_device.seek(qint64(pos))) return pos_type(off_type(-1));
  return pos;
}
