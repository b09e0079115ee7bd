// Documents made, saved and opened through the document template, with real files in a temporary
// folder, and the failures the user is told about.
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <random>

#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "DocFixture.h"
#include "model/DocumentFileContent.h"
#include "platform/qt/CMultiDocTemplate.h"
#include "res/Resources.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ModalHandler.h"

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A change as the editor makes one, through the history, so the document follows it.
void AddInStep(CQuirraDoc& doc, const CShape& shape) {
  doc.BeginStep();
  doc.GetDrawing().AddShape(shape);
  doc.EndStep();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// What the model itself writes for this drawing and grip.
QByteArray ModelBytes(const CTavlo& drawing, int hitMode, int hitPart) {
  const std::string s = file_bytes::Save(drawing, hitMode, hitPart);
  return QByteArray(s.data(), qsizetype(s.size()));
}

class DocFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    templ.SetReporter([this](const QString& text) { reports << text; });
  }

  QString Path(const QString& name) const { return dir.filePath(name); }
  CQuirraDoc* NewDoc() { return static_cast<CQuirraDoc*>(templ.OpenNewDocument()); }
  CQuirraDoc* Open(const QString& path) { return static_cast<CQuirraDoc*>(templ.OpenDocumentFile(path)); }

  // A saved drawing of `count` rectangles, the middle one (or the only one) gripped.
  QString SavedDrawing(const QString& name, int count) {
    CQuirraDoc* doc = NewDoc();
    doc->SetTool(kRectangle);
    for (int i = 0; i < count; ++i) doc->GetDrawing().AddShape(DragShape(*doc, 10 * i, 5, 10 * i + 30, 40));
    doc->GetDrawing().SetSelected(count / 2);
    doc->Grip(HIT_VERTEX, 3);
    EXPECT_TRUE(templ.SaveDocument(doc, Path(name)));
    templ.CloseDocument(doc);
    return Path(name);
  }

  QTemporaryDir dir;
  CMultiDocTemplate templ{[] { return std::make_unique<CQuirraDoc>(); },
                          QString::fromStdString(res::TemplateStrings().docName)};
  QStringList reports;
};

TEST_F(DocFiles, NewDocumentsAreNumberedTavloOneTwo) {
  CQuirraDoc* first = NewDoc();
  CQuirraDoc* second = NewDoc();
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->GetTitle(), "Tavlo1");
  EXPECT_EQ(second->GetTitle(), "Tavlo2");
  EXPECT_TRUE(first->GetPathName().isEmpty());
  EXPECT_FALSE(second->IsModified());
  EXPECT_EQ(first->GetDrawing().GetUpperBound(), -1);
  EXPECT_EQ(templ.GetDocuments().size(), 2u);
}

TEST_F(DocFiles, SavedGripComesBackWithTheSelectionsToolButAttributesStartAfresh) {
  CQuirraDoc* doc = NewDoc();
  doc->SetTool(kEllipse);
  for (int i = 0; i < 3; ++i) doc->GetDrawing().AddShape(DragShape(*doc, 20 * i, 10, 20 * i + 15, 60));
  doc->ApplyPenStyle(3);
  doc->ApplyBrushStyle(4);
  CQuirraDoc::Attributes colours = doc->GetAttributes();
  colours.penColor = 0x0000FF;
  colours.brushColor = 0x00FF00;
  doc->SetAttributes(colours);
  doc->GetDrawing().SetSelected(1);
  doc->Grip(HIT_EDGE, 2);
  doc->ApplyPenWidth(3);  // marks the document modified
  doc->GetDrawing().SetZoom(300);
  doc->GetDrawing().SetRotateMode(true);
  ASSERT_TRUE(doc->IsModified());
  const CTavlo saved = doc->GetDrawing();

  const QString path = Path("picture.qrf");
  ASSERT_TRUE(templ.SaveDocument(doc, path));
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->GetTitle(), "picture.qrf");
  EXPECT_EQ(doc->GetPathName(), QFileInfo(path).absoluteFilePath());
  EXPECT_EQ(ReadBytes(path), ModelBytes(saved, HIT_EDGE, 2));
  EXPECT_EQ(ReadBytes(path).size(), 14 + 3 * 120);
  templ.CloseDocument(doc);
  ASSERT_TRUE(templ.GetDocuments().empty());

  CQuirraDoc* back = Open(path);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->GetDrawing().GetShapes() == saved.GetShapes());
  EXPECT_EQ(back->GetDrawing().GetSelected(), 1);
  EXPECT_EQ(back->GetHitMode(), HIT_EDGE);
  EXPECT_EQ(back->GetHitPart(), 2);
  EXPECT_EQ(back->GetDrawing().GetShapes()[1].GetPenWidth(), 3);
  EXPECT_EQ(back->GetTool(), kEllipse);  // the selected shape's kind, not the new document's Line
  EXPECT_EQ(back->GetAttributes().penColor, 0u);
  EXPECT_EQ(back->GetAttributes().penStyle, 0);
  EXPECT_EQ(back->GetAttributes().penWidth, 1);
  EXPECT_EQ(back->GetAttributes().brushColor, 0u);
  EXPECT_EQ(back->GetAttributes().brushStyle, kBrushTransparent);
  EXPECT_EQ(back->GetDrawing().GetZoom(), 100);
  EXPECT_FALSE(back->GetDrawing().GetRotateMode());
  EXPECT_FALSE(back->IsModified());
  EXPECT_EQ(back->GetTitle(), "picture.qrf");
  EXPECT_TRUE(reports.isEmpty());
}

