// Runs the real quirra executable the way a script would, with no display at all.
#include <gtest/gtest.h>

#include <cstdio>

#include <sys/resource.h>

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/app/RunQuirra.h"

namespace {

void Put32(QByteArray& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.append(char((uint32_t(v) >> (8 * i)) & 0xFF));
}

// A document file: `selected`, the count, the records, hitMode and hitPart.
QByteArray File(int32_t selected, const std::vector<QByteArray>& records, int32_t hitMode, int32_t hitPart) {
  QByteArray b;
  Put32(b, selected);
  b.append(char(records.size() & 0xFF)).append(char(records.size() >> 8));
  for (const QByteArray& r : records) b += r;
  Put32(b, hitMode);
  Put32(b, hitPart);
  return b;
}

QByteArray Record(int32_t type, std::pair<int, int> center, std::vector<std::pair<int, int>> pts, int32_t penColor = 0,
                  int32_t brushColor = 0, int32_t brushStyle = -1) {
  QByteArray r;
  Put32(r, 0x0040CA70);
  Put32(r, center.first);
  Put32(r, center.second);
  for (int32_t v : {type, penColor, brushColor, 1, 0, brushStyle, int32_t(pts.size())}) Put32(r, v);
  pts.resize(10);
  for (auto [x, y] : pts) {
    Put32(r, x);
    Put32(r, y);
  }
  return r;
}

QByteArray LineFile() { return File(0, {Record(1, {20, 30}, {{10, 20}, {30, 40}})}, 1, 1); }

class Headless : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QString Write(const char* name, const QByteArray& bytes) const {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  }
  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(Headless, InfoPrintsTheDocumentAsOneJsonLine) {
  const QString file = Write("line.qrf", LineFile());
  const Outcome r = Quirra({"--info", file});
  EXPECT_EQ(r.status, 0) << r.err.constData();
  EXPECT_EQ(r.out,
            "{\"selected\":0,\"hitMode\":1,\"hitPart\":1,\"shapes\":[{\"type\":1,\"center\":[20,30],\"penColor\":0,"
            "\"brushColor\":0,\"penWidth\":1,\"penStyle\":0,\"brushStyle\":-1,\"points\":[[10,20],[30,40]]}]}\n");
  EXPECT_TRUE(r.err.isEmpty());

  const QString two =
      Write("two.qrf", File(-1,
                            {Record(6, {-5, 7}, {{0, 0}, {100, 0}, {100, 60}, {0, 60}}, 0x0000FF, 0x00E6E6E6, -100),
                             Record(1, {0, 0}, {{-2147483647 - 1, 2147483647}, {0, 0}})},
                            0, -1));
  const Outcome r2 = Quirra({"--info", two});
  EXPECT_EQ(r2.status, 0);
  EXPECT_EQ(r2.out,
            "{\"selected\":-1,\"hitMode\":0,\"hitPart\":-1,\"shapes\":[{\"type\":6,\"center\":[-5,7],\"penColor\":255,"
            "\"brushColor\":15132390,\"penWidth\":1,\"penStyle\":0,\"brushStyle\":-100,\"points\":[[0,0],[100,0],"
            "[100,60],[0,60]]},{\"type\":1,\"center\":[0,0],\"penColor\":0,\"brushColor\":0,\"penWidth\":1,"
            "\"penStyle\":0,\"brushStyle\":-1,\"points\":[[-2147483648,2147483647],[0,0]]}]}\n");
}

TEST_F(Headless, EmptyFileIsAnEmptyDrawingAndStaleGripIsRepaired) {
  EXPECT_EQ(Quirra({"--info", Write("empty.qrf", {})}).out,
            "{\"selected\":-1,\"hitMode\":0,\"hitPart\":-1,\"shapes\":[]}\n");
  // Selected index past the end, and a vertex grip on point 7 of a two-point line.
  EXPECT_EQ(Quirra({"--info", Write("stale.qrf", File(3, {Record(1, {0, 0}, {{1, 1}, {2, 2}})}, 1, 1))}).out.left(45),
            "{\"selected\":-1,\"hitMode\":0,\"hitPart\":-1,\"shap");
  EXPECT_EQ(Quirra({"--info", Write("part.qrf", File(0, {Record(1, {0, 0}, {{1, 1}, {2, 2}})}, 1, 7))}).out.left(44),
            "{\"selected\":0,\"hitMode\":0,\"hitPart\":-1,\"shap");
}

TEST_F(Headless, ExportGivesBackTheSameBytes) {
  QByteArray bytes = LineFile();
  bytes.append("trailing bytes are ignored");
  const QString in = Write("in.qrf", bytes);
  const QString out = Path("out.qrf");
  const Outcome r = Quirra({"--export", in, out});
  EXPECT_EQ(r.status, 0) << r.err.constData();
  EXPECT_EQ(Read(out), LineFile());
  EXPECT_EQ(Read(out).size(), 134);

  // And again from the copy: a saved file loads and saves to itself.
  const QString again = Path("again.qrf");
  EXPECT_EQ(Quirra({"--export", out, again}).status, 0);
  EXPECT_EQ(Read(again), Read(out));
}

TEST_F(Headless, RefusedFilesReportAndWriteNothing) {
  QByteArray cut = LineFile();
  cut.chop(5);
  QByteArray tooMany = LineFile();
  tooMany[4] = char(0xFF);
  tooMany[5] = char(0xFF);
  tooMany.insert(6, QByteArray("\xFF\xFF\xFF\xFF", 4));  // claims four billion shapes
  QByteArray points = LineFile();
  points[6 + 36] = 11;

  const QString existing = Write("existing.qrf", "keep me");
  for (const auto& [name, bytes, reason] :
       {std::tuple{"cut.qrf", cut, "truncated"}, std::tuple{"many.qrf", tooMany, "4294967295"},
        std::tuple{"points.qrf", points, "11 points"}}) {
    const QString file = Write(name, bytes);
    const Outcome info = Quirra({"--info", file});
    EXPECT_EQ(info.status, 1) << name;
    EXPECT_TRUE(info.out.isEmpty()) << name;
    EXPECT_TRUE(info.err.startsWith(("quirra: " + file + ": ").toUtf8())) << info.err.constData();
    EXPECT_TRUE(info.err.contains(reason)) << info.err.constData();

    const Outcome exp = Quirra({"--export", file, existing});
    EXPECT_EQ(exp.status, 1) << name;
    EXPECT_EQ(Read(existing), "keep me") << name;
    EXPECT_FALSE(QFile::exists(Path("fresh.qrf")));
    EXPECT_EQ(Quirra({"--export", file, Path("fresh.qrf")}).status, 1);
    EXPECT_FALSE(QFile::exists(Path("fresh.qrf"))) << name;
  }

  const Outcome missing = Quirra({"--info", Path("nowhere.qrf")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.err.startsWith(("quirra: " + Path("nowhere.qrf") + ": ").toUtf8())) << missing.err.constData();
  EXPECT_EQ(Quirra({"--info", dir.path()}).status, 1);
}

// Only a file of no length at all is an empty drawing: a read that fails, or something that is
// not a regular file, is refused, and promptly (a FIFO would wait for a writer for ever).
TEST_F(Headless, UnreadableAndSpecialFilesAreRefusedNotTakenForEmptyDrawings) {
  const QString fifo = Path("pipe.qrf");
  ASSERT_EQ(QProcess::execute("mkfifo", {fifo}), 0);
  for (const auto& [file, reason] :
       {std::pair{QString("/proc/self/mem"), "Input/output error"}, std::pair{fifo, "not a regular file"},
        std::pair{QString("/dev/null"), "not a regular file"}}) {
    const Outcome info = Quirra({"--info", file});
    EXPECT_EQ(info.status, 1) << file.toStdString();
    EXPECT_TRUE(info.out.isEmpty()) << info.out.constData();
    EXPECT_TRUE(info.err.contains(reason)) << info.err.constData();
  }
}

// A sparse file may announce ten million records over holes: storage follows what the file really
// stores, so the load reaches the damaged record instead of asking for 1.2 GB at once.
TEST_F(Headless, ASparseFileAnnouncingTenMillionShapesIsReadAsItComes) {
  QFile f(Path("sparse.qrf"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  QByteArray head;
  Put32(head, -1);
  head.append("\xFF\xFF", 2);
  Put32(head, 10000000);
  QByteArray damaged = Record(1, {0, 0}, {{1, 1}, {2, 2}});
  damaged[36] = 11;  // points
  f.write(head + Record(1, {0, 0}, {{1, 1}, {2, 2}}));
  ASSERT_TRUE(f.seek(head.size() + 3000 * 120));
  f.write(damaged);
  ASSERT_TRUE(f.resize(head.size() + qint64(10000000) * 120 + 8));
  f.close();
  const Outcome r = Quirra({"--info", f.fileName()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.contains("shape 3001 claims 11 points")) << r.err.constData();
}

// A file of a billion zero records (120 GB, all holes) cannot be held by this machine, and ten
// million (1.2 GB) not within what a thumbnail may take: each is refused before it is read, by
// --info and by the thumbnailer that file managers run unattended, and so is a JSON file of 1 GB.
// The time and the memory each run took are printed.
TEST_F(Headless, InputsTooLargeForMemoryAreRefusedBeforeTheyAreRead) {
  auto sparse = [this](const char* name, qint64 count) {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray head;
    Put32(head, -1);
    head.append("\xFF\xFF", 2);
    Put32(head, int32_t(count));
    f.write(head);
    EXPECT_TRUE(f.resize(head.size() + count * 120 + 8));
    return f.fileName();
  };
  const QString billion = sparse("billion.qrf", 1000000000), tenMillion = sparse("ten-million.qrf", 10000000);
  const QString json = Path("large.json");
  {
    QFile f(json);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray block;
    while (block.size() < (1 << 20)) block += R"({"type": 2, "points": [[10, 20], [30, 20], [30, 40], [10, 40]]},)";
    f.write(R"({"shapes": [)");
    for (int i = 0; i < 1024; ++i) ASSERT_EQ(f.write(block), block.size());
    f.write("{}]}");
  }
  const struct {
    QStringList args;
    const char* reason;
  } cases[] = {
      {{"--info", billion}, "it needs 116 GB of memory for its 1000000000 shapes; "},
      {{"--thumbnail", billion, Path("a.png"), "256"}, "it needs 116 GB of memory"},
      {{"--thumbnail", tenMillion, Path("b.png"), "256"}, "it needs 1.2 GB of memory for its 10000000 shapes; "},
      {{"--thumbnail", json, Path("c.png"), "256"}, "MB may be used here"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    QElapsedTimer time;
    time.start();
    const Outcome r = Quirra(c.args);
    rusage use{};
    getrusage(RUSAGE_CHILDREN, &use);
    std::printf("%s: %.2f s, at most %ld MB\n", qPrintable(c.args.first() + ' ' + QFileInfo(c.args[1]).fileName()),
                double(time.elapsed()) / 1000, use.ru_maxrss / 1024);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("quirra: " + c.args[1].toUtf8() + ": ")) << r.err.constData();
    // On a slow machine a thumbnail may end by its clock before the memory refuses it: either way
    // there is none, and the reason.
    EXPECT_TRUE(r.err.contains(c.reason) || (c.args.first() == "--thumbnail" && r.err.contains("it takes longer than")))
        << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());
    if (c.args.first() == "--thumbnail") {
      EXPECT_FALSE(QFile::exists(c.args[2]));
    }
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LT(use.ru_maxrss / 1024, 500);
#endif
  }
#ifndef __SANITIZE_ADDRESS__  // which needs more address space than any such limit leaves
  // A limit on the address space counts as well: ten million shapes do not fit in 1 GB.
  const Outcome limited = Quirra({"--info", tenMillion}, 1000000, 'v');
  EXPECT_EQ(limited.status, 1);
  EXPECT_TRUE(limited.err.contains("it needs 1.2 GB of memory for its 10000000 shapes; ")) << limited.err.constData();
  EXPECT_TRUE(limited.err.contains(" are free")) << limited.err.constData();
#endif
}

// Past the limit a write fails like one on a full disk: reported, the old file kept, nothing left
// behind, and the program ends on its own terms instead of by the limit's signal.
TEST_F(Headless, WritesPastAFileSizeLimitFailAndKeepTheOldFile) {
  std::vector<QByteArray> lines;
  for (int i = 0; i < 400; ++i) lines.push_back(Record(1, {i, i}, {{i, 0}, {400 - i, 900}}));
  const QString in = Write("in.qrf", File(-1, lines, 0, -1));
  for (const char* name : {"out.qrf", "out.png", "out.svg"}) {
    const QString out = Write(name, "keep me");
    // Pictures at 500 per cent, so that they too are larger than the limit.
    const QStringList zoom = QString(name).endsWith("qrf") ? QStringList() : QStringList{"--zoom", "500"};
    const Outcome r = Quirra(QStringList{"--export", in, out} + zoom, 8);
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_TRUE(r.err.contains(("quirra: " + out + ": File too large").toUtf8())) << r.err.constData();
    EXPECT_EQ(Read(out), "keep me") << name;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            (QStringList{"in.qrf", "out.png", "out.qrf", "out.svg"}));
}

// The temporary file must not make the name longer: a name the file system takes is saved to.
// Saving through a symbolic link writes the file it leads to and keeps the link.
TEST_F(Headless, LongestNamesAndLinksAreSavedTo) {
  const QString in = Write("in.qrf", LineFile());
  const QString longest = Path(QString(251, 'n').toLatin1() + ".qrf");
  const Outcome r = Quirra({"--export", in, longest});
  EXPECT_EQ(r.status, 0) << r.err.constData();
  EXPECT_EQ(Read(longest), LineFile());

  const QString real = Write("real.qrf", "old");
  ASSERT_TRUE(QFile::link(real, Path("link.qrf")));
  EXPECT_EQ(Quirra({"--export", in, Path("link.qrf")}).status, 0);
  EXPECT_EQ(QFileInfo(Path("link.qrf")).symLinkTarget(), real);
  EXPECT_EQ(Read(real), LineFile());
}

TEST_F(Headless, UnwritableTargetFailsAndLeavesNoFile) {
  const QString in = Write("in.qrf", LineFile());
  // A path through a plain file cannot be created, whatever the rights of whoever runs this.
  const QString target = in + "/out.qrf";
  const Outcome r = Quirra({"--export", in, target});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.startsWith(("quirra: " + target + ": ").toUtf8())) << r.err.constData();
  EXPECT_EQ(Read(in), LineFile());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"in.qrf"});
}

TEST_F(Headless, WrongArgumentsPrintUsage) {
  const QString in = Write("in.qrf", LineFile());
  // An option after a file, or one nobody knows, is no file for the editor to open either.
  for (const QStringList& args : {QStringList{"--info"}, QStringList{"--info", in, in}, QStringList{"--export", in},
                                  QStringList{"--frobnicate", in}, QStringList{in, "--info"}, QStringList{"-x", in},
                                  QStringList{"--version", in}}) {
    const Outcome r = Quirra(args);
    EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.startsWith("usage: quirra")) << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());
  }
  const Outcome png = Quirra({"--export", in, Path("out.txt")});
  EXPECT_EQ(png.status, 2);
  EXPECT_FALSE(QFile::exists(Path("out.txt")));
}

