// Reading a drawing's JSON a block at a time. The text may be as large as a file can be: it is
// never held whole, values are checked as they arrive, and the shapes are refused as soon as they
// would need more memory than can be had.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <QBuffer>
#include <QIODevice>

#include "formats/DocumentJson.h"
#include "model/DocumentFileContent.h"
#include "model/ShapeMemory.h"
#include "platform/core/CArchive.h"

namespace {

// A reason to refuse the text.
struct Refusal {
  QString reason;
};

// Bounds that no drawing's JSON comes near, so that no text can make the reader hold much of it.
constexpr int kMaxDepth = 64;
constexpr size_t kMaxKeys = 64;  // in one object
constexpr size_t kMaxKeyBytes = 256;
constexpr size_t kMaxNumberBytes = 400;
// While reading, the shapes are held as records, then as a file's bytes, then as the drawing.
constexpr int kCopies = 3;

enum class Kind { number, other };

// A value as far as the drawing needs it: a number, or something else.
struct Scalar {
  Kind kind = Kind::other;
  double number = 0;
};

struct Where {
  int64_t line = 1, column = 1;
};

class Parser {
 public:
  explicit Parser(QIODevice& in) : m_in(in) {}

  int Peek() {
    if (m_pos == m_buf.size() && !Fill()) return -1;
    return static_cast<unsigned char>(m_buf[m_pos]);
  }
  int Get() {
    const int c = Peek();
    if (c < 0) return c;
    ++m_pos;
    if (c == '\n') {
      ++m_at.line;
      m_at.column = 1;
    } else {
      ++m_at.column;
    }
    return c;
  }
  void SkipSpace() {
    for (int c = Peek(); c == ' ' || c == '\t' || c == '\n' || c == '\r'; c = Peek()) Get();
  }
  Where Here() const { return m_at; }

  [[noreturn]] static void FailAt(Where at, const QString& what) {
    throw Refusal{QStringLiteral("line %1, column %2: %3").arg(at.line).arg(at.column).arg(what)};
  }
  [[noreturn]] void Fail(const QString& what) const { FailAt(m_at, what); }

  void Expect(char wanted) {
    SkipSpace();
    const int c = Peek();
    if (c != wanted)
      Fail(c < 0 ? QStringLiteral("the text ends where '%1' should follow").arg(QLatin1Char(wanted))
                 : QStringLiteral("'%1' should follow here").arg(QLatin1Char(wanted)));
    Get();
  }

  // The members of an object, each value read by onMember(key), which must read it whole.
  template <typename OnMember>
  void Object(int depth, OnMember onMember) {
    Deeper(depth);
    Expect('{');
    std::vector<std::string>& keys = m_keys[size_t(depth)];
    keys.clear();
    SkipSpace();
    if (Peek() == '}') {
      Get();
      return;
    }
    for (;;) {
      SkipSpace();
      const Where at = Here();
      if (Peek() != '"') Fail(QStringLiteral("a key in quotes should follow here"));
      std::string key = String(kMaxKeyBytes);
      if (std::find(keys.begin(), keys.end(), key) != keys.end())
        FailAt(at, QStringLiteral("the key \"%1\" appears twice in one object").arg(QString::fromStdString(key)));
      if (keys.size() == kMaxKeys) FailAt(at, QStringLiteral("an object has more than %1 keys").arg(kMaxKeys));
      keys.push_back(std::move(key));
      Expect(':');
      SkipSpace();
      onMember(keys.back());
      if (!MoreFollow('}')) return;
    }
  }

  // The elements of an array, each read by onElement(index), which must read it whole.
  template <typename OnElement>
  void Array(int depth, OnElement onElement) {
    Deeper(depth);
    Expect('[');
    SkipSpace();
    if (Peek() == ']') {
      Get();
      return;
    }
    for (int64_t index = 0;; ++index) {
      SkipSpace();
      onElement(index);
      if (!MoreFollow(']')) return;
    }
  }

