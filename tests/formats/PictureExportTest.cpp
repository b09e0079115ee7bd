// Pictures of drawings written by the real quirra executable, with no display at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "tests/app/RunQuirra.h"

namespace {

void Put32(QByteArray& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.append(char((uint32_t(v) >> (8 * i)) & 0xFF));
}

struct Pen {
  int32_t width = 1;
  int32_t colour = 0;  // 0x00BBGGRR
  int32_t style = 0;   // PS_SOLID to PS_NULL
};

QByteArray Record(int32_t type, std::vector<std::pair<int, int>> pts, Pen pen = {}, int32_t brushStyle = -200,
                  int32_t brushColour = 0) {
  QByteArray r;
  Put32(r, 0x0040CA70);
  Put32(r, 0);
  Put32(r, 0);
  for (int32_t v : {type, pen.colour, brushColour, pen.width, pen.style, brushStyle, int32_t(pts.size())}) Put32(r, v);
  pts.resize(10);
  for (auto [x, y] : pts) {
    Put32(r, x);
    Put32(r, y);
  }
  return r;
}

QByteArray File(int32_t selected, const std::vector<QByteArray>& records) {
  QByteArray b;
  Put32(b, selected);
  b.append(char(records.size() & 0xFF)).append(char(records.size() >> 8));
  for (const QByteArray& r : records) b += r;
  Put32(b, 0);
  Put32(b, -1);
  return b;
}

QByteArray Box(int right, int bottom, Pen pen = {}, int32_t brushStyle = -200, int32_t brushColour = 0) {
  return Record(2, {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}}, pen, brushStyle, brushColour);
}

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

class PictureExport : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir.filePath(name); }
  QString Write(const QString& name, const QByteArray& bytes) const {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  }
  QImage Png(const QByteArray& document, const QStringList& extra = {}) {
    const QString in = Write("in.qrf", document), out = Path("out.png");
    QFile::remove(out);
    const Outcome r = Quirra(QStringList{"--export", in, out} + extra);
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    QImage image(out, "png");
    EXPECT_FALSE(image.isNull());
    return image;
  }
  QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files); }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(PictureExport, PngShowsTheShapesFromTheOriginWithRoomForThePen) {
  // A red-edged box to (100, 50), selected in the file: the picture shows it as it is, not grey.
  const QImage image = Png(File(0, {Box(100, 50, {1, 0x0000FF})}));
  ASSERT_FALSE(image.isNull());
  EXPECT_GE(image.width(), 101);
  EXPECT_GE(image.height(), 51);
  EXPECT_LE(image.width(), 110) << "the picture ends near the shapes";
  EXPECT_LE(image.height(), 60);
  for (auto [x, y] : {std::pair{0, 0}, {100, 0}, {100, 50}, {0, 50}, {50, 0}, {100, 25}})
    EXPECT_EQ(At(image, x, y), 0xFF0000u) << x << "," << y;
  EXPECT_EQ(At(image, 50, 25), 0xFFFFFFu);
  EXPECT_EQ(At(image, image.width() - 1, 25), 0xFFFFFFu);
  EXPECT_EQ(At(image, 50, image.height() - 1), 0xFFFFFFu);
}

TEST_F(PictureExport, ZoomScalesTheGeometryButNotThePen) {
  const QByteArray document = File(-1, {Box(100, 50, {3}, -100, 0x00FF00)});
  const QImage normal = Png(document);
  const QImage doubled = Png(document, {"--zoom", "200"});
  const QImage half = Png(document, {"--zoom", "50"});
  ASSERT_FALSE(normal.isNull() || doubled.isNull() || half.isNull());
  EXPECT_EQ(doubled.width() - normal.width(), 100);
  EXPECT_EQ(doubled.height() - normal.height(), 50);
  EXPECT_EQ(normal.width() - half.width(), 50);
  EXPECT_EQ(At(doubled, 200, 100), 0u);
  EXPECT_EQ(At(doubled, 100, 50), 0x00FF00u);
  EXPECT_EQ(At(half, 50, 25), 0u);
  // The right edge is 3 pixels wide at every zoom, and none of them is cut off.
  for (auto [image, zoom] : {std::pair{&normal, 100}, {&doubled, 200}, {&half, 50}}) {
    int dark = 0;
    for (int x = image->width() / 2; x < image->width(); ++x) dark += At(*image, x, 25 * zoom / 100) == 0;
    EXPECT_EQ(dark, 3) << zoom;
  }
  EXPECT_EQ(Png(document, {"--zoom", "100"}), normal);
}

