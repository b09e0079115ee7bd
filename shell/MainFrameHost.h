#pragma once

#include <QString>
#include <QStringList>

class CChildFrame;
class CQuirraDoc;

// What the main window needs from the program around it: its Exit asks about and closes the
// documents, a file dropped on it opens, New Window makes another window of the active document,
// and the File menu lists the recent files.
class MainFrameHost {
 public:
  // Asks to save each modified document; false when the user cancels or a save fails.
  virtual bool SaveAllModified() = 0;
  // Closes every document window without asking again.
  virtual void CloseAllDocuments() = 0;
  // Opens the file in a new window, or brings forward the window of a document already open on
  // it. Null when it could not be opened (the user has been told why).
  virtual CQuirraDoc* OpenDocumentFile(const QString& path) = 0;
  virtual CChildFrame* CreateFrame(CQuirraDoc& doc) = 0;
  // Newest first.
  virtual QStringList RecentFiles() const = 0;

 protected:
  ~MainFrameHost() = default;
};