  // Any value, kept only as far as a number.
  Scalar Value(int depth) {
    SkipSpace();
    switch (Peek()) {
      case '{': Object(depth + 1, [this, depth](const std::string&) { Value(depth + 1); }); return {};
      case '[': Array(depth + 1, [this, depth](int64_t) { Value(depth + 1); }); return {};
      case '"': String(0); return {};
      case 't': Word("true"); return {};
      case 'f': Word("false"); return {};
      case 'n': Word("null"); return {};
      case -1: Fail(QStringLiteral("the text ends where a value should be"));
      default: return {Kind::number, Number()};
    }
  }

  bool AtEnd() {
    SkipSpace();
    return Peek() < 0;
  }

 private:
  bool Fill() {
    m_buf = m_in.read(64 * 1024);
    m_pos = 0;
    if (m_buf.isEmpty() && m_in.errorString().size() && !m_in.atEnd())
      throw Refusal{QStringLiteral("the file could not be read: %1").arg(m_in.errorString())};
    return !m_buf.isEmpty();
  }

  void Deeper(int depth) const {
    if (depth > kMaxDepth) Fail(QStringLiteral("the values are nested more than %1 deep").arg(kMaxDepth));
  }

  // After a member or element: true when another follows the comma, false at the closing bracket.
  bool MoreFollow(char close) {
    SkipSpace();
    const int c = Get();
    if (c == ',') return true;
    if (c == close) return false;
    Fail(c < 0 ? QStringLiteral("the text ends inside a list or an object")
               : QStringLiteral("',' or '%1' should come before this").arg(QLatin1Char(close)));
  }

  void Word(const char* word) {
    for (const char* p = word; *p; ++p)
      if (Get() != *p) Fail(QStringLiteral("no value can start like this"));
  }

  // A string, decoded into UTF-8 and kept up to `keep` bytes; a longer one kept is refused.
  std::string String(size_t keep) {
    std::string out;
    Get();  // the opening quote
    for (;;) {
      int c = Get();
      if (c < 0) Fail(QStringLiteral("the text ends inside a string"));
      if (c == '"') return out;
      if (c < 0x20) Fail(QStringLiteral("a control character stands unescaped in a string"));
      if (c == '\\') {
        c = Get();
        switch (c) {
          case '"':
          case '\\':
          case '/': break;
          case 'b': c = '\b'; break;
          case 'f': c = '\f'; break;
          case 'n': c = '\n'; break;
          case 'r': c = '\r'; break;
          case 't': c = '\t'; break;
          case 'u': Append(out, Hex4(), keep); continue;
          default: Fail(QStringLiteral("no such escape in a string"));
        }
      }
      Keep(out, char(c), keep);
    }
  }

  void Keep(std::string& out, char c, size_t keep) const {
    if (keep == 0) return;
    if (out.size() == keep) Fail(QStringLiteral("a key is longer than %1 bytes").arg(keep));
    out += c;
  }

  unsigned Hex4() {
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
      const int c = Get();
      const int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
      if (d < 0) Fail(QStringLiteral("\\u must be followed by four hexadecimal digits"));
      v = v * 16 + unsigned(d);
    }
    return v;
  }

  // A UTF-16 unit as UTF-8; keys are compared byte for byte, so a lone surrogate needs no care.
  void Append(std::string& out, unsigned u, size_t keep) const {
    if (u < 0x80) {
      Keep(out, char(u), keep);
    } else if (u < 0x800) {
      Keep(out, char(0xC0 | (u >> 6)), keep);
      Keep(out, char(0x80 | (u & 0x3F)), keep);
    } else {
      Keep(out, char(0xE0 | (u >> 12)), keep);
      Keep(out, char(0x80 | ((u >> 6) & 0x3F)), keep);
      Keep(out, char(0x80 | (u & 0x3F)), keep);
    }
  }