TEST_F(PictureExport, WidestPenDecidesTheRoomAtTheEdges) {
  for (int width : {1, 9, 40}) {
    const QImage image = Png(File(-1, {Box(100, 50), Record(1, {{0, 100}, {80, 100}}, {width})}));
    ASSERT_FALSE(image.isNull());
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) dark += At(image, 40, y) == 0;
    EXPECT_EQ(dark, 2 + width) << "top edge, bottom edge and the whole line, width " << width;
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(At(image, x, image.height() - 1), 0xFFFFFFu) << width;
  }
}

TEST_F(PictureExport, SvgIsTheSamePictureAsXml) {
  const QByteArray document = File(-1, {Box(100, 50, {1, 0x0000FF})});
  const QImage png = Png(document, {"--zoom", "300"});
  const QString out = Path("out.svg");
  const Outcome r = Quirra({"--export", Path("in.qrf"), out, "--zoom", "300"});
  ASSERT_EQ(r.status, 0) << r.err.constData();
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  bool root = true, drawn = false;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes a = xml.attributes();
    if (root) {
      ASSERT_TRUE(xml.name() == u"svg");
      EXPECT_EQ(a.value("viewBox").toString(), QString("0 0 %1 %2").arg(png.width()).arg(png.height()));
      const double w = a.value("width").toString().remove("mm").toDouble();
      const double h = a.value("height").toString().remove("mm").toDouble();
      EXPECT_NEAR(w / h, double(png.width()) / png.height(), 1e-3);
      root = false;
    }
    if (a.value("stroke") == QLatin1String("#ff0000")) drawn = true;
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_FALSE(root);
  EXPECT_TRUE(drawn) << "the red edge is in the picture";
  file.seek(0);
  EXPECT_TRUE(file.readAll().contains("300,150")) << "the far corner at 300 %";
}