TEST_F(DocFiles, OpeningAnOpenFileAgainGivesTheSameDocumentUnread) {
  const QString path = SavedDrawing("twice.qrf", 2);
  CQuirraDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  AddInStep(*doc, DragShape(*doc, 0, 0, 5, 5));

  QDir::current().mkpath(Path("sub"));
  EXPECT_EQ(Open(path), doc);
  EXPECT_EQ(Open(Path("sub/../twice.qrf")), doc);
  EXPECT_EQ(templ.GetDocuments().size(), 1u);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->GetDrawing().GetUpperBound(), 2);
  EXPECT_TRUE(reports.isEmpty());
}

TEST_F(DocFiles, ClearingADocumentGivesAFreshDrawing) {
  const QString path = SavedDrawing("three.qrf", 3);
  WriteBytes(Path("short.qrf"), ReadBytes(path).left(150));
  CQuirraDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  doc->GetDrawing().SetZoom(500);
  doc->GetDrawing().SetRotateMode(true);
  AddInStep(*doc, DragShape(*doc, 0, 0, 5, 5));

  ASSERT_TRUE(doc->OnNewDocument());
  EXPECT_EQ(doc->GetDrawing().GetUpperBound(), -1);
  EXPECT_EQ(doc->GetDrawing().GetSelected(), -1);
  EXPECT_EQ(doc->GetDrawing().GetZoom(), 100);
  EXPECT_FALSE(doc->GetDrawing().GetRotateMode());
  EXPECT_FALSE(doc->IsModified());

  // A failed load leaves nothing half read behind.
  ASSERT_TRUE(doc->OnOpenDocument(path));
  doc->GetDrawing().SetZoom(200);
  EXPECT_FALSE(doc->OnOpenDocument(Path("short.qrf")));
  EXPECT_FALSE(doc->GetLastError().isEmpty());
  EXPECT_EQ(doc->GetDrawing().GetUpperBound(), -1);
  EXPECT_EQ(doc->GetDrawing().GetZoom(), 100);
}

// The open documents before a failed open, to see that it left them alone.
struct Snapshot {
  explicit Snapshot(const CMultiDocTemplate& templ) {
    for (CDocument* d : templ.GetDocuments()) {
      docs.push_back(d);
      titles << d->GetTitle();
      modified.push_back(d->IsModified());
      drawings.push_back(static_cast<CQuirraDoc*>(d)->GetDrawing());
    }
  }
  void ExpectSame(const CMultiDocTemplate& templ) const {
    ASSERT_EQ(templ.GetDocuments(), docs);
    for (size_t i = 0; i < docs.size(); ++i) {
      EXPECT_EQ(docs[i]->GetTitle(), titles[int(i)]);
      EXPECT_EQ(docs[i]->IsModified(), modified[i]);
      EXPECT_TRUE(static_cast<CQuirraDoc*>(docs[i])->GetDrawing() == drawings[i]);
    }
  }
  std::vector<CDocument*> docs;
  QStringList titles;
  std::vector<bool> modified;
  std::vector<CTavlo> drawings;
};

