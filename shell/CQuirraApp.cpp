#include "shell/CQuirraApp.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>

#include "desktop/InstanceChannel.h"
#include "desktop/OpenRequestQueue.h"
#include "desktop/ShellRegistration.h"
#include "document/CQuirraDoc.h"
#include "platform/qt/CMultiDocTemplate.h"
#include "platform/qt/ModalFrame.h"
#include "recovery/RecoveryCopy.h"
#include "recovery/RecoveryFolder.h"
#include "res/Resources.h"
#include "shell/CAboutDlg.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/CSplashWnd.h"
#include "shell/CommandActions.h"
#include "shell/FileDialogs.h"
#include "shell/RecoveryDialog.h"
#include "view/CQuirraView.h"

const MessageMap<CQuirraApp>& CQuirraApp::GetMessageMap() {
  using Map = MessageMap<CQuirraApp>;
  static const Map map = [] {
    // The file commands that act on a document find it through the active window.
    std::vector<Map::Command> commands = {
        {ID_APP_ABOUT, [](CQuirraApp& a) { a.OnAppAbout(); }},
        {ID_FILE_NEW, [](CQuirraApp& a) { a.OnFileNew(); }},
        {ID_FILE_OPEN, [](CQuirraApp& a) { a.OnFileOpen(); }},
        {ID_FILE_SAVE, [](CQuirraApp& a) { a.DoSave(a.ActiveFrame()->GetDocument(), false); }},
        {ID_FILE_SAVE_AS, [](CQuirraApp& a) { a.DoSave(a.ActiveFrame()->GetDocument(), true); }},
        {ID_FILE_CLOSE, [](CQuirraApp& a) { a.CloseDocument(a.ActiveFrame()->GetDocument()); }},
    };
    std::vector<Map::Update> updates;
    for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE})
      updates.push_back({id, [](CQuirraApp& a, CCmdUI& ui) { ui.Enable(a.ActiveFrame() != nullptr); }});
    for (int i = 0; i < kRecentFiles; ++i) {
      commands.push_back({ID_FILE_MRU_FILE1 + i, [i](CQuirraApp& a) { a.OpenRecentFile(i); }});
      updates.push_back(
          {ID_FILE_MRU_FILE1 + i, [i](CQuirraApp& a, CCmdUI& ui) { ui.Enable(i < a.m_recentFiles.Files().size()); }});
    }
    return Map(std::move(commands), std::move(updates));
  }();
  return map;
}

CQuirraApp::CQuirraApp(int recoveryDelayMs)
    : m_router([this] { return RouteChain(); }), m_recentFiles(kRecentFiles), m_recoveryDelayMs(recoveryDelayMs) {}

CQuirraApp::~CQuirraApp() {
  if (qApp) qApp->removeEventFilter(this);
  m_fileProgress.reset();  // its dialog is the main window's child
  m_mainFrame.reset();
}

std::vector<CCmdTarget*> CQuirraApp::RouteChain() const {
  std::vector<CCmdTarget*> chain;
  if (CChildFrame* frame = ActiveFrame()) {
    chain.push_back(frame->GetView());
    chain.push_back(&frame->GetDocument());
    chain.push_back(frame);
  }
  if (m_mainFrame) chain.push_back(m_mainFrame.get());
  chain.push_back(const_cast<CQuirraApp*>(this));
  return chain;
}

bool CQuirraApp::InitInstance(const QStringList& files, bool automated) {
  CSplashWnd::EnableSplashScreen(!automated);
  qApp->installEventFilter(this);

  QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
  QCoreApplication::setApplicationName(QString::fromStdString(res::LoadString(AFX_IDS_APP_TITLE)));
  m_recentFiles.ReadList();
  m_recovery = std::make_unique<RecoveryFolder>();
  if (!m_recovery->IsUsable())
    qWarning("quirra: no recovery copies can be kept: %s", qUtf8Printable(m_recovery->Error()));

  m_template = std::make_unique<CMultiDocTemplate>([] { return std::make_unique<CQuirraDoc>(); },
                                                   QString::fromStdString(res::TemplateStrings().docName));
  connect(m_template.get(), &CMultiDocTemplate::documentAdded, this, [this](CDocument* doc) {
    auto* quirra = static_cast<CQuirraDoc*>(doc);
    connect(doc, &CDocument::modifiedChanged, this, [this, quirra] { UpdateTitles(*quirra); });
    connect(doc, &CDocument::titleChanged, this, [this, quirra] { UpdateTitles(*quirra); });
    if (m_recovery->IsUsable()) new RecoveryCopy(*quirra, m_recovery->NewCopyBase(), m_recoveryDelayMs);
  });

  m_mainFrame = std::make_unique<CMainFrame>(m_router, *this);
  // Over the main window, never over whatever window is active: at start-up that is the splash,
  // which closes while the message is still open and would take it along.
  m_template->SetReporter([this](const QString& text) {
    if (m_reports)
      m_reports->append(text);
    else
      ShowMessageBox(m_mainFrame.get(), QMessageBox::Warning, text);
  });
  m_fileProgress = std::make_unique<FileProgressDialog>(m_mainFrame.get());
  m_template->SetFileProgress(
      [this](const QString& path, qint64 done, qint64 total) { return m_fileProgress->Step(path, done, total); });
  // Menus and buttons follow the state of the commands whenever the program has nothing to do.
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, m_mainFrame.get(),
          &CMainFrame::UpdateCommands);

  m_channel = new InstanceChannel(this);
  m_channel->Listen();
  m_requests = new OpenRequestQueue([this](const QStringList& paths) { OpenRequested(paths); }, this);
  connect(m_channel, &InstanceChannel::openRequested, m_requests, &OpenRequestQueue::Add);
  RegisterShellFileTypes(QCoreApplication::applicationFilePath());

  // Started by another program, no one may be there to answer: the copies wait for a later start.
  const int recovered = automated ? 0 : RecoverDrawings();
  if (files.isEmpty()) {
    if (recovered == 0 && !OnFileNew()) return false;
  } else {
    // Of several files (a selection from a file manager), each that opens is shown and each that
    // does not is reported; the editor gives up only when none opened.
    int opened = recovered;
    for (const QString& file : files)
      if (OpenDocumentFile(file)) ++opened;
    if (opened == 0) return false;
  }
  m_mainFrame->show();
  m_mainFrame->UpdateCommands();
  return true;
}