TEST_F(PictureExport, FailuresWriteNothing) {
  const QString good = Write("good.qrf", File(-1, {Box(100, 50)}));
  QByteArray damaged = File(-1, {Box(100, 50)});
  damaged.chop(9);
  const QString bad = Write("bad.qrf", damaged);
  const QString kept = Write("kept.png", "keep me");
  for (const QString& target : {Path("bad.png"), Path("bad.svg"), kept}) {
    const Outcome r = Quirra({"--export", bad, target});
    EXPECT_EQ(r.status, 1) << target.toStdString();
    EXPECT_TRUE(r.err.startsWith(("quirra: " + bad + ": ").toUtf8())) << r.err.constData();
  }
  QFile keptFile(kept);
  ASSERT_TRUE(keptFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(keptFile.readAll(), "keep me");
  // Too big to paint: refused, not attempted.
  const QString huge = Write("huge.qrf", File(-1, {Box(2000000000, 50)}));
  const Outcome big = Quirra({"--export", huge, Path("huge.png")});
  EXPECT_EQ(big.status, 1);
  EXPECT_TRUE(big.err.startsWith("quirra: ")) << big.err.constData();

  // Wrong arguments.
  for (const QStringList& zoom :
       {QStringList{"--zoom", "0"}, QStringList{"--zoom", "1001"}, QStringList{"--zoom", "abc"},
        QStringList{"--zoom", "-100"}, QStringList{"--zoom", ""}, QStringList{"--zoom"},
        QStringList{"--zoom", "100", "--zoom", "100"}, QStringList{"--scale", "100"}}) {
    for (const char* name : {"z.png", "z.svg", "z.qrf"}) {
      const Outcome r = Quirra(QStringList{"--export", good, Path(name)} + zoom);
      EXPECT_EQ(r.status, 2) << name << " " << zoom.join(' ').toStdString();
      EXPECT_TRUE(r.err.startsWith("usage: quirra")) << r.err.constData();
    }
  }
  EXPECT_EQ(Quirra({"--export", good, Path("z.qrf"), "--zoom", "100"}).status, 2);
  EXPECT_EQ(Quirra({"--export", good, Path("z.jpg")}).status, 2);
  EXPECT_EQ(Files(), (QStringList{"bad.qrf", "good.qrf", "huge.qrf", "kept.png"}));

  // The zoom's own limits are fine.
  EXPECT_EQ(Quirra({"--export", good, Path("one.png"), "--zoom", "1"}).status, 0);
  EXPECT_EQ(Quirra({"--export", good, Path("thousand.svg"), "--zoom", "1000"}).status, 0);
  const QImage tiny(Path("one.png"));
  EXPECT_GE(tiny.width(), 2);
  EXPECT_LE(tiny.width(), 10);
  EXPECT_EQ(At(tiny, 0, 0), 0u);
}

TEST(Thumbnail, FitsTheSizeAskedAndIsNeverEnlarged) {
  QTemporaryDir dir;
  // A rectangle reaching (399, 299) and a small one.
  const QString big = dir.filePath("big.qrf"), small = dir.filePath("small.qrf");
  for (const auto& [path, corner] : {std::pair{big, 399}, std::pair{small, 40}}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(File(-1, {Record(2, {{0, 0}, {corner, 0}, {corner, corner * 3 / 4}, {0, corner * 3 / 4}})}));
  }
  for (int size : {128, 256}) {  // the sizes file managers ask for
    const QString out = dir.filePath(QString("t%1.png").arg(size));
    const Outcome r = Quirra({"--thumbnail", big, out, QString::number(size)});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    const QImage image(out);
    EXPECT_LE(image.width(), size);
    EXPECT_LE(image.height(), size);
    EXPECT_GT(image.width(), size * 9 / 10) << "the picture should fill the size it was given";
  }
  // Small drawings keep their own size, as the PNG export makes them.
  ASSERT_EQ(Quirra({"--thumbnail", small, dir.filePath("s.png"), "256"}).status, 0);
  ASSERT_EQ(Quirra({"--export", small, dir.filePath("e.png")}).status, 0);
  EXPECT_EQ(QImage(dir.filePath("s.png")), QImage(dir.filePath("e.png")));
  for (const char* size : {"0", "5000", "big"})
    EXPECT_EQ(Quirra({"--thumbnail", small, dir.filePath("x.png"), size}).status, 2) << size;
}

namespace {

// Every kind of shape with every pen style (one style a row) and, across a row, widths 1 to 3 with
// every brush: paint, transparent and the six hatches. Then three shapes over one another.
struct EveryStyle {
  EveryStyle() {
    const int32_t brushes[] = {-100, -200, 0, 1, 2, 3, 4, 5};
    const int32_t kinds[] = {1, 2, 3, 5, 6, 1};
    for (int32_t row = 0; row < 6; ++row)
      for (int col = 0; col < 24; ++col) {
        const int x = 10 + col * 44, y = 10 + row * 36;
        const int32_t kind = kinds[(row + col) % 6], brush = brushes[col % 8];
        const int32_t brushColour = (col * 9) | 0x30 << 8 | (row * 40) << 16;
        std::vector<std::pair<int, int>> pts;
        if (kind == 1 && col % 2 == 1) pts = {{x, y}, {x + 36, y + 26}};
        if (kind == 1 && col % 2 == 0) pts = {{x, y + 20}, {x + 10, y}, {x + 25, y + 26}, {x + 36, y + 5}};
        if (kind == 3) pts = {{x + 18, y}, {x + 36, y + 13}, {x + 18, y + 26}, {x, y + 13}};
        if (kind == 5) pts = {{x, y + 26}, {x + 5, y - 10}, {x + 30, y + 40}, {x + 36, y}};
        if (kind == 2 || kind == 6) pts = {{x, y}, {x + 36, y}, {x + 36, y + 26}, {x, y + 26}};
        Add(kind, pts, {1 + col % 3, (row * 40) | (col * 10) << 8 | 0x80 << 16, row}, brush, brushColour);
      }
    Add(2, {{10, 230}, {300, 230}, {300, 300}, {10, 300}}, {2, 0x000000, 0}, -100, 0x0000FF);
    Add(6, {{150, 240}, {0, 0}, {450, 330}}, {1, 0x00FF00, 3}, 4, 0xFF0000);
    Add(1, {{0, 250}, {500, 320}}, {3, 0x804000, 1});
  }
  void Add(int32_t kind, const std::vector<std::pair<int, int>>& pts, Pen pen, int32_t brush = -200,
           int32_t brushColour = 0) {
    records.push_back(Record(kind, pts, pen, brush, brushColour));
    penStyles.push_back(pen.style);
    if (kind != 1 && kind != 5 && brush >= 0) hatches.insert({brush, brushColour});
  }
  QByteArray Document() const { return File(-1, records); }

  std::vector<QByteArray> records;
  std::vector<int32_t> penStyles;
  std::set<std::pair<int32_t, int32_t>> hatches;  // style and colour of every hatched fill
};

// rsvg-convert stands for the other programs that draw our SVG: it draws GNOME's pictures.
QImage Rendered(const QString& svg, const QString& png) {
  const QString rsvg = QStandardPaths::findExecutable("rsvg-convert");
  if (rsvg.isEmpty()) {
    ADD_FAILURE() << "rsvg-convert is not installed (apt-get install librsvg2-bin)";
    return {};
  }
  QProcess p;
  p.start(rsvg, {svg, "-o", png});
  EXPECT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  return QImage(png, "png").convertToFormat(QImage::Format_RGB32);
}

// The shares of all pixels, and of the pixels that either picture paints (not white), that are the
// same colour in both, give or take a small step in each channel.
std::pair<double, double> Agreement(const QImage& a, const QImage& b) {
  int64_t same = 0, painted = 0, paintedSame = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      const bool equal = std::abs(qRed(p) - qRed(q)) <= 16 && std::abs(qGreen(p) - qGreen(q)) <= 16 &&
                         std::abs(qBlue(p) - qBlue(q)) <= 16;
      const bool paint = (p & 0xFFFFFF) != 0xFFFFFF || (q & 0xFFFFFF) != 0xFFFFFF;
      same += equal;
      painted += paint;
      paintedSame += paint && equal;
    }
  return {double(same) / (int64_t(a.width()) * a.height()), painted ? double(paintedSame) / painted : 1.0};
}

}  // namespace