TEST_F(DocFiles, UnreadableFilesAreReportedOnceAndOpenNothing) {
  const QByteArray good = ReadBytes(SavedDrawing("good.qrf", 2));
  ASSERT_EQ(good.size(), 14 + 2 * 120);
  CQuirraDoc* open = Open(Path("good.qrf"));
  CQuirraDoc* untitled = NewDoc();
  ASSERT_TRUE(open && untitled);
  AddInStep(*untitled, DragShape(*untitled, 1, 2, 3, 4));
  const Snapshot before(templ);

  QByteArray badCount = good;
  badCount[6 + 120 + 36] = 11;  // the second shape claims 11 points
  WriteBytes(Path("cut.qrf"), good.left(100));
  WriteBytes(Path("count.qrf"), badCount);
  WriteBytes(Path("nohit.qrf"), good.left(good.size() - 8));
  QDir::current().mkpath(Path("folder.qrf"));

  const struct {
    const char* name;
    const char* reason;
  } cases[] = {{"cut.qrf", "damaged"},
               {"count.qrf", "damaged"},
               {"nohit.qrf", "damaged"},
               {"folder.qrf", "folder"},
               {"missing.qrf", "No such file"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    reports.clear();
    EXPECT_EQ(Open(Path(c.name)), nullptr);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QDir::toNativeSeparators(Path(c.name)))) << reports[0].toStdString();
    EXPECT_TRUE(reports[0].contains(c.reason, Qt::CaseInsensitive)) << reports[0].toStdString();
    before.ExpectSame(templ);
  }
  EXPECT_EQ(NewDoc()->GetTitle(), "Tavlo3");  // after Tavlo1 (saved, closed) and Tavlo2
}

TEST_F(DocFiles, DefaultReportIsOneWarningBox) {
  const QString good = SavedDrawing("fine.qrf", 2);
  const QString path = SavedDrawing("broken.qrf", 3);
  WriteBytes(path, ReadBytes(path).left(200));

  // A template that reports the way the program does, with a message box.
  CMultiDocTemplate shown{[] { return std::make_unique<CQuirraDoc>(); }, "Tavlo"};
  auto* untitled = static_cast<CQuirraDoc*>(shown.OpenNewDocument());
  AddInStep(*untitled, DragShape(*untitled, 1, 2, 3, 4));
  ASSERT_NE(shown.OpenDocumentFile(good), nullptr);
  const Snapshot before(shown);

  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  ModalHandler modal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    text = box->text();
    icon = box->icon();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  EXPECT_EQ(shown.OpenDocumentFile(path), nullptr);
  EXPECT_EQ(modal.Seen(), 1);
  EXPECT_FALSE(modal.TimedOut());
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_TRUE(text.contains(QDir::toNativeSeparators(path))) << text.toStdString();
  EXPECT_TRUE(text.contains("damaged")) << text.toStdString();
  before.ExpectSame(shown);
}

TEST_F(DocFiles, SaveIntoAPlainFileFailsAndKeepsTheDocumentModified) {
  WriteBytes(Path("plain"), "not a folder");
  CQuirraDoc* doc = NewDoc();
  AddInStep(*doc, DragShape(*doc, 1, 1, 9, 9));
  const QString target = Path("plain/drawing.qrf");

  EXPECT_FALSE(templ.SaveDocument(doc, target));
  ASSERT_EQ(reports.size(), 1);
  EXPECT_TRUE(reports[0].contains(QDir::toNativeSeparators(target))) << reports[0].toStdString();
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->GetTitle(), "Tavlo1");
  EXPECT_TRUE(doc->GetPathName().isEmpty());
  EXPECT_EQ(ReadBytes(Path("plain")), "not a folder");
}

TEST_F(DocFiles, SaveThatCannotFinishLeavesTheOldFileWhole) {
  const QString path = SavedDrawing("old.qrf", 1);
  const QByteArray old = ReadBytes(path);
  CQuirraDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  for (int i = 0; i < 8; ++i) AddInStep(*doc, DragShape(*doc, i, i, 50, 50));

  // Let no file grow past 400 bytes while saving: the new content needs more than 1000. Works for
  // any user, root included, unlike a read-only folder.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 400;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = templ.SaveDocument(doc, path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(ok);
  ASSERT_EQ(reports.size(), 1);
  EXPECT_TRUE(reports[0].contains(QDir::toNativeSeparators(path))) << reports[0].toStdString();
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.qrf"});
}

}  // namespace

namespace {

// One file is one document, whatever link it is reached through; a save must not make a second
// document of it, or the last save would drop the other's work.
TEST_F(DocFiles, AFileReachedThroughALinkOrSavedOverIsStillOneDocument) {
  const QString path = SavedDrawing("garden.qrf", 3);
  CQuirraDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  ASSERT_TRUE(QFile::link(path, Path("soft.qrf")));
  ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(Path("hard.qrf")).constData()), 0);
  EXPECT_EQ(Open(Path("soft.qrf")), doc);
  EXPECT_EQ(Open(Path("hard.qrf")), doc);
  EXPECT_EQ(templ.GetDocuments().size(), 1u);

  const QByteArray before = ReadBytes(path);
  CQuirraDoc* other = NewDoc();
  AddInStep(*other, DragShape(*other, 1, 1, 9, 9));
  EXPECT_FALSE(templ.SaveDocument(other, Path("hard.qrf")));
  ASSERT_EQ(reports.size(), 1);
  EXPECT_TRUE(reports[0].contains("open in another window")) << reports[0].toStdString();
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_TRUE(other->IsModified());
  EXPECT_TRUE(other->GetPathName().isEmpty());
}