  // A number as JSON writes one: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
  double Number() {
    std::string text;
    auto take = [&] {
      if (text.size() == kMaxNumberBytes)
        Fail(QStringLiteral("a number is longer than %1 digits").arg(kMaxNumberBytes));
      text += char(Get());
    };
    auto digits = [&] {
      if (!std::isdigit(Peek())) Fail(QStringLiteral("a digit should be here"));
      while (std::isdigit(Peek())) take();
    };
    if (Peek() == '-') take();
    if (Peek() == '0')
      take();
    else if (std::isdigit(Peek()))
      digits();
    else
      Fail(QStringLiteral("no value can start like this"));
    if (Peek() == '.') {
      take();
      digits();
    }
    if (Peek() == 'e' || Peek() == 'E') {
      take();
      if (Peek() == '+' || Peek() == '-') take();
      digits();
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) value = text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    return value;
  }

  QIODevice& m_in;
  // The keys met so far in the object open at each depth, kept between objects for their room.
  std::vector<std::vector<std::string>> m_keys = std::vector<std::vector<std::string>>(kMaxDepth + 1);
  QByteArray m_buf;
  qsizetype m_pos = 0;
  Where m_at;
};

// A whole number of 32 bits, signed or (colours) unsigned. `where()` begins the message about it,
// made only when the value is refused: it costs more than reading one.
template <typename Where>
int64_t Whole(const Scalar& v, const char* key, Where where, bool unsignedValue = false) {
  const double low = unsignedValue ? 0 : double(std::numeric_limits<int32_t>::min());
  const double high =
      unsignedValue ? double(std::numeric_limits<uint32_t>::max()) : double(std::numeric_limits<int32_t>::max());
  if (v.kind != Kind::number || std::trunc(v.number) != v.number)
    throw Refusal{QStringLiteral("%1\"%2\" must be a whole number").arg(where(), QLatin1String(key))};
  if (v.number < low || v.number > high)
    throw Refusal{
        QStringLiteral("%1\"%2\" is %3, beyond 32 bits").arg(where(), QLatin1String(key)).arg(v.number, 0, 'f', 0)};
  return int64_t(v.number);
}

QString ShapePlace(int64_t number) { return QStringLiteral("shape %1: ").arg(number); }

// [x, y]; `what()` names it for a message.
template <typename What>
CPoint Pair(Parser& p, int depth, What what) {
  auto refuse = [&what] { throw Refusal{QStringLiteral("%1 must be a pair of numbers [x, y]").arg(what())}; };
  if (p.Peek() != '[') refuse();
  Scalar xy[2];
  int64_t n = 0;
  p.Array(depth + 1, [&](int64_t i) {
    if (i >= 2) refuse();
    xy[i] = p.Value(depth + 1);
    n = i + 1;
  });
  if (n != 2) refuse();
  auto where = [&what] { return what() + QLatin1Char(' '); };
  return CPoint(int32_t(Whole(xy[0], "x", where)), int32_t(Whole(xy[1], "y", where)));
}