TEST_F(PictureExport, SvgDrawnByAnotherProgramIsThePng) {
  const QByteArray document = EveryStyle().Document();
  for (const int zoom : {50, 100, 200}) {
    const QStringList z{"--zoom", QString::number(zoom)};
    const QImage png = Png(document, z);
    const QString svg = Path("out.svg");
    const Outcome r = Quirra(QStringList{"--export", Path("in.qrf"), svg} + z);
    ASSERT_EQ(r.status, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    const QImage drawn = Rendered(svg, Path("drawn.png"));
    ASSERT_FALSE(drawn.isNull());
    ASSERT_EQ(drawn.size(), png.convertToFormat(QImage::Format_RGB32).size()) << zoom;
    const auto [all, painted] = Agreement(png.convertToFormat(QImage::Format_RGB32), drawn);
    std::printf("zoom %d: %.2f %% of all pixels agree, %.2f %% of the painted ones\n", zoom, 100 * all, 100 * painted);
    EXPECT_GE(all, 0.95) << zoom;
    EXPECT_GE(painted, 0.85) << zoom;
  }
}

// The PDF is one vector page of the picture's size at 96 pixels to the inch, which a PDF viewer
// draws as the PNG.
TEST_F(PictureExport, PdfDrawnByAViewerIsThePng) {
  const QByteArray document = EveryStyle().Document();
  for (const int zoom : {50, 100, 200}) {
    const QStringList z{"--zoom", QString::number(zoom)};
    const QImage png = Png(document, z).convertToFormat(QImage::Format_RGB32);
    const Outcome r = Quirra(QStringList{"--export", Path("in.qrf"), Path("out.pdf")} + z);
    ASSERT_EQ(r.status, 0) << r.err.constData();
    QProcess info, images, raster;
    info.start("pdfinfo", {Path("out.pdf")});
    images.start("pdfimages", {"-list", Path("out.pdf")});
    raster.start("pdftoppm", {"-r", "96", "-png", "-singlefile", Path("out.pdf"), Path("page")});
    ASSERT_TRUE(info.waitForFinished() && images.waitForFinished() && raster.waitForFinished());
    EXPECT_TRUE(QRegularExpression("\nPages: +1\n").match(QString::fromUtf8(info.readAllStandardOutput())).hasMatch());
    EXPECT_EQ(images.readAllStandardOutput().count('\n'), 2) << "only the heading: no picture inside";
    // A PDF page is whole points: a viewer may add up to three white pixels right and below.
    const QImage whole = QImage(Path("page.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(whole.width(), png.width()) << zoom;
    ASSERT_GE(whole.height(), png.height()) << zoom;
    ASSERT_LE(whole.width(), png.width() + 3) << zoom;
    ASSERT_LE(whole.height(), png.height() + 3) << zoom;
    for (int x = png.width(); x < whole.width(); ++x) EXPECT_EQ(At(whole, x, 0), 0xFFFFFFu);
    for (int y = png.height(); y < whole.height(); ++y) EXPECT_EQ(At(whole, 0, y), 0xFFFFFFu);
    const QImage page = whole.copy(QRect(QPoint(0, 0), png.size()));
    const auto [all, painted] = Agreement(png, page);
    std::printf("zoom %d: %.2f %% of all pixels agree, %.2f %% of the painted ones\n", zoom, 100 * all, 100 * painted);
    // A viewer smooths the edges of slanted and curved one-pixel lines, which the PNG draws hard;
    // at 50 per cent such lines are most of this drawing.
    EXPECT_GE(all, zoom == 50 ? 0.90 : 0.95) << zoom;
  }
}

TEST_F(PictureExport, SvgIsInPixelsWithOneGroupOfPlainElementsPerShape) {
  const EveryStyle drawing;
  const QImage png = Png(drawing.Document(), {"--zoom", "200"});
  const QString out = Path("out.svg");
  ASSERT_EQ(Quirra({"--export", Path("in.qrf"), out, "--zoom", "200"}).status, 0);
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QStringList groups, patterns, references;
  std::vector<int> strokes, dashed, white;  // per group: its strokes, the dashed ones and the white ones
  bool root = true;
  int depth = 0, groupDepth = -1;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::EndElement && depth-- == groupDepth) groupDepth = -1;
    if (token != QXmlStreamReader::StartElement) continue;
    ++depth;
    const QXmlStreamAttributes a = xml.attributes();
    const QString name = xml.name().toString();
    if (root) {
      ASSERT_EQ(name, "svg");
      const QRegularExpression pixels("^[0-9]+$");
      EXPECT_TRUE(pixels.match(a.value("width")).hasMatch()) << a.value("width").toString().toStdString();
      EXPECT_TRUE(pixels.match(a.value("height")).hasMatch()) << a.value("height").toString().toStdString();
      EXPECT_EQ(a.value("width").toInt(), png.width());
      EXPECT_EQ(a.value("height").toInt(), png.height());
      EXPECT_EQ(a.value("viewBox").toString(), QString("0 0 %1 %2").arg(png.width()).arg(png.height()));
      root = false;
    }
    EXPECT_TRUE(name != "mask" && name != "filter" && name != "image" && name != "use") << name.toStdString();
    if (name == "pattern") patterns << a.value("id").toString();
    if (a.value("fill").startsWith(QLatin1String("url(#"))) references << a.value("fill").mid(5).chopped(1).toString();
    if (name == "g") {
      groups << a.value("id").toString();
      strokes.push_back(0), dashed.push_back(0), white.push_back(0);
      groupDepth = depth;
    } else if (groupDepth >= 0) {
      strokes.back() += a.hasAttribute("stroke");
      dashed.back() += a.hasAttribute("stroke-dasharray");
      white.back() += a.value("stroke") == QLatin1String("#ffffff") && !dashed.back();
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  QStringList expected;
  for (size_t i = 0; i < drawing.records.size(); ++i) expected << QString("shape-%1").arg(i);
  EXPECT_EQ(groups, expected);
  // One pattern for each hatch and colour, each one used.
  EXPECT_EQ(size_t(patterns.size()), drawing.hatches.size());
  EXPECT_EQ(size_t(patterns.size()), size_t(QSet<QString>(patterns.begin(), patterns.end()).size()));
  for (const QString& id : references) EXPECT_TRUE(patterns.contains(id)) << id.toStdString();
  EXPECT_EQ(QSet<QString>(references.begin(), references.end()).size(), patterns.size());
  // Dashed and dotted pens over a white stroke for their gaps; a null pen draws no outline.
  ASSERT_EQ(dashed.size(), drawing.penStyles.size());
  for (size_t i = 0; i < dashed.size(); ++i) {
    const bool gaps = drawing.penStyles[i] >= 1 && drawing.penStyles[i] <= 4;
    EXPECT_EQ(strokes[i], drawing.penStyles[i] == 5 ? 0 : gaps ? 2 : 1) << i;
    EXPECT_EQ(dashed[i], gaps ? 1 : 0) << i;
    EXPECT_EQ(white[i], gaps ? 1 : 0) << i;
  }
}
