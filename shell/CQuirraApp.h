#pragma once

#include <memory>
#include <vector>

#include <QObject>
#include <QStringList>

#include "platform/qt/CCmdTarget.h"
#include "platform/qt/CCommandRouter.h"
#include "recovery/RecoveryCopy.h"
#include "shell/FileProgressDialog.h"
#include "shell/MainFrameHost.h"
#include "shell/RecentFileList.h"

class CChildFrame;
class CMainFrame;
class CMultiDocTemplate;
class CQuirraDoc;
class CQuirraView;
class InstanceChannel;
class OpenRequestQueue;
class RecoveryFolder;

// The application: start-up, the one document template, the main window, the recent files, the
// documents' windows, and the commands New, Open, Close, Save, Save As, the recent files and
// About. Commands go to the active view, its document, its child window, the main window and then
// here.
class CQuirraApp : public QObject, public CCmdTarget, public MainFrameHost {
  Q_OBJECT
  DECLARE_MESSAGE_MAP(CQuirraApp)

 public:
  using Base = CCmdTarget;

  // `recoveryDelayMs`: how far behind the last change a recovery copy may be (RecoveryCopy); tests
  // that check the copy after every step give a short one.
  explicit CQuirraApp(int recoveryDelayMs = RecoveryCopy::kDelayMs);
  ~CQuirraApp() override;

  // Start-up with the files the command line named, and whether another program started the
  // editor (-Embedding, -Automation: no splash, no question). In order: splash, settings and recent files, recovery
  // folder, document template, main window (with the splash over it), the open-in-running-instance channel, the desktop
  // registration, the offer of drawings an editor that is gone left unsaved (not when started by another program), then
  // the files named, or a new document when none was named or recovered. False when the program must end (the window
  // could not be made, or a file named could not be opened, after its message).
  bool InitInstance(const QStringList& files, bool automated);

  CMainFrame* GetMainFrame() const { return m_mainFrame.get(); }
  CMultiDocTemplate& GetTemplate() const { return *m_template; }
  QStringList RecentFiles() const override { return m_recentFiles.Files(); }

  CQuirraDoc* OnFileNew();
  void OnFileOpen();
  CQuirraDoc* OpenDocumentFile(const QString& path) override;
  void OpenRecentFile(int index);
  // Save (asking for a name when the document has none) or Save As. False when not saved.
  bool DoSave(CQuirraDoc& doc, bool saveAs);
  // Asks whether to save a modified document: false when the user cancels or the save fails.
  bool SaveModified(CQuirraDoc& doc);
  bool SaveAllModified() override;
  // Asks to save, then closes every window of the document. False when cancelled.
  bool CloseDocument(CQuirraDoc& doc);
  void CloseAllDocuments() override;

  CChildFrame* CreateFrame(CQuirraDoc& doc) override;
  // In the order they were made, which numbers them in their titles.
  std::vector<CChildFrame*> FramesOf(const CQuirraDoc& doc) const;
  CChildFrame* ActiveFrame() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<CCmdTarget*> RouteChain() const;
  // The windows in the main window's area, in the order they were made. A window leaves it as
  // it closes, before it is deleted.
  std::vector<CChildFrame*> Frames() const;
  void OnAppAbout();
  // Only a document's last window asks to save it.
  bool MayClose(CChildFrame& frame);
  void FrameDestroyed(CQuirraDoc& doc);
  void UpdateTitles(const CQuirraDoc& doc);
  // Opens the files of one request from another program; what fails is told in one message.
  void OpenRequested(const QStringList& paths);
  // Offers the orphaned recovery copies, if there are any; returns how many drawings it opened.
  int RecoverDrawings();

  CCommandRouter m_router;
  RecentFileList m_recentFiles;
  // Outlives the documents, whose copies live in it.
  std::unique_ptr<RecoveryFolder> m_recovery;
  std::unique_ptr<CMultiDocTemplate> m_template;
  std::unique_ptr<CMainFrame> m_mainFrame;
  std::unique_ptr<FileProgressDialog> m_fileProgress;
  InstanceChannel* m_channel = nullptr;
  OpenRequestQueue* m_requests = nullptr;
  QStringList* m_reports = nullptr;  // while set, the template's failures are collected here
  int m_recoveryDelayMs;
};