int CQuirraApp::RecoverDrawings() {
  const std::vector<OrphanCopy> orphans = m_recovery->TakeOrphans();
  if (orphans.empty()) return 0;
  RecoveryDialog dialog(orphans, m_mainFrame.get());
  const RecoveryDialog::Choice choice = dialog.Ask();
  int recovered = 0;
  for (size_t i = 0; i < orphans.size(); ++i) {
    const OrphanCopy& orphan = orphans[i];
    if (choice == RecoveryDialog::later || !dialog.IsChecked(i)) continue;
    if (choice == RecoveryDialog::discard) {
      m_recovery->Discard(orphan);
      continue;
    }
    if (!orphan.damage.isEmpty()) continue;
    auto* doc = static_cast<CQuirraDoc*>(
        m_template->OpenRecoveredDocument(orphan.copy, orphan.about.pathName, orphan.about.title));
    if (!doc) continue;
    // The orphan's files become the new document's copy, so there is always one on the disk.
    if (auto* copy = doc->findChild<RecoveryCopy*>(); copy && m_recovery->MoveInto(orphan, copy->Base())) copy->Adopt();
    CreateFrame(*doc);
    ++recovered;
  }
  m_recovery->ReleaseOrphans();
  return recovered;
}

bool CQuirraApp::eventFilter(QObject* watched, QEvent* event) {
  if (CSplashWnd::PreTranslateAppMessage(watched, event)) return true;
  return QObject::eventFilter(watched, event);
}

void CQuirraApp::OnAppAbout() {
  CAboutDlg dlg(m_mainFrame.get());
  dlg.DoModal();
}

CQuirraDoc* CQuirraApp::OnFileNew() {
  auto* doc = static_cast<CQuirraDoc*>(m_template->OpenNewDocument());
  if (doc) CreateFrame(*doc);
  return doc;
}

void CQuirraApp::OnFileOpen() {
  const QString path = file_dialogs::ChooseFileToOpen(m_mainFrame.get());
  if (!path.isEmpty()) OpenDocumentFile(path);
}

CQuirraDoc* CQuirraApp::OpenDocumentFile(const QString& path) {
  if (auto* open = static_cast<CQuirraDoc*>(m_template->FindDocument(path))) {
    const auto frames = FramesOf(*open);
    if (!frames.empty()) m_mainFrame->GetMdiArea()->setActiveSubWindow(frames.front());
    return open;
  }
  auto* doc = static_cast<CQuirraDoc*>(m_template->OpenDocumentFile(path));
  if (!doc) return nullptr;
  m_recentFiles.Add(path);
  CreateFrame(*doc);
  return doc;
}

void CQuirraApp::OpenRequested(const QStringList& paths) {
  QStringList reports;
  m_reports = &reports;
  const qsizetype count = std::min<qsizetype>(paths.size(), InstanceChannel::kMaxFiles);
  // The load itself refuses, before opening, what is missing or no regular file.
  for (qsizetype i = 0; i < count; ++i) OpenDocumentFile(paths[i]);
  m_reports = nullptr;
  if (paths.size() > count)
    reports << QStringLiteral("%1 more files were refused: at most %2 are opened at a time.")
                   .arg(paths.size() - count)
                   .arg(InstanceChannel::kMaxFiles);
  m_mainFrame->raise();
  m_mainFrame->activateWindow();
  if (!reports.isEmpty()) ShowMessageBox(m_mainFrame.get(), QMessageBox::Warning, reports.join(QStringLiteral("\n\n")));
}

