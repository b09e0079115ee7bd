// What a user of the editor should have, kept by a test from what the user did and was asked:
// each open document with the shapes its file holds (known from what the user saved or opened,
// never from the editor's word) and the shapes it held after the last step, and each file saved
// with what was saved in it. Shapes are told apart by the bytes of their records (ShapesHash), so
// a selection or a grip never makes a difference.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

class CQuirraDoc;

namespace shelltest {

struct ExpectedDocument {
  QString path;  // absolute; empty while untitled
  QString title;
  QByteArray file;    // the shapes its file holds; while untitled, those of a new drawing
  QByteArray shapes;  // the shapes it held after the last step
  int windows = 1;

  // The one rule: a drawing is modified exactly when its shapes differ from its file's.
  bool Modified() const { return shapes != file; }
};

// A modal dialog as the user met it: what it asked, and the answer given ("Yes", "No", "Cancel",
// the file chosen, or "" for a file dialog cancelled).
struct DialogSeen {
  QString asked;
  QString answer;
};

class UserModel {
 public:
  static QByteArray NewDrawing();

  std::map<const CQuirraDoc*, ExpectedDocument> documents;
  std::map<QString, QByteArray> files;  // every file saved, with the shapes saved in it

  // The dialogs a command should open, replayed against those it did open (`seen`, in order):
  // each expected one takes the answer the user gave to the dialog at its place. While they
  // agree, the model follows the answers; the first disagreement is noted in Mismatch() and
  // stops the replay, as a cancel would.
  class Replay {
   public:
    Replay(UserModel& model, const std::vector<DialogSeen>& seen) : m_model(model), m_seen(seen) {}

    // "Save changes to TITLE?" for a modified document, and what each answer does; false when the
    // user cancelled (at the question or in the file dialog).
    bool SaveModified(const CQuirraDoc* doc);
    // Save, or Save As: the file dialog for Save As and for an untitled document. False when the
    // file dialog was cancelled.
    bool Save(const CQuirraDoc* doc, bool saveAs);
    // The next dialog must ask `asked`; returns its answer, or nothing after a disagreement.
    bool Expect(const QString& asked, QString& answer);
    // Every dialog seen was expected, and the other way round; otherwise what differed.
    std::string Mismatch() const;

   private:
    UserModel& m_model;
    const std::vector<DialogSeen>& m_seen;
    size_t m_next = 0;
    std::string m_mismatch;
  };

  // A document's file became `path` and holds its shapes.
  void Saved(const CQuirraDoc* doc, const QString& path);

  // Empty when the recovery copies `there` (their paths) are exactly one of each modified
  // document, with its shapes and a record naming it; otherwise what differs.
  std::string CopiesDiffer(const QStringList& there) const;
  // Empty when the files in `folder` are exactly those saved, each with what was saved in it.
  std::string FilesDiffer(const QString& folder) const;
};

}  // namespace shelltest