void ReadShape(Parser& p, int64_t number, CShape& s) {
  auto where = [number] { return ShapePlace(number); };
  if (p.Peek() != '{') throw Refusal{QStringLiteral("shape %1 must be an object").arg(number)};
  p.Object(2, [&](const std::string& key) {
    if (key == "center") {
      const CPoint c = Pair(p, 2, [number] { return ShapePlace(number) + QStringLiteral("\"center\""); });
      s.SetCenter(c.x, c.y);
    } else if (key == "points") {
      if (p.Peek() != '[') throw Refusal{where() + QStringLiteral("\"points\" must be a list")};
      int64_t count = 0;
      p.Array(3, [&](int64_t k) {
        if (k < kMaxPoints) {
          const CPoint pt =
              Pair(p, 3, [number, k] { return ShapePlace(number) + QStringLiteral("point %1").arg(k + 1); });
          s.SetPoint(int(k), pt.x, pt.y);
        } else {
          p.Value(3);  // counted for the message, not kept
        }
        count = k + 1;
      });
      if (count > kMaxPoints)
        throw Refusal{where() + QStringLiteral("it has %1 points; a shape has at most %2").arg(count).arg(kMaxPoints)};
      s.SetPointCount(int(count));
    } else {
      const Scalar v = p.Value(2);
      if (key == "type")
        s.SetType(int(Whole(v, "type", where)));
      else if (key == "penColor")
        s.SetPenColor(COLORREF(Whole(v, "penColor", where, true)));
      else if (key == "brushColor")
        s.SetBrushColor(COLORREF(Whole(v, "brushColor", where, true)));
      else if (key == "penWidth")
        s.SetPenWidth(int(Whole(v, "penWidth", where)));
      else if (key == "penStyle")
        s.SetPenStyle(int(Whole(v, "penStyle", where)));
      else if (key == "brushStyle")
        s.SetBrushStyle(int(Whole(v, "brushStyle", where)));
    }
  });
}

}  // namespace

QString ReadDocumentJson(QIODevice& source, DocumentFileContent& doc, std::optional<uint64_t> memoryLimit) {
  try {
    Parser p(source);
    if (p.AtEnd()) Parser::FailAt(p.Here(), QStringLiteral("the text holds no value"));
    if (p.Peek() != '{') {
      p.Value(0);
      if (!p.AtEnd()) p.Fail(QStringLiteral("more follows the value"));
      throw Refusal{QStringLiteral("the JSON is no object")};
    }
    int32_t selected = -1, hitMode = HIT_NONE, hitPart = -1;
    CShapeArray records;
    int64_t count = 0;
    p.Object(0, [&](const std::string& key) {
      if (key == "shapes") {
        if (p.Peek() != '[') throw Refusal{QStringLiteral("\"shapes\" must be a list")};
        p.Array(1, [&](int64_t i) {
          if (i == records.GetSize()) {
            // Room doubles, so the records are copied a few times in all, not once per shape.
            const int64_t room = std::max<int64_t>(1024, 2 * i);
            if (room > std::numeric_limits<int>::max()) p.Fail(QStringLiteral("there are too many shapes"));
            if (const std::string why = WhyShapesDoNotFit(uint64_t(room), memoryLimit, kCopies); !why.empty())
              p.Fail(QString::fromStdString(why));
            records.SetSize(int(room));
          }
          ReadShape(p, i + 1, records.ElementAt(int(i)));
          count = i + 1;
        });
        return;
      }
      const Scalar v = p.Value(1);
      auto nowhere = [] { return QString(); };
      if (key == "selected")
        selected = int32_t(Whole(v, "selected", nowhere));
      else if (key == "hitMode")
        hitMode = int32_t(Whole(v, "hitMode", nowhere));
      else if (key == "hitPart")
        hitPart = int32_t(Whole(v, "hitPart", nowhere));
    });
    if (!p.AtEnd()) p.Fail(QStringLiteral("more follows the value"));
    records.SetSize(int(count));

    // What the JSON says goes through the file's own checks: it is read back as a file.
    std::stringbuf bytes;
    CArchive out(bytes, CArchive::store);
    out << selected;
    records.Serialize(out);
    out << hitMode << hitPart;
    out.Close();
    records = CShapeArray();
    DocumentFileContent read;
    CArchive in(bytes, CArchive::load);
    in.SetMemoryLimit(memoryLimit);
    read.Serialize(in);
    doc = std::move(read);
  } catch (const Refusal& r) {
    return r.reason;
  } catch (const CArchiveException& e) {
    return QString::fromStdString(e.what());
  }
  return QString();
}

QString ReadDocumentJson(const QByteArray& text, DocumentFileContent& doc) {
  QBuffer buffer;
  buffer.setData(text);
  buffer.open(QIODevice::ReadOnly);
  return ReadDocumentJson(buffer, doc);
}