void CQuirraApp::OpenRecentFile(int index) {
  const QStringList files = m_recentFiles.Files();
  if (index < 0 || index >= files.size()) return;
  // A file that no longer opens leaves the list.
  if (!OpenDocumentFile(files[index])) m_recentFiles.Remove(files.indexOf(files[index]));
}

bool CQuirraApp::DoSave(CQuirraDoc& doc, bool saveAs) {
  QString path = doc.GetPathName();
  if (!saveAs && !path.isEmpty() && doc.ChangedOnDisk() &&
      ShowMessageBox(m_mainFrame.get(), QMessageBox::Warning,
                     QStringLiteral("%1 has been changed by another program since it was opened. Save anyway?")
                         .arg(QDir::toNativeSeparators(path)),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
    return false;
  if (saveAs || path.isEmpty()) {
    path = file_dialogs::ChooseFileToSave(m_mainFrame.get(), path.isEmpty() ? doc.GetTitle() : path);
    if (path.isEmpty()) return false;
  }
  if (!m_template->SaveDocument(&doc, path)) return false;
  m_recentFiles.Add(path);
  return true;
}

bool CQuirraApp::SaveModified(CQuirraDoc& doc) {
  if (!doc.IsModified()) return true;
  const auto answer = ShowMessageBox(m_mainFrame.get(), QMessageBox::Question,
                                     QStringLiteral("Save changes to %1?").arg(doc.GetTitle()),
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (answer == QMessageBox::Cancel) return false;
  return answer == QMessageBox::No || DoSave(doc, false);
}

bool CQuirraApp::SaveAllModified() {
  for (CDocument* doc : m_template->GetDocuments())
    if (!SaveModified(*static_cast<CQuirraDoc*>(doc))) return false;
  return true;
}

bool CQuirraApp::CloseDocument(CQuirraDoc& doc) {
  if (!SaveModified(doc)) return false;
  for (CChildFrame* frame : FramesOf(doc)) frame->CloseWithoutAsking();
  return true;
}

void CQuirraApp::CloseAllDocuments() {
  for (CChildFrame* frame : Frames()) frame->CloseWithoutAsking();
}

CChildFrame* CQuirraApp::CreateFrame(CQuirraDoc& doc) {
  auto* frame = new CChildFrame(doc, [this](CChildFrame& f) { return MayClose(f); });
  m_mainFrame->AddChild(frame);
  // By the time destroyed() arrives the frame is no longer a CChildFrame: keep its document here.
  // The document is gone already when another window of it, closed with this one, went first.
  connect(frame, &QObject::destroyed, this, [this, document = QPointer<CQuirraDoc>(&doc)] {
    if (document) FrameDestroyed(*document);
  });
  connect(frame, &CChildFrame::contextMenuRequested, this, [this](CChildFrame*, QPoint global) {
    QMenu* menu = m_mainFrame->GetContextMenu();
    m_mainFrame->GetActions().Update();
    menu->popup(global);
  });
  frame->show();
  frame->GetView()->OnInitialUpdate();
  frame->GetView()->setFocus();
  m_mainFrame->GetMdiArea()->setActiveSubWindow(frame);
  UpdateTitles(doc);
  m_mainFrame->UpdateMenuBar();
  return frame;
}

std::vector<CChildFrame*> CQuirraApp::Frames() const {
  std::vector<CChildFrame*> frames;
  if (!m_mainFrame) return frames;
  for (QMdiSubWindow* w : m_mainFrame->GetMdiArea()->subWindowList(QMdiArea::CreationOrder))
    if (auto* frame = qobject_cast<CChildFrame*>(w)) frames.push_back(frame);
  return frames;
}

std::vector<CChildFrame*> CQuirraApp::FramesOf(const CQuirraDoc& doc) const {
  std::vector<CChildFrame*> frames = Frames();
  std::erase_if(frames, [&doc](const CChildFrame* frame) { return &frame->GetDocument() != &doc; });
  return frames;
}

CChildFrame* CQuirraApp::ActiveFrame() const { return m_mainFrame ? m_mainFrame->GetActiveFrame() : nullptr; }

bool CQuirraApp::MayClose(CChildFrame& frame) {
  CQuirraDoc& doc = frame.GetDocument();
  return FramesOf(doc).size() > 1 || SaveModified(doc);
}

void CQuirraApp::FrameDestroyed(CQuirraDoc& doc) {
  // The main window takes the windows still open with it; the documents go with the template.
  if (!m_mainFrame) return;
  if (FramesOf(doc).empty())
    m_template->CloseDocument(&doc);
  else
    UpdateTitles(doc);
  m_mainFrame->UpdateMenuBar();
  m_mainFrame->UpdateCommands();
}

void CQuirraApp::UpdateTitles(const CQuirraDoc& doc) {
  const auto frames = FramesOf(doc);
  for (size_t i = 0; i < frames.size(); ++i) frames[i]->UpdateTitle(int(i) + 1, int(frames.size()));
  if (m_mainFrame) m_mainFrame->UpdateCommands();
}