TEST_F(DocFiles, KnowsWhenAnotherProgramChangedItsFile) {
  const QString path = SavedDrawing("garden.qrf", 2);
  CQuirraDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  EXPECT_FALSE(doc->ChangedOnDisk());
  WriteBytes(path, ReadBytes(path) + "another program's note");
  EXPECT_TRUE(doc->ChangedOnDisk());
  ASSERT_TRUE(templ.SaveDocument(doc, path));
  EXPECT_FALSE(doc->ChangedOnDisk());
  ASSERT_TRUE(QFile::remove(path));
  EXPECT_FALSE(doc->ChangedOnDisk());  // nothing there to lose
}

}  // namespace

namespace {

// A long load or save may be stopped: nothing opens, the old file stays, nothing is reported.
TEST_F(DocFiles, AStoppedLoadOpensNothingAndAStoppedSaveKeepsTheOldFile) {
  const QString path = SavedDrawing("big.qrf", 2000);
  const QByteArray before = ReadBytes(path);
  QStringList seen;
  bool stop = true;
  templ.SetFileProgress([&](const QString& file, qint64 done, qint64 total) {
    if (done != total) seen << file;
    return !stop;
  });
  EXPECT_EQ(Open(path), nullptr);
  EXPECT_TRUE(templ.GetDocuments().empty());
  ASSERT_FALSE(seen.isEmpty());
  EXPECT_EQ(seen.front(), path);

  stop = false;
  CQuirraDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  doc->BeginStep();
  doc->GetDrawing().DeleteSelected();
  doc->EndStep();
  stop = true;
  EXPECT_FALSE(templ.SaveDocument(doc, path));
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"big.qrf"});
  EXPECT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();
}

}  // namespace

// Random changes, undo, redo and saves of documents that start new, opened, or recovered with and
// without a file: after each, the document is modified exactly when its shapes differ from those
// its file holds (untitled: from none). Three kinds of record only, so lists repeat records and
// the same records come back in other orders, as pasted copies do.
TEST_F(DocFiles, ModifiedExactlyWhenTheShapesDifferFromTheFile) {
  const QString named = SavedDrawing("named.qrf", 3);
  const QString copy = SavedDrawing("copy.qrf", 5);
  std::mt19937 rng(20261208);
  auto pick = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
  for (int start = 0; start < 4; ++start) {
    SCOPED_TRACE(start);
    CQuirraDoc* doc = start == 0   ? NewDoc()
                      : start == 1 ? Open(named)
                                   : static_cast<CQuirraDoc*>(templ.OpenRecoveredDocument(
                                         copy, start == 2 ? named : QString(), QStringLiteral("Tavlo7")));
    ASSERT_NE(doc, nullptr);
    const QString path =
        doc->GetPathName().isEmpty() ? Path(QStringLiteral("new%1.qrf").arg(start)) : doc->GetPathName();
    auto differs = [&] {
      DocumentFileContent file;
      if (!doc->GetPathName().isEmpty()) file_bytes::Load(ReadBytes(doc->GetPathName()).toStdString(), file);
      return !(file.drawing.GetShapes() == doc->GetDrawing().GetShapes());
    };
    for (int step = 0; step < 400; ++step) {
      CTavlo& drawing = doc->GetDrawing();
      const int n = drawing.GetUpperBound() + 1;
      const int action = pick(10);
      if (action == 0) {
        doc->Undo();
      } else if (action == 1) {
        doc->Redo();
      } else if (action == 2 && pick(8) == 0) {
        ASSERT_TRUE(templ.SaveDocument(doc, path));
      } else {
        doc->BeginStep();
        doc->SetTool(kRectangle + pick(2));
        const CShape shape = DragShape(*doc, 0, 0, 10 * (1 + pick(2)), 10);
        if (action < 6 || n == 0)
          drawing.InsertShape(pick(n + 1), shape);
        else if (action == 6)
          drawing.RemoveShape(pick(n));
        else if (action == 7)
          drawing.ReplaceShape(pick(n), shape);
        else
          drawing.MoveShape(pick(n), pick(n));
        doc->EndStep();
      }
      ASSERT_EQ(doc->IsModified(), differs()) << "step " << step << ", action " << action;
    }
    templ.CloseDocument(doc);
  }
}
