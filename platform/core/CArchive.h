#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

// Raised by CArchive when the bytes run out early, when a value read cannot be right, or when
// the sink refuses bytes. `what()` is a reason a user can read.
class CArchiveException : public std::runtime_error {
 public:
  enum Cause { generic, endOfFile, badIndex, writeFault, tooLarge };

  CArchiveException(Cause cause, const std::string& reason) : std::runtime_error(reason), m_cause(cause) {}

  Cause m_cause;
};

// A binary stream in one direction over a std::streambuf: little-endian on every host, buffered.
//
// Loading: every extraction that finds too few bytes throws CArchiveException(endOfFile).
// Storing: bytes are buffered; Close() (or Flush()) must be called before the archive is
// destroyed, and throws CArchiveException(writeFault) if the sink refuses them. An archive
// destroyed without Close() drops what it still buffers, so an aborted save writes nothing more.
class CArchive {
 public:
  enum Mode { store, load };

  CArchive(std::streambuf& stream, Mode mode);
  ~CArchive() = default;
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsStoring() const { return m_mode == store; }

  CArchive& operator<<(int32_t v) { return *this << uint32_t(v); }
  CArchive& operator<<(uint32_t v);
  CArchive& operator<<(int16_t v) { return *this << uint16_t(v); }
  CArchive& operator<<(uint16_t v);
  CArchive& operator>>(int32_t& v);
  CArchive& operator>>(uint32_t& v);
  CArchive& operator>>(int16_t& v);
  CArchive& operator>>(uint16_t& v);

  void Write(const void* data, size_t size);
  // Reads exactly `size` bytes or throws; there is no partial read.
  void Read(void* data, size_t size);

  // Counts below 0xFFFF take two bytes; larger ones are 0xFFFF followed by four bytes.
  void WriteCount(uint32_t count);
  uint32_t ReadCount();

  // Loading: true when no byte is left to read.
  bool AtEnd();
  // Loading: how many bytes are left, when the stream can tell (it can seek); empty otherwise.
  std::optional<uint64_t> GetRemaining() const;
  // Loading: how many bytes the source really stores, when it can tell. A sparse file is longer
  // than what lies on the disk; its holes read as zeros only as they are read, so storage for
  // what is read is sized by this, not by the length.
  void SetStoredBytes(uint64_t bytes) { m_stored = bytes; }
  // The bytes left that are really stored: at most GetRemaining().
  std::optional<uint64_t> GetStoredRemaining() const;
  // Loading: the most memory that what is read may take, below what the system can give (the
  // readers ask the system themselves); none by default. An unattended reader sets one.
  void SetMemoryLimit(std::optional<uint64_t> bytes) { m_memoryLimit = bytes; }
  std::optional<uint64_t> GetMemoryLimit() const { return m_memoryLimit; }
  // Bytes read or written through this archive so far.
  uint64_t GetPosition() const { return m_done + m_pos; }

  void Flush();
  void Close() {
    if (IsStoring()) Flush();
  }

 private:
  bool Fill();

  std::streambuf& m_stream;
  Mode m_mode;
  std::vector<unsigned char> m_buf;
  size_t m_pos = 0;                  // next byte in m_buf
  size_t m_len = 0;                  // loading: valid bytes in m_buf
  uint64_t m_done = 0;               // bytes moved between m_buf and the stream before the current buffer
  std::optional<uint64_t> m_size;    // loading: bytes in the stream from where the archive began
  std::optional<uint64_t> m_stored;  // loading: of those, the bytes the source really stores
  std::optional<uint64_t> m_memoryLimit;
};