TEST_F(Headless, VersionAndHelpGoToStandardOutput) {
  const Outcome version = Quirra({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "quirra " QUIRRA_VERSION "\n");
  const Outcome help = Quirra({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.err.isEmpty());
  // Every form on a line of its own.
  for (const char* form :
       {"quirra [FILE...]", "quirra --info FILE", "quirra --export FILE OUT.qrf", "quirra --export FILE OUT.png",
        "quirra --thumbnail FILE", "quirra --version", "quirra --help"})
    EXPECT_EQ(QString::fromUtf8(help.out).split(QLatin1Char(0x0a)).filter(form).size(), 1) << form;
}

// --- JSON in and out ----------------------------------------------------------------------------

TEST_F(Headless, JsonGoesBackToTheSameFileForEveryKindOfRecord) {
  // Every kind, a centre of its own, colours past 2^31, every brush code, a grip on a vertex.
  const QByteArray file =
      File(2,
           {Record(1, {5, -6}, {{10, 20}, {30, 40}}, int32_t(0xFFFFFFFF), 0, -1),
            Record(2, {0, 0}, {{0, 0}, {50, 0}, {50, 40}, {0, 40}}, 0x0000FF, 0x00FF00, -100),
            Record(3, {-2147483647 - 1, 2147483647}, {{1, 1}, {9, 1}, {9, 9}, {1, 9}}, 0, int32_t(0x80000000), 5),
            Record(5, {7, 7}, {{0, 0}, {10, 30}, {20, -30}, {30, 0}}, 0x123456, 0, -200),
            Record(6, {3, 3}, {{0, 0}, {80, 0}, {80, 60}, {0, 60}}, 0, 0xABCDEF, 0)},
           1, 2);
  const QString in = Write("in.qrf", file);
  const Outcome toJson = Quirra({"--export", in, Path("out.json")});
  ASSERT_EQ(toJson.status, 0) << toJson.err.constData();
  // The same JSON as --info prints.
  EXPECT_EQ(Read(Path("out.json")), Quirra({"--info", in}).out);
  const Outcome back = Quirra({"--export", Path("out.json"), Path("back.qrf")});
  ASSERT_EQ(back.status, 0) << back.err.constData();
  EXPECT_EQ(Read(Path("back.qrf")), file);
  // With no telling suffix, the content says JSON.
  QFile::copy(Path("out.json"), Path("drawing.txt"));
  EXPECT_EQ(Quirra({"--export", Path("drawing.txt"), Path("again.qrf")}).status, 0);
  EXPECT_EQ(Read(Path("again.qrf")), file);
}

TEST_F(Headless, JsonNeedsOnlyTypeAndPointsAndIsCheckedAsAFileIs) {
  Write("few.json", R"({"shapes": [{"type": 1, "points": [[10, 20], [30, 40]]}]})");
  ASSERT_EQ(Quirra({"--export", Path("few.json"), Path("few.qrf")}).status, 0);
  // What is left out is what a new drawing and record have: no selection, no grip, centre (0, 0),
  // pen width 1, brush -1.
  EXPECT_EQ(Read(Path("few.qrf")), File(-1, {Record(1, {0, 0}, {{10, 20}, {30, 40}})}, 0, -1));
  // A grip the drawing cannot have is cleared, as loading a file clears it.
  Write("stale.json", R"({"selected": 5, "hitMode": 1, "hitPart": 0, "shapes": []})");
  ASSERT_EQ(Quirra({"--export", Path("stale.json"), Path("stale.qrf")}).status, 0);
  EXPECT_EQ(Read(Path("stale.qrf")), File(-1, {}, 0, -1));
}

TEST_F(Headless, BadJsonIsRefusedWithItsReasonAndNothingIsWritten) {
  const std::pair<const char*, const char*> cases[] = {
      {"{\"shapes\": [\n  {\"type\": 1,, \"points\": []}]}", "line 2, column"},
      {R"({"shapes": [{"type": "line"}]})", "\"type\" must be a whole number"},
      {R"({"shapes": [{"type": 1.5}]})", "\"type\" must be a whole number"},
      {R"({"shapes": {"type": 1}})", "\"shapes\" must be a list"},
      {R"({"shapes": [{"type": 1, "points": [[1, 2, 3]]}]})", "point 1 must be a pair"},
      {R"({"shapes": [{"type": 1, "points": [[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0]]}]})",
       "it has 11 points"},
      {R"({"shapes": [{"type": 1, "penWidth": 4294967296}]})", "beyond 32 bits"},
      {R"({"selected": -2147483649})", "beyond 32 bits"},
      {R"([1, 2])", "no object"},
  };
  for (const auto& [text, reason] : cases) {
    const QString in = Write("bad.json", text);
    const Outcome r = Quirra({"--export", in, Path("out.qrf")});
    EXPECT_EQ(r.status, 1) << text;
    EXPECT_TRUE(r.err.startsWith("quirra: " + in.toUtf8() + ": ")) << r.err.constData();
    EXPECT_TRUE(r.err.contains(reason)) << text << " gave " << r.err.constData();
    EXPECT_FALSE(QFile::exists(Path("out.qrf")));
  }
}
