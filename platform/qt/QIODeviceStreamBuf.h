#pragma once

#include <functional>
#include <streambuf>

class QIODevice;

// A std::streambuf over an open QIODevice, so that a CArchive can read from a QFile and write to a
// QSaveFile. Unbuffered: CArchive already moves whole blocks. Seeking works on random-access
// devices, which lets a loading archive know how many bytes are left.
class QIODeviceStreamBuf : public std::streambuf {
 public:
  explicit QIODeviceStreamBuf(QIODevice& device) : m_device(device) {}
  // Called after every block read or written; it may throw to stop the transfer.
  void SetProgress(std::function<void()> hook) { m_progress = std::move(hook); }

 protected:
  std::streamsize xsgetn(char* s, std::streamsize n) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int_type underflow() override;
  int_type uflow() override;
  int_type overflow(int_type ch) override;
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override;
  pos_type seekpos(pos_type pos, std::ios_base::openmode which) override;

 private:
  QIODevice& m_device;
  std::function<void()> m_progress;
};
